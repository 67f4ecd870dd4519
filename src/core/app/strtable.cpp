#include "app/strtable.h"

#include "app/strtable_data.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kivo {

namespace {

const StrEntry* Find(const StrEntry* table, std::size_t size, int id) {
    const StrEntry* end = table + size;
    const StrEntry* it =
        std::lower_bound(table, end, id, [](const StrEntry& e, int v) { return e.id < v; });
    return it != end && it->id == id ? it : nullptr;
}

bool Set(const char* value) {
    return value && *value;
}

} // namespace

Edition CurrentEdition() {
    const char* chosen = std::getenv("KIVO_EDITION");
    if (Set(chosen) && std::strcmp(chosen, "en") == 0) return Edition::English;
    if (Set(chosen) && std::strcmp(chosen, "de") == 0) return Edition::German;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* locale = std::getenv(name);
        if (Set(locale))
            return std::strncmp(locale, "en", 2) == 0 ? Edition::English : Edition::German;
    }
    return Edition::German;
}

const char* EditionCode(Edition edition) {
    return edition == Edition::English ? "EN" : "DE";
}

std::string Str(int id, Edition edition) {
    if (edition == Edition::English)
        if (const StrEntry* e = Find(kStrTableEn, kStrTableEnSize, id)) return e->text;
    const StrEntry* e = Find(kStrTableDe, kStrTableDeSize, id);
    return e ? std::string(e->text) : std::string();
}

std::string Str(int id) {
    return Str(id, CurrentEdition());
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
