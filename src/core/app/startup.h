// Start-up: where the system's files live, installing and refreshing the installation's
// templates, default passwords and the choice of configuration folder. Nothing here shows a
// message: a folder that cannot be created or a copy that fails is passed over.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kivo {

// What start-up asks of the platform. Folder paths carry no trailing '/' unless noted.
struct StartupEnvironment {
    std::string templateFolder;                 // the executable's folder role, trailing '/'
    std::optional<std::string> appDataFolder;   // all-users application data; nullopt: no answer
    std::optional<std::string> documentsFolder; // all-users documents; nullopt: no answer
    std::string programVersion;                 // empty when unknown
    std::vector<std::string> arguments;         // command-line arguments after the program name
};

struct Folders {
    std::string programFolder;        // trailing '/'
    std::string configFolder;         // no trailing '/'
    std::string standardConfigFolder; // trailing '/'
};

// The whole start-up sequence, in the designed order.
Folders RunStartup(const StartupEnvironment& env);

// The configuration file a single positional argument names (a file manager's "open with"),
// as an absolute path; empty when the arguments name none. A folder stays the configuration
// folder's argument, and a path that does not exist is neither.
std::string FileArgument(const std::vector<std::string>& arguments);

// Every "KivoDefault(*).bin" of the template folder copied into the program folder.
void CopyDefaultConfigs(const std::string& templateFolder, const std::string& programFolder);

// The platform side: the folder that holds the templates (the executable's folder when it
// holds Values.i, else the installed share folder), and the application-data and documents
// folders (KIVO_APPDATA_DIR / KIVO_DOCUMENTS_DIR, else the XDG folders).
StartupEnvironment PlatformEnvironment(const std::string& executablePath,
                                       const std::vector<std::string>& arguments);

// The program's version text.
std::string ProgramVersion();

} // namespace kivo
