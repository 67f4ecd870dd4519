// A wire trace: every frame sent and every reply received, with a millisecond timestamp and a
// hex dump, so that "the unit does not answer" can be diagnosed from a file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace kivo {

class LinkTrace {
public:
    // Appends to `path`; nullptr when it cannot be opened.
    static std::shared_ptr<LinkTrace> Open(const std::string& path);
    ~LinkTrace();
    LinkTrace(const LinkTrace&) = delete;
    LinkTrace& operator=(const LinkTrace&) = delete;

    // One line: time in ms, the direction ("->" sent, "<-" received, "--" an event), the
    // bytes in hex and as printable text.
    void Log(std::int64_t ms, const char* direction, const std::uint8_t* data, std::size_t size);
    void Note(std::int64_t ms, const std::string& text);

private:
    explicit LinkTrace(std::FILE* file) : file_(file) {}
    std::FILE* file_;
};

} // namespace kivo
