// kivoctl: shared pieces of the command-line front end.
#pragma once

#include "app/startup.h"

#include <string>
#include <vector>

namespace kivo::cli {

// Exit codes, the same for every command.
enum Exit {
    ExitOk = 0,
    ExitUsage = 2,
    ExitUnreachable = 3, // the Kobu or the unit cannot be reached
    ExitFile = 4,        // a file cannot be read or written
    ExitTransfer = 5,    // a transfer failed or did not verify
    ExitRefused = 6,     // refused by the compatibility check
};

struct Context {
    Folders folders;
    std::vector<std::string> args; // the command's own arguments, after its name
};

// Prints a string-table text (with its arguments) as a failure on stderr.
void Fail(int textId, const std::vector<std::string>& args = {});

int CmdFolders(Context& ctx);
int CmdExport(Context& ctx);

} // namespace kivo::cli
