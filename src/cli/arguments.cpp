#include "arguments.h"

#include "cli.h"

namespace kivo::cli {

namespace {

struct OptionSpec {
    const char* name;
    Option bit;
    bool takesValue;
};

const OptionSpec kOptions[] = {
    {"--kobu", OptKobu, true},     {"--trace", OptTrace, true},
    {"--json", OptJson, false},    {"--no-backup", OptNoBackup, false},
    {"--id", OptId, true},         {"--radio", OptRadio, true},
    {"--pdf", OptPdf, true},       {"--printer", OptPrinter, true},
    {"--copies", OptCopies, true},
};

constexpr unsigned kDevice = OptKobu | OptTrace;

int CmdHelp(Context&) {
    return ExitOk; // answered while parsing
}

Parsed Error(int text, std::vector<std::string> args = {}, const CommandSpec* command = nullptr) {
    Parsed p;
    p.command = command;
    p.errorText = text;
    p.errorArgs = std::move(args);
    return p;
}

} // namespace

const std::vector<CommandSpec>& Commands() {
    static const std::vector<CommandSpec> commands = {
        {"folders", CmdFolders, 0, 0, 0, 16330},
        {"export", CmdExport, 1, 2, 0, 16331},
        {"info", CmdInfo, 0, 0, kDevice | OptJson, 16332},
        {"doctor", CmdDoctor, 0, 0, kDevice | OptJson, 16333},
        {"read", CmdRead, 1, 1, kDevice | OptJson, 16334},
        {"write", CmdWrite, 1, 1, kDevice | OptJson | OptNoBackup | OptId | OptRadio, 16335},
        {"verify", CmdVerify, 1, 1, kDevice | OptJson, 16336},
        {"learn", CmdLearn, 2, 2, kDevice, 16337},
        {"diff", CmdDiff, 2, 2, OptJson, 16338},
        {"print", CmdPrint, 1, 1, OptPdf | OptPrinter | OptCopies, 16339},
        {"help", CmdHelp, 0, 1, 0, 16340},
    };
    return commands;
}

const CommandSpec* FindCommand(const std::string& name) {
    for (const CommandSpec& c : Commands())
        if (name == c.name) return &c;
    return nullptr;
}

Parsed ParseArguments(const std::vector<std::string>& words) {
    Parsed p;
    std::vector<std::pair<std::string, Option>> given;
    bool optionsEnded = false;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        // "-" is a file (the standard input or output), not an option.
        if (optionsEnded || w.empty() || w[0] != '-' || w == "-") {
            positional.push_back(w);
            continue;
        }
        if (w == "--") {
            optionsEnded = true;
        } else if (w == "-h" || w == "--help") {
            p.help = true;
        } else if (w == "--version") {
            p.version = true;
        } else {
            const auto eq = w.find('=');
            const std::string name = w.substr(0, eq);
            const OptionSpec* spec = nullptr;
            for (const OptionSpec& o : kOptions)
                if (name == o.name) spec = &o;
            if (!spec) return Error(16303, {name});
            std::string value;
            if (spec->takesValue) {
                if (eq != std::string::npos) {
                    value = w.substr(eq + 1);
                } else if (i + 1 < words.size()) {
                    value = words[++i];
                } else {
                    return Error(16305, {name});
                }
            } else if (eq != std::string::npos) {
                return Error(16303, {w});
            }
            p.options[name] = value;
            given.emplace_back(name, spec->bit);
        }
    }
    if (positional.empty()) {
        if (p.help || p.version) return p;
        return Error(16301);
    }
    p.command = FindCommand(positional[0]);
    if (!p.command) return Error(16302, {positional[0]});
    p.args.assign(positional.begin() + 1, positional.end());
    if (std::string(p.command->name) == "help") {
        // "help read" is "read --help"; "help" alone the whole help.
        p.help = true;
        p.command = p.args.empty() ? nullptr : FindCommand(p.args[0]);
        if (!p.args.empty() && !p.command) return Error(16302, {p.args[0]});
        p.args.clear();
        return p;
    }
    if (p.help) return p;
    for (const auto& [name, bit] : given)
        if (!(p.command->options & bit)) return Error(16304, {p.command->name, name}, p.command);
    if (p.args.size() < p.command->minArgs || p.args.size() > p.command->maxArgs)
        return Error(16306, {p.command->name}, p.command);
    return p;
}

} // namespace kivo::cli
