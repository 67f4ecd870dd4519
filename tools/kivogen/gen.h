#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kivogen {

// Each returns 0 on success; a problem in the input is thrown as std::runtime_error with the
// file and line, so a broken table stops the build with a clear message.
// The German table and, when given, the English one, compiled into one source.
int GenerateStrings(const std::string& german, const std::string& output,
                    const std::string& english = std::string());
int GenerateImage(const std::string& input, const std::string& output);
int GenerateIni(const std::string& input, const std::string& output);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);
std::vector<std::string> SplitLines(const std::string& text);

} // namespace kivogen
