#include "gui/shell/application.h"

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

#include <QDebug>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

namespace kivo::gui {

namespace {

// The language of this edition's texts, for Qt's own.
constexpr const char* kQtLanguage = "de";

} // namespace

KivoApplication::KivoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The program ends with the start window only: while a programming window runs the start
    // window is hidden, and closing that window must not end the program.
    setQuitOnLastWindowClosed(false);
    // Qt's own dialogs (open, save, folder, print) speak the edition's language, whatever the
    // system's; without the file they stay English, which is no reason to stop.
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_") + QLatin1String(kQtLanguage),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool KivoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unbekannter Fehler"));
    }
    return false;
}

void KivoApplication::ShowException(const QString& what) {
    qWarning().noquote() << "exception:" << what;
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    Messages::ShowText(parent, MsgKind::Error, what);
}

const char* const kUsage = "usage: kivotool [OPTIONS] [CONFIGURATION_FOLDER]\n"
                           "\n"
                           "  CONFIGURATION_FOLDER  an existing folder to keep configuration "
                           "files in,\n"
                           "                        instead of the one in the settings\n"
                           "  --screenshot DIR      save a picture of every window into DIR "
                           "and stop\n"
                           "  --exit-when-shown     print \"shown\" once the start window is up, "
                           "and stop\n"
                           "                        (measures the start time)\n"
                           "  -h, --help            this text\n"
                           "  --version             the program version\n"
                           "\n"
                           "KIVO_KOBU selects the Kobu: ftdi (default), a serial device such as "
                           "/dev/ttyUSB0,\n"
                           "or sim[:OPTIONS] for the built-in simulator. KIVO_TRACE=FILE logs "
                           "every frame.\n";

CommandLine ParseCommandLine(const std::vector<std::string>& words) {
    CommandLine cl;
    bool options = true;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (!options || w.size() < 2 || w.compare(0, 2, "--") != 0) {
            if (w == "-h" && options) {
                cl.help = true;
                continue;
            }
            cl.positional.push_back(w);
            continue;
        }
        if (w == "--") {
            options = false;
        } else if (w == "--version") {
            cl.version = true;
        } else if (w == "--help") {
            cl.help = true;
        } else if (w == "--screenshot") {
            if (i + 1 >= words.size()) {
                cl.error = "--screenshot needs a folder";
                return cl;
            }
            cl.screenshotDir = words[++i];
        } else if (w.compare(0, 13, "--screenshot=") == 0) {
            cl.screenshotDir = w.substr(13);
        } else if (w == "--exit-when-shown") {
            cl.exitWhenShown = true;
        } else {
            cl.error = "unknown option '" + w + "'";
            return cl;
        }
    }
    return cl;
}

ProgramWindows::ProgramWindows(AppContext& ctx, const std::string& executablePath,
                               const std::vector<std::string>& arguments)
    : ctx_(ctx) {
    try {
        Windows& w = ctx.windows;
        w.main = Add(new TfrmMain(ctx, executablePath, arguments));
        w.enterData = Add(new TfrmEnterData(ctx, nullptr));
        w.receiveRadio = Add(new TfrmReceiveRadio());
        w.password = Add(new TfrmPassword(w.main));
        w.wizard = Add(new TfrmKivoWizard(ctx));
        // The editor's dialogs stay outside its widget tree (they keep above it while shown).
        w.about = Add(new TfrmAbout(ctx));
        w.infoRadio = Add(new TfrmInfoRadio(ctx));
        w.viewDefault = Add(new TfrmViewDefault(ctx));
        w.alarmTypes = Add(new TfrmAlarmTypes(ctx));
        w.selectDirectory = Add(new TfrmSelectDirectory(ctx));
        w.selectHomeAway = Add(new TfrmSelectHomeAway(ctx));
        w.changePasswords = Add(new TfrmChangePasswords(ctx));
        w.newPassword = Add(new TfrmNewPassword(w.changePasswords));
        w.basicProgPlus = Add(new TfrmBasicProgPlus(ctx));
        w.information = Add(new TfrmInformation());
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
    ctx_.windows = Windows{};
}

} // namespace kivo::gui
