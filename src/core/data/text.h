// Small text helpers shared by the readers of settings, files and fields.
#pragma once

#include <string>

namespace kivo {

// Without leading and trailing blanks and tabs.
std::string Trim(const std::string& text);
// ASCII letters in lower case; every other byte as it is (names and values in Values.ini and
// file names compare so, whatever the locale).
std::string Lower(std::string text);

} // namespace kivo
