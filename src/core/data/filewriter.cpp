#include "data/filewriter.h"

#include "data/fileio.h"
#include "data/filetarget.h"
#include "data/tempfiles.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace kivo {

namespace {

// Group-writable at most: never world-writable, whatever the umask.
constexpr mode_t kFileMode = 0664;
constexpr mode_t kKeptModeBits = 0775;
constexpr int kNameAttempts = 16;

std::uint32_t TemporaryRandom() {
    try {
        std::random_device device;
        return device();
    } catch (...) {
        // No random source: the clock still makes two names in a row differ.
        return static_cast<std::uint32_t>(
            std::chrono::steady_clock::now().time_since_epoch().count());
    }
}

} // namespace

WriteStatus StatusFromErrno(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return {FileError::NoFolder, err};
    case EACCES:
    case EPERM:
        return {FileError::NoPermission, err};
    case ENOSPC:
    case EDQUOT:
        return {FileError::DiskFull, err};
    case EROFS:
        return {FileError::ReadOnlyDisk, err};
    case EFBIG:
        return {FileError::TooLarge, err};
    case ENAMETOOLONG:
    case EINVAL: // a file system that refuses some characters in names
    case EILSEQ:
        return {FileError::BadName, err};
    case EISDIR:
        return {FileError::NotAFile, err};
    default:
        return {FileError::Other, err == 0 ? EIO : err};
    }
}

FileWriter::~FileWriter() {
    Discard();
}

WriteStatus FileWriter::Fail(int err) {
    status_ = StatusFromErrno(err);
    Discard();
    return status_;
}

WriteStatus FileWriter::Fail(FileError error) {
    status_ = {error, 0};
    Discard();
    return status_;
}

void FileWriter::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempName_.empty() && dirFd_ >= 0) ::unlinkat(dirFd_, tempName_.c_str(), 0);
    tempName_.clear();
    if (dirFd_ >= 0) ::close(dirFd_);
    dirFd_ = -1;
}

WriteStatus FileWriter::Open(const std::string& path, TempKind kind) {
    Discard();
    status_ = {};
    if (path.empty() || path.back() == '/') return Fail(FileError::BadName);
    std::string target;
    if (int err = ResolveLinks(path, target)) return Fail(err);
    name_ = NameOf(target);
    if (name_ == "." || name_ == "..") return Fail(FileError::NotAFile);
    const std::string folder = FolderOf(target).empty() ? std::string(".") : FolderOf(target);
    // Every later step works relative to this folder, so a long path is looked up once and
    // a folder renamed meanwhile cannot send the file elsewhere.
    dirFd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd_ < 0 && errno == EACCES)
        dirFd_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd_ < 0) return Fail(errno);
    if (WriteStatus s = CheckTarget(); !s.ok()) return s;
    CreateTemporary(kind);
    return status_;
}

WriteStatus FileWriter::OpenAppending(const std::string& path) {
    if (WriteStatus s = Open(path); !s.ok() || !replacing_) return s;
    const int in = ::openat(dirFd_, name_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (in < 0) return Fail(errno);
    char block[16384];
    for (;;) {
        const ssize_t n = ::read(in, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(in);
            return Fail(err);
        }
        if (n == 0 || !Write(block, static_cast<std::size_t>(n))) break;
    }
    ::close(in);
    return status_;
}

WriteStatus FileWriter::CheckTarget() {
    struct stat st {};
    if (::fstatat(dirFd_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT) return Fail(errno);
        replacing_ = false;
        return status_;
    }
    if (!S_ISREG(st.st_mode)) return Fail(FileError::NotAFile);
    if (IsWriteProtected(dirFd_, name_, st)) return Fail(FileError::ReadOnly);
    replacing_ = true;
    old_ = st;
    return status_;
}

bool FileWriter::CreateTemporary(TempKind kind) {
#ifdef O_TMPFILE
    // Given its name only once it is complete, through /proc (linkat with AT_EMPTY_PATH needs
    // a privilege).
    if (kind == TempKind::Unnamed && ::access("/proc/self/fd", X_OK) == 0) {
        fd_ = ::openat(dirFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, kFileMode);
        if (fd_ >= 0) return true;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            Fail(errno);
            return false;
        }
    }
#else
    (void)kind;
#endif
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = TemporaryName(::getpid(), TemporaryRandom());
        fd_ = ::openat(dirFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
        if (fd_ >= 0) {
            tempName_ = name;
            return true;
        }
        if (errno != EEXIST) {
            Fail(errno);
            return false;
        }
    }
    Fail(EEXIST);
    return false;
}

bool FileWriter::Write(const void* data, std::size_t size) {
    if (fd_ < 0 || !status_.ok()) return false;
    auto bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            Fail(n < 0 ? errno : EIO);
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

WriteStatus FileWriter::Commit() {
    if (fd_ < 0) return status_.ok() ? Fail(EBADF) : status_;
    // A long write (a wire trace) may have outlived a change of the target: look again.
    if (WriteStatus s = CheckTarget(); !s.ok()) return s;
    if (replacing_) {
        // The replacement keeps the old file's permissions and, where we may, its owner.
        if (::fchmod(fd_, old_.st_mode & kKeptModeBits) != 0) return Fail(errno);
        if ((old_.st_uid != ::geteuid() || old_.st_gid != ::getegid()) &&
            ::fchown(fd_, old_.st_uid, old_.st_gid) != 0) {
            // Not ours to give away: the file stays ours, as a new one would be.
        }
    }
    if (::fsync(fd_) != 0) return Fail(errno);
    for (int attempt = 0; tempName_.empty(); ++attempt) {
        if (attempt == kNameAttempts) return Fail(EEXIST);
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        const std::string name = TemporaryName(::getpid(), TemporaryRandom());
        if (::linkat(AT_FDCWD, self.c_str(), dirFd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            tempName_ = name;
        else if (errno != EEXIST)
            return Fail(errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail(errno);
    if (::renameat(dirFd_, tempName_.c_str(), dirFd_, name_.c_str()) != 0) return Fail(errno);
    tempName_.clear();
    // The new name on disk too; not every file system can sync a folder, and the file is
    // complete either way.
    ::fsync(dirFd_);
    Discard();
    return status_;
}

WriteStatus WriteFileAtomic(const std::string& path, const void* data, std::size_t size) {
    FileWriter writer;
    if (WriteStatus s = writer.Open(path); !s.ok()) return s;
    writer.Write(data, size);
    return writer.Commit();
}

} // namespace kivo
