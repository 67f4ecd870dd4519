// Small file helpers shared by the data, access and start-up code. Files and folders are
// created with the process's default permissions, never writable by everyone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

using Bytes = std::vector<std::uint8_t>;

bool FileExists(const std::string& path);   // a regular file (or a link to one)
bool FolderExists(const std::string& path); // a directory (or a link to one)
bool MakeFolder(const std::string& path);   // one level; true if it exists afterwards

// Reads at most `limit` bytes; nullopt when the file cannot be opened or read.
std::optional<Bytes> ReadFileBytes(const std::string& path, std::size_t limit);

// Writes `data` to a temporary file beside `path`, flushes it, and only then renames it over
// `path`. On any failure the temporary file is removed and `path` is untouched.
bool WriteFileReplacing(const std::string& path, const std::uint8_t* data, std::size_t size);
inline bool WriteFileReplacing(const std::string& path, const Bytes& data) {
    return WriteFileReplacing(path, data.data(), data.size());
}
inline bool WriteFileReplacing(const std::string& path, const std::string& data) {
    return WriteFileReplacing(path, reinterpret_cast<const std::uint8_t*>(data.data()),
                              data.size());
}

// The folder part of a path including its trailing '/', or "" when the path has none.
std::string FolderOf(const std::string& path);
// The name part after the last '/'.
std::string NameOf(const std::string& path);

} // namespace kivo
