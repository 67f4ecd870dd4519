// The editor's tool dialogs and settings: the alarm type flags, the day-button settings, the
// default configuration and folder, and the parameter text file.
#include "gui/editor/enterdatatools.h"

#include "app/strtable.h"
#include "data/defaultconfigs.h"
#include "data/filetarget.h"
#include "data/textexport.h"
#include "editor/homeaway.h"
#include "gui/common/messages.h"
#include "gui/editor/alarmtypes.h"
#include "gui/editor/enterdata.h"
#include "gui/editor/selectdirectory.h"
#include "gui/editor/selecthomeaway.h"
#include "gui/editor/viewdefault.h"
#include "gui/editor/widgetcontrols.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace kivo::gui {

namespace {

DocumentOpener& Opener() {
    static DocumentOpener opener;
    return opener;
}

bool OpenDocument(const QUrl& document) {
    if (Opener()) return Opener()(document);
    return QDesktopServices::openUrl(document);
}

} // namespace

void SetDocumentOpener(DocumentOpener opener) {
    Opener() = std::move(opener);
}

void TfrmEnterData::btnAlarmTypesConfigureClick() {
    auto* dialog = ctx_.windows.As<TfrmAlarmTypes>(Role::AlarmTypes);
    if (!dialog) return;
    // The dialog shows the bytes as the main page has them now.
    ControlsToImage();
    dialog->exec();
}

void TfrmEnterData::mnuToolsConfigureHomeAwayClick() {
    auto* dialog = ctx_.windows.As<TfrmSelectHomeAway>(Role::SelectHomeAway);
    if (!dialog) return;
    dialog->SetSelection(-1);
    if (dialog->exec() != QDialog::Accepted) return;
    const int choice = dialog->GetSelection();
    if (choice < 0) return;
    Image& image = doc_.data.image;
    ApplyHomeAway(image, choice);
    // Only the controls of the bytes written follow; the tick boxes store bit 7 alone later,
    // which keeps the other bits as written here.
    auto on = [&image](mm::Addr addr) { return (image[addr] & mm::FlagActive) != 0; };
    controls_->SetChecked("cbCarpetAlarm", on(mm::FlagHomeIndication));
    controls_->SetChecked("cbInactivity", on(mm::FlagAway));
    controls_->SetChecked("cbPassive", on(mm::FlagPassive));
    controls_->SetChecked("cbAssaultAlarm", on(mm::FlagBurglar));
    const std::string list = "cbbxAlarmTypeExtraButton";
    controls_->Select(list, IndexOfValue(controls_->Values(list), image[mm::AlarmTypeExtraButton]));
}

void TfrmEnterData::mnuFileChangeDefaultConfigClick() {
    auto* dialog = ctx_.windows.As<TfrmViewDefault>(Role::ViewDefault);
    if (!dialog) return;
    if (dialog->CountDefaultConfigs() == 0) {
        Messages::Show(this, MsgKind::Information, 15019);
        return;
    }
    if (dialog->exec() != QDialog::Accepted) return;
    const std::string name = dialog->SelectedConfig();
    if (name.empty()) return; // the list named no file
    // A copy that failed leaves the old default in place: the user must not believe otherwise.
    if (!ChangeDefaultConfig(ctx_.folders.programFolder, name, ini_))
        Messages::Show(this, MsgKind::Error, 15010);
}

void TfrmEnterData::mnuFileSelectDefaultDirectoryClick() {
    auto* dialog = ctx_.windows.As<TfrmSelectDirectory>(Role::SelectDirectory);
    if (!dialog) return;
    dialog->SetDirectory(Q(ctx_.folders.configFolder));
    if (dialog->exec() != QDialog::Accepted) return;
    // Taken as typed: whether the folder exists shows when a file is opened or saved there.
    const std::string folder = dialog->GetDirectory().toStdString();
    ctx_.folders.configFolder = folder;
    ini_.WriteValue("Setup", "ConfigDirectory", folder);
}

void TfrmEnterData::mnuToolsCreateTextFileClick() {
    ControlsToImage();
    ExportInput in;
    in.image = &doc_.data.image;
    in.imageSource = doc_.data.imageSource;
    in.fileName = doc_.data.fileName;
    in.programFolder = ctx_.folders.programFolder;
    ExportFieldsFromControls(*controls_, in);
    in.sequenceLetters = Str(15034);

    const std::string path = ExportFileName(in);
    const QString fullName = QFileInfo(Q(path)).absoluteFilePath();
    // A name that leads back to the configuration itself (a link) would destroy it.
    if (SameFile(path, doc_.data.fileName)) {
        Messages::Show(this, MsgKind::Error, 16208, {fullName.toStdString()});
        return;
    }
    if (const WriteStatus saved = WriteTextExport(in, path); !saved.ok()) {
        ShowFileMessage(this, SaveFailureMessage(saved, fullName.toStdString()));
        return;
    }
    Messages::ShowText(this, MsgKind::Information, QStr(15021) + fullName);
    if (!OpenDocument(QUrl::fromLocalFile(fullName)))
        Messages::Show(this, MsgKind::Information, 15022);
}

} // namespace kivo::gui
