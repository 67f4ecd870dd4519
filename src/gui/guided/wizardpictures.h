// The wizard's drawings: the 21 page pictures (112 x 160) that the start window keeps in its
// image list, the wizard's logo, and the box on the left of the wizard that shows one of them.
#pragma once

#include <QStringList>
#include <QSvgRenderer>
#include <QWidget>

namespace kivo::gui {

inline constexpr const char* kWizardLogo = ":/artwork/wizard_logo.svg";

// Resource paths of the page pictures, index 0..20.
QStringList WizardPictures();

// A fixed-size box that shows one drawing stretched to fill it; the drawing can change.
class PagePicture : public QWidget {
public:
    PagePicture(QSize size, QWidget* parent = nullptr);
    // An empty or unknown resource leaves the box empty.
    void SetResource(const QString& resource);
    const QString& Resource() const { return resource_; }
    bool IsValid() const { return renderer_.isValid(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString resource_;
    QSvgRenderer renderer_;
};

} // namespace kivo::gui
