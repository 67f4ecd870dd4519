// The password store: the input is the file KivoLng.tbl. Every level is read, typed texts are
// turned into access levels, and a password written into the file must read back while the
// other levels keep theirs.
#include "access/kivopassword.h"
#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace kivo;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    const KivoPassword store(fuzz::WriteScratchFile("KivoLng.tbl", data, size));

    std::string stored[6];
    for (int level = -1; level <= 6; ++level) {
        const std::string text = store.ReadPassword(level);
        if (level < 2 || level > 5) {
            fuzz::Require(text.empty(), "only levels 2 to 5 have passwords");
            continue;
        }
        stored[level] = text;
        if (text.empty()) continue;
        const int access = store.AccessLevel(text);
        // A stored password opens its level or a higher one; only the built-in level-4
        // password, checked first, can stand in front of level 5.
        fuzz::Require(access >= level || (access == 4 && level == 5), "a password opens its level");
        fuzz::Require(store.MatchesLevel(text, level), "a password matches its level");
        store.UsedByOtherLevel(text, level);
    }
    for (const char* typed : {"", "6747", "7093", "qorvu", "%594kd%61!m8p27Q"}) {
        const int access = store.AccessLevel(typed);
        fuzz::Require(access == 0 || (access >= 2 && access <= 5), "an access level");
    }

    store.WritePassword(3, "Kivo3");
    fuzz::Require(store.ReadPassword(3) == "Kivo3", "a written password reads back");
    if (size >= KivoPassword::kFileSize) {
        for (int level : {2, 4, 5})
            fuzz::Require(store.ReadPassword(level) == stored[level], "other levels keep theirs");
    }
    return 0;
}
