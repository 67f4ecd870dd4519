// The editor's tool dialogs as the user sees them: designed sizes, every text whole, nothing
// sticking out or overlapping. With KIVO_SCREENSHOT_DIR set, each dialog is also saved there
// as a picture for looking at.
#include "editorfixture.h"

#include "gui/editor/alarmtypes.h"
#include "gui/editor/selectdirectory.h"
#include "gui/editor/selecthomeaway.h"
#include "gui/editor/viewdefault.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <cstdlib>

namespace kivo::gui::test {
namespace {

std::string Describe(const QWidget* w) {
    return std::string(w->metaObject()->className()) + " " + w->objectName().toStdString() + " '" +
           w->property("text").toString().toStdString() + "'";
}

// Every text of `dialog` shown whole.
void ExpectTextsFit(QDialog* dialog) {
    std::vector<QWidget*> shown;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog) || w->objectName().startsWith("qt_")) continue;
        if (w->parentWidget()->inherits("QAbstractScrollArea")) continue; // a memo's own parts
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->wordWrap()) {
            EXPECT_GE(w->height(), label->heightForWidth(w->width())) << Describe(w);
        } else if (label || qobject_cast<QAbstractButton*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width()) << Describe(w);
            EXPECT_GE(w->height(), w->sizeHint().height()) << Describe(w);
        } else if (qobject_cast<QGroupBox*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << Describe(w);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
            // Every line of the memo in its visible area: nothing to scroll to.
            EXPECT_EQ(memo->verticalScrollBar()->maximum(), 0) << Describe(w);
            EXPECT_EQ(memo->horizontalScrollBar()->maximum(), 0) << Describe(w);
        }
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
            << Describe(w) << " sticks out of " << Describe(w->parentWidget());
        shown.push_back(w);
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            if (shown[i]->parentWidget() == shown[j]->parentWidget()) {
                EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                    << Describe(shown[i]) << " overlaps " << Describe(shown[j]);
            }
}

void SaveShot(QWidget* window, const char* name) {
    const char* dir = std::getenv("KIVO_SCREENSHOT_DIR");
    if (!dir) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    window->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

class LayoutTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ctx.windows.Register(Role::Editor, editor.get());
    }
    void TearDown() override {
        ctx.windows.Clear();
        EditorTest::TearDown();
    }
    // Shows `dialog` without its modal loop, checks it and puts it away.
    // `wider`: the texts of this dialog need more than its designed width at this font.
    void CheckDialog(QDialog* dialog, QSize designed, const char* name, bool wider = false) {
        dialog->show();
        QApplication::processEvents();
        if (wider)
            EXPECT_GT(dialog->width(), designed.width()) << name;
        else
            EXPECT_EQ(dialog->width(), designed.width()) << name;
        EXPECT_EQ(dialog->height(), designed.height()) << name;
        ExpectTextsFit(dialog);
        SaveShot(dialog, name);
        dialog->hide();
    }
};

TEST_F(LayoutTest, AlarmTypes) {
    editor->Data().image[0xA1] = 0xC6;
    TfrmAlarmTypes dialog(ctx);
    CheckDialog(&dialog, QSize(776, 521), "frmAlarmTypes");
    // The headings of a column stand over its boxes, on both halves.
    for (const char* side : {"L", "R"}) {
        auto* heading = dialog.findChild<QLabel*>(QStringLiteral("lblReset") + side);
        const unsigned addr = side == std::string("L") ? 0x90 : 0x9D;
        QCheckBox* box = dialog.Box(addr, 0x08);
        const QPoint headingCentre = heading->mapTo(&dialog, heading->rect().center());
        const QPoint boxCentre = box->mapTo(&dialog, box->rect().center());
        EXPECT_LE(std::abs(headingCentre.x() - boxCentre.x()), 2) << side;
        EXPECT_LT(headingCentre.y(), boxCentre.y()) << side;
    }
}

TEST_F(LayoutTest, SelectHomeAway) {
    TfrmSelectHomeAway dialog(ctx);
    dialog.SetSelection(1);
    // The first item's text is wider than the designed dialog: the dialog grows to show it.
    CheckDialog(&dialog, QSize(610, 242), "frmSelectHomeAway", true);
}

TEST_F(LayoutTest, ViewDefault) {
    TfrmViewDefault dialog(ctx);
    CheckDialog(&dialog, QSize(415, 184), "frmViewDefault");
    // The explanation takes nine tenths of its group's width.
    EXPECT_EQ(dialog.lblConfigInfo->width(), dialog.gbxSelectNewConfiguration->width() * 9 / 10);
}

TEST_F(LayoutTest, SelectDirectory) {
    TfrmSelectDirectory dialog(ctx);
    dialog.SetDirectory(QString::fromStdString(ConfigFolder()));
    CheckDialog(&dialog, QSize(469, 226), "frmSelectDirectory");
    EXPECT_EQ(dialog.lblDirectoryInfo->width(), dialog.gbxSelectDirectory->width() * 9 / 10);
}

} // namespace
} // namespace kivo::gui::test
