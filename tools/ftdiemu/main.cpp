// ftdi-emu COMMAND...: runs COMMAND with emulated FTDI chips on an emulated USB bus (umockdev),
// the Kobu among them with the simulated unit behind it. The command's own libftdi1 and
// libusb-1.0, unmodified, find and drive the chips through their device nodes; this process
// answers every usbfs request. FTDI_EMU chooses the chips and the unit (--help).
#include "options.h"
#include "testbed.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t child = 0;

void Forward(int sig) {
    if (child > 0) ::kill(child, sig);
}

void Usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: [FTDI_EMU=ITEM,...] ftdi-emu COMMAND [ARGS...]\n"
                 "Runs COMMAND with an emulated Kobu (an FTDI USB-serial chip described as\n"
                 "\"Tavra KOBU - Active USB Interface\", the simulated unit behind it) attached.\n"
                 "Exits with COMMAND's exit code. FTDI_EMU items:\n%s",
                 ftdiemu::EmuOptionsHelp());
}

// Appends to a colon-separated variable.
void Append(const char* name, const std::string& item) {
    const char* old = std::getenv(name);
    std::string value = old && *old ? std::string(old) + ":" + item : item;
    ::setenv(name, value.c_str(), 1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        Usage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const char* text = std::getenv("FTDI_EMU");
    ftdiemu::EmuOptions options;
    std::string error;
    if (!ftdiemu::ParseEmuOptions(text ? text : "", options, error)) {
        std::fprintf(stderr, "ftdi-emu: FTDI_EMU: %s\n", error.c_str());
        return 2;
    }

    // The command's open(), stat() and ioctl() calls on /sys and /dev go to the test bed.
    Append("LD_PRELOAD", "libumockdev-preload.so.0");
    // A program built with AddressSanitizer would refuse to start behind another preload.
    Append("ASAN_OPTIONS", "verify_asan_link_order=0");
    ftdiemu::Bus bus;
    if (!bus.Build(options, error)) {
        std::fprintf(stderr, "ftdi-emu: %s\n", error.c_str());
        return 1;
    }

    std::signal(SIGINT, Forward);
    std::signal(SIGTERM, Forward);
    child = ::fork();
    if (child < 0) {
        std::perror("ftdi-emu: fork");
        return 1;
    }
    if (child == 0) {
        if (!bus.EnterAsUser()) _exit(1);
        ::execvp(argv[1], argv + 1);
        std::fprintf(stderr, "ftdi-emu: cannot run %s\n", argv[1]);
        _exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    child = 0;
    bus.Finish();
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
