// One JSON object on stdout for scripts: a small writer of objects, arrays, strings, numbers
// and booleans, with strings escaped as JSON requires (control bytes as \u00XX).
#pragma once

#include <string>
#include <vector>

namespace kivo::cli {

class Json {
public:
    Json& Field(const std::string& name, const std::string& value);
    Json& Field(const std::string& name, const char* value) {
        return Field(name, std::string(value));
    }
    Json& Field(const std::string& name, long long value);
    Json& Field(const std::string& name, int value) {
        return Field(name, static_cast<long long>(value));
    }
    Json& Field(const std::string& name, unsigned value) {
        return Field(name, static_cast<long long>(value));
    }
    Json& Field(const std::string& name, bool value);
    Json& Null(const std::string& name);
    // A field whose value is already JSON (an object or an array of them).
    Json& Raw(const std::string& name, const std::string& json);
    std::string Text() const { return "{" + body_ + "}"; }

    static std::string Quote(const std::string& text);
    static std::string Array(const std::vector<std::string>& items);

private:
    Json& Add(const std::string& name, const std::string& json);
    std::string body_;
};

} // namespace kivo::cli
