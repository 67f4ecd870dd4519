#include "editor/fielddiff.h"

#include <cstdlib>
#include <set>

namespace kivo {

namespace {

// The bytes a field shows.
unsigned Width(Conversion c) {
    switch (c) {
    case Conversion::Telephone:
    case Conversion::AlarmCode:
        return mm::kDialBytes;
    case Conversion::RadioCode:
        return mm::kRadioCodeBytes;
    case Conversion::ShowDate:
    case Conversion::ShowSerial:
    case Conversion::ShowFirmware:
        return 3;
    case Conversion::Grid:
        return 0;
    default:
        return 1;
    }
}

// A grid row's address, or -1 for a row that names no byte of the image.
int RowAddress(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int a = std::atoi(text.c_str());
    return a < static_cast<int>(mm::kImageBuffer) ? a : -1;
}

} // namespace

std::string ShownValue(ControlAccess& c, const Binding& b, const std::string& on,
                       const std::string& off) {
    switch (KindOf(b.conversion)) {
    case ControlKind::List: {
        const int index = c.Selected(b.control);
        return index < 0 ? std::string() : c.ItemText(b.control, index);
    }
    case ControlKind::Check:
        return c.Checked(b.control) ? on : off;
    case ControlKind::Grid:
        return std::string();
    default:
        return c.Text(b.control);
    }
}

std::vector<FieldDifference> DifferingFields(ControlAccess& mine, ControlAccess& theirs,
                                             const std::string& on, const std::string& off) {
    std::vector<FieldDifference> out;
    for (const Binding& b : BindingTable()) {
        if (b.conversion == Conversion::Grid) continue;
        if (!mine.Shown(b.control)) continue; // what the edition hides is not compared
        const std::string a = ShownValue(mine, b, on, off);
        const std::string t = ShownValue(theirs, b, on, off);
        if (a != t) out.push_back({b.control, {}, a, t});
    }
    const int rows = std::min(mine.GridRows(), theirs.GridRows());
    for (int r = 1; r <= rows; ++r) {
        if (RowAddress(mine.GridCell(r, 0)) < 0) continue;
        const std::string a = mine.GridCell(r, 2), t = theirs.GridCell(r, 2);
        if (a != t) out.push_back({"sgAdvanced", mine.GridCell(r, 1), a, t});
    }
    return out;
}

std::vector<Difference> BytesWithoutField(const std::vector<Difference>& differences,
                                          ControlAccess& controls) {
    std::set<unsigned> shown;
    for (const Binding& b : BindingTable())
        for (unsigned i = 0; i < Width(b.conversion); ++i) shown.insert(b.addr + i);
    for (int r = 1; r <= controls.GridRows(); ++r)
        if (const int a = RowAddress(controls.GridCell(r, 0)); a >= 0)
            shown.insert(static_cast<unsigned>(a));
    std::vector<Difference> out;
    for (const Difference& d : differences)
        if (!shown.count(d.addr)) out.push_back(d);
    return out;
}

} // namespace kivo
