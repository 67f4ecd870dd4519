#include "data/fileio.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {

// Group-writable at most: never world-writable, whatever the umask.
constexpr mode_t kFileMode = 0664;
constexpr mode_t kFolderMode = 0775;

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const std::string& path) {
    if (FolderExists(path)) return true;
    return ::mkdir(path.c_str(), kFolderMode) == 0 || FolderExists(path);
}

std::optional<Bytes> ReadFileBytes(const std::string& path, std::size_t limit) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    Bytes data;
    std::uint8_t block[4096];
    while (data.size() < limit) {
        std::size_t want = std::min(sizeof block, limit - data.size());
        ssize_t n = ::read(fd, block, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        data.insert(data.end(), block, block + n);
    }
    ::close(fd);
    return data;
}

bool WriteFileReplacing(const std::string& path, const std::uint8_t* data, std::size_t size) {
    if (path.empty() || path.back() == '/') return false;
    // The temporary lives in the target's folder so that the rename cannot cross file systems.
    std::random_device rd;
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(rd()));
        tmp = path + suffix;
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data, size) && ::fsync(fd) == 0;
    // Keep the permissions of a file being replaced (a shared Values.ini stays shared).
    struct stat old {};
    if (ok && ::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07775);
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace kivo
