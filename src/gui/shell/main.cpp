// kivotool: the windows of the Kivo configuration tool.
#include "app/startup.h"
#include "gui/common/messages.h"
#include "gui/common/picture.h"
#include "gui/shell/application.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/programwindows.h"
#include "gui/shell/screenshots.h"

#include <QTimer>

#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

using namespace kivo;
using namespace kivo::gui;

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with its reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before any connection to a display, so they work without one.
    for (int i = 1; i < argc; ++i) {
        const std::string w = argv[i];
        if (w == "--") break;
        if (w == "--version") {
            std::printf("kivotool %s\n", ProgramVersion().c_str());
            return 0;
        }
        if (w == "--help" || w == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }

    KivoApplication app(argc, argv); // takes Qt's own options (-platform, -style ...) out
    const CommandLine cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!cl.error.empty()) {
        std::fprintf(stderr, "kivotool: %s\n\n%s", cl.error.c_str(), kUsage);
        return 2;
    }
    KivoApplication::setApplicationName(QStr(10001));
    KivoApplication::setWindowIcon(ProgramIcon());

    AppContext ctx;
    std::unique_ptr<ProgramWindows> windows;
    try {
        windows = std::make_unique<ProgramWindows>(
            ctx, KivoApplication::applicationFilePath().toStdString(), cl.positional);
    } catch (const std::exception& e) {
        KivoApplication::ShowException(QString::fromUtf8(e.what()));
        return 1;
    } catch (...) {
        KivoApplication::ShowException(QStr(16470));
        return 1;
    }

    if (!cl.screenshotDir.empty())
        return SaveScreenshots(windows->Get(), ctx, QString::fromStdString(cl.screenshotDir));
    windows->Get().main->show();
    if (cl.exitWhenShown) {
        // Runs once the loop has handled the show and the first paint.
        QTimer::singleShot(0, [] {
            std::puts("shown");
            std::fflush(stdout);
            KivoApplication::quit();
        });
    }
    return KivoApplication::exec();
}
