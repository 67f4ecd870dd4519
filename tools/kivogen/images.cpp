// Binary images from their readable tables, and Values.i from its UTF-8 source.
#include "gen.h"

#include "data/codec.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <set>

namespace kivogen {

namespace {

struct Table {
    std::array<std::uint8_t, 512> bytes{};
    unsigned size = 0;
};

// Splits a line into words; a double-quoted word may hold blanks and '#'; '#' elsewhere
// starts a comment.
std::vector<std::string> Words(const std::string& line, const std::string& where) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            auto end = line.find('"', i + 1);
            if (end == std::string::npos) throw std::runtime_error(where + ": unclosed quote");
            words.push_back(line.substr(i, end - i + 1));
            i = end + 1;
        } else {
            auto end = line.find_first_of(" \t#", i);
            if (end == std::string::npos) end = line.size();
            words.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return words;
}

long Number(const std::string& word, const std::string& where) {
    char* end = nullptr;
    bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    long v = std::strtol(word.c_str(), &end, hex ? 16 : 10);
    if (word.empty() || *end != '\0' || v < 0)
        throw std::runtime_error(where + ": not a number: " + word);
    return v;
}

std::string Quoted(const std::vector<std::string>& w, std::size_t i, const std::string& where) {
    if (i >= w.size() || w[i].size() < 2 || w[i].front() != '"')
        throw std::runtime_error(where + ": expected a quoted text");
    return w[i].substr(1, w[i].size() - 2);
}

Table Load(const std::string& path, int depth) {
    if (depth > 4) throw std::runtime_error(path + ": base tables nest too deeply");
    Table t;
    std::set<unsigned> named;
    auto lines = SplitLines(ReadWholeFile(path));
    auto folder = path.substr(0, path.rfind('/') + 1);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string where = path + ":" + std::to_string(n + 1);
        auto w = Words(lines[n], where);
        if (w.empty()) continue;
        if (w[0] == "size") {
            if (w.size() != 2) throw std::runtime_error(where + ": size 256|512");
            t.size = static_cast<unsigned>(Number(w[1], where));
            if (t.size != 256 && t.size != 512)
                throw std::runtime_error(where + ": size must be 256 or 512");
            continue;
        }
        if (w[0] == "base") {
            if (w.size() != 2) throw std::runtime_error(where + ": base OTHER.txt");
            t.bytes = Load(folder + w[1], depth + 1).bytes;
            continue;
        }
        long addr = Number(w[0], where);
        std::vector<std::uint8_t> values;
        if (w.size() >= 2 && (w[1] == "phone" || w[1] == "alarmcode")) {
            std::uint8_t dial[8];
            std::string text = Quoted(w, 2, where);
            if (text.size() > 16) throw std::runtime_error(where + ": more than 16 characters");
            if (w[1] == "phone")
                kivo::TextToPhone(text, dial);
            else
                kivo::TextToAlarmCode(text, dial);
            values.assign(dial, dial + 8);
        } else if (w.size() >= 2 && w[1] == "radio") {
            std::uint8_t code[2];
            kivo::TextToRadioCode(Quoted(w, 2, where), code);
            values.assign(code, code + 2);
        } else {
            for (std::size_t i = 1; i < w.size(); ++i) {
                long v = Number(w[i], where);
                if (v > 255) throw std::runtime_error(where + ": value above 255: " + w[i]);
                values.push_back(static_cast<std::uint8_t>(v));
            }
        }
        if (values.empty()) throw std::runtime_error(where + ": no value");
        for (std::size_t i = 0; i < values.size(); ++i) {
            unsigned a = static_cast<unsigned>(addr) + static_cast<unsigned>(i);
            if (a >= 512) throw std::runtime_error(where + ": address past the image");
            if (!named.insert(a).second)
                throw std::runtime_error(where + ": address " + std::to_string(a) + " named twice");
            t.bytes[a] = values[i];
        }
    }
    if (t.size == 0) throw std::runtime_error(path + ": no size statement");
    for (unsigned a : named)
        if (a >= t.size)
            throw std::runtime_error(path + ": address " + std::to_string(a) +
                                     " lies past the image size");
    return t;
}

} // namespace

int GenerateImage(const std::string& input, const std::string& output) {
    Table t = Load(input, 0);
    // A 256-byte image never carries bytes from a 512-byte base past its end.
    WriteWholeFile(output, std::string(t.bytes.begin(), t.bytes.begin() + t.size));
    return 0;
}

// UTF-8 with LF in the repository; Windows-1252 with CR LF as installed.
int GenerateIni(const std::string& input, const std::string& output) {
    std::string out;
    for (const auto& line : SplitLines(ReadWholeFile(input))) {
        for (std::size_t i = 0; i < line.size();) {
            auto c = static_cast<unsigned char>(line[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
                ++i;
            } else if ((c & 0xE0) == 0xC0 && i + 1 < line.size()) {
                unsigned cp =
                    ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(line[i + 1]) & 0x3Fu);
                if (cp > 0xFF) throw std::runtime_error(input + ": character outside Latin-1");
                out += static_cast<char>(cp);
                i += 2;
            } else {
                throw std::runtime_error(input + ": character outside Latin-1: " + line);
            }
        }
        out += "\r\n";
    }
    WriteWholeFile(output, out);
    return 0;
}

} // namespace kivogen
