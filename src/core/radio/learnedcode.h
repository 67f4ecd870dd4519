// What a learning poll reports, and which texts are transmitter codes at all.
#pragma once

#include <string>

namespace kivo {

enum class Heard {
    Nothing,   // "0000": no transmitter heard yet
    Code,      // four hexadecimal digits: the code of the transmitter heard
    Malformed, // anything else; it must not become a code, which would free the position
};

// The four code characters of a "c1" reply.
Heard ClassifyHeard(const std::string& code);

// Four hexadecimal digits (either case), the only text a radio position can hold.
bool IsTransmitterCode(const std::string& text);

} // namespace kivo
