// The printed configuration report as data: for each page the drawing steps in order, with
// positions in millimetres of an A4 page. Where a step goes depends on the widths and heights
// of texts (appended texts, new lines, leaders); the steps say what is drawn and how it
// flows, LayOutPage (reportflow.h) turns them into positions once a font can be measured.
#pragma once

#include "data/kivodata.h"
#include "data/kivoini.h"

#include <string>
#include <vector>

namespace kivo::report {

struct ReportFont {
    int points = 9;
    bool bold = false;
    bool operator==(const ReportFont& o) const { return points == o.points && bold == o.bold; }
};

enum class Step {
    Font,          // the font of every following text
    TextAt,        // text with its top left corner at (x, y); y of a marked line when mark >= 0
    TextAtColumn,  // text at (x, current line)
    TextAppend,    // text where the previous one ended (the margin after a new line)
    ClippedAppend, // as TextAppend, cut off at x2, one text height high
    CentredAt,     // text centred on x (its width taken in whole mm), top at y
    FooterText,    // text centred in the footer band, top at y
    NewLine,       // down by the height of a blank in the current font, back to the margin
    MarkLine,      // remembers the current line in whole mm under `mark`
    SetMargin,     // the x a new line starts at
    LeaderTo,      // a line from the end of the previous text to x, just under the text
    CheckBox,      // a square after the previous drawing, with a tick when `ticked`
    BoxPen,        // pen of the frame boxes: the height of a blank in the current font / 24
    GreyBox,       // (x, y)-(x2, y2) filled grey, outlined with the box pen
    Frame,         // (x, y)-(x2, y2) outlined with the box pen, not filled
    Logo,          // the logo stretched into (x, y)-(x2, y2)
};

struct ReportStep {
    Step kind = Step::Font;
    int x = 0, y = 0, x2 = 0, y2 = 0;
    int mark = -1;
    // A text that would reach past this x (mm) is drawn narrower to end there, and cut off
    // there only when even that is not enough; 0 for none. It keeps long labels and item
    // texts from running into the next column.
    int fit = 0;
    std::string text;
    ReportFont font;
    bool ticked = false;
};

struct ReportPage {
    std::vector<ReportStep> steps;
};

struct Report {
    std::vector<ReportPage> pages;
};

// What the caller hands the report, besides the settings file.
struct ReportInput {
    Image image{};            // the working image (bytes from 256 on are ignored for 256)
    unsigned imageSize = 512; // 512 prints three pages, anything else two
    std::string subscriberText;
    std::string fileLine; // printed without any folder part
    std::string fileDateText;
    std::string printDateText;
};

// The whole report: [Print] layout and item texts come from `ini` (Values.ini).
Report BuildReport(const ReportInput& in, const KivoIni& ini);

// The texts of a page in drawing order (for tests and diagnostics).
std::vector<std::string> PageTexts(const ReportPage& page);

} // namespace kivo::report
