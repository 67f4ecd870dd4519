// Where this platform keeps what start-up asks for.
#include "app/startup.h"

#include "data/fileio.h"

#include <cstdlib>
#include <fstream>

#ifndef KIVO_VERSION
#define KIVO_VERSION ""
#endif
#ifndef KIVO_SHARE_DIR
#define KIVO_SHARE_DIR "/usr/local/share/kivotool"
#endif

namespace kivo {

namespace {

std::optional<std::string> Env(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v) return std::nullopt;
    return std::string(v);
}

std::optional<std::string> Home() {
    return Env("HOME");
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs, with $HOME expanded; nullopt when not configured.
std::optional<std::string> UserDirsDocuments() {
    auto config = Env("XDG_CONFIG_HOME");
    auto home = Home();
    if (!config && !home) return std::nullopt;
    std::ifstream in((config ? *config : *home + "/.config") + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0) {
            if (!home) return std::nullopt;
            value = *home + value.substr(5);
        }
        if (!value.empty() && value[0] == '/') return value;
    }
    return std::nullopt;
}

// Creates `path` and its missing parents. A new account may have no ~/.local/share or
// ~/Documents yet; without them start-up would fall back to the program's own folder, which
// an installed program cannot write.
void MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        MakeFolder(path.substr(0, slash));
    MakeFolder(path);
}

} // namespace

StartupEnvironment PlatformEnvironment(const std::string& executablePath,
                                       const std::vector<std::string>& arguments) {
    StartupEnvironment env;
    std::string exeFolder = FolderOf(executablePath);
    if (exeFolder.empty()) exeFolder = "./";
    // A build tree or an unpacked folder carries its templates beside the program; an
    // installed program finds them in the shared data folder beside its bin/ (so a package
    // unpacked under any prefix works), else in the one it was built for.
    std::string share = std::string(KIVO_SHARE_DIR) + "/";
    const std::string bin = "/bin/";
    if (exeFolder.size() > bin.size() &&
        exeFolder.compare(exeFolder.size() - bin.size(), bin.size(), bin) == 0) {
        const std::string beside =
            exeFolder.substr(0, exeFolder.size() - bin.size()) + "/share/kivotool/";
        if (FileExists(beside + "Values.i")) share = beside;
    }
    env.templateFolder =
        FileExists(exeFolder + "Values.i") || !FileExists(share + "Values.i") ? exeFolder : share;

    if (auto dir = Env("KIVO_APPDATA_DIR")) {
        env.appDataFolder = dir;
    } else if (auto xdg = Env("XDG_DATA_HOME"); xdg && (*xdg)[0] == '/') {
        env.appDataFolder = xdg;
    } else if (auto home = Home()) {
        env.appDataFolder = *home + "/.local/share";
    }

    if (auto dir = Env("KIVO_DOCUMENTS_DIR")) {
        env.documentsFolder = dir;
    } else if (auto docs = UserDirsDocuments()) {
        env.documentsFolder = docs;
    } else if (auto home = Home()) {
        env.documentsFolder = *home + "/Documents";
    }

    if (env.appDataFolder) MakeFolders(*env.appDataFolder);
    if (env.documentsFolder) MakeFolders(*env.documentsFolder);

    env.programVersion = ProgramVersion();
    env.arguments = arguments;
    return env;
}

std::string ProgramVersion() {
    return KIVO_VERSION;
}

} // namespace kivo
