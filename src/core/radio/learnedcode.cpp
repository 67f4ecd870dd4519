#include "radio/learnedcode.h"

#include <algorithm>
#include <cctype>

namespace kivo {

bool IsTransmitterCode(const std::string& text) {
    return text.size() == 4 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

Heard ClassifyHeard(const std::string& code) {
    if (code == "0000") return Heard::Nothing;
    return IsTransmitterCode(code) ? Heard::Code : Heard::Malformed;
}

} // namespace kivo
