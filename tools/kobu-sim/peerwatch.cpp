#include "peerwatch.h"

#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kobusim {

namespace {

bool IsNumber(const char* s) {
    if (!*s) return false;
    for (; *s; ++s)
        if (*s < '0' || *s > '9') return false;
    return true;
}

// Whether a process other than this one has `device` open. The count of opens and closes
// cannot tell (the system merges events of the same kind that follow each other), the
// processes' descriptors can. A process we may not look into cannot have opened the line
// either, unless it is the administrator's.
bool OthersHold(dev_t device) {
    DIR* proc = ::opendir("/proc");
    if (!proc) return true; // cannot tell: leave the line as it is
    const std::string self = std::to_string(::getpid());
    bool held = false;
    while (!held) {
        const dirent* p = ::readdir(proc);
        if (!p) break;
        if (!IsNumber(p->d_name) || self == p->d_name) continue;
        const std::string fds = std::string("/proc/") + p->d_name + "/fd";
        const int dirFd = ::open(fds.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd < 0) continue;
        DIR* dir = ::fdopendir(dirFd);
        if (!dir) {
            ::close(dirFd);
            continue;
        }
        while (const dirent* f = ::readdir(dir)) {
            struct stat st {};
            if (IsNumber(f->d_name) && ::fstatat(dirFd, f->d_name, &st, 0) == 0 &&
                S_ISCHR(st.st_mode) && st.st_rdev == device) {
                held = true;
                break;
            }
        }
        ::closedir(dir);
    }
    ::closedir(proc);
    return held;
}

} // namespace

PeerWatch::PeerWatch(int slave, const char* path) : slave_(slave) {
    struct stat st {};
    if (!path || ::fstat(slave, &st) != 0) return;
    device_ = st.st_rdev;
    events_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (events_ >= 0 && inotify_add_watch(events_, path, IN_CLOSE) < 0) {
        ::close(events_);
        events_ = -1;
    }
}

PeerWatch::~PeerWatch() {
    if (events_ >= 0) ::close(events_);
}

void PeerWatch::Handle() {
    if (events_ < 0) return;
    alignas(inotify_event) char buffer[4096];
    bool closed = false;
    while (::read(events_, buffer, sizeof buffer) > 0) closed = true;
    if (closed && !OthersHold(device_)) ::ioctl(slave_, TIOCNXCL);
}

} // namespace kobusim
