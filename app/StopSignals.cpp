#include "app/StopSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {

std::atomic_bool g_stopAsked{false};
// Written by the handler, read on the GUI thread: a handler may do nothing more than this.
int g_wakeUp[2] = {-1, -1};

extern "C" void askToStop(int)
{
    const int saved = errno;
    g_stopAsked.store(true);
    if (g_wakeUp[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(g_wakeUp[1], &byte, 1);
    }
    errno = saved;
}

void catchSignals()
{
    struct sigaction action = {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace

namespace StopSignals {

std::shared_ptr<const std::atomic_bool> catchStopSignals()
{
    static_assert(std::atomic_bool::is_always_lock_free, "set from a signal handler");
    catchSignals();
    return std::shared_ptr<const std::atomic_bool>(&g_stopAsked, [](const std::atomic_bool *) {});
}

void quitOnStopSignals()
{
    if (g_wakeUp[0] < 0) {
        int ends[2];
        if (::pipe(ends) != 0)
            return;
        for (const int end : ends)
            ::fcntl(end, F_SETFD, FD_CLOEXEC);
        ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
        auto *notifier =
            new QSocketNotifier(ends[0], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                         [] { QCoreApplication::quit(); });
        g_wakeUp[0] = ends[0];
        g_wakeUp[1] = ends[1];
    }
    catchSignals();
}

} // namespace StopSignals
