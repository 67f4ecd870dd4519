// The pages of the report, step by step. The page breaks are fixed: a section that runs past
// the frame is neither moved nor cut.
#include "app/strtable.h"
#include "data/codec.h"
#include "data/fileio.h"
#include "print/reportlayout.h"
#include "print/reportmodel.h"
#include "print/reportrows.h"

namespace kivo::report {

namespace {

constexpr int kMargin = 25;
constexpr int kInnerRight = 193; // texts end inside the frame (20..195 mm)
constexpr int kGap = 2;          // between a text and the next column
constexpr int kInfoLeftFit = 100 - kGap;
constexpr ReportFont kBody{9, false};
constexpr ReportFont kTitle{11, true};
constexpr ReportFont kInfo{10, false};
constexpr ReportFont kInfoLabel{10, true};
constexpr int kLeftTop = 0, kLeftBottom = 1, kAlarmTypesTop = 2; // marked lines

struct Cell {
    int x;
    std::string text;
};

// Appends the steps of one page; each call is one of the layout primitives. `fit` is the x
// (mm) a text has to end before.
class PageWriter {
public:
    explicit PageWriter(ReportPage& page) : page_(page) {}

    void Font(ReportFont f) {
        ReportStep s = Make(Step::Font);
        s.font = f;
        Add(s);
    }
    void TextAt(int x, int y, const std::string& text, int fit = 0) {
        Add(Make(Step::TextAt, x, y, text, fit));
    }
    void TextAtMark(int x, int mark, const std::string& text, int fit) {
        ReportStep s = Make(Step::TextAt, x, 0, text, fit);
        s.mark = mark;
        Add(s);
    }
    void Column(int x, const std::string& text, int fit) {
        Add(Make(Step::TextAtColumn, x, 0, text, fit));
    }
    void Append(const std::string& text, int fit) { Add(Make(Step::TextAppend, 0, 0, text, fit)); }
    void NewLine(int count = 1) {
        for (int i = 0; i < count; ++i) Add(Make(Step::NewLine));
    }
    void Mark(int mark) {
        ReportStep s = Make(Step::MarkLine);
        s.mark = mark;
        Add(s);
    }
    void Margin(int x) {
        margin_ = x;
        Add(Make(Step::SetMargin, x));
    }
    void Leader(int x) { Add(Make(Step::LeaderTo, x)); }
    void Box(bool ticked) {
        ReportStep s = Make(Step::CheckBox);
        s.ticked = ticked;
        Add(s);
    }
    void Rect(Step kind, int x, int y, int x2, int y2) {
        ReportStep s = Make(kind, x, y);
        s.x2 = x2;
        s.y2 = y2;
        Add(s);
    }
    void Add(ReportStep s) { page_.steps.push_back(std::move(s)); }

    // One line of a table, then a new line: a cell at the margin is appended there, every
    // other one placed at its column, each ending before the next begins (the last before
    // `lastFit`).
    void Cells(const std::vector<Cell>& cells, int lastFit = kInnerRight) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int fit = i + 1 < cells.size() ? cells[i + 1].x - kGap : lastFit;
            if (i == 0 && cells[i].x == margin_)
                Append(cells[i].text, fit);
            else
                Column(cells[i].x, cells[i].text, fit);
        }
        NewLine();
    }

    // A section title in 11 point bold; the body font follows.
    void TitleAt(int x, int y, int id) {
        Font(kTitle);
        TextAt(x, y, BodyText(id), kInnerRight);
        Font(kBody);
    }
    void TitleAtMark(int x, int mark, int id, int fit) {
        Font(kTitle);
        TextAtMark(x, mark, BodyText(id), fit);
        Font(kBody);
    }
    void TitleAppend(int id) {
        Font(kTitle);
        Append(BodyText(id), kInnerRight);
        Font(kBody);
    }

    static ReportStep Make(Step kind, int x = 0, int y = 0, const std::string& text = {},
                           int fit = 0) {
        ReportStep s;
        s.kind = kind;
        s.x = x;
        s.y = y;
        s.text = text;
        s.fit = fit;
        return s;
    }

private:
    ReportPage& page_;
    int margin_ = kMargin;
};

struct Context {
    const ReportInput& in;
    const KivoIni& ini;
    PrintLayout layout;
    std::string letters; // call-type letters, index = destination code
    std::string serial, manufactured;

    std::uint8_t Byte(mm::Addr a) const { return in.image[a]; }
};

void ValueRows(PageWriter& w, const Context& c, const std::vector<ValueRow>& rows, int valueX,
               int valueFit = kInnerRight) {
    for (const ValueRow& r : rows)
        w.Cells({{kMargin, BodyText(r.label)},
                 {valueX, ValueText(r.format, c.Byte(r.addr), c.ini, r.section)}},
                valueFit);
}

void Frame(PageWriter& w, const Context& c, int page, int pages) {
    const PrintLayout& l = c.layout;
    w.Font({l.headingSize, true});
    if (l.headingLeft != -1)
        w.TextAt(l.headingLeft, l.headingTop, Str(13901));
    else
        w.Add(PageWriter::Make(Step::CentredAt, l.headingCentre, l.headingTop, Str(13901)));
    w.Font({l.headingSize, false});
    w.Add(PageWriter::Make(Step::BoxPen));
    w.Rect(Step::GreyBox, 20, 45, 195, 63);
    w.Rect(Step::Frame, 20, 68, 195, 267);
    w.Rect(Step::GreyBox, 20, 272, 195, 282);

    w.Font(kInfo);
    w.Add(PageWriter::Make(Step::FooterText, 0, 275,
                           FormatText(Str(13908), {std::to_string(page), std::to_string(pages)})));

    // Three lines of two label-value pairs, labels bold (with their trailing blank), values
    // plain; the left pairs end before the right ones start at 100 mm.
    auto left = [&w](int label, const std::string& value) {
        w.Font(kInfoLabel);
        w.Append(Str(label), kInfoLeftFit);
        w.Font(kInfo);
        w.Append(value, kInfoLeftFit);
    };
    auto right = [&w](int label) {
        w.Font(kInfoLabel);
        w.Column(100, Str(label), kInnerRight);
        w.Font(kInfo);
    };
    w.Font(kInfoLabel);
    w.TextAt(25, 48, Str(13902), kInfoLeftFit);
    w.Font(kInfo);
    w.Append(c.in.subscriberText, kInfoLeftFit);
    right(13905);
    w.Append(c.in.printDateText, kInnerRight);
    w.NewLine();
    left(13903, c.serial);
    right(13906);
    ReportStep file =
        PageWriter::Make(Step::ClippedAppend, 0, 0, NameOf(c.in.fileLine), kInnerRight);
    file.x2 = 195;
    w.Add(file);
    w.NewLine();
    left(13904, c.manufactured);
    right(13907);
    w.Append(c.in.fileDateText, kInnerRight);
}

void PageOne(PageWriter& w, const Context& c) {
    w.TitleAt(kMargin, 73, 13111); // Funksender
    w.NewLine(2);
    w.Cells({{25, BodyText(13921)},
             {38, BodyText(13922)},
             {53, BodyText(13923)},
             {105, BodyText(13924)}});
    for (int n = 1; n <= mm::kTransmitters; ++n)
        w.Cells({{25, std::to_string(n)},
                 {38, RadioText(c.in.image, n)},
                 {53, ItemText(c.ini, "AlarmType", c.Byte(mm::AlarmTypePos1 + n - 1))},
                 {105, SupervisionText(c.in.image, n)}});
    w.NewLine(2);

    w.TitleAppend(13122); // Ruftypen
    w.NewLine(2);
    w.Cells({{30, BodyText(13927)},
             {65, BodyText(13928)},
             {100, BodyText(13929)},
             {135, BodyText(13930)}});
    for (int k = 0; k < mm::kDestinations; ++k) {
        const auto letter = static_cast<std::uint8_t>(k + 1); // letters 1..6: A B C D N U
        w.Cells({{25, FormatText("%c:", {SequenceLetterText(c.letters, letter)})},
                 {30, PhoneToText(&c.in.image[mm::PhoneAddr(k)])},
                 {65, AlarmCodeToText(&c.in.image[mm::AlarmCodeAddr(k)])},
                 {100, ItemText(c.ini, "Protocol", c.Byte(mm::ProtocolA + k))},
                 {135, std::to_string(c.Byte(mm::CallAttemptsA + k))}});
    }
    w.NewLine(2);

    // Two columns side by side: the alarm groups' sequences and the sequence definitions.
    w.Mark(kLeftTop);
    w.TitleAtMark(kMargin, kLeftTop, 13115, 100 - kGap);
    w.NewLine(2);
    ValueRows(w, c, SequenceGroupRows(), 80, 100 - kGap);
    w.NewLine(2);
    w.Mark(kLeftBottom);

    w.Margin(100);
    w.TitleAtMark(100, kLeftTop, 13116, kInnerRight);
    w.NewLine(2);
    for (int s = 0; s < mm::kSequences; ++s) {
        std::vector<Cell> cells{
            {100, FormatText("%s %d:", {BodyText(13931), std::to_string(s + 1)})}};
        for (int step = 0; step < mm::kSequenceSteps; ++step)
            cells.push_back({130 + 5 * step,
                             SequenceLetterText(c.letters, c.Byte(mm::SequenceStepAddr(s, step)))});
        w.Cells(cells);
    }
    w.NewLine();
    w.Cells({{100, BodyText(13153)}, {170, std::to_string(c.Byte(mm::RepeatSequence))}});
    w.Cells({{100, BodyText(13154)}, {170, std::to_string(c.Byte(mm::MaxCallAttempts))}});
    w.NewLine();
    w.Margin(kMargin);

    w.TitleAtMark(kMargin, kLeftBottom, 13123, kInnerRight); // Zeiten
    w.NewLine(2);
    ValueRows(w, c, TimeRows(), 100);
}

// One column of alarm types: title and "An/Aus", then each label with a leader to its box.
void AlarmTypeColumn(PageWriter& w, const Context& c, const std::vector<BoxRow>& rows, int x,
                     int onOffX, int onOffFit, int leaderX, bool lineAfterLast) {
    w.Font(kTitle);
    w.TextAtMark(x, kAlarmTypesTop, BodyText(13302), onOffX - kGap);
    w.Column(onOffX, BodyText(13933), onOffFit);
    w.Font(kBody);
    w.NewLine(2);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        w.Append(BodyText(rows[i].label), leaderX - 2);
        w.Leader(leaderX);
        w.Box((c.Byte(rows[i].addr) & mm::FlagActive) != 0);
        if (lineAfterLast || i + 1 < rows.size()) w.NewLine();
    }
}

void PageTwo(PageWriter& w, const Context& c) {
    w.TitleAt(kMargin, 73, 13124); // Signailisierungen
    w.NewLine(2);
    ValueRows(w, c, SignalRows(), 100);
    w.NewLine(2);

    w.TitleAppend(13105); // Rufparameter
    w.NewLine(2);
    ValueRows(w, c, CallParameterRows(), 100);
    w.NewLine(2);

    w.Mark(kAlarmTypesTop);
    AlarmTypeColumn(w, c, AlarmTypeRowsLeft(), kMargin, 85, 110 - kGap, 90, true);
    w.Margin(110);
    AlarmTypeColumn(w, c, AlarmTypeRowsRight(), 110, 175, kInnerRight, 180, false);
}

void PageThree(PageWriter& w, const Context& c) {
    w.TitleAt(kMargin, 73, 13130); // Funktionen
    w.NewLine(2);
    ValueRows(w, c, FunctionRows(), 100);
}

} // namespace

Report BuildReport(const ReportInput& in, const KivoIni& ini) {
    Context c{in,
              ini,
              ReadPrintLayout(ini),
              Str(15034),
              SerialNumberText(in.image),
              ManufactureDateText(in.image)};
    const int pages = in.imageSize == mm::kLargeImage ? 3 : 2;
    Report report;
    report.pages.resize(static_cast<std::size_t>(pages));
    void (*const contents[])(PageWriter&, const Context&) = {PageOne, PageTwo, PageThree};
    for (int p = 0; p < pages; ++p) {
        PageWriter w(report.pages[static_cast<std::size_t>(p)]);
        w.Margin(kMargin);
        Frame(w, c, p + 1, pages);
        w.Rect(Step::Logo, c.layout.logoLeft, c.layout.logoTop, c.layout.logoRight,
               c.layout.logoBottom);
        w.Font(kBody);
        contents[p](w, c);
    }
    return report;
}

std::vector<std::string> PageTexts(const ReportPage& page) {
    std::vector<std::string> texts;
    for (const ReportStep& s : page.steps)
        if (!s.text.empty()) texts.push_back(s.text);
    return texts;
}

} // namespace kivo::report
