// A planned walk's bookkeeping (see WalkPlan): where each byte a thread finds goes.
#include "scanner/WalkThreads.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

namespace walk {

// A subfolder the plan knows the size of is not walked: its size goes to its bucket as it is,
// with its own modification time.
bool Walk::takeKnownFolder(Frame &frame, const char *name)
{
    const WalkPlace *known = m_setup.plan->knownFolder(*frame.place, name);
    if (!known)
        return false;
    qint64 modified = 0;
    struct stat info;
    if (frame.fd >= 0 && ::fstatat(frame.fd, name, &info, AT_SYMLINK_NOFOLLOW) == 0)
        modified = info.st_mtime;
    const int bucket = m_setup.plan->enterFolder(*frame.place, frame.bucket, name).bucket;
    m_total += known->knownSize;
    if (bucket == frame.bucket) {
        frame.bytes += known->knownSize;
        frame.newest = std::max(frame.newest, modified);
    } else {
        m_setup.plan->add(bucket, known->knownSize, modified);
    }
    return true;
}

// A finished folder's bytes go to its parent when they share a bucket, else to the plan.
void Walk::handOn(Frame &frame, Frame *parent)
{
    if (!m_setup.plan)
        return;
    if (parent && parent->bucket == frame.bucket) {
        parent->bytes += frame.bytes;
        parent->newest = std::max(parent->newest, frame.newest);
    } else if (frame.bytes > 0 || frame.newest > 0) {
        m_setup.plan->add(frame.bucket, frame.bytes, frame.newest);
    }
    frame.bytes = frame.newest = 0;
}

// A planned walk's entry: into the folder's bytes, or a bucket of its own.
void Walk::count(Frame &frame, const char *name, qint64 size, qint64 modified)
{
    m_total += size;
    const int bucket = frame.place
                           ? m_setup.plan->fileBucket(*frame.place, frame.bucket, name, size)
                           : frame.bucket;
    if (bucket == frame.bucket) {
        frame.bytes += size;
        frame.newest = std::max(frame.newest, modified);
    } else {
        m_setup.plan->add(bucket, size, modified);
    }
}

} // namespace walk
