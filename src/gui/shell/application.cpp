#include "gui/shell/application.h"

#include "app/strtable.h"
#include "gui/common/messages.h"

#include <QDebug>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

namespace kivo::gui {

KivoApplication::KivoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The program ends with the start window only: while a programming window runs the start
    // window is hidden, and closing that window must not end the program.
    setQuitOnLastWindowClosed(false);
    // Qt's own dialogs (open, save, folder, print) speak the edition's language, whatever the
    // system's. Qt itself is English; without the German file they stay English too, which
    // is no reason to stop.
    if (CurrentEdition() == Edition::German) {
        auto* translator = new QTranslator(this);
        if (translator->load(QStringLiteral("qtbase_de"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            installTranslator(translator);
    }
}

bool KivoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException(QStr(16470));
    }
    return false;
}

void KivoApplication::ShowException(const QString& what) {
    qWarning().noquote() << "exception:" << what;
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    Messages::ShowText(parent, MsgKind::Error, what);
}

const char* const kUsage = "usage: kivotool [OPTIONS] [CONFIGURATION_FOLDER | FILE]\n"
                           "\n"
                           "  CONFIGURATION_FOLDER  an existing folder to keep configuration "
                           "files in,\n"
                           "                        instead of the one in the settings\n"
                           "  FILE                  a configuration to open in the editor, "
                           "after the password\n"
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

} // namespace kivo::gui
