// The editor's File commands: New, Open, Save and Save As, and the recently used files.
#include "gui/editor/enterdata.h"

#include "app/strtable.h"
#include "data/filetarget.h"
#include "gui/common/messages.h"
#include "gui/editor/widgetcontrols.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStatusBar>

namespace kivo::gui {

namespace {

// A file name longer than this shows shortened in the menu, its middle left out.
constexpr int kRecentNameChars = 60;

QString RecentEntryText(int n, const QString& path) {
    QString name = QFileInfo(path).fileName();
    if (name.size() > kRecentNameChars) {
        const int half = kRecentNameChars / 2 - 1;
        name = name.left(half) + QChar(0x2026) + name.right(half);
    }
    // A '&' of the name is shown, not taken as the access key.
    name.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(QString::number(n), name);
}

} // namespace

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
        dialog.selectFile(QStringLiteral("*.Kivo")); // the name field starts with the pattern
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

void TfrmEnterData::mnuFileNewClick() {
    // A missing default keeps the image the editor had; the size is 512 all the same.
    LoadDefaultImage();
    doc_.imageSize = 512;
    doc_.data.reference = doc_.data.image;
    ShowImageAndReport();
    doc_.data.imageSource = SourceDefault;
    status_->clearMessage();
    UpdateTitle();
}

void TfrmEnterData::mnuFileOpenClick() {
    const QString path = ChooseFile(FileDialog::Open, 13802);
    if (!path.isEmpty()) OpenChosenFile(path);
}

void TfrmEnterData::OpenChosenFile(const QString& path) {
    if (!doc_.data.LoadImageFile(path.toStdString())) {
        Messages::Show(this, MsgKind::Error, 15010);
        return;
    }
    RememberRecentFile(path);
    doc_.imageSize = doc_.data.imageSize;
    if (doc_.imageSize == 256) Messages::Show(this, MsgKind::Information, 15036);
    doc_.data.fileName = path.toStdString();
    doc_.data.imageSource = SourceOpened;
    UpdateTitle();
    doc_.data.reference = doc_.data.image;
    ShowImageAndReport();
}

bool TfrmEnterData::mnuFileSaveClick() {
    if (doc_.data.imageSource != SourceOpened && doc_.data.imageSource != SourceSaved)
        return mnuFileSaveAsClick();
    return SaveToCurrentFile();
}

bool TfrmEnterData::SaveToCurrentFile() {
    ControlsToImage();
    doc_.data.reference = doc_.data.image;
    unsigned length = 512;
    if (doc_.imageSize == 256) {
        if (Messages::Show(this, MsgKind::Information, 15037, {}, BtnYes | BtnNo) == BtnYes)
            doc_.imageSize = 512;
        else
            length = 256;
    }
    const WriteStatus saved = doc_.data.SaveImageFile(doc_.data.fileName, length);
    if (saved.ok()) {
        status_->clearMessage();
        doc_.Saved();
        RememberRecentFile(Q(doc_.data.fileName));
    } else {
        ShowFileMessage(this, SaveFailureMessage(saved, doc_.data.fileName));
    }
    UpdateTitle();
    return saved.ok();
}

bool TfrmEnterData::mnuFileSaveAsClick() {
    const QString chosen = ChooseFile(FileDialog::SaveAs, 15017);
    if (chosen.isEmpty()) return false;
    // Existence and protection are those of the name as chosen, before its extension changes.
    if (QFileInfo::exists(chosen)) {
        if (WriteProtected(chosen.toStdString())) {
            Messages::Show(this, MsgKind::Information, 13803);
            return false;
        }
        if (Messages::Show(this, MsgKind::Information, 15013, {}, BtnYes | BtnNo) != BtnYes)
            return false;
    }
    doc_.data.fileName = WithKivoExtension(chosen).toStdString();
    doc_.data.imageSource = SourceSaved;
    return SaveToCurrentFile();
}

void TfrmEnterData::mnuFileRecentClick(int n) {
    if (n < 1 || n > static_cast<int>(recentActions_.size())) return;
    const QString path = recentActions_[static_cast<std::size_t>(n - 1)]->data().toString();
    if (path.isEmpty()) return;
    // The open dialog offers existing files only; a listed file may have gone since.
    if (!QFileInfo(path).isFile()) {
        Messages::Show(this, MsgKind::Error, 16051, {QDir::toNativeSeparators(path).toStdString()});
        ForgetRecentFile(path);
        return;
    }
    if (!SaveChangesFirst()) return;
    OpenChosenFile(path);
}

void TfrmEnterData::OpenDroppedFile(const QString& path) {
    if (!SaveChangesFirst()) return;
    OpenChosenFile(path);
}

bool TfrmEnterData::HasUnsavedChanges() {
    return doc_.Changed(*controls_);
}

bool TfrmEnterData::SaveChangesFirst() {
    // File > Open has its dialog to step back from; one click on a recent entry or a drop has
    // not, so changes are not thrown away without asking.
    if (!HasUnsavedChanges()) return true;
    const int answer =
        Messages::Show(this, MsgKind::Information, 16050, {}, BtnYes | BtnNo | BtnCancel);
    if (answer == BtnCancel) return false;
    // A save that did not happen (dialog cancelled, refused, failed) keeps the changes here.
    return answer == BtnNo || mnuFileSaveClick();
}

void TfrmEnterData::RefreshRecentFiles() {
    RecentFiles recent;
    recent.Load(ini_);
    const std::vector<std::string>& paths = recent.Paths();
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        QAction* a = recentActions_[i];
        const bool used = i < paths.size();
        a->setVisible(used);
        const QString path = used ? Q(paths[i]) : QString();
        a->setData(path);
        a->setText(used ? RecentEntryText(static_cast<int>(i) + 1, path) : QString());
        a->setStatusTip(QDir::toNativeSeparators(path));
        a->setToolTip(QDir::toNativeSeparators(path));
    }
    recentSeparator_->setVisible(!paths.empty());
}

void TfrmEnterData::RememberRecentFile(const QString& path) {
    // Read afresh: another editor may have added files since this one showed its list.
    RecentFiles recent;
    recent.Load(ini_);
    // A path that Values.ini cannot hold is left out (RecentFiles::Add) rather than stored as
    // a different one.
    if (recent.Add(QFileInfo(path).absoluteFilePath().toStdString())) recent.Store(ini_);
    RefreshRecentFiles();
}

void TfrmEnterData::ForgetRecentFile(const QString& path) {
    RecentFiles recent;
    recent.Load(ini_);
    if (recent.Remove(path.toStdString())) recent.Store(ini_);
    RefreshRecentFiles();
}

} // namespace kivo::gui
