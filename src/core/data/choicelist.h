// A choice list without its widget: the item texts, the selected item, and beside them the
// byte value each item stands for, ended by a sentinel.
#pragma once

#include <string>
#include <vector>

namespace kivo {

// What a drop-down list shows: the item texts and the selected index.
struct ItemList {
    std::vector<std::string> items;
    int selected = -1;
};

// One entry per item, the byte value it stands for, followed by the sentinel.
using ValueList = std::vector<int>;
constexpr int kSentinel = 999;

void ClearList(ItemList& list, ValueList& values);
// Appends an item with an explicit value; -1 (and no change) if the value is already listed.
int AddItem(ItemList& list, const std::string& text, ValueList& values, int value);
// Position of the first entry equal to `value`, -1 if none.
int IndexOfValue(const ValueList& values, int value);
// The entry at `index`; -1 when the index names no item (negative, or at/after the sentinel).
int ValueAtIndex(const ValueList& values, int index);

} // namespace kivo
