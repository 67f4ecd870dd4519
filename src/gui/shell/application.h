// The application object and the command line.
#pragma once

#include <QApplication>
#include <QString>

#include <string>
#include <vector>

namespace kivo::gui {

// An exception that escapes an event handler is shown in an error box and the program goes
// on with the next event.
class KivoApplication : public QApplication {
    Q_OBJECT
public:
    KivoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The error box for an exception; also used for one raised while the windows are created.
    static void ShowException(const QString& what);
};

// The command line after Qt has taken its own options: options start with "--" (a lone "--"
// ends them); every other word is a positional argument.
struct CommandLine {
    std::vector<std::string> positional;
    bool version = false;
    bool help = false;
    std::string screenshotDir;  // --screenshot DIR: save a picture of every window and stop
    bool exitWhenShown = false; // --exit-when-shown: say so once the start window is up, stop
    std::string error;          // an unknown option or one without its value
};
CommandLine ParseCommandLine(const std::vector<std::string>& words);
extern const char* const kUsage;

} // namespace kivo::gui
