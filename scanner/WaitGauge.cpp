#include "scanner/WaitGauge.h"

#include "scanner/platform/ThreadTimes.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

using std::chrono::nanoseconds;

WaitGauge::WaitGauge() : m_statsFd(platform::openThreadSchedulerStats())
{
    restart();
}

WaitGauge::~WaitGauge()
{
    if (m_statsFd >= 0)
        ::close(m_statsFd);
}

void WaitGauge::restart()
{
    m_last = read();
}

WaitGauge::Span WaitGauge::sample()
{
    const Reading now = read();
    const nanoseconds elapsed = now.wall - m_last.wall;
    Span span;
    span.running = std::clamp(now.running - m_last.running, nanoseconds(0), elapsed);
    const nanoseconds queued = std::clamp(now.queued - m_last.queued, nanoseconds(0), elapsed);
    span.waited = std::max(nanoseconds(0), elapsed - span.running - queued);
    m_last = now;
    return span;
}

WaitGauge::Reading WaitGauge::read() const
{
    Reading reading;
    reading.wall = std::chrono::steady_clock::now().time_since_epoch();
    if (m_statsFd >= 0) {
        // "<ns on a processor> <ns queued for one> <times scheduled>\n"
        char text[96];
        const ssize_t length = ::pread(m_statsFd, text, sizeof text - 1, 0);
        if (length > 0) {
            text[length] = '\0';
            char *end = nullptr;
            reading.running = nanoseconds(std::strtoll(text, &end, 10));
            reading.queued = nanoseconds(std::strtoll(end, nullptr, 10));
            return reading;
        }
    }
    struct timespec cpu;
    if (::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu) == 0)
        reading.running =
            nanoseconds(static_cast<long long>(cpu.tv_sec) * 1000000000 + cpu.tv_nsec);
    return reading;
}
