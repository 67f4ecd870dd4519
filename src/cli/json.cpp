#include "json.h"

#include <cstdio>

namespace kivo::cli {

std::string Json::Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04X", b);
            out += esc;
        } else {
            out += c; // UTF-8 passes as it is
        }
    }
    return out + "\"";
}

std::string Json::Array(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
    return out + "]";
}

Json& Json::Add(const std::string& name, const std::string& json) {
    // One line, spaced as most tools print it, so that a person can read it too.
    if (!body_.empty()) body_ += ", ";
    body_ += Quote(name) + ": " + json;
    return *this;
}

Json& Json::Field(const std::string& name, const std::string& value) {
    return Add(name, Quote(value));
}
Json& Json::Field(const std::string& name, long long value) {
    return Add(name, std::to_string(value));
}
Json& Json::Field(const std::string& name, bool value) {
    return Add(name, value ? "true" : "false");
}
Json& Json::Null(const std::string& name) {
    return Add(name, "null");
}
Json& Json::Raw(const std::string& name, const std::string& json) {
    return Add(name, json);
}

} // namespace kivo::cli
