#include "kivoctl_run.h"

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace kivo::test {

CliResult RunKivoctl(const TempDir& dir, const std::string& args, const std::string& wrapper) {
    std::filesystem::create_directories(dir.file("appdata"));
    std::filesystem::create_directories(dir.file("docs"));
    std::string cmd = "cd '" + dir.path() + "' && KIVO_APPDATA_DIR='" + dir.file("appdata") +
                      "' KIVO_DOCUMENTS_DIR='" + dir.file("docs") +
                      "' KIVO_KOBU= KIVO_TRACE= " + wrapper + " " KIVOCTL " " + args + " 2>'" +
                      dir.file("stderr") + "'";
    CliResult r{};
    FILE* p = ::popen(cmd.c_str(), "r");
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) r.out.append(buf, n);
    int status = ::pclose(p);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = dir.ReadText("stderr");
    return r;
}

std::string ProgramFolder(const TempDir& dir) {
    return dir.file("appdata/TAVRA/KIVO Zizadozeve (DE)/");
}

} // namespace kivo::test
