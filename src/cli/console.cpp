#include "cli.h"

#include "app/strtable.h"

#include <cstdio>
#include <unistd.h>

namespace kivo::cli {

namespace {

// Texts from the string table end lines with "\n" or "\r\n"; a console wants "\n" only.
std::string ForConsole(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

} // namespace

void ConsoleUi::FlushStatus() {
    if (pendingStatus_.empty()) return;
    if (progressShown_) std::fputc('\n', stderr);
    progressShown_ = false;
    std::fprintf(stderr, "%s\n", pendingStatus_.c_str());
    pendingStatus_.clear();
}

void ConsoleUi::Status(const std::string& text) {
    if (Muted()) return;
    FlushStatus();
    pendingStatus_ = ForConsole(text);
}

void ConsoleUi::Box(BoxKind kind, int textId, const std::vector<std::string>& args) {
    if (Muted()) return;
    const std::string text = ForConsole(FormatText(Str(textId), args));
    if (text == pendingStatus_) pendingStatus_.clear(); // said once, by the box
    FlushStatus();
    if (progressShown_) std::fputc('\n', stderr);
    progressShown_ = false;
    if (kind == BoxKind::Error) {
        std::fprintf(stderr, "kivoctl: %s\n", text.c_str());
        PointToDiagnosis(textId);
    } else {
        std::FILE* to = stdoutTaken_ ? stderr : stdout;
        std::fprintf(to, "%s\n", text.c_str());
        std::fflush(to);
    }
}

void ConsoleUi::TwoPartBox(int firstId, int secondId) {
    FlushStatus();
    std::FILE* to = stdoutTaken_ ? stderr : stdout;
    std::fprintf(to, "%s\n%s\n", ForConsole(Str(firstId)).c_str(),
                 ForConsole(Str(secondId)).c_str());
    std::fflush(to);
}

void ConsoleUi::Progress(int done, int total) {
    if (Muted()) return;
    // Only a terminal gets the moving counter; a log file would fill with it.
    if (!::isatty(STDERR_FILENO)) return;
    FlushStatus();
    std::fprintf(stderr, "\r%d/%d", done, total);
    progressShown_ = true;
}

std::FILE* ResultStream(const Context& ctx) {
    return ctx.StdoutTaken() ? stderr : stdout;
}

} // namespace kivo::cli
