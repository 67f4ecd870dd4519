#include "print/reportflow.h"

#include <gtest/gtest.h>

namespace kivo::report {
namespace {

// 10 px a character (12 bold), a line 4 px per point.
class FakeMetrics : public ReportMetrics {
public:
    int TextWidth(const std::string& text, const ReportFont& f) override {
        return static_cast<int>(text.size()) * (f.bold ? 12 : 10);
    }
    int LineHeight(const ReportFont& f) override { return f.points * 4; }
};

// 2000 x 2900 px: 9.52 px per mm across, 9.76 down, so every truncation shows.
constexpr Surface kSurface{2000, 2900};
int PxX(int mm) {
    return static_cast<int>(mm * 2000 / 210.0);
}
int PxY(int mm) {
    return static_cast<int>(mm * 2900 / 297.0);
}

ReportStep S(Step kind, int x = 0, int y = 0, const std::string& text = {}) {
    ReportStep s;
    s.kind = kind;
    s.x = x;
    s.y = y;
    s.text = text;
    return s;
}
ReportStep FontStep(int points, bool bold) {
    ReportStep s = S(Step::Font);
    s.font = {points, bold};
    return s;
}

std::vector<Mark> Lay(std::vector<ReportStep> steps) {
    FakeMetrics metrics;
    return LayOutPage(ReportPage{std::move(steps)}, metrics, kSurface);
}

TEST(ReportFlow, HeadingAndFooterAreCentredInWholeMillimetres) {
    const auto marks =
        Lay({FontStep(18, true), S(Step::CentredAt, 105, 23, "KIVO Programmierdaten"),
             FontStep(10, false), S(Step::FooterText, 0, 275, "Seite 1 von 2")});
    ASSERT_EQ(marks.size(), 2u);
    // 21 bold characters: 252 px = 26.46 mm -> 26 mm, half of it 13.
    EXPECT_EQ(marks[0].x, PxX(105 - 13));
    EXPECT_EQ(marks[0].y, PxY(23));
    // (2000 - 333 - 130) / 2 = 768 px = 80.64 mm -> 80 mm, + 20 mm.
    EXPECT_EQ(marks[1].x, PxX(100));
    EXPECT_EQ(marks[1].y, PxY(275));
}

TEST(ReportFlow, LinesFlowWithTheCurrentFontAndMarkedLines) {
    ReportStep mark = S(Step::MarkLine);
    mark.mark = 0;
    ReportStep atMark = S(Step::TextAt, 100, 0, "right");
    atMark.mark = 0;
    const auto marks =
        Lay({S(Step::SetMargin, 25), FontStep(11, true), S(Step::TextAt, 25, 73, "Title"),
             FontStep(9, false), S(Step::NewLine), S(Step::NewLine), S(Step::TextAppend, 0, 0, "a"),
             S(Step::TextAppend, 0, 0, "b"), S(Step::TextAtColumn, 80, 0, "c"), S(Step::NewLine),
             mark, atMark});
    ASSERT_EQ(marks.size(), 5u);
    const int line = 9 * 4; // after the title the body font sets the line height
    EXPECT_EQ(marks[1].y, PxY(73) + 2 * line);
    EXPECT_EQ(marks[1].x, PxX(25));
    EXPECT_EQ(marks[2].x, PxX(25) + 10); // appended where "a" ended
    EXPECT_EQ(marks[3].x, PxX(80));
    EXPECT_EQ(marks[3].y, marks[1].y);
    // The marked line is taken in whole millimetres.
    const int y = PxY(73) + 3 * line;
    EXPECT_EQ(marks[4].y, PxY(static_cast<int>(y / (2900 / 297.0))));
    EXPECT_LT(marks[4].y, y);
}

TEST(ReportFlow, LeaderAndCheckBox) {
    ReportStep ticked = S(Step::CheckBox);
    ticked.ticked = true;
    const auto marks =
        Lay({FontStep(9, false), S(Step::TextAt, 25, 100, "Label"), S(Step::LeaderTo, 90), ticked,
             S(Step::NewLine), S(Step::TextAppend, 0, 0, "x"), S(Step::LeaderTo, 90),
             S(Step::CheckBox)});
    const int h = 36, top = PxY(100);
    ASSERT_EQ(marks.size(), 8u); // text, leader, box, 2 tick strokes; text, leader, box
    EXPECT_EQ(marks[1].kind, MarkKind::Line);
    EXPECT_EQ((std::vector<int>{marks[1].x, marks[1].y, marks[1].x2, marks[1].y2, marks[1].pen}),
              (std::vector<int>{PxX(25) + 50, top + h * 9 / 10, PxX(90), top + h * 9 / 10, 1}));
    const int left = PxX(90) + h / 4, boxTop = top + h / 6, a = h * 3 / 4;
    EXPECT_EQ(marks[2].kind, MarkKind::Box);
    EXPECT_EQ((std::vector<int>{marks[2].x, marks[2].y, marks[2].x2, marks[2].y2, marks[2].pen}),
              (std::vector<int>{left, boxTop, left + a, boxTop + a, h / 16}));
    EXPECT_EQ((std::vector<int>{marks[3].x, marks[3].y, marks[3].x2, marks[3].y2, marks[3].pen}),
              (std::vector<int>{left, boxTop + a / 2, left + a / 3, boxTop + a, h / 10}));
    EXPECT_EQ((std::vector<int>{marks[4].x, marks[4].y, marks[4].x2, marks[4].y2}),
              (std::vector<int>{left + a / 3, boxTop + a, left + a, boxTop}));
    EXPECT_EQ(marks[7].kind, MarkKind::Box); // an empty box has no tick
}

TEST(ReportFlow, TextsThatWouldPassTheirColumnAreNarrowedThenCut) {
    ReportStep fits = S(Step::TextAt, 25, 100, std::string(50, 'x')); // 500 px
    fits.fit = 99;                                                    // room 942 - 238 px
    ReportStep narrowed = S(Step::TextAt, 25, 110, std::string(80, 'x'));
    narrowed.fit = 99; // 800 px -> 704 px
    ReportStep cut = S(Step::TextAt, 25, 120, std::string(200, 'x'));
    cut.fit = 99; // 2000 px, narrowest 1400 px, cut at 99 mm
    ReportStep file = S(Step::ClippedAppend, 0, 0, "name");
    file.x2 = 195;
    const auto marks = Lay({FontStep(9, false), fits, narrowed, cut, file});
    EXPECT_EQ(marks[0].squeeze, 1.0);
    EXPECT_FALSE(marks[0].clipped);
    EXPECT_NEAR(marks[1].squeeze, (PxX(99) - PxX(25)) / 800.0, 1e-9);
    EXPECT_FALSE(marks[1].clipped);
    EXPECT_EQ(marks[1].x2, PxX(99));
    EXPECT_EQ(marks[2].squeeze, kNarrowest);
    EXPECT_TRUE(marks[2].clipped);
    EXPECT_EQ(marks[2].x2, PxX(99));
    EXPECT_TRUE(marks[3].clipped); // the file line always ends at its edge
    EXPECT_EQ(marks[3].x2, PxX(195));
    EXPECT_EQ(marks[3].y2 - marks[3].y, 36);
}

TEST(ReportFlow, BoxesUseThePenOfTheHeadingFont) {
    ReportStep grey = S(Step::GreyBox, 20, 45);
    grey.x2 = 195;
    grey.y2 = 63;
    const auto marks = Lay({FontStep(18, false), S(Step::BoxPen), grey});
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].kind, MarkKind::GreyBox);
    EXPECT_EQ((std::vector<int>{marks[0].x, marks[0].y, marks[0].x2, marks[0].y2, marks[0].pen}),
              (std::vector<int>{PxX(20), PxY(45), PxX(195), PxY(63), 72 / 24}));
}

} // namespace
} // namespace kivo::report
