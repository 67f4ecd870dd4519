// The real message box: a text with line breaks of its own keeps them without further breaks,
// and the box has room for its title.
#include "support/apptest.h"

#include "app/strtable.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <cstdlib>

namespace kivo::gui::test {
namespace {

TEST(MessageBox, ATextWithItsOwnLinesIsShownLineForLine) {
    Messages::Install(nullptr);
    int labelWidth = 0, widest = 0, boxWidth = 0, titleWidth = 0;
    QTimer::singleShot(100, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        const QFontMetrics metrics(label->font());
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        labelWidth = label->width();
        boxWidth = box->width();
        titleWidth = metrics.horizontalAdvance(box->windowTitle());
        if (const char* where = std::getenv("KIVO_TEST_PICTURES"))
            box->grab().save(QString::fromLocal8Bit(where) + "/box15101.png");
        QTest::keyClick(box, Qt::Key_Return);
    });
    Messages::Show(nullptr, MsgKind::Error, 15101);
    Messages::Install(&Recorded());
    EXPECT_GE(labelWidth, widest); // no line of its own is broken again
    EXPECT_GT(boxWidth, titleWidth + 80);
}

} // namespace
} // namespace kivo::gui::test
