// The two-part information box.
#include "support/apptest.h"

#include "app/strtable.h"
#include "gui/common/information.h"
#include "gui/common/messages.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace kivo::gui::test {
namespace {

QRect In(const QWidget* w, const QWidget* top) {
    return QRect(w->mapTo(top, QPoint()), w->size());
}

TEST(Information, ShowsBothMessagesWithinTheBoxAndReplacesThemNextTime) {
    QWidget editor;
    editor.setGeometry(100, 80, 900, 700);
    editor.show();
    TfrmInformation box;

    bool checked = false;
    WhenModal([&](QWidget* modal) {
        EXPECT_EQ(modal, &box);
        EXPECT_EQ(box.lblMess1->text(), QStr(15004));
        // Three lines, with the string table's CR LF as line breaks.
        EXPECT_EQ(box.lblMess2->text().count(QLatin1Char('\n')), 2);
        EXPECT_FALSE(box.lblMess2->text().contains(QLatin1Char('\r')));
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Information"));
        EXPECT_EQ(box.btnOK->text(), QStringLiteral("&OK"));
        EXPECT_EQ(box.lblMess1->width(), box.width() * 83 / 100);

        // Nothing runs over an edge: the band holds the whole second message.
        const QRect inner = box.rect();
        EXPECT_TRUE(inner.contains(In(box.lblMess1, &box)));
        EXPECT_GE(box.lblMess1->height(), box.lblMess1->heightForWidth(box.lblMess1->width()));
        EXPECT_TRUE(In(box.Panel1, &box).contains(In(box.lblMess2, &box)));
        EXPECT_GE(box.lblMess2->height(), box.lblMess2->heightForWidth(box.lblMess2->width()));
        EXPECT_TRUE(inner.contains(In(box.Panel1, &box)));
        EXPECT_GT(In(box.btnOK, &box).top(), In(box.Panel1, &box).bottom());
        // OK in the middle; the box in the middle of the editor.
        EXPECT_LE(std::abs(box.btnOK->x() * 2 + box.btnOK->width() - box.width()), 1);
        const QPoint centre = editor.frameGeometry().center();
        EXPECT_LE((box.frameGeometry().center() - centre).manhattanLength(), 2);
        checked = true;
        box.btnOK->click();
    });
    box.ShowMessages(&editor, QStr(15004), QStr(15033));
    EXPECT_TRUE(checked);

    WhenModal([&](QWidget*) {
        EXPECT_EQ(box.lblMess1->text(), QStringLiteral("eins"));
        EXPECT_EQ(box.lblMess2->text(), QStringLiteral("zwei"));
        EXPECT_EQ(box.height(), 218); // back to its own size
        box.close();
    });
    box.ShowMessages(&editor, QStringLiteral("eins"), QStringLiteral("zwei"));
    EXPECT_FALSE(box.isVisible());
}

} // namespace
} // namespace kivo::gui::test
