// The edition's numbered texts (data/strings/de.txt, compiled in).
#pragma once

#include <string>
#include <vector>

namespace kivo {

// The text with that number, UTF-8; the empty text for a number the table does not hold.
std::string Str(int id);

// Replaces each "%s" (and "%d", "%c") of `pattern` by the next argument, in order; "%%" gives
// "%". Missing arguments become empty texts, so a mismatched pattern never reads past them.
std::string FormatText(const std::string& pattern, const std::vector<std::string>& args);

} // namespace kivo
