#include "kivoctl_run.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kivo::test {

namespace {

// Both outputs through pipes, not files: a test may limit how large the files it and its
// children write can grow, and that must not cut what kivoctl says.
void ReadBoth(int out, int err, CliResult& r) {
    pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
    std::string* into[2] = {&r.out, &r.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !fds[i].revents) continue;
            char buf[4096];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                into[i]->append(buf, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

// Another build's kivoctl can stand in, e.g. to see a test fail on an older one.
std::string KivoctlPath() {
    const char* override = std::getenv("KIVOCTL_UNDER_TEST");
    return override && *override ? override : KIVOCTL;
}

} // namespace

CliResult RunKivoctl(const TempDir& dir, const std::string& args, const std::string& wrapper) {
    std::filesystem::create_directories(dir.file("appdata"));
    std::filesystem::create_directories(dir.file("docs"));
    const std::string cmd =
        "cd '" + dir.path() + "' && KIVO_APPDATA_DIR='" + dir.file("appdata") +
        "' KIVO_DOCUMENTS_DIR='" + dir.file("docs") +
        "' KIVO_KOBU= KIVO_TRACE= " + (wrapper.empty() ? std::string("exec") : wrapper) + " '" +
        KivoctlPath() + "' " + args;
    CliResult r{-1, {}, {}};
    int out[2], err[2];
    if (::pipe(out) != 0) return r;
    if (::pipe(err) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return r;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    for (int fd : {out[0], out[1], err[0], err[1]}) posix_spawn_file_actions_addclose(&actions, fd);
    // kivoctl gets the signals' usual actions, whatever the test does with them.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGXFSZ);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
    char sh[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {sh, dashC, const_cast<char*>(cmd.c_str()), nullptr};
    pid_t pid = -1;
    const bool spawned = posix_spawn(&pid, sh, &actions, &attr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    ::close(out[1]);
    ::close(err[1]);
    ReadBoth(out[0], err[0], r);
    if (!spawned) return r;
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string ProgramFolder(const TempDir& dir) {
    return dir.file("appdata/TAVRA/KIVO Zizadozeve (DE)/");
}

} // namespace kivo::test
