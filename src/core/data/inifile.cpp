#include "data/inifile.h"

namespace kivo::ini {

namespace {

const std::string kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    std::string name;
    std::string value;          // keys only
    std::size_t valueStart = 0; // keys only: where the value begins in the line
};

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

// Blank lines, comments (";") and text lines without "=" are Other: kept, never read.
Parsed Classify(const std::string& line) {
    Parsed p;
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';') return p;
    if (t[0] == '[') {
        auto close = t.rfind(']');
        if (close != std::string::npos && close > 0) {
            p.kind = Kind::Section;
            p.name = Trim(t.substr(1, close - 1));
            return p;
        }
    }
    auto eq = line.find('=');
    if (eq == std::string::npos) return p;
    p.name = Trim(line.substr(0, eq));
    if (p.name.empty()) return p;
    p.kind = Kind::Key;
    p.valueStart = eq + 1;
    while (p.valueStart < line.size() && IsBlank(line[p.valueStart])) ++p.valueStart;
    p.value = Unquote(Trim(line.substr(eq + 1)));
    return p;
}

bool HasLineBreakOrZero(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

// Reading trims blanks and strips one pair of outer quotes, so a value that would lose
// something that way is written inside quotes and reads back unchanged.
std::string EncodeValue(const std::string& value) {
    if (value.empty()) return value;
    bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (quoted || IsBlank(value.front()) || IsBlank(value.back())) return '"' + value + '"';
    return value;
}

} // namespace

std::string Fold(const std::string& name) {
    return Lower(name);
}

Document::Document(const std::string& bytes) {
    std::size_t pos = 0;
    if (bytes.compare(0, kBom.size(), kBom) == 0) {
        bom_ = kBom;
        pos = kBom.size();
    }
    bool hasCr = false, hasLf = false;
    std::size_t start = pos;
    while (pos < bytes.size()) {
        char c = bytes[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        std::size_t eolLen =
            (c == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;
        hasCr = hasCr || c == '\r';
        hasLf = hasLf || c == '\n' || eolLen == 2;
        lines_.push_back({bytes.substr(start, pos - start), bytes.substr(pos, eolLen)});
        pos += eolLen;
        start = pos;
    }
    if (start < bytes.size()) lines_.push_back({bytes.substr(start), ""});
    eol_ = (hasLf && !hasCr) ? "\n" : "\r\n";
}

// When a section or key occurs twice, the first one wins, as with the platform's profile
// functions: a later section of the same name is never read.
Keys Document::SectionKeys(const std::string& section) const {
    Keys keys;
    const std::string wanted = Fold(Trim(section));
    bool inside = false;
    for (const Line& line : lines_) {
        Parsed p = Classify(line.text);
        if (p.kind == Kind::Section) {
            if (inside) break;
            inside = Fold(p.name) == wanted;
        } else if (inside && p.kind == Kind::Key) {
            keys.emplace(Fold(p.name), p.value); // keeps the first of duplicate keys
        }
    }
    return keys;
}

bool Document::SetValue(const std::string& section, const std::string& key,
                        const std::string& value) {
    const std::string s = Trim(section), k = Trim(key);
    if (s.empty() || k.empty() || HasLineBreakOrZero(s) || HasLineBreakOrZero(k) ||
        HasLineBreakOrZero(value))
        return false;
    // Such names would read back as something else: a section header, a comment, a key
    // cut at its "=".
    if (s.find(']') != std::string::npos || k.find('=') != std::string::npos || k[0] == '[' ||
        k[0] == ';')
        return false;

    const std::string fs = Fold(s), fk = Fold(k), encoded = EncodeValue(value);
    std::size_t header = std::string::npos, lastKey = std::string::npos;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Parsed p = Classify(lines_[i].text);
        if (p.kind == Kind::Section) {
            if (header != std::string::npos) break;
            if (Fold(p.name) == fs) header = lastKey = i;
        } else if (header != std::string::npos && p.kind == Kind::Key) {
            if (Fold(p.name) == fk) {
                lines_[i].text = lines_[i].text.substr(0, p.valueStart) + encoded;
                return true;
            }
            lastKey = i;
        }
    }
    if (header != std::string::npos) {
        InsertLine(lastKey + 1, k + "=" + encoded);
        return true;
    }
    std::size_t at = lines_.size();
    if (!lines_.empty() && !Trim(lines_.back().text).empty()) InsertLine(at++, "");
    InsertLine(at, "[" + s + "]");
    InsertLine(at + 1, k + "=" + encoded);
    return true;
}

void Document::InsertLine(std::size_t at, const std::string& text) {
    if (at > 0 && lines_[at - 1].eol.empty()) lines_[at - 1].eol = eol_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{text, eol_});
}

std::string Document::Bytes() const {
    std::string out = bom_;
    for (const Line& line : lines_) out += line.text + line.eol;
    return out;
}

} // namespace kivo::ini
