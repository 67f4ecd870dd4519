#include "gui/common/updown.h"

#include "editor/binding.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kivo::gui {

UpDown::UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), associate_(associate), minimum_(minimum), maximum_(maximum) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const int height = associate->sizeHint().height() / 2;
    for (Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, height);
        layout->addWidget(button);
        const int delta = arrow == Qt::UpArrow ? 1 : -1;
        connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
    }
    setFixedSize(16, 2 * height);
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
}

void UpDown::Step(int delta) {
    // Like a spinner bound to its field: the field's number is the position when it reads as
    // one inside the bounds, so typed values are stepped from.
    const QString text = associate_->text();
    const long typed = conv::ReadNumber(text.toStdString());
    if (!text.isEmpty() && typed >= minimum_ && typed <= maximum_)
        position_ = static_cast<int>(typed);
    SetPosition(position_ + delta);
    associate_->setText(QString::number(position_));
}

} // namespace kivo::gui
