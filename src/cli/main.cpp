// kivoctl: the command-line front end. Every command runs start-up first, so it sees the same
// folders and installed files as the windows do.
#include "cli.h"

#include "arguments.h"

#include "app/filemessages.h"
#include "app/strtable.h"
#include "data/filetarget.h"
#include "data/filewriter.h"
#include "transport/doctor.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace kivo::cli {

namespace {

std::string ExecutablePath(const char* argv0) {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) return std::string(buf, static_cast<std::size_t>(n));
    return argv0;
}

// A usage error: what is wrong, and where the help is. Two lines, not the whole help.
int Usage(const Parsed& parsed) {
    std::fprintf(stderr, "kivoctl: %s\n",
                 FormatText(Str(parsed.errorText), parsed.errorArgs).c_str());
    const std::string hint =
        parsed.command ? FormatText(Str(16307), {parsed.command->name}) : Str(16308);
    std::fprintf(stderr, "kivoctl: %s\n", hint.c_str());
    return ExitUsage;
}

// Files made from the standard input, removed at the end.
std::vector<std::string>& StdinCopies() {
    static std::vector<std::string> copies; // the process's own, like its stdin
    return copies;
}

void RemoveStdinCopies() {
    for (const std::string& path : StdinCopies()) {
        std::remove(path.c_str());
        ::rmdir(path.substr(0, path.rfind('/')).c_str());
    }
}

std::string JoinWords(int argc, char** argv) {
    std::string line = "kivoctl";
    for (int i = 1; i < argc; ++i) line += std::string(" ") + argv[i];
    return line;
}

} // namespace

// "kivoctl doctor" finds why the Kobu or the unit cannot be reached.
constexpr int kDoctorHint = 16100;

void Fail(int textId, const std::vector<std::string>& args) {
    std::fprintf(stderr, "kivoctl: %s\n", FormatText(Str(textId), args).c_str());
    PointToDiagnosis(textId);
}

int CommandUsage(const std::string& command, int textId, const std::vector<std::string>& args) {
    std::fprintf(stderr, "kivoctl: %s\n", FormatText(Str(textId), args).c_str());
    std::fprintf(stderr, "kivoctl: %s\n", FormatText(Str(16307), {command}).c_str());
    return ExitUsage;
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
    if (!ctx.trace) {
        Fail(16209, {file, WriteFailureReason(why)});
        return nullptr;
    }
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local)) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    ctx.trace->Heading(std::string(stamp) + " kivoctl " + ProgramVersion() + ": " +
                       ctx.commandLine);
    return ctx.trace;
}

std::string InputFile(const std::string& argument) {
    if (argument != "-") return argument;
    if (!StdinCopies().empty()) {
        std::fprintf(stderr, "kivoctl: %s\n", Str(16320).c_str());
        return std::string();
    }
    // A configuration is 512 bytes at most; a little more tells a longer input apart.
    std::string bytes;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, stdin)) {
        bytes.append(buf, n);
        if (bytes.size() > 1u << 20) break;
    }
    // A private folder of our own keeps the copy out of other users' reach.
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kivoctl-stdin-XXXXXX";
    std::vector<char> folder(pattern.begin(), pattern.end());
    folder.push_back('\0');
    const bool made = ::mkdtemp(folder.data()) != nullptr;
    const std::string name = std::string(folder.data()) + "/stdin";
    if (!made || std::ferror(stdin) || !WriteFileAtomic(name, bytes).ok()) {
        if (made) ::rmdir(folder.data());
        std::fprintf(stderr, "kivoctl: %s\n", Str(16322).c_str());
        return std::string();
    }
    StdinCopies().push_back(name);
    return name;
}

int Main(int argc, char** argv) {
    const Parsed parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.errorText) return Usage(parsed);
    if (parsed.version) {
        std::printf("kivoctl %s\n", ProgramVersion().c_str());
        return ExitOk;
    }
    if (parsed.help) {
        std::printf("%s\n", Str(parsed.command ? parsed.command->helpText : 16300).c_str());
        return ExitOk;
    }
    const CommandSpec* command = parsed.command;
    Context ctx;
    ctx.args = parsed.args;
    ctx.options = parsed.options;
    ctx.commandLine = JoinWords(argc, argv);
    // Removed on every way out of Main, before the copies' list itself goes away.
    struct RemoveCopies {
        ~RemoveCopies() { RemoveStdinCopies(); }
    } removeCopies;

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
