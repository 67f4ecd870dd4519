#include "print/pdfcheck.h"

namespace kivo {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f' || c == '\0';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "N G obj" at `at`: the start of an object (a cross-reference stream is one).
bool ObjectAt(const std::string& s, std::size_t at) {
    std::size_t i = at;
    for (int number = 0; number < 2; ++number) {
        const std::size_t start = i;
        while (i < s.size() && IsDigit(s[i])) ++i;
        if (i == start) return false;
        const std::size_t gap = i;
        while (i < s.size() && IsSpace(s[i])) ++i;
        if (i == gap) return false;
    }
    return s.compare(i, 3, "obj") == 0;
}

} // namespace

bool IsCompletePdf(const std::string& bytes) {
    if (bytes.compare(0, 5, "%PDF-") != 0) return false;
    std::size_t end = bytes.size();
    while (end > 0 && IsSpace(bytes[end - 1])) --end;
    constexpr char kEof[] = "%%EOF";
    constexpr std::size_t kEofSize = sizeof kEof - 1;
    if (end < kEofSize || bytes.compare(end - kEofSize, kEofSize, kEof) != 0) return false;

    // Backwards from the marker: the offset, then "startxref".
    std::size_t i = end - kEofSize;
    while (i > 0 && IsSpace(bytes[i - 1])) --i;
    const std::size_t digitsEnd = i;
    while (i > 0 && IsDigit(bytes[i - 1])) --i;
    if (i == digitsEnd || digitsEnd - i > 15) return false;
    const std::size_t digitsStart = i;
    while (i > 0 && IsSpace(bytes[i - 1])) --i;
    constexpr char kStart[] = "startxref";
    constexpr std::size_t kStartSize = sizeof kStart - 1;
    if (i == digitsStart || i < kStartSize ||
        bytes.compare(i - kStartSize, kStartSize, kStart) != 0)
        return false;

    std::size_t offset = 0;
    for (std::size_t d = digitsStart; d < digitsEnd; ++d)
        offset = offset * 10 + static_cast<std::size_t>(bytes[d] - '0');
    const std::size_t startxref = i - kStartSize;
    if (offset >= startxref) return false;
    if (bytes.compare(offset, 4, "xref") == 0) {
        const std::size_t trailer = bytes.find("trailer", offset);
        return trailer != std::string::npos && trailer < startxref;
    }
    return ObjectAt(bytes, offset);
}

} // namespace kivo
