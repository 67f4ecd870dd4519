#include "print/reportlayout.h"

#include "data/fileio.h"

#include <algorithm>

namespace kivo::report {

namespace {

constexpr int kFarMm = 1000;
constexpr int kNotSet = -1;

int Mm(long value) {
    return static_cast<int>(std::clamp<long>(value, -kFarMm, kFarMm));
}

} // namespace

PrintLayout ReadPrintLayout(const KivoIni& ini) {
    PrintLayout l;
    auto read = [&ini](const char* key) { return ini.ReadPrintNumber(key, kNotSet); };
    if (int v = read("LogoPosX"); v != kNotSet) l.logoLeft = Mm(v);
    if (int v = read("LogoPosY"); v != kNotSet) l.logoTop = Mm(v);
    if (int v = read("LogoSizeX"); v != kNotSet) l.logoRight = Mm(long(l.logoLeft) + v);
    if (int v = read("LogoSizeY"); v != kNotSet) l.logoBottom = Mm(long(l.logoTop) + v);
    if (int v = read("HeaderCenterX"); v != kNotSet) l.headingCentre = Mm(v);
    if (int v = read("HeaderPosX"); v != kNotSet) {
        l.headingLeft = Mm(v);
        l.headingCentre = kNotSet;
    }
    if (int v = read("HeaderPosY"); v != kNotSet) l.headingTop = Mm(v);
    if (int v = read("HeaderTextSize"); v != kNotSet) l.headingSize = std::clamp(v, 1, 200);
    return l;
}

std::string ChooseLogoPath(const std::string& templateFolder, const KivoIni& ini) {
    std::string path = templateFolder + ini.ReadValue("Print", "LogoName");
    if (FileExists(path)) return path;
    path = templateFolder + "Tavralogo.bmp";
    return FileExists(path) ? path : std::string();
}

} // namespace kivo::report
