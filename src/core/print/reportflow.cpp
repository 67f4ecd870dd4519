#include "print/reportflow.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kivo::report {

namespace {

// Pixels as int, held far inside int's range whatever the settings say.
int Px(double v) {
    return static_cast<int>(std::clamp(v, -1e8, 1e8));
}

class Flow {
public:
    Flow(ReportMetrics& metrics, Surface s)
        : metrics_(metrics), surface_(s), sx_(s.width / 210.0), sy_(s.height / 297.0) {}

    int PxX(int mm) const { return Px(mm * sx_); }
    int PxY(int mm) const { return Px(mm * sy_); }
    int MmX(int px) const { return Px(px / sx_); }
    int MmY(int px) const { return Px(px / sy_); }
    int LineHeight() { return metrics_.LineHeight(font_); }

    void Run(const ReportStep& s) {
        switch (s.kind) {
        case Step::Font:
            font_ = s.font;
            break;
        case Step::TextAt:
            Text(PxX(s.x), s.mark >= 0 ? PxY(Marked(s.mark)) : PxY(s.y), s.text, s.fit);
            break;
        case Step::TextAtColumn:
            Text(PxX(s.x), y_, s.text, s.fit);
            break;
        case Step::TextAppend:
            Text(x_, y_, s.text, s.fit);
            break;
        case Step::ClippedAppend: {
            Mark& m = Text(x_, y_, s.text, s.fit);
            if (!m.clipped) { // else already cut off at its fit edge, inside this one
                m.clipped = true;
                m.x2 = PxX(s.x2);
            }
            break;
        }
        case Step::CentredAt: {
            const int w = MmX(metrics_.TextWidth(s.text, font_));
            Text(PxX(s.x - w / 2), PxY(s.y), s.text);
            break;
        }
        case Step::FooterText: {
            const int w = metrics_.TextWidth(s.text, font_);
            Text(PxX(MmX((surface_.width - PxX(35) - w) / 2) + 20), PxY(s.y), s.text);
            break;
        }
        case Step::NewLine:
            y_ = Px(double(y_) + LineHeight());
            x_ = PxX(margin_);
            break;
        case Step::MarkLine:
            if (s.mark >= 0 && s.mark < static_cast<int>(markedLines_.size()))
                markedLines_[s.mark] = MmY(y_);
            break;
        case Step::SetMargin:
            margin_ = s.x;
            break;
        case Step::LeaderTo: {
            const int h = LineHeight();
            const int y = y_ + h * 9 / 10;
            Line(penX_, y, PxX(s.x), y, h / 24);
            x_ = penX_ = PxX(s.x);
            break;
        }
        case Step::CheckBox:
            CheckBox(s.ticked);
            break;
        case Step::BoxPen:
            boxPen_ = std::max(1, LineHeight() / 24);
            break;
        case Step::GreyBox:
        case Step::Frame:
        case Step::Logo: {
            Mark m;
            m.kind = s.kind == Step::GreyBox ? MarkKind::GreyBox
                     : s.kind == Step::Frame ? MarkKind::Box
                                             : MarkKind::Logo;
            m.x = PxX(s.x);
            m.y = PxY(s.y);
            m.x2 = PxX(s.x2);
            m.y2 = PxY(s.y2);
            m.pen = boxPen_;
            out_.push_back(m);
            break;
        }
        }
    }

    std::vector<Mark> Take() { return std::move(out_); }

private:
    // Draws a text at (x, y); with a fit edge (mm) a text that would pass it is squeezed to
    // end there, down to kNarrowest, and cut off there beyond that.
    Mark& Text(int x, int y, const std::string& text, int fitMm = 0) {
        Mark m;
        m.kind = MarkKind::Text;
        m.x = x;
        m.y = y;
        int w = text.empty() ? 0 : metrics_.TextWidth(text, font_);
        if (fitMm > 0 && w > 0) {
            const int room = PxX(fitMm) - x;
            if (w > room) {
                m.squeeze = std::max(kNarrowest, room > 0 ? double(room) / w : 0.0);
                const double narrow = w * m.squeeze;
                m.clipped = narrow > room;
                w = m.clipped ? std::max(room, 0) : Px(std::ceil(narrow));
            }
        }
        m.x2 = Px(double(x) + w);
        m.y2 = Px(double(y) + LineHeight());
        m.text = text;
        m.font = font_;
        x_ = penX_ = m.x2;
        y_ = y;
        out_.push_back(m);
        return out_.back();
    }

    void Line(int x, int y, int x2, int y2, int pen) {
        Mark m;
        m.kind = MarkKind::Line;
        m.x = x;
        m.y = y;
        m.x2 = x2;
        m.y2 = y2;
        m.pen = std::max(1, pen);
        out_.push_back(m);
    }

    void CheckBox(bool ticked) {
        const int h = LineHeight();
        const int a = h * 3 / 4;
        const int left = penX_ + h / 4, top = y_ + h / 6;
        Mark box;
        box.kind = MarkKind::Box;
        box.x = left;
        box.y = top;
        box.x2 = left + a;
        box.y2 = top + a;
        box.pen = std::max(1, h / 16);
        out_.push_back(box);
        if (ticked) {
            Line(left, top + a / 2, left + a / 3, top + a, h / 10);
            Line(left + a / 3, top + a, left + a, top, h / 10);
        }
    }

    int Marked(int mark) const {
        return mark < static_cast<int>(markedLines_.size()) ? markedLines_[mark] : 0;
    }

    ReportMetrics& metrics_;
    Surface surface_;
    double sx_, sy_;
    ReportFont font_;
    int margin_ = 25;
    int x_ = 0, y_ = 0; // current position
    int penX_ = 0;      // where the previous drawing ended
    int boxPen_ = 1;
    std::array<int, 4> markedLines_{};
    std::vector<Mark> out_;
};

} // namespace

std::vector<Mark> LayOutPage(const ReportPage& page, ReportMetrics& metrics, Surface surface) {
    if (surface.width <= 0 || surface.height <= 0) return {};
    Flow flow(metrics, surface);
    for (const ReportStep& s : page.steps) flow.Run(s);
    return flow.Take();
}

} // namespace kivo::report
