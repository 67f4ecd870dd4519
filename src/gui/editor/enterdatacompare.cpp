// Beyond the edition's menus: opening a unit backup, and comparing with another file.
#include "gui/editor/enterdata.h"

#include "app/strtable.h"
#include "data/compare.h"
#include "editor/controlmodel.h"
#include "editor/fielddiff.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"
#include "gui/editor/widgetcontrols.h"
#include "link/procedures.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kivo::gui {

namespace {

// The menu text without its access-key marker and trailing dots, as a window title.
QString TitleOf(int textId) {
    QString t = QStr(textId);
    t.remove(QLatin1Char('&'));
    while (t.endsWith(QLatin1Char('.'))) t.chop(1);
    return t;
}

// Where `w` sits in a grid layout under `layout`: the grid and its cell; false when nowhere.
bool FindInGrid(QLayout* layout, QWidget* w, QGridLayout*& grid, int& row, int& column) {
    if (!layout) return false;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        const bool here = item->widget() == w ||
                          (item->widget() && item->widget()->isAncestorOf(w)) ||
                          (item->layout() && item->layout()->indexOf(w) >= 0);
        if (here) {
            if (auto* g = qobject_cast<QGridLayout*>(layout)) {
                int rowSpan = 0, columnSpan = 0;
                g->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
                grid = g;
                return true;
            }
        }
        if (item->layout() && FindInGrid(item->layout(), w, grid, row, column)) return true;
    }
    return false;
}

QString LabelAt(QGridLayout* grid, int row, int column) {
    QLayoutItem* item = row >= 0 && column >= 0 ? grid->itemAtPosition(row, column) : nullptr;
    auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
    return label && !label->text().isEmpty() ? label->text() : QString();
}

// The caption a field shows on its page: a tick box's own text, else the label to its left in
// its row (with the column's heading for a box without text), else the label above it.
QString FieldCaption(QWidget* window, const QString& control) {
    QWidget* w = window->findChild<QWidget*>(control);
    if (!w) return control;
    if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty())
        return button->text().remove(QLatin1Char('&'));
    QGridLayout* grid = nullptr;
    int row = 0, column = 0;
    for (QWidget* p = w->parentWidget(); p && !grid; p = p->parentWidget())
        FindInGrid(p->layout(), w, grid, row, column);
    if (!grid) return control;
    QString left;
    for (int c = column - 1; c >= 0 && left.isEmpty(); --c) left = LabelAt(grid, row, c);
    if (qobject_cast<QAbstractButton*>(w)) {
        const QString heading = LabelAt(grid, 0, column);
        return heading.isEmpty() ? left : left + QStringLiteral(", ") + heading;
    }
    return left.isEmpty() ? LabelAt(grid, row - 1, column) : left;
}

// The caption of the page the field is on.
QString PageOf(QWidget* window, const QString& control) {
    auto* pages = window->findChild<QTabWidget*>(QStringLiteral("pgcntrlMain"));
    QWidget* w = window->findChild<QWidget*>(control);
    if (!pages || !w) return QString();
    for (int i = 0; i < pages->count(); ++i)
        if (pages->widget(i)->isAncestorOf(w)) return pages->tabText(i).remove(QLatin1Char('&'));
    return QString();
}

void ShowList(QWidget* parent, const QString& title, const QString& text) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QPlainTextEdit(text, &dialog);
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setMinimumSize(620, 360);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(OkCaption());
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.adjustSize(); // its final size, so that it is centred by that, not by a guess
    CentreOver(&dialog, parent);
    dialog.exec();
}

} // namespace

void TfrmEnterData::mnuFileRestoreBackupClick() {
    std::string folder = BackupFolderSetting(ctx_.folders.programFolder);
    if (folder.empty()) folder = ctx_.folders.programFolder + "Backup/";
    QDir().mkpath(QString::fromStdString(folder));
    const QString path = ChooseFile(FileDialog::Open, 16003, QString::fromStdString(folder));
    if (!path.isEmpty()) OpenChosenFile(path);
}

void TfrmEnterData::mnuToolsCompareClick() {
    const QString path = ChooseFile(FileDialog::Open, 16004);
    if (path.isEmpty()) return;
    KivoData other;
    if (!other.LoadImageFile(path.toStdString())) {
        Messages::Show(this, MsgKind::Error, 15010);
        return;
    }
    ControlsToImage(); // what the controls show is what is compared
    const auto differences = CompareImages(doc_.data.image, other.image,
                                           std::max<unsigned>(doc_.imageSize, other.imageSize));
    if (differences.empty()) {
        Messages::Show(this, MsgKind::Information, 16006);
        return;
    }
    // The other file as the editor would show it, field by field.
    ControlModel theirs(ini_);
    kivo::ImageToControls(other.image, theirs);
    const std::string on = Str(13925), off = Str(13926);
    QString text = QString::fromStdString(FormatText(Str(16007), {path.toStdString()}));
    const QString arrow = QStringLiteral(" \u2192 ");
    for (const FieldDifference& f : DifferingFields(*controls_, theirs, on, off)) {
        const QString control = Q(f.control);
        const QString caption =
            f.description.empty() ? FieldCaption(this, control) : Q(f.description);
        text += QLatin1Char('\n') + PageOf(this, control) + QStringLiteral(" \u2013 ") + caption +
                QStringLiteral(": ") + Q(f.mine) + arrow + Q(f.theirs);
    }
    const auto unshown = BytesWithoutField(differences, *controls_);
    if (!unshown.empty()) text += QLatin1Char('\n') + QStr(16056);
    for (const Difference& d : unshown)
        text += QStringLiteral("\n0x%1: %2")
                    .arg(QString::number(d.addr, 16).toUpper().rightJustified(3, QLatin1Char('0')))
                    .arg(d.first) +
                arrow + QString::number(d.second);
    if (compareViewer_)
        compareViewer_(this, TitleOf(16004), text);
    else
        ShowList(this, TitleOf(16004), text);
}

} // namespace kivo::gui
