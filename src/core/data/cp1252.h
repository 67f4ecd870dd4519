// Files shared with Windows installations are Windows-1252 on disk; in memory every text is
// UTF-8. These two convert at that boundary.
#pragma once

#include <string>

namespace kivo {

std::string Cp1252ToUtf8(const std::string& text);
// Characters that Windows-1252 cannot hold, and malformed UTF-8, become '?'.
std::string Utf8ToCp1252(const std::string& text);
// Whether `bytes` are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF) with at least one character beyond ASCII: then a file was written as UTF-8, as
// every Linux editor writes, and not as Windows-1252, in which such sequences hardly occur.
bool LooksLikeUtf8(const std::string& bytes);

} // namespace kivo
