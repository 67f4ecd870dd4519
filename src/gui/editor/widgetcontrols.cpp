#include "gui/editor/widgetcontrols.h"

#include "editor/keyrules.h"
#include "print/reporttext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

namespace kivo::gui {

namespace {

const ValueList kNoValues{kSentinel};

} // namespace

WidgetControls::WidgetControls(QWidget* window) : window_(window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty()) widgets_.emplace(name.toStdString(), w);
    }
    grid_ = qobject_cast<QTableWidget*>(Widget("sgAdvanced"));
}

void WidgetControls::FillLists(const KivoIni& ini) {
    for (FilledList& f : FillEditorLists(ini)) {
        QComboBox* list = List(f.control);
        if (!list) continue;
        QStringList items;
        for (const std::string& item : f.items.items) items << QString::fromStdString(item);
        list->clear();
        list->addItems(items);
        list->setCurrentIndex(f.items.selected);
        values_[f.control] = std::move(f.values);
    }
}

QWidget* WidgetControls::Widget(const std::string& control) const {
    auto it = widgets_.find(control);
    return it == widgets_.end() ? nullptr : it->second;
}

QComboBox* WidgetControls::List(const std::string& control) const {
    return qobject_cast<QComboBox*>(Widget(control));
}

std::string WidgetControls::Text(const std::string& control) {
    auto* edit = qobject_cast<QLineEdit*>(Widget(control));
    return edit ? edit->text().toStdString() : std::string();
}

void WidgetControls::SetText(const std::string& control, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(Widget(control)))
        edit->setText(QString::fromStdString(text));
}

std::string WidgetControls::ItemText(const std::string& control, int index) {
    auto* list = qobject_cast<QComboBox*>(Widget(control));
    return list && index >= 0 && index < list->count() ? list->itemText(index).toStdString()
                                                       : std::string();
}

bool WidgetControls::Checked(const std::string& control) {
    auto* box = qobject_cast<QCheckBox*>(Widget(control));
    return box && box->isChecked();
}

void WidgetControls::SetChecked(const std::string& control, bool on) {
    if (auto* box = qobject_cast<QCheckBox*>(Widget(control))) box->setChecked(on);
}

int WidgetControls::Selected(const std::string& control) {
    QComboBox* list = List(control);
    return list ? list->currentIndex() : -1;
}

void WidgetControls::Select(const std::string& control, int index) {
    if (QComboBox* list = List(control)) list->setCurrentIndex(index);
}

const ValueList& WidgetControls::Values(const std::string& control) {
    auto it = values_.find(control);
    return it == values_.end() ? kNoValues : it->second;
}

bool WidgetControls::Shown(const std::string& control) {
    // Hidden by an edition or an access level: the control or a group around it is hidden.
    // The pages themselves are hidden by the page control whenever another page is up.
    for (QWidget* w = Widget(control); w && w != window_; w = w->parentWidget()) {
        if (w->objectName().startsWith(QLatin1String("tbsht"))) return true;
        if (w->isHidden()) return false;
    }
    return Widget(control) != nullptr;
}

char WidgetControls::DecimalSeparator() {
    return kDecimalSeparator;
}

std::string WidgetControls::DateText(int year, int month, int day) {
    // The edition's date form, as the report prints it, whatever the platform's locale says.
    return report::ShortDateText(year, month, day);
}

int WidgetControls::GridRows() {
    return grid_ ? grid_->rowCount() : 0;
}

std::string WidgetControls::GridCell(int row, int column) {
    if (!grid_ || row < 1) return std::string();
    QTableWidgetItem* item = grid_->item(row - 1, column);
    return item ? item->text().toStdString() : std::string();
}

void WidgetControls::SetGridCell(int row, int column, const std::string& text) {
    if (!grid_ || row < 1 || row > grid_->rowCount()) return;
    QTableWidgetItem* item = grid_->item(row - 1, column);
    if (item)
        item->setText(QString::fromStdString(text));
    else
        grid_->setItem(row - 1, column, new QTableWidgetItem(QString::fromStdString(text)));
}

} // namespace kivo::gui
