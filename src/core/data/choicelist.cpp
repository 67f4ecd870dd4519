#include "data/choicelist.h"

#include <cstddef>

namespace kivo {

namespace {

// AddItem never looks further than this many entries for the sentinel.
constexpr std::size_t kMaxAddWalk = 256;

} // namespace

void ClearList(ItemList& list, ValueList& values) {
    list.items.clear();
    list.selected = -1;
    values.assign(1, kSentinel);
}

int AddItem(ItemList& list, const std::string& text, ValueList& values, int value) {
    std::size_t p = 0;
    for (; p < values.size() && p < kMaxAddWalk; ++p) {
        if (values[p] == value) return -1;
        if (values[p] == kSentinel) break;
    }
    values.resize(p + 2);
    values[p] = value;
    values[p + 1] = kSentinel;
    list.items.push_back(text);
    return static_cast<int>(p);
}

int IndexOfValue(const ValueList& values, int value) {
    for (std::size_t p = 0; p < values.size() && values[p] != kSentinel; ++p)
        if (values[p] == value) return static_cast<int>(p);
    return -1;
}

int ValueAtIndex(const ValueList& values, int index) {
    if (index < 0) return -1;
    for (std::size_t p = 0; p < values.size() && values[p] != kSentinel; ++p)
        if (p == static_cast<std::size_t>(index)) return values[p];
    return -1;
}

} // namespace kivo
