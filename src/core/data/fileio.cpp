#include "data/fileio.h"

#include "data/filewriter.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {

// Group-writable at most: never world-writable, whatever the umask.
constexpr mode_t kFolderMode = 0775;

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

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

unsigned long FileLength(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return ok ? static_cast<unsigned long>(st.st_size) : 0;
}

bool InstallFile(const std::string& sourceFolder, const std::string& sourceName,
                 const std::string& targetName, const std::string& targetFolder) {
    // Installed templates are small; anything larger than this is not one of them.
    constexpr std::size_t kLimit = 16 * 1024 * 1024;
    auto data = ReadFileBytes(sourceFolder + sourceName, kLimit + 1);
    if (!data || data->size() > kLimit) return false;
    return WriteFileAtomic(targetFolder + targetName, *data).ok();
}

} // namespace kivo
