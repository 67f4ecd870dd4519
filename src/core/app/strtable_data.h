// The compiled string table (generated source), sorted by number.
#pragma once

#include <cstddef>

namespace kivo {

struct StrEntry {
    int id;
    const char* text;
};

extern const StrEntry kStrTable[];
extern const std::size_t kStrTableSize;

} // namespace kivo
