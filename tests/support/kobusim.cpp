#include "support/kobusim.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kivo::test {

KobuSimProcess::KobuSimProcess(const std::string& program, const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = out[0];
}

KobuSimProcess::~KobuSimProcess() {
    Kill();
    if (stdout_ >= 0) ::close(stdout_);
}

std::string KobuSimProcess::FirstLine() {
    std::string line;
    char c = 0;
    while (Readable(stdout_, 2000) && ::read(stdout_, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

int KobuSimProcess::Terminate() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void KobuSimProcess::Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

bool KobuSimProcess::Readable(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) == 1;
}

} // namespace kivo::test
