// kivoctl's command line: the commands with the options each accepts, and the parse of the
// words into a command, its arguments and its options. Options may stand anywhere, "--" ends
// them; nothing here prints.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kivo::cli {

struct Context;

enum Option : unsigned {
    OptKobu = 1u << 0,
    OptTrace = 1u << 1,
    OptJson = 1u << 2,
    OptNoBackup = 1u << 3,
    OptId = 1u << 4,
    OptRadio = 1u << 5,
    OptPdf = 1u << 6,
    OptPrinter = 1u << 7,
    OptCopies = 1u << 8,
};

struct CommandSpec {
    const char* name;
    int (*run)(Context&);
    std::size_t minArgs, maxArgs;
    unsigned options; // the Option bits it accepts
    int helpText;     // its usage, from the string table
};

// Every command, in the order of the help text.
const std::vector<CommandSpec>& Commands();
const CommandSpec* FindCommand(const std::string& name);

// What the words asked for, or the usage error they make.
struct Parsed {
    const CommandSpec* command = nullptr;
    bool help = false;    // --help / -h / help COMMAND: the command's help, or the whole
    bool version = false; // --version
    std::vector<std::string> args;
    std::map<std::string, std::string> options; // "--kobu" -> value, flags -> ""
    // A usage error: its text (number and arguments); 0 when the words are fine.
    int errorText = 0;
    std::vector<std::string> errorArgs;
};

Parsed ParseArguments(const std::vector<std::string>& words);

} // namespace kivo::cli
