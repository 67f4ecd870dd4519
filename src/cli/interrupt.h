// Ctrl+C (SIGINT) and SIGTERM in the device commands. A read, a verification or a learning
// wait stops at the user's key; a write never does, because a unit left half-written is worse
// than a wait: it is told at once that the write is finished first.
#pragma once

namespace kivo::cli {

class InterruptGuard {
public:
    enum class Mode {
        Stop,        // Interrupted() turns true; the command stops and says so
        FinishFirst, // the command goes on; the user is told that at once
    };
    // Catches SIGINT and SIGTERM while it lives; the earlier handlers come back at its end.
    explicit InterruptGuard(Mode mode);
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // Whether a signal has come since the guard was made.
    static bool Interrupted();
};

// The exit code of a command the user stopped, as a shell reports one ended by SIGINT.
constexpr int kExitInterrupted = 130;

} // namespace kivo::cli
