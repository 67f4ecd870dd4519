// Turns a page's steps into marks at device pixels on the printable area, measuring texts
// through the caller's font metrics. Millimetres of an A4 page map onto the printable area
// (x px = x mm * width / 210, y px = y mm * height / 297), and every conversion between
// millimetres and pixels drops the fraction.
#pragma once

#include "print/reportmodel.h"

#include <vector>

namespace kivo::report {

// Text measurement in device pixels, by whoever draws.
class ReportMetrics {
public:
    virtual ~ReportMetrics() = default;
    virtual int TextWidth(const std::string& text, const ReportFont& font) = 0;
    // The height of a blank in that font: the report's line height.
    virtual int LineHeight(const ReportFont& font) = 0;
};

enum class MarkKind {
    Text,    // text with its top left at (x, y); x2/y2 its extent; clipped when `clipped`
    Line,    // from (x, y) to (x2, y2)
    Box,     // rectangle outline
    GreyBox, // rectangle filled grey and outlined
    Logo,    // the logo stretched into (x, y)-(x2, y2)
};

struct Mark {
    MarkKind kind = MarkKind::Text;
    int x = 0, y = 0, x2 = 0, y2 = 0;
    int pen = 1; // pen width in pixels for lines and outlines
    std::string text;
    ReportFont font;
    bool clipped = false; // draw only inside (x, y)-(x2, y2)
    double squeeze = 1.0; // horizontal scale of the text, below 1 to fit its column
};

// The narrowest a text is drawn to fit its column; what is still too wide is cut off.
constexpr double kNarrowest = 0.7;

// The printable area in device pixels; each must be positive.
struct Surface {
    int width = 0, height = 0;
};

std::vector<Mark> LayOutPage(const ReportPage& page, ReportMetrics& metrics, Surface surface);

} // namespace kivo::report
