#include "gui/common/picture.h"

#include <QPainter>
#include <QPixmap>

namespace kivo::gui {

SvgPicture::SvgPicture(const QString& resource, QSize size, QWidget* parent)
    : QWidget(parent), renderer_(resource) {
    setFixedSize(size);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SvgPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, QRectF(rect()));
}

QIcon ProgramIcon() {
    QSvgRenderer renderer{QString::fromLatin1(kUnitPicture)};
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace kivo::gui
