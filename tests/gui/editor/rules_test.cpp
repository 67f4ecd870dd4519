// Key filters, value checks and selection rules, driven by real key events.
#include "editorfixture.h"

#include "gui/common/updown.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QTest>
#include <QToolButton>

namespace kivo::gui::test {
namespace {

class RulesTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor->SetAccessLevel(4);
        editor->show();
        ClearBoxes();
    }
    // Empties the field without its check and types `keys` into it.
    QString Type(const std::string& field, const QString& keys) {
        QLineEdit* edit = Edit(field);
        edit->blockSignals(true);
        edit->clear();
        edit->blockSignals(false);
        edit->setFocus();
        QTest::keyClicks(edit, keys);
        return edit->text();
    }
};

TEST_F(RulesTest, KeyFiltersDropWhatTheFieldRefuses) {
    struct Case {
        const char* field;
        const char* typed;
        const char* text;
    };
    const Case cases[] = {
        {"edtTelephoneNoA", "c1x#w*t", "C1#W*T"}, // upper case, x dropped
        {"edtTelephoneNoR", "12a", "12"},
        {"edtAlarmCodeA", "a1x#w", "a1#w"}, // kept as typed
        {"edtAlarmCodeN", "c", ""},
        {"edtRadioPos1", "c1gF", "c1F"},
        {"edtRadioPos4", "abcde", "abcd"}, // four at most
        {"edtRepeatSequence", "1a-2", "12"},
        {"edtCallAttemptsR", "9 9", "99"},
        {"edtWaitTimeNoDialToneDetector", "2,5x", "2,5"},
        {"edtMaxConversationTime", "12.0", "120"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Type(c.field, c.typed), c.text) << c.field << " " << c.typed;
    // Letters beyond ASCII are refused everywhere.
    Type("edtAlarmCodeB", "1");
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QString::fromUtf8("ä"));
    QApplication::sendEvent(Edit("edtAlarmCodeB"), &umlaut);
    EXPECT_EQ(Edit("edtAlarmCodeB")->text(), "1");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RulesTest, ControlKeysPass) {
    EXPECT_EQ(Type("edtTelephoneNoA", "123"), "123");
    QTest::keyClick(Edit("edtTelephoneNoA"), Qt::Key_Backspace);
    EXPECT_EQ(Edit("edtTelephoneNoA")->text(), "12");
    QTest::keyClick(Edit("edtTelephoneNoA"), Qt::Key_Left);
    QTest::keyClick(Edit("edtTelephoneNoA"), Qt::Key_Delete);
    EXPECT_EQ(Edit("edtTelephoneNoA")->text(), "1");
    // Pasting brings any text in; the value check answers it.
    QApplication::clipboard()->setText("-5");
    Type("edtTimeBetweenCalls", "");
    QTest::keyClick(Edit("edtTimeBetweenCalls"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Boxes(), std::vector<int>{15025});
    EXPECT_EQ(Edit("edtTimeBetweenCalls")->text(), "255");
    // Enter does not reach a button of the window.
    QTest::keyClick(Edit("edtTimeBetweenCalls"), Qt::Key_Return);
    EXPECT_TRUE(editor->isVisible());
}

// Select all and type replaces the value: "3", then Ctrl+A and "300" gives 15025 and "255"
// only because 300 is too large, not because it became "3300".
TEST_F(RulesTest, EditingShortcutsReachTheField) {
    QLineEdit* edit = Edit("edtRepeatSequence");
    Type("edtRepeatSequence", "3");
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "12");
    EXPECT_EQ(edit->text(), "12");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(edit->text(), "12"); // undone
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RulesTest, ValueChecksAnswerAtOnce) {
    struct Case {
        const char* field;
        const char* typed;
        std::vector<int> boxes;
        const char* text;
    };
    const Case cases[] = {
        {"edtRepeatSequence", "300", {15025}, "255"},
        {"edtCallAttemptsB", "256", {15025}, "255"},
        {"edtAutoAnswerHomephone", "255", {}, "255"},
        {"edtMaxConversationTime", "2551", {15026}, "2550"},
        {"edtMaxConversationTime", "2550", {}, "2550"},
        {"edtTestAlarmInterval", "0", {15029}, "0"},
        {"edtTestAlarmInterval", "255", {}, "255"},
        {"edtWaitTimeNoDialToneDetector", "25,5", {}, "25,5"},
        {"edtWaitTimeNoDialToneDetector", "25,6", {15024}, "25"},
        {"edtWaitTimeNoDialToneDetector", "26", {15024}, "25"},
        {"edtWaitTimeNoDialToneDetector", "1,,", {15024}, "1,,"},
    };
    for (const Case& c : cases) {
        ClearBoxes();
        EXPECT_EQ(Type(c.field, c.typed), c.text) << c.field << " " << c.typed;
        EXPECT_EQ(Boxes(), c.boxes) << c.field << " " << c.typed;
    }
    for (const MessageRecord& r : Recorded().shown) EXPECT_EQ(r.kind, MsgKind::Error);
}

// The comma is this edition's separator whatever the platform's locale (a point is taken too),
// and the production date has the edition's form.
TEST_F(RulesTest, TheEditionsSeparatorAndDateFormUnderAnyLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const char* typed : {"2,5", "2.5"}) {
        ClearBoxes();
        EXPECT_EQ(Type("edtWaitTimeNoDialToneDetector", typed), typed);
        EXPECT_TRUE(Boxes().empty()) << typed;
        editor->ControlsToImage();
        EXPECT_EQ(editor->Data().image[mm::NoDialToneWait], 25) << typed;
    }
    Image& image = editor->Data().image;
    image[mm::ProductionYear] = 0x21;
    image[mm::ProductionMonth] = 0x03;
    image[mm::ProductionDay] = 0x17;
    editor->ImageToControls();
    EXPECT_EQ(Edit("edtProductionDate")->text(), "17.03.2021");
    QLocale::setDefault(before);
}

TEST_F(RulesTest, EmptyingTheTestAlarmIntervalWarnsAndStaysEmpty) {
    QLineEdit* edit = Edit("edtTestAlarmInterval");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(Boxes(), std::vector<int>{15029});
    EXPECT_EQ(edit->text(), "");
    // A text set to the one the field holds runs no check.
    ClearBoxes();
    edit->setText("");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RulesTest, SpinnersStepWithinTheirBounds) {
    auto* spinner = Find<UpDown>("udMaxNoCallAttempts");
    QLineEdit* edit = Edit("edtMaxNoCallAttempts");
    auto buttons = spinner->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QToolButton* up = buttons[0]->arrowType() == Qt::UpArrow ? buttons[0] : buttons[1];
    QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];
    edit->setText("254");
    up->click();
    EXPECT_EQ(edit->text(), "255");
    up->click();
    EXPECT_EQ(edit->text(), "255"); // no wrapping
    edit->setText("1");
    down->click();
    down->click();
    EXPECT_EQ(edit->text(), "0");
    // The arrow keys in the field step it too.
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), "1");
    EXPECT_EQ(spinner->Position(), 1);
    EXPECT_TRUE(Boxes().empty());
}

// The AlarmType list holds 0, 1, 4, 5, 6, 7, 12 (items 0..6), the separator (item 7), then 30.
TEST_F(RulesTest, TransmitterListsStepOverTheSeparator) {
    QComboBox* list = List("cbbxAlarmTypePos2");
    ASSERT_TRUE(list->itemText(7).startsWith("---"));
    list->setFocus();
    list->setCurrentIndex(6); // as an image would show it: not the user's choice
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentIndex(), 8); // moving down steps below
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->currentIndex(), 6); // moving up steps above
    // Each list remembers the user's own last choice only: after an image showed item 8, the
    // first move up still counts as moving down from the start.
    QComboBox* other = List("cbbxAlarmTypePos5");
    other->setFocus();
    other->setCurrentIndex(8);
    QTest::keyClick(other, Qt::Key_Up);
    EXPECT_EQ(other->currentIndex(), 8);
    QTest::keyClick(other, Qt::Key_Up);
    EXPECT_EQ(other->currentIndex(), 6);
    // The extra button's list ends before the separator.
    EXPECT_EQ(List("cbbxAlarmTypeExtraButton")->count(), 7);
}

TEST_F(RulesTest, SwitchingRadioAcknowledgementOffWarns) {
    SelectValue("cbbxAnswerRadioMessageWithAck", 1);
    ClearBoxes();
    QComboBox* list = List("cbbxAnswerRadioMessageWithAck");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up); // to "Nein"
    ASSERT_EQ(ListValue("cbbxAnswerRadioMessageWithAck"), 0);
    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].textId, 15038);
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Warning);
    QTest::keyClick(list, Qt::Key_Down); // back to "Ja"
    EXPECT_EQ(Recorded().shown.size(), 1u);
    // A change that comes with an image says nothing.
    editor->Data().image[0xF3] = 1;
    editor->ImageToControls();
    editor->Data().image[0xF3] = 0;
    editor->ImageToControls();
    EXPECT_EQ(Recorded().shown.size(), 1u);
}

} // namespace
} // namespace kivo::gui::test
