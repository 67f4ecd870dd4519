#include "gui/editor/advancedgrid.h"

#include "editor/binding.h"
#include "editor/rules.h"
#include "gui/common/messages.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QTimer>

namespace kivo::gui {

namespace {

// Set on an editor once it has been given its cell's text: the text it opened with, and the
// row of its cell.
const char* const kOpened = "kivoOpened";
const char* const kRow = "kivoRow";

} // namespace

AdvancedValueDelegate::AdvancedValueDelegate(QTableWidget* grid)
    : QStyledItemDelegate(grid), grid_(grid) {
    grid->setItemDelegateForColumn(kValueColumn, this);
    connect(grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { sgAdvancedSelectCell(row, column); });
    // Once the entry is over the cell shows the number it stores: "007" as 7, like its
    // neighbours.
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget* editor) {
        const QVariant row = editor ? editor->property(kRow) : QVariant();
        QTableWidgetItem* item = row.isValid() ? grid_->item(row.toInt(), kValueColumn) : nullptr;
        if (!item) return;
        const QString text = item->text().trimmed();
        if (!text.isEmpty() && text.size() <= 3 &&
            text.toStdString().find_first_not_of("0123456789") == std::string::npos)
            item->setText(QString::number(conv::ReadNumber(text.toStdString())));
    });
}

void AdvancedValueDelegate::sgAdvancedSelectCell(int row, int column) {
    if (row < 0 || column != kValueColumn) return;
    if (QTableWidgetItem* item = grid_->item(row, column)) grid_->editItem(item);
}

QString AdvancedValueDelegate::sgAdvancedGetEditText(const QString& cellText) const {
    const long value = conv::ReadNumber(cellText.trimmed().toStdString());
    if (value >= 0 && value <= 255) return cellText;
    Messages::Show(grid_, MsgKind::Information, 15025);
    return value < 0 ? QStringLiteral("0") : QStringLiteral("255");
}

QWidget* AdvancedValueDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                             const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Digits only, at most three: 000 .. 999 can be typed.
    edit->setMaxLength(3);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), edit));
    auto* self = const_cast<AdvancedValueDelegate*>(this);
    connect(edit, &QLineEdit::textEdited, self, [self, edit] { self->ValueEdited(edit); });
    return edit;
}

void AdvancedValueDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = static_cast<QLineEdit*>(editor);
    const QString cell = index.data(Qt::EditRole).toString();
    if (!edit->property(kOpened).isValid()) {
        const QString text = sgAdvancedGetEditText(cell);
        edit->setText(text);
        edit->setProperty(kOpened, text);
        edit->setProperty(kRow, index.row());
        // The corrected text is the cell's from now on, whether or not the user types.
        if (text != cell) const_cast<QAbstractItemModel*>(index.model())->setData(index, text);
        return;
    }
    // The cell changed while its editor is open (the image was shown again, or the editor's
    // own text came back from the cell): keep the cursor where it is when nothing differs.
    if (edit->text() != cell) edit->setText(cell);
}

void AdvancedValueDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                         const QModelIndex& index) const {
    QString text = static_cast<QLineEdit*>(editor)->text();
    // ValueEdited has already corrected and announced a value above 255; this only makes sure
    // no such value reaches the cell by another way.
    const RuleVerdict verdict = CheckValue(ValueRule::Range0To255, text.toStdString(), '.');
    if (verdict.corrected) text = Q(*verdict.corrected);
    model->setData(index, text);
}

bool AdvancedValueDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(object);
    if (edit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        edit->property(kOpened).isValid()) {
        if (QTableWidgetItem* item = grid_->item(edit->property(kRow).toInt(), kValueColumn))
            item->setText(edit->property(kOpened).toString());
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void AdvancedValueDelegate::ValueEdited(QLineEdit* editor) {
    const RuleVerdict verdict =
        CheckValue(ValueRule::Range0To255, editor->text().toStdString(), '.');
    // The cell gets the corrected text at once. The box comes only once the key that made the
    // text has been handled: a modal box takes the focus, the view closes the cell's editor
    // inside the box's loop, and Qt would carry on inside the deleted editor.
    if (verdict.corrected) editor->setText(Q(*verdict.corrected));
    emit commitData(editor);
    if (verdict.box) {
        QPointer<QTableWidget> grid = grid_;
        QTimer::singleShot(0, grid_, [grid, box = verdict.box] {
            if (grid) Messages::Show(grid, MsgKind::Information, box);
        });
    }
}

} // namespace kivo::gui
