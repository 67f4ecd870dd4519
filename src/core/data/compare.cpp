#include "data/compare.h"

#include "app/strtable.h"

#include "data/textexport.h"

#include <cstdio>

namespace kivo {

std::vector<Difference> CompareImages(const Image& first, const Image& second, unsigned size) {
    std::vector<Difference> out;
    const unsigned n = size > mm::kImageBuffer ? mm::kImageBuffer : size;
    for (unsigned a = 0; a < n; ++a) {
        if (first[a] == second[a]) continue;
        out.push_back({a, first[a], second[a], ParameterName(a),
                       a >= mm::ReadOnlyFirst && a <= mm::ReadOnlyLast,
                       a >= mm::ExtendedAreaFirst});
    }
    return out;
}

std::string DescribeDifference(const Difference& d) {
    char head[16];
    std::snprintf(head, sizeof head, "0x%03X ", d.addr);
    std::string line = head;
    line += d.name.empty() ? Str(16327) : d.name;
    line += ": " + std::to_string(d.first) + " -> " + std::to_string(d.second);
    if (d.readOnly) line += " " + Str(16328);
    if (d.extended) line += " " + Str(16329);
    return line;
}

} // namespace kivo
