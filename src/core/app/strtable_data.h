// The compiled string tables (generated source), each sorted by number.
#pragma once

#include <cstddef>

namespace kivo {

struct StrEntry {
    int id;
    const char* text;
};

// One table per edition; an edition's size is 0 when the build has no table for it.
extern const StrEntry kStrTableDe[];
extern const std::size_t kStrTableDeSize;
extern const StrEntry kStrTableEn[];
extern const std::size_t kStrTableEnSize;

} // namespace kivo
