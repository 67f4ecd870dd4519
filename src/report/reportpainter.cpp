#include "report/reportpainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <map>

namespace kivo {

namespace {

using report::Mark;
using report::MarkKind;

// Measures with the fonts as the device will draw them.
class DeviceMetrics : public report::ReportMetrics {
public:
    explicit DeviceMetrics(const QPaintDevice* device) : device_(device) {}

    int TextWidth(const std::string& text, const report::ReportFont& font) override {
        return For(font).horizontalAdvance(QString::fromStdString(text));
    }
    int LineHeight(const report::ReportFont& font) override { return For(font).height(); }

    const QFontMetrics& For(const report::ReportFont& font) {
        auto key = std::make_pair(font.points, font.bold);
        auto it = cache_.find(key);
        if (it == cache_.end())
            it = cache_.emplace(key, QFontMetrics(ReportQFont(font), device_)).first;
        return it->second;
    }

private:
    const QPaintDevice* device_;
    std::map<std::pair<int, bool>, QFontMetrics> cache_;
};

QRect RectOf(const Mark& m) {
    return QRect(m.x, m.y, m.x2 - m.x, m.y2 - m.y);
}

void Draw(QPainter& p, DeviceMetrics& metrics, const Mark& m, const QImage& logo) {
    switch (m.kind) {
    case MarkKind::Text: {
        if (m.text.empty()) return;
        p.setFont(ReportQFont(m.font));
        const int baseline = m.y + metrics.For(m.font).ascent();
        p.save();
        if (m.clipped) p.setClipRect(RectOf(m));
        p.translate(m.x, baseline);
        if (m.squeeze < 1.0) p.scale(m.squeeze, 1.0); // narrowed to fit its column
        p.drawText(0, 0, QString::fromStdString(m.text));
        p.restore();
        return;
    }
    case MarkKind::Line:
        p.setPen(QPen(Qt::black, m.pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(m.x, m.y, m.x2, m.y2);
        return;
    case MarkKind::Box:
    case MarkKind::GreyBox:
        p.setPen(QPen(Qt::black, m.pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(m.kind == MarkKind::GreyBox ? QBrush(QColor(0xC0, 0xC0, 0xC0)) : QBrush());
        p.drawRect(RectOf(m));
        p.setBrush(QBrush());
        return;
    case MarkKind::Logo: {
        // An edge before its opposite edge stretches the logo between the two edges.
        const QRect r = RectOf(m).normalized();
        if (!logo.isNull() && r.width() > 0 && r.height() > 0) p.drawImage(r, logo);
        return;
    }
    }
}

} // namespace

QFont ReportQFont(const report::ReportFont& font) {
    // The layout's positions were made for the common sans-serif of the units' home platform;
    // Liberation Sans has its metrics, so the texts fit without narrowing. DejaVu Sans is
    // wider and only the last resort.
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                   QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    // No ligatures: "fi" stays two letters, so the PDF's words can be found by a search.
    f.setStyleStrategy(QFont::PreferNoShaping);
    f.setPointSize(font.points);
    f.setBold(font.bold);
    return f;
}

bool PaintReport(const report::Report& report, const QImage& logo, QPagedPaintDevice& device,
                 int copies) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.setPen(Qt::black);
    DeviceMetrics metrics(&device);
    const report::Surface surface{device.width(), device.height()};
    bool first = true;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (const report::ReportPage& page : report.pages) {
            if (!first && !device.newPage()) {
                painter.end();
                return false;
            }
            first = false;
            for (const Mark& m : report::LayOutPage(page, metrics, surface))
                Draw(painter, metrics, m, logo);
        }
    }
    return painter.end();
}

} // namespace kivo
