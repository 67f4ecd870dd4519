#include "gui/guided/wizardpictures.h"

#include <QPainter>

namespace kivo::gui {

QStringList WizardPictures() {
    // In the order of the pages that show them: welcome, the six transmitter kinds, the test
    // alarm, the unit's own alarms, the receiving centre, transmitters, night, saving and
    // programming.
    static const char* const names[] = {
        "welcome",    "pendant",      "smoke",       "door",        "bed",      "motion",
        "daybutton",  "testalarm",    "mains",       "accumulator", "reminder", "extrabutton",
        "assistance", "interference", "alarmbutton", "speaker",     "centre",   "transmitters",
        "night",      "save",         "program"};
    QStringList list;
    for (const char* name : names)
        list << QStringLiteral(":/artwork/wizard_%1.svg").arg(QLatin1String(name));
    return list;
}

PagePicture::PagePicture(QSize size, QWidget* parent) : QWidget(parent) {
    setFixedSize(size);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PagePicture::SetResource(const QString& resource) {
    if (resource == resource_) return;
    resource_ = resource;
    if (resource.isEmpty() || !renderer_.load(resource)) renderer_.load(QByteArray());
    update();
}

void PagePicture::paintEvent(QPaintEvent*) {
    if (!renderer_.isValid()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_.render(&painter, QRectF(rect()));
}

} // namespace kivo::gui
