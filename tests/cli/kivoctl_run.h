// Runs kivoctl as a user would: a separate process, with its folders inside a test folder.
#pragma once

#include "support/tempdir.h"

#include <string>

namespace kivo::test {

struct CliResult {
    int exit;
    std::string out, err;
};

// `args` is passed to the shell as written (quote paths with blanks yourself); so is `wrapper`,
// which comes before kivoctl on the command line (environment settings, a program that runs
// kivoctl such as ftdi-emu).
CliResult RunKivoctl(const TempDir& dir, const std::string& args, const std::string& wrapper = "");

// The program folder kivoctl's start-up makes inside `dir`.
std::string ProgramFolder(const TempDir& dir);

} // namespace kivo::test
