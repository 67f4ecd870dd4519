#include "interrupt.h"

#include "app/strtable.h"

#include <csignal>
#include <cstring>
#include <string>
#include <unistd.h>

namespace kivo::cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
volatile std::sig_atomic_t gFinishFirst = 0;
// The note for a write, made before the handler is installed: a handler may only write(2).
char gNote[512];
std::size_t gNoteLength = 0;

struct sigaction gOldInt, gOldTerm;

void OnSignal(int) {
    if (gFinishFirst && !gInterrupted && gNoteLength > 0) {
        const ssize_t written = ::write(STDERR_FILENO, gNote, gNoteLength);
        (void)written; // nothing more can be done about a closed stderr
    }
    gInterrupted = 1;
}

} // namespace

InterruptGuard::InterruptGuard(Mode mode) {
    gInterrupted = 0;
    gFinishFirst = mode == Mode::FinishFirst;
    const std::string note = "\nkivoctl: " + Str(16053) + "\n";
    gNoteLength = std::min(note.size(), sizeof gNote);
    std::memcpy(gNote, note.data(), gNoteLength);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a wait in poll() ends at once and sees the flag
    sigaction(SIGINT, &action, &gOldInt);
    sigaction(SIGTERM, &action, &gOldTerm);
}

InterruptGuard::~InterruptGuard() {
    sigaction(SIGINT, &gOldInt, nullptr);
    sigaction(SIGTERM, &gOldTerm, nullptr);
}

bool InterruptGuard::Interrupted() {
    return gInterrupted != 0;
}

} // namespace kivo::cli
