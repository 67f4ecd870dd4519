#!/usr/bin/env bash
# Renders Tavralogo.svg into ../Tavralogo.bmp (256 x 256 pixels, 8-bit palette) with Qt's SVG
# renderer. Run by hand after changing the drawing; the build only copies the bitmap.
# Needs g++, pkg-config and the Qt 6 Svg development files.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cat >"$tmp/render.cpp" <<'CPP'
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The drawing's colours and, between each pair of them, the shades of its smoothed edges:
// a small palette that keeps the edges smooth in an 8-bit bitmap.
static QList<QRgb> Palette() {
    const QColor base[] = {QColor("#ffffff"), QColor("#1d5a9e"), QColor("#e03a3e")};
    QList<QRgb> table;
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 3; ++b)
            for (int step = 0; step <= 32; ++step) {
                const double t = step / 32.0;
                table.append(qRgb(int(base[a].red() * (1 - t) + base[b].red() * t + 0.5),
                                  int(base[a].green() * (1 - t) + base[b].green() * t + 0.5),
                                  int(base[a].blue() * (1 - t) + base[b].blue() * t + 0.5)));
            }
    return table;
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) return 2;
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) return 1;
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    const QImage indexed =
        image.convertToFormat(QImage::Format_Indexed8, Palette(), Qt::ThresholdDither);
    return indexed.save(QString::fromLocal8Bit(argv[2]), "BMP") ? 0 : 1;
}
CPP
# shellcheck disable=SC2046
g++ -std=c++17 -fPIC "$tmp/render.cpp" -o "$tmp/render" $(pkg-config --cflags --libs Qt6Svg Qt6Gui)
QT_QPA_PLATFORM=offscreen "$tmp/render" "$here/Tavralogo.svg" "$here/../Tavralogo.bmp"
echo "wrote $(cd "$here/.." && pwd)/Tavralogo.bmp"
