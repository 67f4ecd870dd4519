// The editor's controls without a window: texts, ticks, list selections and grid cells kept
// by control name, with every list filled from Values.ini as the editor fills its lists.
// kivoctl uses it to see a configuration exactly as the editor would; tests use it to drive
// the binding.
#pragma once

#include "editor/binding.h"

#include <array>
#include <map>
#include <set>

namespace kivo {

class ControlModel : public ControlAccess {
public:
    // Lists from Values.ini, grid rows from its [ValueAdvanced]; the controls the edition
    // hides (the auto-answer duration) count as hidden.
    explicit ControlModel(const KivoIni& ini);

    std::string Text(const std::string& c) override;
    void SetText(const std::string& c, const std::string& t) override { texts[c] = t; }
    bool Checked(const std::string& c) override;
    void SetChecked(const std::string& c, bool on) override { checks[c] = on; }
    int Selected(const std::string& c) override;
    void Select(const std::string& c, int index) override { selected[c] = index; }
    std::string ItemText(const std::string& c, int index) override;
    const ValueList& Values(const std::string& c) override;
    bool Shown(const std::string& c) override { return !hidden.count(c); }
    char DecimalSeparator() override { return ','; }
    std::string DateText(int year, int month, int day) override; // dd.mm.yyyy
    int GridRows() override { return static_cast<int>(grid.size()); }
    std::string GridCell(int row, int col) override;
    void SetGridCell(int row, int col, const std::string& t) override;

    // Selects the item of a list whose value is `value` (no selection when there is none).
    void Choose(const std::string& c, int value) { selected[c] = IndexOfValue(Values(c), value); }

    std::map<std::string, std::string> texts;
    std::map<std::string, bool> checks;
    std::map<std::string, int> selected;
    std::map<std::string, FilledList> lists;
    std::set<std::string> hidden;
    std::vector<std::array<std::string, 4>> grid; // rows from 1 on are grid[row - 1]
};

} // namespace kivo
