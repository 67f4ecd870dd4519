// Values.ini and about.ini: the input is the file. The readers run over it (choice lists, the
// advanced rows, [Print] numbers and the report layout, [Setup], the about box's lines), and a
// written key must read back as written without disturbing the others. (editorini fills the
// editor and the report from such a file.)
#include "data/kivoini.h"
#include "fuzzsupport.h"
#include "print/reportlayout.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace kivo;

void CheckList(const KivoIni& ini, const char* section, int capacity, bool keepSeparators) {
    ItemList list;
    ValueList values{kSentinel};
    const int n = ini.FillFromSection(list, section, values, capacity, keepSeparators);
    fuzz::Require(n >= 0 && n <= capacity, "items within the capacity");
    fuzz::Require(static_cast<std::size_t>(n) == list.items.size(), "one item per count");
    fuzz::Require(list.selected == (n > 0 ? 0 : -1), "first item selected");
    if (n == 0) return;
    fuzz::Require(values.size() == static_cast<std::size_t>(n) + 1 && values[n] == kSentinel,
                  "value list ends in the sentinel");
    for (int i = 0; i < n; ++i) {
        fuzz::Require(values[i] >= 0 && (i == 0 || values[i] > values[i - 1]),
                      "values are key numbers");
        fuzz::Require(IndexOfValue(values, values[i]) == i && ValueAtIndex(values, i) == values[i],
                      "value and index agree");
    }
}

// The about box's reading of about.ini, as the window does it (with a smaller cap on lines).
void ReadAbout(const KivoIni& about) {
    const std::string text = about.ReadValue("Aboutinfo", "Lines");
    errno = 0;
    char* end = nullptr;
    long n = text.empty() ? 0 : std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || (end && *end != '\0')) n = 0;
    for (long i = 1; i <= std::min(n, 40L); ++i)
        about.ReadValue("AboutInfo", "Line" + std::to_string(i));
    about.ReadValue("AboutInfo", "WWW");
    about.ReadValue("ABOUTINFO", "MAIL");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    KivoIni ini;
    ini.SetFileName(fuzz::WriteScratchFile("Values.ini", data, size));

    CheckList(ini, "AlarmType", 100, true);
    CheckList(ini, "AlarmType", 100, false);
    CheckList(ini, "YesNo", 5, true);
    CheckList(ini, "Protocol", 30, true);
    CheckList(ini, "CallSequence", 10, true);
    CheckList(ini, "LineVolume", 20, true);

    for (const AdvancedRow& row : ini.ReadAdvancedRows())
        fuzz::Require(!row.addr.empty(), "row address");
    for (const char* key : {"LogoPosX", "LogoPosY", "LogoSizeX", "LogoSizeY", "HeaderCenterX",
                            "HeaderPosX", "HeaderPosY", "HeaderTextSize"})
        fuzz::Require(ini.ReadPrintNumber(key, 20) != -1, "-1 keeps the default");
    report::ReadPrintLayout(ini);
    ReadAbout(ini);

    // Writing a setting keeps the rest of the file readable as before.
    const std::string version = ini.ReadValue("Setup", "AppVersion");
    const std::string folder = "/home/user/KIVO config";
    if (ini.WriteValue("Setup", "ConfigDirectory", folder)) {
        fuzz::Require(ini.ReadValue("Setup", "ConfigDirectory") == folder,
                      "written value reads back");
        fuzz::Require(ini.ReadValue("Setup", "AppVersion") == version, "other keys unchanged");
    }
    return 0;
}
