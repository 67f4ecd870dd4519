#include "app/startup.h"

#include "access/kivopassword.h"
#include "app/strtable.h"
#include "data/defaultconfigs.h"
#include "data/fileio.h"
#include "data/kivoini.h"
#include "data/tempfiles.h"
#include "data/text.h"
#include "editor/recentfiles.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {

constexpr const char* kSetup = "Setup";

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string WithoutSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// base + "TAVRA/" + leaf + "/", each level created where missing; "" when the base is unusable.
std::string TavraFolder(const std::optional<std::string>& base, const std::string& leaf) {
    if (!base || !FolderExists(*base)) return std::string();
    std::string tavra = WithSlash(*base) + "TAVRA/";
    MakeFolder(tavra);
    std::string folder = tavra + leaf + "/";
    MakeFolder(folder);
    return folder;
}

} // namespace

void CopyDefaultConfigs(const std::string& templateFolder, const std::string& programFolder) {
    DIR* dir = ::opendir(templateFolder.c_str());
    if (!dir) return;
    std::vector<std::string> names;
    while (dirent* e = ::readdir(dir)) {
        // The parentheses are literal; only the star is a wildcard.
        if (::fnmatch("KivoDefault[(]*[)].bin", e->d_name, 0) == 0) names.push_back(e->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const auto& name : names)
        if (FileExists(templateFolder + name))
            InstallFile(templateFolder, name, name, programFolder);
}

std::string FileArgument(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1 || arguments[0].empty()) return std::string();
    const std::string& path = arguments[0];
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::string();
    if (path.front() == '/') return path;
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + path : path;
}

Folders RunStartup(const StartupEnvironment& env) {
    Folders f;
    const std::string exe = WithSlash(env.templateFolder);

    // Each edition keeps its own program folder (settings, defaults, passwords, backups).
    f.programFolder = TavraFolder(env.appDataFolder, std::string("KIVO Zizadozeve (") +
                                                         EditionCode(CurrentEdition()) + ")");
    if (f.programFolder.empty()) f.programFolder = exe;

    f.standardConfigFolder = TavraFolder(env.documentsFolder, "KIVO config");
    if (f.standardConfigFolder.empty()) {
        f.standardConfigFolder = exe + "Config/";
        MakeFolder(f.standardConfigFolder);
    }

    // The English edition installs its own template when the installation has one.
    const std::string values =
        CurrentEdition() == Edition::English && FileExists(exe + "Values.en.i") ? "Values.en.i"
                                                                                : "Values.i";
    KivoIni ini;
    ini.SetFileName(f.programFolder + "Values.ini");
    std::string oldConfigDir, oldVersion, oldDefaultChanged;
    if (FileExists(exe + "Values.i")) {
        if (ini.FileFound()) {
            oldConfigDir = ini.ReadValue(kSetup, "ConfigDirectory");
            oldVersion = ini.ReadValue(kSetup, "AppVersion");
            oldDefaultChanged = Lower(ini.ReadValue(kSetup, "DefaultBinChanged"));
            if (oldDefaultChanged.empty()) oldDefaultChanged = "false";
            if (oldVersion != env.programVersion) {
                // The editor's recent files outlive an update like the configuration folder.
                RecentFiles recent;
                recent.Load(ini);
                InstallFile(exe, values, "Values.ini", f.programFolder);
                recent.Store(ini);
                if (!oldConfigDir.empty()) ini.WriteValue(kSetup, "ConfigDirectory", oldConfigDir);
                ini.WriteValue(kSetup, "AppVersion", env.programVersion);
                ini.WriteValue(kSetup, "DefaultBinChanged", oldDefaultChanged);
            }
        } else {
            InstallFile(exe, values, "Values.ini", f.programFolder);
            ini.WriteValue(kSetup, "AppVersion", env.programVersion);
        }
    }

    const std::string defaultBin = DefaultBinPath(f.programFolder);
    if (FileExists(exe + "Default.b") && (!FileExists(defaultBin) || oldDefaultChanged == "false"))
        InstallFile(exe, "Default.b", NameOf(defaultBin), f.programFolder);

    CopyDefaultConfigs(exe, f.programFolder);

    WriteDefaultPasswords(KivoPassword(f.programFolder + "KivoLng.tbl"));

    f.configFolder = WithoutSlash(f.standardConfigFolder);
    if (env.arguments.size() == 1 && FolderExists(env.arguments[0])) {
        f.configFolder = env.arguments[0];
    } else {
        std::string configured = ini.ReadValue(kSetup, "ConfigDirectory");
        if (!configured.empty()) f.configFolder = WithoutSlash(configured);
    }

    // What a write cut short by the end of its process left behind, in the folders the
    // program writes into.
    for (const std::string& folder : {f.programFolder, f.programFolder + "Backup/",
                                      f.standardConfigFolder, WithSlash(f.configFolder)})
        RemoveStaleTemporaries(folder);
    return f;
}

} // namespace kivo
