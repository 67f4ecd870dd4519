// kivoctl: the command-line front end. Every command runs start-up first, so it sees the same
// folders and installed files as the windows do.
#include "cli.h"

#include "app/strtable.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace kivo::cli {

namespace {

const char* const kUsage =
    "usage: kivoctl COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  folders             print the program folder, the configuration folder and the\n"
    "                      standard configuration folder, one per line\n"
    "  export FILE [OUT]   write the annotated text of a configuration file\n"
    "                      (default OUT: FILE.txt)\n"
    "\n"
    "Options:\n"
    "  -h, --help          this text\n"
    "  --version           the program version\n"
    "\n"
    "Exit codes:\n"
    "  0  success\n"
    "  2  usage error\n"
    "  3  the Kobu or the unit cannot be reached\n"
    "  4  a file cannot be read or written\n"
    "  5  a transfer failed or did not verify\n"
    "  6  refused by the compatibility check\n";

struct Command {
    const char* name;
    int (*run)(Context&);
    std::size_t minArgs, maxArgs;
};

const Command kCommands[] = {
    {"folders", CmdFolders, 0, 0},
    {"export", CmdExport, 1, 2},
};

std::string ExecutablePath(const char* argv0) {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) return std::string(buf, static_cast<std::size_t>(n));
    return argv0;
}

} // namespace

void Fail(int textId, const std::vector<std::string>& args) {
    std::fprintf(stderr, "kivoctl: %s\n", FormatText(Str(textId), args).c_str());
}

int Main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        std::fputs(kUsage, stderr);
        return ExitUsage;
    }
    if (words[0] == "-h" || words[0] == "--help" || words[0] == "help") {
        std::fputs(kUsage, stdout);
        return ExitOk;
    }
    if (words[0] == "--version") {
        std::printf("kivoctl %s\n", ProgramVersion().c_str());
        return ExitOk;
    }
    for (const Command& c : kCommands) {
        if (words[0] != c.name) continue;
        Context ctx;
        ctx.args.assign(words.begin() + 1, words.end());
        if (ctx.args.size() < c.minArgs || ctx.args.size() > c.maxArgs) {
            std::fprintf(stderr, "kivoctl %s: wrong number of arguments\n\n%s", c.name, kUsage);
            return ExitUsage;
        }
        // The GUI's one positional argument (a configuration folder) has no meaning here.
        ctx.folders = RunStartup(PlatformEnvironment(ExecutablePath(argv[0]), {}));
        return c.run(ctx);
    }
    std::fprintf(stderr, "kivoctl: unknown command '%s'\n\n%s", words[0].c_str(), kUsage);
    return ExitUsage;
}

} // namespace kivo::cli

int main(int argc, char** argv) {
    return kivo::cli::Main(argc, argv);
}
