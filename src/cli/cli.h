// kivoctl: shared pieces of the command-line front end.
#pragma once

#include "app/startup.h"
#include "data/kivodata.h"
#include "editor/controlmodel.h"
#include "link/procedures.h"
#include "link/trace.h"

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kivo::cli {

// Exit codes, the same for every command.
enum Exit {
    ExitOk = 0,
    ExitDiffer = 1, // diff: the files differ, as diff(1) says it
    ExitUsage = 2,
    ExitUnreachable = 3, // the Kobu or the unit cannot be reached
    ExitFile = 4,        // a file cannot be read or written
    ExitTransfer = 5,    // a transfer failed or did not verify
    ExitPrint = 5,       // a print was refused or failed (the code of a failed transfer)
    ExitRefused = 6,     // refused by the compatibility check
};

struct Context {
    Folders folders;
    std::string templateFolder;
    std::vector<std::string> args;              // the command's positional arguments
    std::map<std::string, std::string> options; // "--kobu" -> value, ...
    std::shared_ptr<LinkTrace> trace;           // the wire trace, once a command opened it
    std::string commandLine;                    // as typed, for the trace's first line
    // stdout carries the result itself (JSON, or a file read to "-"): texts go to stderr.
    bool StdoutTaken() const { return Has("--json") || (!args.empty() && args[0] == "-"); }
    std::string Option(const std::string& name) const {
        auto it = options.find(name);
        return it == options.end() ? std::string() : it->second;
    }
    bool Has(const std::string& name) const { return options.count(name) != 0; }
};

// Prints a string-table text (with its arguments) as a failure on stderr; after a Kobu or a
// unit that cannot be reached, one more line names the diagnosis.
void Fail(int textId, const std::vector<std::string>& args = {});
// A file that could not be written, in the words the editor would use for it.
void FailSave(const WriteStatus& status, const std::string& path);

// An output that is the file the command reads is refused (told, with false): writing it
// would destroy what is being read.
bool OutputIsNotInput(const std::string& output, const std::string& input);

// The wire trace of --trace (else KIVO_TRACE), or nullptr; a trace that cannot be written is
// warned about and the command goes on without it.
std::shared_ptr<LinkTrace> OpenTrace(Context& ctx);

// A usage error found by a command itself: what is wrong, and where its help is; returns
// ExitUsage.
int CommandUsage(const std::string& command, int textId, const std::vector<std::string>& args = {});

// That line alone, when `textId` is such a failure.
void PointToDiagnosis(int textId);

// A configuration file as the editor opens it (full path, image source "opened") and stores it
// back from its controls before it exports or prints.
struct OpenedFile {
    KivoData data;
    ControlModel controls;
};
// ctx.args[0] opened so; nullopt, with message 15010 told, when it cannot be read.
std::optional<OpenedFile> OpenAsEditor(const Context& ctx);

// Prints the procedures' texts by one rule: results (information) on stdout, progress and
// errors on stderr. A status line that the box right after it repeats is said once, by the box.
class ConsoleUi : public ProcedureUi {
public:
    // `muted`: once it says true, nothing more is printed (the user stopped the command).
    // `stdoutTaken`: stdout carries the result itself, so information goes to stderr too.
    explicit ConsoleUi(bool (*muted)() = nullptr, bool stdoutTaken = false)
        : muted_(muted), stdoutTaken_(stdoutTaken) {}
    ~ConsoleUi() override { FlushStatus(); }
    ConsoleUi(const ConsoleUi&) = delete;
    ConsoleUi& operator=(const ConsoleUi&) = delete;
    void Status(const std::string& text) override;
    void Box(BoxKind kind, int textId, const std::vector<std::string>& args) override;
    void TwoPartBox(int firstId, int secondId) override;
    void Repaint() override {}
    void Progress(int done, int total) override;
    void WaitCursor(bool) override {}

private:
    bool Muted() const { return muted_ && muted_(); }
    void FlushStatus();
    bool (*muted_)() = nullptr;
    bool stdoutTaken_ = false;
    bool progressShown_ = false;
    std::string pendingStatus_; // said when the next text is not the same
};

// Where the user's text goes: stdout, or stderr when stdout carries the result itself.
std::FILE* ResultStream(const Context& ctx);

// The file an argument names: "-" is the standard input, copied into a temporary file that is
// removed when the program ends; "" (told) when it cannot be read.
std::string InputFile(const std::string& argument);

int CmdFolders(Context& ctx);
int CmdExport(Context& ctx);
int CmdInfo(Context& ctx);
int CmdRead(Context& ctx);
int CmdWrite(Context& ctx);
int CmdVerify(Context& ctx);
int CmdLearn(Context& ctx);
int CmdDiff(Context& ctx);
int CmdPrint(Context& ctx);
int CmdDoctor(Context& ctx);

} // namespace kivo::cli
