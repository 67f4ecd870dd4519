#include "editor/controlmodel.h"

#include <cstdio>

namespace kivo {

ControlModel::ControlModel(const KivoIni& ini) {
    for (auto& f : FillEditorLists(ini)) lists[f.control] = std::move(f);
    for (const auto& row : ini.ReadAdvancedRows())
        grid.push_back({row.addr, row.desc, "0", row.unit});
    hidden.insert("edtAutoAnswerDuration"); // its caption is empty in this edition
}

std::string ControlModel::Text(const std::string& c) {
    auto it = texts.find(c);
    return it == texts.end() ? std::string() : it->second;
}

std::string ControlModel::ItemText(const std::string& c, int index) {
    auto it = lists.find(c);
    if (it == lists.end() || index < 0 || index >= static_cast<int>(it->second.items.items.size()))
        return std::string();
    return it->second.items.items[static_cast<std::size_t>(index)];
}

bool ControlModel::Checked(const std::string& c) {
    auto it = checks.find(c);
    return it != checks.end() && it->second;
}

int ControlModel::Selected(const std::string& c) {
    auto it = selected.find(c);
    return it == selected.end() ? -1 : it->second;
}

const ValueList& ControlModel::Values(const std::string& c) {
    static const ValueList kEmpty{kSentinel};
    auto it = lists.find(c);
    return it == lists.end() ? kEmpty : it->second.values;
}

std::string ControlModel::DateText(int year, int month, int day) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", day, month, year);
    return buf;
}

std::string ControlModel::GridCell(int row, int col) {
    if (row < 1 || row > GridRows() || col < 0 || col > 3) return std::string();
    return grid[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)];
}

void ControlModel::SetGridCell(int row, int col, const std::string& t) {
    if (row < 1 || row > GridRows() || col < 0 || col > 3) return;
    grid[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)] = t;
}

} // namespace kivo
