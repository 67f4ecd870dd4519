// The password store KivoLng.tbl: one scrambled record per access level 2, 3, 4 and 5, and two
// built-in passwords held only in scrambled form. Every read problem reads as "no password";
// every write problem leaves the file as it was and is returned to the caller.
#pragma once

#include "data/filewriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kivo {

class KivoPassword {
public:
    static constexpr std::size_t kFileSize = 709;
    static constexpr std::size_t kWindowSize = 50;
    static constexpr const char* kClearedMarker = "%594kd%61!m8p27Q";

    // `path` is the store file (program folder + "KivoLng.tbl").
    explicit KivoPassword(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    std::string ReadPassword(int level) const;
    WriteStatus WritePassword(int level, const std::string& text) const;
    bool MatchesLevel(const std::string& typed, int level) const;
    int AccessLevel(const std::string& typed) const;
    bool UsedByOtherLevel(const std::string& text, int level) const;

    // Keystream XOR with the seed; applying it twice gives the input back.
    static std::vector<std::uint8_t> Scramble(std::uint8_t seed, const std::uint8_t* bytes,
                                              std::size_t count);
    static std::uint8_t CheckByte(const std::uint8_t* bytes, std::size_t count);

    // Offset of a level's record window in the file, or -1 for a level without one.
    static long WindowOffset(int level);

private:
    std::string path_;
};

// Start-up: levels 2, 3 and 5 get their default password when their record reads as empty.
void WriteDefaultPasswords(const KivoPassword& store);

} // namespace kivo
