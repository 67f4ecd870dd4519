// Learning a transmitter's code into a radio position of the editor, and the reminders of the
// test-supervision tick boxes.
#include "radiofixture.h"

#include "app/strtable.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace kivo::gui::test {
namespace {

using Commands = std::vector<std::string>;

class LearningTest : public RadioTest {
protected:
    QString Status() const { return editor->findChild<QStatusBar*>("sbStatus")->currentMessage(); }
};

TEST_F(LearningTest, AllZeroRepliesKeepWaitingAndTheFirstCodeFillsTheField) {
    // Heard only after the second poll: the first replies carry "0000".
    UseKobu("learn=7B10,learndelay=1200");
    RadioField(3)->setText(QStringLiteral("4C3A"));
    QString title, action;
    WhenUp(waiting.get(), [&] {
        title = waiting->windowTitle();
        action = waiting->lblAction->text();
    });
    ClickReceive(3);

    EXPECT_EQ(RadioField(3)->text(), "7B10");
    EXPECT_EQ(title, "Empfange Funksender Code");
    EXPECT_EQ(action, "Aktivieren Sie den Funksender für Position 3.");
    ASSERT_GE(wire->sent.size(), 4u);
    EXPECT_EQ(wire->sent.front(), "s1");
    EXPECT_EQ(wire->sent.back(), "s0");
    EXPECT_EQ(CountSent("c1") + 2, static_cast<int>(wire->sent.size())) << "only polls between";
    EXPECT_GE(CountSent("c1"), 2);
    EXPECT_FALSE(waiting->isVisible());
    EXPECT_EQ(wire->open, 0);
    EXPECT_TRUE(Boxes().empty());
    // The learned code reaches the image with the binding.
    editor->ControlsToImage();
    EXPECT_EQ(editor->Data().image[4], 0x7B);
    EXPECT_EQ(editor->Data().image[5], 0x10);
}

// Abort and the platform's close key both give up the wait, and both free the position.
TEST_F(LearningTest, GivingUpEmptiesTheFieldAndStopsListening) {
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Abort");
        UseKobu("learn=none");
        wire->sent.clear();
        RadioField(2)->setText(QStringLiteral("4C3A"));
        // Long enough for at least one poll.
        WhenUp(
            waiting.get(),
            [&] {
                if (escape)
                    QTest::keyClick(waiting.get(), Qt::Key_Escape);
                else
                    waiting->btbtnAbort->click();
            },
            700);
        ClickReceive(2);

        EXPECT_EQ(RadioField(2)->text(), "");
        ASSERT_GE(wire->sent.size(), 3u);
        EXPECT_EQ(wire->sent.front(), "s1");
        EXPECT_EQ(wire->sent.back(), "s0");
        EXPECT_GE(CountSent("c1"), 1);
        EXPECT_EQ(wire->open, 0);
        EXPECT_TRUE(Boxes().empty());
    }
}

TEST_F(LearningTest, AReportThatIsNoCodeKeepsThePositionAndSaysSo) {
    // "ZZZZ" or "0G00" in a valid frame: taken as a code it would become 0000 and free the
    // position.
    UseKobu("learn=7B10,learndelay=600,badcode=1");
    RadioField(4)->setText(QStringLiteral("2E95"));
    ClickReceive(4);
    EXPECT_EQ(RadioField(4)->text(), "2E95");
    EXPECT_EQ(Boxes(), std::vector<int>{15023});
    EXPECT_EQ(wire->sent.back(), "s0");
    EXPECT_FALSE(waiting->isVisible());
    EXPECT_EQ(wire->open, 0);
}

TEST_F(LearningTest, NoKobuShowsTheErrorAndNoWaitingWindow) {
    NoKobu();
    RadioField(1)->setText(QStringLiteral("4C3A"));
    ClickReceive(1);
    EXPECT_EQ(Boxes(), std::vector<int>{15009});
    EXPECT_EQ(RadioField(1)->text(), "4C3A");
    EXPECT_EQ(Shows(waiting.get()), 0);
}

TEST_F(LearningTest, APulledKobuEndsTheWaitWithTheMessageAndKeepsTheCode) {
    // The Kobu is gone after "s1" and two polls; the wait must not go on for ever.
    UseKobu("learn=none,disconnect=3");
    RadioField(5)->setText(QStringLiteral("2E95"));
    bool stuck = false;
    QTimer::singleShot(20000, waiting.get(), [&] {
        if (!waiting->isVisible()) return;
        stuck = true;
        waiting->btbtnAbort->click();
    });
    ClickReceive(5);
    EXPECT_FALSE(stuck);
    EXPECT_EQ(Boxes(), std::vector<int>{15009});
    EXPECT_EQ(RadioField(5)->text(), "2E95");
    EXPECT_EQ(wire->open, 0);
    // The editor is usable again: with the Kobu back, learning works.
    UseKobu();
    Recorded().shown.clear();
    ClickReceive(5);
    EXPECT_EQ(RadioField(5)->text(), "4C3A");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LearningTest, StartNotAcknowledgedIsReportedInTheStatusBarOnly) {
    sim->Plant(sim::Fault::Drop, 1); // the acknowledgement of "s1" never comes
    RadioField(8)->setText(QStringLiteral("2E95"));
    ClickReceive(8);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Status().toStdString(), Str(15009));
    EXPECT_EQ(RadioField(8)->text(), "2E95");
    EXPECT_EQ(Shows(waiting.get()), 0);
    // The Kobu did not start listening, so there is nothing to stop.
    EXPECT_EQ(wire->sent, Commands{"s1"});
    EXPECT_EQ(wire->open, 0);
}

TEST_F(LearningTest, StatusTextIsClearedWhenTheKobuListens) {
    editor->findChild<QStatusBar*>("sbStatus")->showMessage(QStringLiteral("alt"));
    ClickReceive(4);
    EXPECT_EQ(RadioField(4)->text(), "4C3A"); // the simulator's default transmitter
    EXPECT_EQ(Status(), "");
}

TEST_F(LearningTest, SupervisionRemindersOnlyForTheUsersOwnChanges) {
    auto* box = editor->findChild<QCheckBox*>("cbTestRadioPos5");
    ASSERT_FALSE(box->isChecked());
    box->click();
    box->click();
    ASSERT_EQ(Boxes(), (std::vector<int>{15030, 15031}));
    EXPECT_TRUE(Recorded().shown[0].text.contains(QStringLiteral("Position 5 eingeschaltet")));
    EXPECT_TRUE(Recorded().shown[1].text.contains(QStringLiteral("Position 5 ausgeschaltet")));
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);

    // Showing an image changes all eight boxes and says nothing.
    Recorded().shown.clear();
    editor->Data().image[0xB0] = 0xFF;
    editor->ImageToControls();
    EXPECT_TRUE(box->isChecked());
    editor->Data().image[0xB0] = 0x00;
    editor->ImageToControls();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(editor->TestRadioMessages());
}

} // namespace
} // namespace kivo::gui::test
