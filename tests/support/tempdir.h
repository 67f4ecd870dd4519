// A fresh folder per test, removed with everything in it afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kivo::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing '/'.
    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // `name` is relative to the folder, or an absolute path; folders are created as needed.
    std::string Write(const std::string& name, const std::string& content) const;
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& content) const;
    std::vector<std::uint8_t> Read(const std::string& name) const;
    std::string ReadText(const std::string& name) const;

private:
    std::string path_;
};

} // namespace kivo::test
