#include "gui/shell/programwindows.h"

#include "gui/access/changepasswords.h"
#include "gui/access/newpassword.h"
#include "gui/access/password.h"
#include "gui/common/about.h"
#include "gui/common/diagnosisdialog.h"
#include "gui/common/information.h"
#include "gui/common/messages.h"
#include "gui/common/receiveradio.h"
#include "gui/editor/alarmtypes.h"
#include "gui/editor/enterdata.h"
#include "gui/editor/selectdirectory.h"
#include "gui/editor/selecthomeaway.h"
#include "gui/editor/viewdefault.h"
#include "gui/guided/basicprogplus.h"
#include "gui/guided/kivowizard.h"
#include "gui/radio/inforadio.h"
#include "gui/shell/mainwindow.h"

namespace kivo::gui {

ProgramWindows::ProgramWindows(AppContext& ctx, const std::string& executablePath,
                               const std::vector<std::string>& arguments)
    : ctx_(ctx) {
    try {
        Windows& w = windows_;
        w.main = Add(Role::Start, new TfrmMain(ctx, executablePath, arguments));
        w.enterData = Add(Role::Editor, new TfrmEnterData(ctx, nullptr));
        w.receiveRadio = Add(Role::ReceiveRadio, new TfrmReceiveRadio());
        w.password = Add(Role::Password, new TfrmPassword(w.main));
        w.wizard = Add(Role::Wizard, new TfrmKivoWizard(ctx));
        // The wizard's page pictures are those the start window keeps.
        w.wizard->SetPictures(w.main->ImageList);
        // The editor's dialogs stay outside its widget tree (they keep above it while shown).
        w.about = Add(Role::About, new TfrmAbout(ctx));
        w.infoRadio = Add(Role::InfoRadio, new TfrmInfoRadio(ctx));
        w.viewDefault = Add(Role::ViewDefault, new TfrmViewDefault(ctx));
        w.alarmTypes = Add(Role::AlarmTypes, new TfrmAlarmTypes(ctx));
        w.selectDirectory = Add(Role::SelectDirectory, new TfrmSelectDirectory(ctx));
        w.selectHomeAway = Add(Role::SelectHomeAway, new TfrmSelectHomeAway(ctx));
        w.changePasswords = Add(Role::ChangePasswords, new TfrmChangePasswords(ctx));
        w.newPassword = Add(Role::NewPassword, new TfrmNewPassword(w.changePasswords));
        w.basicProgPlus = Add(Role::BasicProgramming, new TfrmBasicProgPlus(ctx));
        w.information = Add(Role::Information, new TfrmInformation());
        Messages::SetDiagnosis([&ctx](QWidget* parent) { DiagnosisDialog::Show(parent, ctx); });
    } catch (...) {
        Destroy();
        throw;
    }
}

ProgramWindows::~ProgramWindows() {
    Destroy();
}

void ProgramWindows::Destroy() {
    // Children go first, so no window is deleted twice by its parent (the password prompt is
    // the start window's, the new-password dialog the change dialog's).
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) delete it->data();
    created_.clear();
    Messages::SetDiagnosis({});
    ctx_.windows.Clear();
    windows_ = Windows{};
}

} // namespace kivo::gui
