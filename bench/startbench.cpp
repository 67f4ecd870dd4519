// startbench: time from starting kivotool to its start window shown (offscreen platform),
// measured from outside: spawn, then wait for the "shown" line of --exit-when-shown. The
// folders live in a temporary folder; one untimed run installs the files first, as the first
// start on a machine does. A benchmark, run by hand; ctest never runs it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Milliseconds until the "shown" line, or -1 when it does not come within 10 s.
double TimeOneStart() {
    int out[2];
    if (::pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* argv[] = {const_cast<char*>(KIVOTOOL), const_cast<char*>("--exit-when-shown"), nullptr};
    auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    int rc = posix_spawn(&pid, KIVOTOOL, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
        ::close(out[0]);
        return -1;
    }
    std::string text;
    double ms = -1;
    pollfd p{out[0], POLLIN, 0};
    while (::poll(&p, 1, 10000) == 1) {
        char buf[64];
        ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
        if (text.find("shown") != std::string::npos) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
            break;
        }
    }
    ::close(out[0]);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    char folder[] = "/tmp/kivo-startbench-XXXXXX";
    if (!::mkdtemp(folder)) return 1;
    const std::string base = folder;
    ::mkdir((base + "/appdata").c_str(), 0755);
    ::mkdir((base + "/docs").c_str(), 0755);
    ::setenv("KIVO_APPDATA_DIR", (base + "/appdata").c_str(), 1);
    ::setenv("KIVO_DOCUMENTS_DIR", (base + "/docs").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("KIVO_KOBU", "sim", 1);

    std::printf("startbench: kivotool --exit-when-shown, offscreen, %d runs after one that "
                "installs the files\ngoal: median under 300 ms\n",
                runs);
    double first = TimeOneStart();
    std::printf("first start (installs Values.ini, Default.bin, passwords): %.1f ms\n", first);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double ms = TimeOneStart();
        if (ms < 0) {
            std::fprintf(stderr, "startbench: kivotool did not show its start window\n");
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("min %.1f ms, max %.1f ms\n", times.front(), times.back());
    std::printf("start_ms %.1f\n", times[times.size() / 2]);
    const std::string cleanup = "rm -rf '" + base + "'";
    if (std::system(cleanup.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", folder);
    return 0;
}
