// The editor's list of recently opened and saved configuration files, newest first, kept in
// [Setup] of Values.ini as Recent1 ... Recent8.
#pragma once

#include "data/kivoini.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kivo {

class RecentFiles {
public:
    static constexpr std::size_t kMaxFiles = 8;

    // Replaces the list by the one stored in the settings file. Keys that hold nothing usable
    // (empty, not an absolute path, too long, a repeat of an earlier entry) are passed over, so
    // a hand-edited or damaged [Setup] still gives a clean list.
    void Load(const KivoIni& ini);
    // Writes the list back as Recent1 ... RecentN and empties the keys after it. Does nothing
    // and returns false when the settings file does not exist: creating it here would make a
    // missing Values.ini look present to the editor's next start.
    bool Store(const KivoIni& ini) const;

    // Puts `path` at the top, dropping an earlier entry of the same path and the oldest entry
    // beyond eight. A path that could not be stored and read back as itself is not taken; the
    // list is then unchanged and the result false.
    bool Add(const std::string& path);
    // Takes `path` out of the list; false when it was not listed.
    bool Remove(const std::string& path);

    const std::vector<std::string>& Paths() const { return paths_; }

    // Whether `path` survives the settings file unchanged: an absolute path of sensible length
    // without line breaks or other control characters, and made of characters Windows-1252
    // can hold (the file's encoding on disk; anything else would read back as '?').
    static bool Storable(const std::string& path);

    // The key of list position `index` (0-based): "Recent1" ... "Recent8".
    static std::string KeyOf(std::size_t index);

private:
    std::vector<std::string> paths_;
};

} // namespace kivo
