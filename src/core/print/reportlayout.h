// The report's page layout from [Print] of Values.ini, and the choice of the logo file.
#pragma once

#include "data/kivoini.h"

#include <string>

namespace kivo::report {

// Millimetres of an A4 page; the heading size in points.
struct PrintLayout {
    int logoLeft = 20, logoTop = 15, logoRight = 42, logoBottom = 37;
    int headingCentre = 105; // -1 once a heading left edge is set
    int headingLeft = -1;    // -1: not set, the heading is centred
    int headingTop = 23;
    int headingSize = 18;
};

// The defaults, changed by every [Print] key that holds an integer other than -1, read in
// the fixed order LogoPosX, LogoPosY, LogoSizeX, LogoSizeY, HeaderCenterX, HeaderPosX,
// HeaderPosY, HeaderTextSize. A logo edge moves with its size key only, so moving the logo
// alone changes its size. Positions are held within a metre of the page and the heading size
// within 1..200 points, so that no value makes a drawing coordinate overflow.
PrintLayout ReadPrintLayout(const KivoIni& ini);

// The logo file: the template folder (trailing '/') + [Print] LogoName, else
// "Tavralogo.bmp" there; empty when neither file exists.
std::string ChooseLogoPath(const std::string& templateFolder, const KivoIni& ini);

} // namespace kivo::report
