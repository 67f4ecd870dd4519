// The scramble table and the built-in passwords' blocks; only the password store uses them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kivo::scramble {

// Declared with their sizes, so a definition with a different number of values does not build.
extern const std::uint8_t kTable[256];
extern const std::uint8_t kBuiltInLevel4[11]; // seed 20
extern const std::uint8_t kBuiltInLevel5[12]; // seed 21

} // namespace kivo::scramble
