#include "data/filetarget.h"

#include "data/fileio.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace kivo {

namespace {

// As many links as the kernel follows before it gives up.
constexpr int kMaxLinks = 40;

} // namespace

int ResolveLinks(const std::string& path, std::string& target) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT) return errno;
            target = current; // not there (yet): the file to create
            return 0;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = current;
            return 0;
        }
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size) + 2);
        const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size());
        if (n < 0) return errno;
        if (static_cast<std::size_t>(n) >= buffer.size()) return ENAMETOOLONG; // grew meanwhile
        std::string link(buffer.data(), static_cast<std::size_t>(n));
        if (link.empty()) return ENOENT;
        current = link[0] == '/' ? link : FolderOf(current) + link;
    }
    return ELOOP;
}

bool IsWriteProtected(int dirFd, const std::string& name, const struct stat& st) {
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::faccessat(dirFd, name.c_str(), W_OK, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EPERM);
}

bool WriteProtected(const std::string& path) {
    std::string target;
    if (path.empty() || ResolveLinks(path, target) != 0) return false;
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return IsWriteProtected(AT_FDCWD, target, st);
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (a.empty() || b.empty() || ::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace kivo
