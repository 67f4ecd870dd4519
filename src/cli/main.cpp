// kivoctl: the command-line front end. Every command runs start-up first, so it sees the same
// folders and installed files as the windows do.
#include "cli.h"

#include "app/filemessages.h"
#include "app/strtable.h"
#include "data/filetarget.h"
#include "transport/doctor.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace kivo::cli {

namespace {

const char* const kUsage =
    "usage: kivoctl COMMAND [ARGUMENTS] [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  folders             print the program folder, the configuration folder and the\n"
    "                      standard configuration folder, one per line\n"
    "  export FILE [OUT]   write the annotated text of a configuration file\n"
    "                      (default OUT: FILE.txt)\n"
    "  info                the Kobu's version, the unit's image size and firmware\n"
    "  doctor              check the way to the Kobu and the unit (USB device, access,\n"
    "                      drivers, udev rule, BRLTTY, answers) and say what to do; it\n"
    "                      changes nothing\n"
    "  read FILE           read the whole unit into a configuration file (256 or 512 bytes)\n"
    "  write FILE          write a configuration into the unit and verify it\n"
    "  write FILE --id NUMBER [--radio keep|clear-2-8|clear-all]\n"
    "                      write as basic programming does: the ID number into all six\n"
    "                      alarm codes, radio positions kept or cleared (default clear-2-8)\n"
    "  verify FILE         read the unit back and compare the ranges a write covers\n"
    "  learn POSITION FILE learn a transmitter code into position 1..8 of FILE (Ctrl+C aborts)\n"
    "  diff A B            list every parameter in which two configuration files differ\n"
    "  print FILE --pdf OUT\n"
    "  print FILE --printer NAME [--copies N]\n"
    "                      the printed configuration report of FILE, as the editor prints it,\n"
    "                      into a PDF file or on a printer queue (N copies, default 1)\n"
    "\n"
    "Options:\n"
    "  --kobu DEVICE       ftdi (default), a serial device such as /dev/ttyUSB0, or\n"
    "                      sim[:OPTIONS] for the built-in simulator; default from KIVO_KOBU\n"
    "  --trace FILE        log every frame and reply (also KIVO_TRACE=FILE)\n"
    "  --no-backup         write without keeping the unit's own image first (a write\n"
    "                      normally keeps it in the program folder's Backup folder)\n"
    "  -h, --help          this text\n"
    "  --version           the program version\n"
    "\n"
    "Exit codes:\n"
    "  0  success\n"
    "  2  usage error (also an output file that is the input)\n"
    "  3  the Kobu or the unit cannot be reached\n"
    "  4  a file cannot be read or written\n"
    "  5  a transfer failed or did not verify\n"
    "     (print: the printer queue is missing or refused the job)\n"
    "  6  refused by the compatibility check\n";

struct Command {
    const char* name;
    int (*run)(Context&);
    std::size_t minArgs, maxArgs;
};

const Command kCommands[] = {
    {"folders", CmdFolders, 0, 0}, {"export", CmdExport, 1, 2}, {"info", CmdInfo, 0, 0},
    {"read", CmdRead, 1, 1},       {"write", CmdWrite, 1, 1},   {"verify", CmdVerify, 1, 1},
    {"learn", CmdLearn, 2, 2},     {"print", CmdPrint, 1, 1},   {"diff", CmdDiff, 2, 2},
    {"doctor", CmdDoctor, 0, 0},
};

// Options that stand alone.
const char* const kFlagOptions[] = {"--no-backup"};
// Options that take a value.
const char* const kValueOptions[] = {"--kobu", "--trace",   "--id",    "--radio",
                                     "--pdf",  "--printer", "--copies"};

std::string ExecutablePath(const char* argv0) {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) return std::string(buf, static_cast<std::size_t>(n));
    return argv0;
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "kivoctl: %s\n\n%s", problem.c_str(), kUsage);
    return ExitUsage;
}

} // namespace

// "kivoctl doctor" finds why the Kobu or the unit cannot be reached.
constexpr int kDoctorHint = 16100;

void Fail(int textId, const std::vector<std::string>& args) {
    std::fprintf(stderr, "kivoctl: %s\n", FormatText(Str(textId), args).c_str());
    PointToDiagnosis(textId);
}

void PointToDiagnosis(int textId) {
    if (OffersDiagnosis(textId)) std::fprintf(stderr, "kivoctl: %s\n", Str(kDoctorHint).c_str());
}

void FailSave(const WriteStatus& status, const std::string& path) {
    const FileMessage m = SaveFailureMessage(status, path);
    Fail(m.textId, m.args);
}

bool OutputIsNotInput(const std::string& output, const std::string& input) {
    if (!SameFile(output, input)) return true;
    Fail(16208, {output});
    return false;
}

std::shared_ptr<LinkTrace> OpenTrace(Context& ctx) {
    std::string file = ctx.Option("--trace");
    if (file.empty())
        if (const char* env = std::getenv("KIVO_TRACE")) file = env;
    if (file.empty()) return nullptr;
    WriteStatus why;
    ctx.trace = LinkTrace::Open(file, &why);
    if (!ctx.trace) Fail(16209, {file, WriteFailureReason(why)});
    return ctx.trace;
}

int Main(int argc, char** argv) {
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) return Usage("no command given");
    if (words[0] == "-h" || words[0] == "--help" || words[0] == "help") {
        std::fputs(kUsage, stdout);
        return ExitOk;
    }
    if (words[0] == "--version") {
        std::printf("kivoctl %s\n", ProgramVersion().c_str());
        return ExitOk;
    }
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (words[0] == c.name) command = &c;
    if (!command) return Usage("unknown command '" + words[0] + "'");

    Context ctx;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() < 2 || w.compare(0, 2, "--") != 0) {
            ctx.args.push_back(w);
            continue;
        }
        std::string name = w, value;
        auto eq = w.find('=');
        if (eq != std::string::npos) {
            name = w.substr(0, eq);
            value = w.substr(eq + 1);
        }
        bool flag = false;
        for (const char* o : kFlagOptions) flag |= name == o;
        if (flag && eq == std::string::npos) {
            ctx.options[name] = "";
            continue;
        }
        bool known = false;
        for (const char* o : kValueOptions) known |= name == o;
        if (!known) return Usage("unknown option '" + name + "'");
        if (eq == std::string::npos) {
            if (i + 1 >= words.size()) return Usage("option " + name + " needs a value");
            value = words[++i];
        }
        ctx.options[name] = value;
    }
    if (ctx.args.size() < command->minArgs || ctx.args.size() > command->maxArgs)
        return Usage(std::string("wrong number of arguments for ") + command->name);

    // The GUI's one positional argument (a configuration folder) has no meaning here.
    StartupEnvironment env = PlatformEnvironment(ExecutablePath(argv[0]), {});
    ctx.templateFolder = env.templateFolder;
    // The diagnosis only looks: it does not install or create anything, start-up's files
    // included.
    if (command->run != CmdDoctor) ctx.folders = RunStartup(env);
    const int exit = command->run(ctx);
    // The trace is complete only now; a failure to keep it is said, the command's result
    // stands.
    if (ctx.trace)
        if (const WriteStatus saved = ctx.trace->Save(); !saved.ok())
            Fail(16209, {ctx.trace->Path(), WriteFailureReason(saved)});
    return exit;
}

} // namespace kivo::cli

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with its reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return kivo::cli::Main(argc, argv);
}
