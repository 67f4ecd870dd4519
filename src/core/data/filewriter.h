// The one way the program writes a file. The bytes go into a temporary file in the target's
// real folder (a symbolic link is followed to its target and stays a link), every write is
// checked, the file is synced, and only then does it take the target's name. So a file is
// whole or not there, and an old file survives every failure. A write-protected target is
// refused, as is anything at the target that is not a regular file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kivo {

enum class FileError {
    None,
    ReadOnly,     // the target exists and is write-protected
    BadName,      // the platform refuses the name (empty, too long)
    NoFolder,     // the folder does not exist, or a part of its path is not a folder
    NoPermission, // the folder may not be written
    DiskFull,     // no space left, or the user's quota used up
    ReadOnlyDisk, // the file system is mounted read-only
    TooLarge,     // larger than the system lets a file grow
    NotAFile,     // a folder, device or pipe stands at the target
    Other,        // anything else; sysError says what
};

struct WriteStatus {
    FileError error = FileError::None;
    int sysError = 0; // errno of the step that failed; 0 when none applies
    bool ok() const { return error == FileError::None; }
};

// The status for a failed system call's errno.
WriteStatus StatusFromErrno(int err);

// An unnamed temporary (where the file system has them) leaves nothing behind when the
// process dies while writing; a named one is the fallback, cleared up by start-up.
enum class TempKind { Unnamed, Named };

class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter(); // an uncommitted file is discarded: the target stays as it was
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Prepares to write `path`: refuses what cannot be written and creates the temporary.
    WriteStatus Open(const std::string& path, TempKind kind = TempKind::Unnamed);
    // The same, starting from the target's present contents (nothing when it does not exist).
    WriteStatus OpenAppending(const std::string& path);
    // Appends; after the first failure nothing more is written and Commit reports that one.
    bool Write(const void* data, std::size_t size);
    // Syncs the temporary and gives it the target's name (with the old file's permissions).
    WriteStatus Commit();
    void Discard();

    bool IsOpen() const { return fd_ >= 0; }
    const WriteStatus& Status() const { return status_; }

private:
    WriteStatus Fail(int err);
    WriteStatus Fail(FileError error);
    WriteStatus CheckTarget();
    bool CreateTemporary(TempKind kind);

    int dirFd_ = -1;
    int fd_ = -1;
    std::string name_;     // the target's name in its folder
    std::string tempName_; // the temporary's name; empty while it has none
    bool replacing_ = false;
    struct stat old_ {}; // the file being replaced
    WriteStatus status_;
};

// Opens, writes and commits in one go.
WriteStatus WriteFileAtomic(const std::string& path, const void* data, std::size_t size);
inline WriteStatus WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& data) {
    return WriteFileAtomic(path, data.data(), data.size());
}
inline WriteStatus WriteFileAtomic(const std::string& path, const std::string& data) {
    return WriteFileAtomic(path, data.data(), data.size());
}

} // namespace kivo
