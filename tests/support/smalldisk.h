// Full disks for the tests of every "saved": a small file system of its own where the test
// may make one, and a limit on how large files may grow everywhere else.
#pragma once

#include <cstddef>
#include <string>
#include <sys/resource.h>

namespace kivo::test {

// A tmpfs of `bytes` mounted on `folder` (which must exist) in a mount namespace of this test
// process alone, so nothing of it is seen outside and it ends with the process. Works as
// root and, where user namespaces are allowed, as anyone; Mounted() says whether it did.
class SmallDisk {
public:
    SmallDisk(const std::string& folder, std::size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    // Takes every free byte (the file "filler" in the folder).
    void Fill() const;

private:
    std::string folder_;
    bool mounted_ = false;
};

// While it lives, no file written by this process or a child started meanwhile grows beyond
// `bytes`: a write past it fails (EFBIG) as on a disk that is full. Children get SIGXFSZ's
// default action back; what they do about it is their own affair.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace kivo::test
