// The parameters in which two configurations differ, by address, with the annotated export's
// names; read-only and extended-area bytes are included and marked.
#pragma once

#include "data/kivodata.h"

#include <string>
#include <vector>

namespace kivo {

struct Difference {
    unsigned addr;
    std::uint8_t first, second;
    std::string name; // the export's name, or "" for a byte without one
    bool readOnly;    // 0xF7..0x102: filled by the unit, never written
    bool extended;    // 0x100 and above: units from revision 7 only
};

// Every differing byte of the first `size` bytes (256 or 512).
std::vector<Difference> CompareImages(const Image& first, const Image& second, unsigned size);

// One line of a listing: "0x0C4 Battery check interval: 48 -> 49", the unit's own bytes and
// those of the extended area marked in the edition's words.
std::string DescribeDifference(const Difference& d);

} // namespace kivo
