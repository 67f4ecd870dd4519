#include "data/tempfiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {

constexpr char kPrefix[] = ".kivo-";
constexpr char kSuffix[] = ".tmp";
constexpr std::size_t kHexDigits = 8;
constexpr std::size_t kMaxPidDigits = 10;
constexpr std::time_t kStaleSeconds = 60;
constexpr long kMaxPid = 2147483647; // what a pid_t holds

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool ProcessGone(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string TemporaryName(long pid, std::uint32_t random) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%ld-%08x%s", kPrefix, pid, static_cast<unsigned>(random),
                  kSuffix);
    return name;
}

long TemporaryOwner(const std::string& name) {
    const std::size_t prefix = sizeof kPrefix - 1, suffix = sizeof kSuffix - 1;
    if (name.size() < prefix + 1 + 1 + kHexDigits + suffix) return -1;
    if (name.compare(0, prefix, kPrefix) != 0) return -1;
    if (name.compare(name.size() - suffix, suffix, kSuffix) != 0) return -1;
    const std::size_t hexStart = name.size() - suffix - kHexDigits;
    if (name[hexStart - 1] != '-') return -1;
    for (std::size_t i = hexStart; i < hexStart + kHexDigits; ++i)
        if (!IsHex(name[i])) return -1;
    const std::string digits = name.substr(prefix, hexStart - 1 - prefix);
    if (digits.empty() || digits.size() > kMaxPidDigits || digits[0] == '0') return -1;
    long pid = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        pid = pid * 10 + (c - '0');
    }
    return pid <= kMaxPid ? pid : -1;
}

int RemoveStaleTemporaries(const std::string& folder) {
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return 0;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return 0;
    }
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (dirent* e = ::readdir(dir)) {
        const long pid = TemporaryOwner(e->d_name);
        if (pid <= 0 || !ProcessGone(pid)) continue;
        struct stat st {};
        if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (now - st.st_mtime < kStaleSeconds) continue;
        if (::unlinkat(dirFd, e->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace kivo
