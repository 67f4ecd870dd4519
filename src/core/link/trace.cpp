#include "link/trace.h"

#include <cstdio>

namespace kivo {

std::shared_ptr<LinkTrace> LinkTrace::Open(const std::string& path, WriteStatus* why) {
    std::shared_ptr<LinkTrace> trace(new LinkTrace(path));
    trace->status_ = trace->writer_.OpenAppending(path);
    if (why) *why = trace->status_;
    return trace->status_.ok() ? trace : nullptr;
}

LinkTrace::~LinkTrace() {
    if (status_.ok() && unsaved_) writer_.Commit();
}

WriteStatus LinkTrace::Save() {
    if (!status_.ok() || !unsaved_) return status_;
    status_ = writer_.Commit();
    if (status_.ok()) status_ = writer_.OpenAppending(path_);
    unsaved_ = false;
    return status_;
}

void LinkTrace::Line(const std::string& line) {
    unsaved_ = true;
    if (status_.ok() && !writer_.Write(line.data(), line.size())) status_ = writer_.Status();
}

void LinkTrace::Log(std::int64_t ms, const char* direction, const std::uint8_t* data,
                    std::size_t size) {
    char head[48];
    std::snprintf(head, sizeof head, "%10lld %s", static_cast<long long>(ms), direction);
    std::string line = head;
    for (std::size_t i = 0; i < size; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", data[i]);
        line += hex;
    }
    line += "  |";
    for (std::size_t i = 0; i < size; ++i)
        line += data[i] >= 0x20 && data[i] < 0x7F ? static_cast<char>(data[i]) : '.';
    line += "|\n";
    Line(line);
}

void LinkTrace::Note(std::int64_t ms, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "%10lld -- ", static_cast<long long>(ms));
    Line(head + text + "\n");
}

void LinkTrace::Heading(const std::string& text) {
    std::string line = "=== ";
    for (char c : text) line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    Line(line + "\n");
}

} // namespace kivo
