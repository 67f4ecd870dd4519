// Values.ini: settings, choice lists, advanced-grid rows and the print layout, read and written
// with the rules of Windows profile files. Every operation opens the file, does its one job and
// closes it again; nothing is cached. On disk the file is Windows-1252; texts here are UTF-8.
#pragma once

#include "data/choicelist.h"

#include <string>
#include <vector>

namespace kivo {

// One row of the advanced grid as [ValueAdvanced] lists it: Addr_n, Desc_n, Unit_n.
struct AdvancedRow {
    std::string addr;
    std::string desc;
    std::string unit;
};

class KivoIni {
public:
    void SetFileName(const std::string& path) { path_ = path; }
    const std::string& FileName() const { return path_; }
    bool FileFound() const;

    // The key's value (text after the first '=', blanks trimmed), "" when key or section is
    // missing. Section and key names compare without regard to case.
    std::string ReadValue(const std::string& section, const std::string& key) const;
    // Creates file, section and key as needed; replaces an existing value. The file is
    // replaced as a whole only after the new contents are written. False on failure.
    bool WriteValue(const std::string& section, const std::string& key,
                    const std::string& value) const;

    // Builds a choice list from the numbered keys "0", "1", ... of `section`; returns the
    // number of items. A missing section leaves `list` empty and `values` untouched.
    int FillFromSection(ItemList& list, const std::string& section, ValueList& values, int capacity,
                        bool keepSeparators) const;

    // A number of [Print]: `defaultValue` unless the key holds an integer other than -1. With
    // -1 as the default the result is -1 exactly when the key is not set.
    int ReadPrintNumber(const std::string& key, int defaultValue) const;
    // The rows n = 1 ... 511 of [ValueAdvanced] in order, leaving out a missing or empty Addr_n.
    std::vector<AdvancedRow> ReadAdvancedRows() const;

private:
    std::string path_;
};

} // namespace kivo
