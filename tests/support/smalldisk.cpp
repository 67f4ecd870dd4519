#include "support/smalldisk.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace kivo::test {

namespace {

bool WriteProcFile(const char* path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    out.flush();
    return static_cast<bool>(out);
}

// Once per process: a mount namespace of its own, whose mounts nobody else sees.
bool PrivateMounts() {
    static const bool done = [] {
        if (::unshare(CLONE_NEWNS) != 0) {
            // Not root: as root of a user namespace of our own, where that is allowed.
            const uid_t uid = ::geteuid();
            const gid_t gid = ::getegid();
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
            WriteProcFile("/proc/self/setgroups", "deny");
            if (!WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
                !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
                return false;
        }
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    return done;
}

} // namespace

SmallDisk::SmallDisk(const std::string& folder, std::size_t bytes) : folder_(folder) {
    if (!PrivateMounts()) return;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    mounted_ =
        ::mount("kivo-small", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

void SmallDisk::Fill() const {
    const int fd = ::open((folder_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    char block[4096] = {};
    std::size_t size = sizeof block;
    // Smaller and smaller writes until not one more byte fits.
    while (size > 0) {
        if (::write(fd, block, size) < 0) size /= 2;
    }
    ::close(fd);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    // This process writes nothing meanwhile; should it, the write fails rather than ends it.
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
}

} // namespace kivo::test
