#include "app/strtable.h"

#include "app/strtable_data.h"

#include <algorithm>

namespace kivo {

std::string Str(int id) {
    const StrEntry* end = kStrTable + kStrTableSize;
    const StrEntry* it =
        std::lower_bound(kStrTable, end, id, [](const StrEntry& e, int v) { return e.id < v; });
    return it != end && it->id == id ? std::string(it->text) : std::string();
}

std::string FormatText(const std::string& pattern, const std::vector<std::string>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            char f = pattern[i + 1];
            if (f == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (f == 's' || f == 'd' || f == 'c') {
                if (next < args.size()) out += args[next];
                ++next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace kivo
