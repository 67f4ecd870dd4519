// Small file helpers shared by the data, access and start-up code. Folders are created with
// the process's default permissions, never writable by everyone; files are written only
// through FileWriter (data/filewriter.h).
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

// The folder part of a path including its trailing '/', or "" when the path has none.
std::string FolderOf(const std::string& path);
// The name part after the last '/'.
std::string NameOf(const std::string& path);

// Length of a file in bytes, 0 if it cannot be opened.
unsigned long FileLength(const std::string& path);

// Copies sourceFolder+sourceName to targetFolder+targetName (folders carry their trailing '/'),
// replacing the target only after the whole copy is written.
bool InstallFile(const std::string& sourceFolder, const std::string& sourceName,
                 const std::string& targetName, const std::string& targetFolder);

} // namespace kivo
