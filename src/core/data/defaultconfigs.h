// The default configuration in the program folder and its alternatives.
#pragma once

#include "data/kivoini.h"

#include <string>
#include <vector>

namespace kivo {

// The default configuration's file. Start-up writes "Default.bin"; a folder that came from
// another system may hold it in other letter cases ("default.bin"): that file is the one.
std::string DefaultBinPath(const std::string& programFolder);

// The alternatives a user can make the default: every "*.bin" except the default itself (in
// any letter case), then every "*.Kivo"; names without folder, each group sorted.
std::vector<std::string> ListDefaultConfigs(const std::string& programFolder);

// Copies the chosen alternative over the default configuration and records in Values.ini
// that the user chose it, so that start-up keeps it. False when the copy failed (then
// nothing is recorded).
bool ChangeDefaultConfig(const std::string& programFolder, const std::string& name,
                         const KivoIni& ini);

} // namespace kivo
