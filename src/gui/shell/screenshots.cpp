// --screenshot: pictures of the shell's windows as they appear on this screen, for checking
// that no text is cut off with the fonts at hand.
#include "gui/shell/screenshots.h"
#include "gui/access/changepasswords.h"
#include "gui/access/newpassword.h"
#include "gui/access/password.h"
#include "gui/common/about.h"
#include "gui/common/diagnosisdialog.h"
#include "gui/common/guide.h"
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

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace kivo::gui {

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool Save(QWidget* window, const QString& dir, const QString& name) {
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    QByteArray png;
    QBuffer buffer(&png);
    const bool ok =
        buffer.open(QIODevice::WriteOnly) && window->grab().save(&buffer, "PNG") &&
        WriteFileAtomic(path.toStdString(), png.constData(), static_cast<std::size_t>(png.size()))
            .ok();
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "saved" : "cannot save",
                 path.toLocal8Bit().constData());
    return ok;
}

bool Shot(QWidget* window, const QString& dir, const QString& name) {
    window->show();
    Settle();
    const bool ok = Save(window, dir, name);
    window->hide();
    Settle();
    return ok;
}

// A message box is modal: picture it from inside its own loop, then close it.
bool ShotOfBox(int textId, MsgKind kind, int buttons, const QString& dir, const QString& name) {
    bool ok = false;
    QTimer::singleShot(300, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ok = Save(box, dir, name);
            box->close();
        }
    });
    Messages::Show(nullptr, kind, textId, {}, buttons);
    return ok;
}

} // namespace

int SaveScreenshots(const Windows& w, const AppContext& ctx, const QString& dir) {
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "kivotool: cannot create %s\n", dir.toLocal8Bit().constData());
        return 1;
    }
    bool ok = Shot(w.main, dir, QStringLiteral("frmMain"));
    w.password->edtPassword->setText(QStringLiteral("geheim"));
    ok = Shot(w.password, dir, QStringLiteral("frmPassword")) && ok;
    w.password->ClearPassword();
    ok = Shot(w.about, dir, QStringLiteral("frmAbout")) && ok;
    ok = Shot(w.changePasswords, dir, QStringLiteral("frmChangePasswords")) && ok;
    // The fields are emptied on every show: fill them once it is up.
    w.newPassword->show();
    w.newPassword->edtPassword->setText(QStringLiteral("abcd"));
    w.newPassword->edtPasswordRetype->setText(QStringLiteral("abc"));
    Settle();
    ok = Save(w.newPassword, dir, QStringLiteral("frmNewPassword")) && ok;
    w.newPassword->hide();
    w.information->SetMessages(QStr(15004), QStr(15033));
    ok = Shot(w.information, dir, QStringLiteral("frmInformation")) && ok;
    // The editor's pages at the level that shows all of them, then its dialogs. Boxes that
    // windows show on their own while being pictured are recorded, not shown.
    MessageRecorder quiet;
    Messages::Install(&quiet);
    w.enterData->SetAccessLevel(4);
    w.enterData->show();
    Settle();
    if (auto* pages = w.enterData->findChild<QTabWidget*>(QStringLiteral("pgcntrlMain"))) {
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            Settle();
            ok = Save(w.enterData, dir, QStringLiteral("frmEnterData_page%1").arg(i + 1)) && ok;
        }
        pages->setCurrentIndex(0);
    }
    w.enterData->hide();
    const std::pair<QWidget*, const char*> dialogs[] = {
        {w.alarmTypes, "frmAlarmTypes"},       {w.selectHomeAway, "frmSelectHomeAway"},
        {w.viewDefault, "frmViewDefault"},     {w.selectDirectory, "frmSelectDirectory"},
        {w.receiveRadio, "frmReceiveRadio"},   {w.infoRadio, "frmInfoRadio"},
        {w.basicProgPlus, "frmBasicProgPlus"}, {w.wizard, "frmKivoWizard"},
    };
    for (const auto& [window, name] : dialogs)
        if (window) ok = Shot(window, dir, QString::fromLatin1(name)) && ok;
    // The connection diagnosis, with the Kobu this run talks to.
    DiagnosisDialog diagnosis(DiagnosisDialog::Diagnose(ctx));
    ok = Shot(&diagnosis, dir, QStringLiteral("frmDiagnosis")) && ok;
    // The user guide at its beginning, when the installation has it.
    TfrmGuide guide;
    if (guide.Open(GuidePath(ctx.templateFolder)))
        ok = Shot(&guide, dir, QStringLiteral("frmGuide")) && ok;
    Messages::Install(nullptr);

    ok = ShotOfBox(10013, MsgKind::Information, BtnOk, dir, QStringLiteral("box10013")) && ok;
    ok = ShotOfBox(10014, MsgKind::Question, BtnYes | BtnNo, dir, QStringLiteral("box10014")) && ok;
    // The boxes after which the connection diagnosis is offered.
    ok = ShotOfBox(15009, MsgKind::Error, BtnOk, dir, QStringLiteral("box15009")) && ok;
    ok = ShotOfBox(15008, MsgKind::Error, BtnOk, dir, QStringLiteral("box15008")) && ok;
    return ok ? 0 : 1;
}

} // namespace kivo::gui
