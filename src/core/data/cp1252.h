// Files shared with Windows installations are Windows-1252 on disk; in memory every text is
// UTF-8. These two convert at that boundary.
#pragma once

#include <string>

namespace kivo {

std::string Cp1252ToUtf8(const std::string& text);
// Characters that Windows-1252 cannot hold, and malformed UTF-8, become '?'.
std::string Utf8ToCp1252(const std::string& text);

} // namespace kivo
