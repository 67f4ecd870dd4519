// The editor's controls without a window: texts, ticks and list selections by name, with the
// lists filled from the shipped Values.i as the editor fills them.
#pragma once

#include "editor/binding.h"

#include <array>
#include <cstdio>
#include <map>
#include <set>

namespace kivo::test {

class FakeControls : public ControlAccess {
public:
    explicit FakeControls(const KivoIni& ini) {
        for (auto& f : FillEditorLists(ini)) lists[f.control] = f;
    }
    std::string Text(const std::string& c) override { return texts[c]; }
    void SetText(const std::string& c, const std::string& t) override { texts[c] = t; }
    bool Checked(const std::string& c) override { return checks[c]; }
    void SetChecked(const std::string& c, bool on) override { checks[c] = on; }
    int Selected(const std::string& c) override {
        auto it = selected.find(c);
        return it == selected.end() ? -1 : it->second;
    }
    void Select(const std::string& c, int index) override { selected[c] = index; }
    const ValueList& Values(const std::string& c) override { return lists[c].values; }
    bool Shown(const std::string& c) override { return !hidden.count(c); }
    char DecimalSeparator() override { return ','; }
    std::string DateText(int y, int m, int d) override {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d, m, y);
        return buf;
    }
    int GridRows() override { return static_cast<int>(grid.size()); }
    std::string GridCell(int row, int col) override { return grid[row - 1][col]; }
    void SetGridCell(int row, int col, const std::string& t) override { grid[row - 1][col] = t; }

    // The item of a list whose value is `value`.
    void Choose(const std::string& c, int value) { selected[c] = IndexOfValue(Values(c), value); }
    std::string ItemText(const std::string& c) {
        int i = Selected(c);
        return i < 0 ? std::string() : lists[c].items.items[i];
    }

    std::map<std::string, std::string> texts;
    std::map<std::string, bool> checks;
    std::map<std::string, int> selected;
    std::map<std::string, FilledList> lists;
    std::set<std::string> hidden{"edtAutoAnswerDuration"}; // hidden in this edition
    std::vector<std::array<std::string, 4>> grid;
};

} // namespace kivo::test
