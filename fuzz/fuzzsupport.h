// What the fuzz targets share: a private scratch folder for the parsers that read files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kivo::fuzz {

// Writes the input to `name` in this process's scratch folder (made once, removed at exit)
// and returns the file's path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

// A property every input must keep: when it does not, says which and aborts, so that
// libFuzzer saves the input.
void Require(bool condition, const char* what);

} // namespace kivo::fuzz
