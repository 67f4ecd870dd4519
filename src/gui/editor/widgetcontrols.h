// The editor's controls as the binding sees them: found by their names among the window's
// widgets, with each list's value list kept beside it.
#pragma once

#include "editor/binding.h"

#include <QString>

#include <string>
#include <unordered_map>

class QComboBox;
class QTableWidget;
class QWidget;

namespace kivo::gui {

class WidgetControls : public ControlAccess {
public:
    // Finds every control of the binding table among the children of `window`.
    explicit WidgetControls(QWidget* window);

    // Fills the lists from Values.ini: items, first item selected, value lists kept.
    void FillLists(const KivoIni& ini);
    QWidget* Widget(const std::string& control) const;
    QComboBox* List(const std::string& control) const;

    std::string Text(const std::string& control) override;
    void SetText(const std::string& control, const std::string& text) override;
    bool Checked(const std::string& control) override;
    void SetChecked(const std::string& control, bool on) override;
    int Selected(const std::string& control) override;
    std::string ItemText(const std::string& control, int index) override;
    void Select(const std::string& control, int index) override;
    const ValueList& Values(const std::string& control) override;
    bool Shown(const std::string& control) override;
    char DecimalSeparator() override;
    std::string DateText(int year, int month, int day) override;
    int GridRows() override;
    std::string GridCell(int row, int column) override;
    void SetGridCell(int row, int column, const std::string& text) override;

private:
    std::unordered_map<std::string, QWidget*> widgets_;
    std::unordered_map<std::string, ValueList> values_;
    QTableWidget* grid_ = nullptr;
    QWidget* window_;
};

} // namespace kivo::gui
