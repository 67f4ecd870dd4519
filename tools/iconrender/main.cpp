// iconrender: draws an SVG into square PNG files for the desktop's icon theme, at build time.
//   iconrender DRAWING.svg SIZE OUT.png [SIZE OUT.png ...]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: iconrender DRAWING.svg SIZE OUT.png [SIZE OUT.png ...]\n");
        return 2;
    }
    // No display is needed to paint into an image; a build machine may have none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer{QString::fromLocal8Bit(argv[1])};
    if (!renderer.isValid()) {
        std::fprintf(stderr, "iconrender: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        const int side = std::atoi(argv[i]);
        if (side < 8 || side > 1024) {
            std::fprintf(stderr, "iconrender: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "iconrender: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
