// The program's drawings (SVG in the artwork resource), drawn at whatever size their box has,
// so they stay sharp on any screen.
#pragma once

#include <QIcon>
#include <QSvgRenderer>
#include <QWidget>

namespace kivo::gui {

// Resource paths of the drawings.
inline constexpr const char* kUnitPicture = ":/artwork/kivo_unit.svg";
inline constexpr const char* kInfoPicture = ":/artwork/info.svg";

// A fixed-size box that shows one drawing stretched to fill it.
class SvgPicture : public QWidget {
public:
    SvgPicture(const QString& resource, QSize size, QWidget* parent = nullptr);
    bool IsValid() const { return renderer_.isValid(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer renderer_;
};

// The unit's drawing as the program's window icon.
QIcon ProgramIcon();

} // namespace kivo::gui
