#include "data/defaultconfigs.h"

#include "data/fileio.h"
#include "data/text.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>

namespace kivo {

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (FileExists(folder + name)) names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::string DefaultBinPath(const std::string& programFolder) {
    const std::string ours = programFolder + "Default.bin";
    if (FileExists(ours)) return ours;
    for (const auto& name : FilesIn(programFolder))
        if (Lower(name) == "default.bin") return programFolder + name;
    return ours;
}

std::vector<std::string> ListDefaultConfigs(const std::string& programFolder) {
    std::vector<std::string> bins, kivos;
    for (const auto& name : FilesIn(programFolder)) {
        // The patterns are those of the folder search on the systems the files come from:
        // "*.bin" and "*.Kivo" match in any letter case there.
        std::string lower = Lower(name);
        if (EndsWith(lower, ".bin") && lower != "default.bin")
            bins.push_back(name);
        else if (EndsWith(lower, ".kivo"))
            kivos.push_back(name);
    }
    bins.insert(bins.end(), kivos.begin(), kivos.end());
    return bins;
}

bool ChangeDefaultConfig(const std::string& programFolder, const std::string& name,
                         const KivoIni& ini) {
    if (name.empty() || name.find('/') != std::string::npos) return false;
    const std::string target = DefaultBinPath(programFolder);
    if (!InstallFile(programFolder, name, NameOf(target), programFolder)) return false;
    ini.WriteValue("Setup", "DefaultBinChanged", "true");
    return true;
}

} // namespace kivo
