#include "link/trace.h"

namespace kivo {

std::shared_ptr<LinkTrace> LinkTrace::Open(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "a");
    if (!f) return nullptr;
    return std::shared_ptr<LinkTrace>(new LinkTrace(f));
}

LinkTrace::~LinkTrace() {
    std::fclose(file_);
}

void LinkTrace::Log(std::int64_t ms, const char* direction, const std::uint8_t* data,
                    std::size_t size) {
    std::fprintf(file_, "%10lld %s", static_cast<long long>(ms), direction);
    for (std::size_t i = 0; i < size; ++i) std::fprintf(file_, " %02X", data[i]);
    std::fputs("  |", file_);
    for (std::size_t i = 0; i < size; ++i)
        std::fputc(data[i] >= 0x20 && data[i] < 0x7F ? data[i] : '.', file_);
    std::fputs("|\n", file_);
    std::fflush(file_);
}

void LinkTrace::Note(std::int64_t ms, const std::string& text) {
    std::fprintf(file_, "%10lld -- %s\n", static_cast<long long>(ms), text.c_str());
    std::fflush(file_);
}

} // namespace kivo
