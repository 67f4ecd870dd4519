// The editor's File commands: New, Open, Save and Save As.
#include "gui/editor/enterdata.h"

#include "app/strtable.h"
#include "gui/app/messages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStatusBar>

namespace kivo::gui {

QString WithKivoExtension(const QString& chosen) {
    const int slash = chosen.lastIndexOf(QLatin1Char('/'));
    const int dot = chosen.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? chosen.left(dot) : chosen;
    return stem + QStringLiteral(".Kivo");
}

QString TfrmEnterData::FileFilter() const {
    // The filter text is "description|pattern"; Qt writes it "description (pattern)".
    const QString text = QStr(15018) + QStringLiteral("|*.Kivo");
    const QStringList parts = text.split(QLatin1Char('|'));
    return parts.value(0) + QStringLiteral(" (") + parts.value(1) + QLatin1Char(')');
}

QString TfrmEnterData::ChooseFile(FileDialog kind, int titleId) {
    return ChooseFile(kind, titleId, QString::fromStdString(ctx_.folders.configFolder));
}

QString TfrmEnterData::ChooseFile(FileDialog kind, int titleId, const QString& folder) {
    const QString title = QStr(titleId);
    if (chooser_) return chooser_(this, kind, title, folder, FileFilter());
    QFileDialog dialog(this, title, folder, FileFilter());
    if (kind == FileDialog::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // Existing files are asked about by the editor itself, read-only ones refused.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

void TfrmEnterData::mnuFileNewClick() {
    // A missing default keeps the image the editor had; the size is 512 all the same.
    LoadDefaultImage();
    imageSize_ = 512;
    data_.reference = data_.image;
    ShowImageAndReport();
    data_.imageSource = SourceDefault;
    status_->clearMessage();
    UpdateTitle();
}

void TfrmEnterData::mnuFileOpenClick() {
    const QString path = ChooseFile(FileDialog::Open, 13802);
    if (!path.isEmpty()) OpenChosenFile(path);
}

void TfrmEnterData::OpenChosenFile(const QString& path) {
    if (!data_.LoadImageFile(path.toStdString())) {
        Messages::Show(this, MsgKind::Error, 15010);
        return;
    }
    imageSize_ = data_.imageSize;
    if (imageSize_ == 256) Messages::Show(this, MsgKind::Information, 15036);
    data_.fileName = path.toStdString();
    data_.imageSource = SourceOpened;
    UpdateTitle();
    data_.reference = data_.image;
    ShowImageAndReport();
}

bool TfrmEnterData::mnuFileSaveClick() {
    if (data_.imageSource != SourceOpened && data_.imageSource != SourceSaved)
        return mnuFileSaveAsClick();
    return SaveToCurrentFile();
}

bool TfrmEnterData::SaveToCurrentFile() {
    ControlsToImage();
    data_.reference = data_.image;
    unsigned length = 512;
    if (imageSize_ == 256) {
        if (Messages::Show(this, MsgKind::Information, 15037, {}, BtnYes | BtnNo) == BtnYes)
            imageSize_ = 512;
        else
            length = 256;
    }
    const bool saved = data_.SaveImageFile(data_.fileName, length);
    if (saved)
        status_->clearMessage();
    else
        Messages::Show(this, MsgKind::Error, 15012);
    UpdateTitle();
    return saved;
}

bool TfrmEnterData::mnuFileSaveAsClick() {
    const QString chosen = ChooseFile(FileDialog::SaveAs, 15017);
    if (chosen.isEmpty()) return false;
    // Existence and protection are those of the name as chosen, before its extension changes.
    const QFileInfo info(chosen);
    if (info.exists()) {
        // The read-only attribute: nobody may write the file (an access test would let the
        // administrator through).
        const auto writable =
            QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!(info.permissions() & writable)) {
            Messages::Show(this, MsgKind::Information, 13803);
            return false;
        }
        if (Messages::Show(this, MsgKind::Information, 15013, {}, BtnYes | BtnNo) != BtnYes)
            return false;
    }
    data_.fileName = WithKivoExtension(chosen).toStdString();
    data_.imageSource = SourceSaved;
    return SaveToCurrentFile();
}

} // namespace kivo::gui
