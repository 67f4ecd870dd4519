#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>

namespace kivo::fuzz {

namespace {

std::string& Folder() {
    static std::string folder;
    return folder;
}

void RemoveFolder() {
    const std::string& folder = Folder();
    if (folder.empty()) return;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") ::unlink((folder + "/" + name).c_str());
        }
        ::closedir(dir);
    }
    ::rmdir(folder.c_str());
}

const std::string& ScratchFolder() {
    std::string& folder = Folder();
    if (folder.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kivofuzz.XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder = pattern;
        std::atexit(RemoveFolder);
    }
    return folder;
}

} // namespace

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = ScratchFolder() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

} // namespace kivo::fuzz
