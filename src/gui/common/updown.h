// A spinner beside a numeric field: two arrow buttons that step the number in the field
// between a lower and an upper bound, without wrapping.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kivo::gui {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent = nullptr);

    int Position() const { return position_; }
    void SetPosition(int position);
    // One step up (+1) or down (-1) from the number in the field, written into the field.
    void Step(int delta);
    QLineEdit* Associate() const { return associate_; }

private:
    QLineEdit* associate_;
    int minimum_;
    int maximum_;
    int position_ = 0;
};

} // namespace kivo::gui
