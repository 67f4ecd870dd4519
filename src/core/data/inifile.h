// The text of a Windows profile file, parsed line by line: read with the platform's rules, and
// changed one key at a time while every other line keeps its bytes. Works on the raw
// Windows-1252 bytes; converting to and from UTF-8 is the caller's job.
#pragma once

#include "data/text.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace kivo::ini {

// Section and key names compare without regard to ASCII case.
std::string Fold(const std::string& name);

// Folded key name -> value (trimmed, outer double quotes removed).
using Keys = std::unordered_map<std::string, std::string>;

class Document {
public:
    explicit Document(const std::string& bytes);

    // The keys of the first section called `section`; empty when there is none.
    Keys SectionKeys(const std::string& section) const;

    // Replaces the value of the first matching key of the first matching section, or adds
    // the key (and the section) as needed. False when a name or the value cannot be written
    // without changing the file's structure (line breaks, '=' in a key, ...).
    bool SetValue(const std::string& section, const std::string& key, const std::string& value);

    std::string Bytes() const;

private:
    struct Line {
        std::string text;
        std::string eol; // "\r\n", "\n", "\r", or "" for a last line without one
    };
    void InsertLine(std::size_t at, const std::string& text);

    std::string bom_;
    std::vector<Line> lines_;
    std::string eol_; // line end for lines this object adds
};

} // namespace kivo::ini
