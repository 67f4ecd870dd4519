// The string table as C++ source: a sorted array of (number, UTF-8 text) for binary search.
#include "gen.h"

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace kivogen {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

namespace {

// \n, \r, \t and \\ in the table stand for the control characters and the backslash.
std::string Unescape(const std::string& s, const std::string& where) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size()) throw std::runtime_error(where + ": backslash at end of line");
        switch (s[i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            throw std::runtime_error(where + ": unknown escape \\" + s[i]);
        }
    }
    return out;
}

bool IsUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80             ? 1
                          : (c & 0xE0) == 0xC0 ? 2
                          : (c & 0xF0) == 0xE0 ? 3
                          : (c & 0xF8) == 0xF0 ? 4
                                               : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

std::string CLiteral(const std::string& s) {
    std::string out = "\"";
    char buf[8];
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

} // namespace

namespace {

std::map<int, std::string> ReadTable(const std::string& input) {
    std::map<int, std::string> table;
    auto lines = SplitLines(ReadWholeFile(input));
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        std::string where = input + ":" + std::to_string(n + 1);
        if (line.empty() || line[0] == '#') continue;
        auto tab = line.find('\t');
        std::string num = line.substr(0, tab);
        if (num.empty() || num.find_first_not_of("0123456789") != std::string::npos ||
            num.size() > 6)
            throw std::runtime_error(where + ": expected NUMBER<TAB>TEXT");
        int id = std::stoi(num);
        std::string text = tab == std::string::npos ? "" : Unescape(line.substr(tab + 1), where);
        if (!IsUtf8(text)) throw std::runtime_error(where + ": text is not valid UTF-8");
        if (!table.emplace(id, text).second)
            throw std::runtime_error(where + ": number " + num + " appears twice");
    }
    return table;
}

std::string TableSource(const std::string& symbol, const std::map<int, std::string>& table) {
    std::string cpp = "const StrEntry " + symbol + "[] = {\n";
    for (const auto& [id, text] : table)
        cpp += "    {" + std::to_string(id) + ", " + CLiteral(text) + "},\n";
    // An edition without a table still needs an array; its size says it holds nothing.
    if (table.empty()) cpp += "    {0, \"\"},\n";
    cpp += "};\nconst std::size_t " + symbol + "Size = " + std::to_string(table.size()) + ";\n\n";
    return cpp;
}

} // namespace

int GenerateStrings(const std::string& german, const std::string& output,
                    const std::string& english) {
    const auto de = ReadTable(german);
    const auto en = english.empty() ? std::map<int, std::string>() : ReadTable(english);
    std::string cpp = "// Generated from the string tables; do not edit.\n"
                      "#include \"app/strtable_data.h\"\n\n"
                      "namespace kivo {\n\n";
    cpp += TableSource("kStrTableDe", de) + TableSource("kStrTableEn", en);
    cpp += "} // namespace kivo\n";
    WriteWholeFile(output, cpp);
    return 0;
}

} // namespace kivogen
