#include "data/kivoini.h"

#include "data/cp1252.h"
#include "data/fileio.h"
#include "data/filewriter.h"
#include "data/inifile.h"

#include <charconv>
#include <limits>
#include <optional>

namespace kivo {

namespace {

const std::string kEmpty = "<EMPTY>";
const std::string kEnd = "<END>";
const std::string kSeparator = "---";

// A settings file is a few kilobytes; anything this large is not one, and is neither read nor
// rewritten (rewriting a partly read file would cut it short).
constexpr std::size_t kMaxFileSize = 4u << 20;

// Key numbers are byte values of the image, so no real list has a gap of 256 missing keys.
// A run that long means the section lacks its "<END>"; without this bound the loop would
// read missing keys for ever.
constexpr int kMaxMissingRun = 256;

// The raw Windows-1252 bytes; nullopt when the file is missing, unreadable or too large.
std::optional<std::string> LoadBytes(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    auto bytes = ReadFileBytes(path, kMaxFileSize + 1);
    if (!bytes || bytes->size() > kMaxFileSize) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

ini::Keys LoadSection(const std::string& path, const std::string& section) {
    auto bytes = LoadBytes(path);
    if (!bytes) return {};
    // A file saved as UTF-8 by a Linux editor is read as such; ours are written Windows-1252.
    if (LooksLikeUtf8(*bytes)) {
        if (bytes->compare(0, 3, "\xEF\xBB\xBF") == 0) bytes->erase(0, 3);
        bytes = Utf8ToCp1252(*bytes);
    }
    return ini::Document(*bytes).SectionKeys(Utf8ToCp1252(section));
}

// The raw value, or nullptr when the key is missing. `key` is Windows-1252.
const std::string* Find(const ini::Keys& keys, const std::string& key) {
    auto it = keys.find(ini::Fold(Trim(key)));
    return it == keys.end() ? nullptr : &it->second;
}

// Texts that Windows-1252 cannot hold would be stored as '?': refuse them instead.
bool FitsCp1252(const std::string& text) {
    return Cp1252ToUtf8(Utf8ToCp1252(text)) == text;
}

} // namespace

bool KivoIni::FileFound() const {
    return FileExists(path_);
}

std::string KivoIni::ReadValue(const std::string& section, const std::string& key) const {
    const ini::Keys keys = LoadSection(path_, section);
    const std::string* value = Find(keys, Utf8ToCp1252(key));
    return value ? Cp1252ToUtf8(*value) : std::string();
}

bool KivoIni::WriteValue(const std::string& section, const std::string& key,
                         const std::string& value) const {
    if (!FitsCp1252(section) || !FitsCp1252(key) || !FitsCp1252(value)) return false;
    std::string old;
    const bool exists = FileExists(path_);
    if (exists) {
        auto bytes = LoadBytes(path_);
        if (!bytes) return false;
        old = std::move(*bytes);
    }
    ini::Document doc(old);
    if (!doc.SetValue(Utf8ToCp1252(section), Utf8ToCp1252(key), Utf8ToCp1252(value))) return false;
    const std::string updated = doc.Bytes();
    if (exists && updated == old) return true;
    return WriteFileAtomic(path_, updated).ok();
}

int KivoIni::FillFromSection(ItemList& list, const std::string& section, ValueList& values,
                             int capacity, bool keepSeparators) const {
    list.items.clear();
    list.selected = -1;
    const ini::Keys keys = LoadSection(path_, section);
    // An absent section (or one without keys) and a list without room give no items.
    if (keys.empty() || capacity < 1) return 0;

    int n = 0, i = 0, missingRun = 0;
    std::string text;
    do {
        const std::string* found = Find(keys, std::to_string(n));
        if (found) {
            text = *found;
            missingRun = 0;
        } else {
            text = kEmpty;
            ++missingRun;
        }
        if (!keepSeparators && text.compare(0, kSeparator.size(), kSeparator) == 0) text = kEnd;
        if (text != kEmpty && text != kEnd) {
            list.items.push_back(Cp1252ToUtf8(text));
            if (values.size() < static_cast<std::size_t>(i) + 2) values.resize(i + 2);
            values[i] = n;
            values[++i] = kSentinel;
        }
        ++n;
    } while (text != kEnd && i < capacity && missingRun < kMaxMissingRun &&
             n < std::numeric_limits<int>::max());

    if (i > 0) {
        values.resize(i + 1); // nothing stale behind the sentinel
        list.selected = 0;
    }
    return i;
}

int KivoIni::ReadPrintNumber(const std::string& key, int defaultValue) const {
    std::string text = ReadValue("Print", key);
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    int number = 0;
    auto [end, error] = std::from_chars(first, last, number);
    if (first == last || error != std::errc() || end != last || number == -1) return defaultValue;
    return number;
}

std::vector<AdvancedRow> KivoIni::ReadAdvancedRows() const {
    const ini::Keys keys = LoadSection(path_, "ValueAdvanced");
    std::vector<AdvancedRow> rows;
    for (int n = 1; n <= 511 && !keys.empty(); ++n) {
        const std::string number = std::to_string(n);
        const std::string* addr = Find(keys, "Addr_" + number);
        if (!addr || addr->empty()) continue;
        const std::string* desc = Find(keys, "Desc_" + number);
        const std::string* unit = Find(keys, "Unit_" + number);
        rows.push_back({Cp1252ToUtf8(*addr), desc ? Cp1252ToUtf8(*desc) : std::string(),
                        unit ? Cp1252ToUtf8(*unit) : std::string()});
    }
    return rows;
}

} // namespace kivo
