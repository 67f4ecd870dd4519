// An exception that escapes an event handler is shown and the program goes on.
#include "support/apptest.h"

#include "gui/shell/application.h"

#include <QEvent>
#include <QWidget>

#include <stdexcept>

namespace kivo::gui::test {
namespace {

class Throwing : public QWidget {
public:
    int handled = 0;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("Datei kaputt: ü");
        if (e->type() == QEvent::User + 1) {
            ++handled;
            return true;
        }
        return QWidget::event(e);
    }
};

TEST(KivoApplication, ExceptionInAnEventHandlerIsShownAndTheLoopGoesOn) {
    ASSERT_NE(dynamic_cast<KivoApplication*>(QCoreApplication::instance()), nullptr);
    Throwing widget;
    QCoreApplication::postEvent(&widget, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&widget, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::processEvents();

    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
    EXPECT_EQ(Recorded().shown[0].text, QStringLiteral("Datei kaputt: ü"));
    EXPECT_EQ(widget.handled, 1); // the event after it was still delivered

    QEvent again(QEvent::User);
    QCoreApplication::sendEvent(&widget, &again);
    EXPECT_EQ(Recorded().shown.size(), 2u);
}

} // namespace
} // namespace kivo::gui::test
