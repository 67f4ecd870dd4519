#include "editor/recentfiles.h"

#include "data/cp1252.h"

#include <algorithm>

namespace kivo {

namespace {

const char* const kSection = "Setup";

// The longest path the platform opens; anything longer in the file is not one of ours.
constexpr std::size_t kMaxPathLength = 4096;

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

} // namespace

std::string RecentFiles::KeyOf(std::size_t index) {
    return "Recent" + std::to_string(index + 1);
}

bool RecentFiles::Storable(const std::string& path) {
    if (path.empty() || path.size() > kMaxPathLength || path.front() != '/') return false;
    if (HasControlCharacter(path)) return false;
    // Such a path would be written with '?' in place of what the code page lacks, and read
    // back as another path (or none). It is left out of the list instead.
    return Cp1252ToUtf8(Utf8ToCp1252(path)) == path;
}

void RecentFiles::Load(const KivoIni& ini) {
    paths_.clear();
    for (std::size_t i = 0; i < kMaxFiles; ++i) {
        const std::string path = ini.ReadValue(kSection, KeyOf(i));
        if (!Storable(path)) continue;
        // A gap closes up; a repeat keeps its newer (earlier) place.
        if (std::find(paths_.begin(), paths_.end(), path) != paths_.end()) continue;
        paths_.push_back(path);
    }
}

bool RecentFiles::Store(const KivoIni& ini) const {
    if (!ini.FileFound()) return false;
    bool ok = true;
    for (std::size_t i = 0; i < kMaxFiles; ++i) {
        const std::string key = KeyOf(i);
        if (i < paths_.size()) {
            ok = ini.WriteValue(kSection, key, paths_[i]) && ok;
        } else if (!ini.ReadValue(kSection, key).empty()) {
            // Emptied rather than left behind; a key never written is not added.
            ok = ini.WriteValue(kSection, key, "") && ok;
        }
    }
    return ok;
}

bool RecentFiles::Add(const std::string& path) {
    if (!Storable(path)) return false;
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxFiles) paths_.resize(kMaxFiles);
    return true;
}

bool RecentFiles::Remove(const std::string& path) {
    const auto it = std::remove(paths_.begin(), paths_.end(), path);
    const bool found = it != paths_.end();
    paths_.erase(it, paths_.end());
    return found;
}

} // namespace kivo
