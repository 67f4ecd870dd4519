// Beyond the edition's menus: opening a unit backup, and comparing with another file.
#include "gui/editor/enterdata.h"

#include "app/strtable.h"
#include "data/compare.h"
#include "gui/common/messages.h"
#include "gui/common/placement.h"
#include "link/procedures.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
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
    QString text = QString::fromStdString(FormatText(Str(16007), {path.toStdString()}));
    for (const auto& d : differences)
        text += QLatin1Char('\n') + QString::fromStdString(DescribeDifference(d));
    if (compareViewer_)
        compareViewer_(this, TitleOf(16004), text);
    else
        ShowList(this, TitleOf(16004), text);
}

} // namespace kivo::gui
