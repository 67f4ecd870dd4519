// Where two configurations differ, as the editor shows them: field by field, each value as its
// field shows it (a telephone number as digits, a list as its item's text), grid rows by
// their description, and the bytes that no field shows.
#pragma once

#include "data/compare.h"
#include "editor/binding.h"

#include <string>
#include <vector>

namespace kivo {

struct FieldDifference {
    std::string control;     // the field; "sgAdvanced" for a grid row
    std::string description; // a grid row's description; empty for a field
    std::string mine;        // as the first configuration's field shows it
    std::string theirs;      // as the second's
};

// What a field shows: its text, its list item's text, or `on`/`off` for a tick box.
std::string ShownValue(ControlAccess& controls, const Binding& binding, const std::string& on,
                       const std::string& off);

// The fields, then the grid rows, whose shown values differ between the two sets of controls.
std::vector<FieldDifference> DifferingFields(ControlAccess& mine, ControlAccess& theirs,
                                             const std::string& on, const std::string& off);

// The bytes of `differences` that no field and no grid row shows.
std::vector<Difference> BytesWithoutField(const std::vector<Difference>& differences,
                                          ControlAccess& controls);

} // namespace kivo
