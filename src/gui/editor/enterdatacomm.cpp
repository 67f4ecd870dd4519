// The editor's Communication menu: reading the unit into the editor and writing into it.
#include "gui/editor/enterdata.h"

#include "app/strtable.h"
#include "gui/common/information.h"
#include "gui/common/messages.h"
#include "gui/common/qtprocedureui.h"
#include "link/procedures.h"

#include <QProgressBar>
#include <QStatusBar>

#include <memory>

namespace kivo::gui {

void TfrmEnterData::ShowTwoPartBox(int firstId, int secondId) {
    const QString first = QStr(firstId);
    const QString second = QStr(secondId);
    if (auto* information = ctx_.windows.As<TfrmInformation>(Role::Information)) {
        information->ShowMessages(this, first, second);
        return;
    }
    // Without the two-part box (a window created on its own, as in tests) both texts share
    // one box.
    Messages::ShowText(this, MsgKind::Information, first + QStringLiteral("\n\n") + second);
}

void TfrmEnterData::mnuCommReadClick() {
    QtProcedureUi ui({this, status_, nullptr, progress_,
                      [this](int first, int second) { ShowTwoPartBox(first, second); }});
    std::unique_ptr<KobuLink> link = ctx_.MakeLink();
    unsigned size = doc_.imageSize;
    const ReadOutcome outcome =
        ReadUnit(*link, doc_.data, ui, size, [this] { return ImageToControls(); });
    // The size is the probed one as soon as a unit answered, whether the read succeeded or not.
    doc_.imageSize = size;
    if (outcome == ReadOutcome::Read) UpdateTitle();
}

void TfrmEnterData::mnuCommWriteClick() {
    // The unit gets what the controls show.
    ControlsToImage();
    QtProcedureUi ui({this, status_, nullptr, progress_,
                      [this](int first, int second) { ShowTwoPartBox(first, second); }});
    std::unique_ptr<KobuLink> link = ctx_.MakeLink();
    WriteOptions options = WriteOptions::Editor();
    options.backupFolder = BackupFolderSetting(ctx_.folders.programFolder);
    WriteUnit(*link, doc_.data, ui, options);
}

} // namespace kivo::gui
