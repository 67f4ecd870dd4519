// The application object, the command line, and the program's windows, each created once at
// start-up in a fixed order.
#pragma once

#include "gui/common/appcontext.h"

#include <QApplication>
#include <QPointer>

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

// Every window of the program, created in the fixed order and registered in ctx.windows. The
// start window comes first: its creation runs start-up, and the windows after it rely on the
// folders and files it prepares (the editor loads Values.ini and Default.bin as it is
// created). Destroyed in the reverse order.
class ProgramWindows {
public:
    ProgramWindows(AppContext& ctx, const std::string& executablePath,
                   const std::vector<std::string>& arguments);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // In creation order.
    const std::vector<QPointer<QWidget>>& Created() const { return created_; }

private:
    template <class W> W* Add(W* window) {
        created_.emplace_back(window);
        return window;
    }
    void Destroy();

    AppContext& ctx_;
    std::vector<QPointer<QWidget>> created_;
};

// --screenshot: every window of the shell as the user sees it, saved as PNG files into `dir`;
// returns the process's exit code.
int SaveScreenshots(AppContext& ctx, const QString& dir);

} // namespace kivo::gui
