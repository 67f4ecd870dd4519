// Editing the advanced grid's values: only the value column below the heading can be edited,
// its cells take at most three digits, and what a cell holds always lies in 0..255, so the
// image gets exactly what the grid shows.
#pragma once

#include <QStyledItemDelegate>

class QLineEdit;
class QTableWidget;

namespace kivo::gui {

class AdvancedValueDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kValueColumn = 2;

    // Becomes the delegate of the grid's value column and opens a value cell's editor as soon
    // as the cell is selected.
    explicit AdvancedValueDelegate(QTableWidget* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    // Escape abandons the entry: the cell gets back the text its editor opened with.
    bool eventFilter(QObject* object, QEvent* event) override;

    // A value cell switches editing on and opens its editor; other cells cannot be edited.
    void sgAdvancedSelectCell(int row, int column);
    // The text a value cell's editor opens with: a value outside 0..255 is corrected to the
    // nearest end, with box 15025.
    QString sgAdvancedGetEditText(const QString& cellText) const;

private:
    // Every change of the editor's text goes into the cell at once (a save from the menu reads
    // the cell while its editor is still open); a value above 255 becomes "255" first.
    void ValueEdited(QLineEdit* editor);

    QTableWidget* grid_;
};

} // namespace kivo::gui
