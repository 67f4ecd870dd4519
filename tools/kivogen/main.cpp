// kivogen: build-time generator for the string table and the installation templates.
#include "gen.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "strings") {
        try {
            return kivogen::GenerateStrings(argv[2], argv[3], argv[4]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kivogen: %s\n", e.what());
            return 1;
        }
    }
    if (argc == 4) {
        std::string mode = argv[1];
        try {
            if (mode == "strings") return kivogen::GenerateStrings(argv[2], argv[3]);
            if (mode == "image") return kivogen::GenerateImage(argv[2], argv[3]);
            if (mode == "ini") return kivogen::GenerateIni(argv[2], argv[3]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kivogen: %s\n", e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "usage: kivogen strings|image|ini INPUT OUTPUT\n"
                         "       kivogen strings GERMAN OUTPUT ENGLISH\n");
    return 2;
}
