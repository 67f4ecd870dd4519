// The transmitter info dialog, opened from the editor's info buttons, against the simulated
// Kobu's transmitters: 4C3A (version 22, mode 03, 300 alarms), 7B10 (version FF, mode 01) and
// 2E95 (version 21, mode 02, interval 168, limit 10).
#include "radiofixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace kivo::gui::test {
namespace {

using Ids = std::vector<int>;

class InfoRadioTest : public RadioTest {
protected:
    // Opens the dialog for `code` in position `n` and runs `inside` while it is up; the
    // dialog is cancelled afterwards unless `inside` closed it.
    void OpenInfo(int n, const QString& code, std::function<void()> inside) {
        RadioField(n)->setText(code);
        WhenUp(info.get(), [this, inside] {
            if (!info->isVisible()) return; // never came: the test's own checks say why
            inside();
            if (info->isVisible()) info->btnCancel->click();
        });
        ClickInfo(n);
    }
    bool Sent(const std::string& command) const { return CountSent(command) > 0; }
    bool SentWrite() const {
        for (const std::string& c : wire->sent)
            if (!c.empty() && c[0] == 'f') return true;
        return false;
    }
};

struct ShownCase {
    const char* kobu;
    const char* field;
    const char* request;
    const char* code;
    const char* interval;
    const char* limit;
    bool testAlarm;
    bool powerSave;
    bool powerSaveShown;
    const char* count;
    const char* version;
};

TEST_F(InfoRadioTest, ReadShowsTheTransmittersSettings) {
    const ShownCase cases[] = {
        // Lower case in the field is handed over in upper case; mode 02 clears both boxes.
        {"tx=12AB:0C0A02012C1A", "12ab", "a12AB2728292A2B2F", "12AB", "12", "10", false, false,
         false, "300", "1.A"},
        {"", "4C3A", "a4C3A2728292A2B2F", "4C3A", "24", "5", true, false, true, "300", "2.2"},
        {"", "7B10", "a7B102728292A2B2F", "7B10", "12", "0", true, true, false, "7", "2.0"},
        // A mode the dialog does not know leaves the boxes as the last transmitter had them.
        {"tx=5D01:0102070000FF", "5D01", "a5D012728292A2B2F", "5D01", "1", "2", true, true, false,
         "0", "2.0"},
    };
    int n = 0;
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(c.field);
        n = n % 8 + 1;
        UseKobu(c.kobu);
        wire->sent.clear();
        QString waitingTitle, waitingAction;
        WhenUp(waiting.get(), [&] {
            waitingTitle = waiting->windowTitle();
            waitingAction = waiting->lblAction->text();
        });
        bool shown = false;
        OpenInfo(n, QString::fromLatin1(c.field), [&] {
            shown = true;
            EXPECT_EQ(info->windowTitle(), "Funksender Info");
            EXPECT_EQ(info->edtInfoRadioCode->text(), c.code);
            EXPECT_EQ(info->edtInfoTestAlarmInterval->text(), c.interval);
            EXPECT_EQ(info->edtInfoMaxNoTestAlarms->text(), c.limit);
            EXPECT_EQ(info->cbInfoEnableTestAlarmFunction->isChecked(), c.testAlarm);
            EXPECT_EQ(info->cbInfoPowerSaveMode->isChecked(), c.powerSave);
            EXPECT_EQ(!info->cbInfoPowerSaveMode->isHidden(), c.powerSaveShown);
            EXPECT_EQ(info->edtUserAlarmCount->text(), c.count);
            EXPECT_EQ(info->edtInfoProgramVersion->text(), c.version);
            for (QWidget* w : std::initializer_list<QWidget*>{
                     info->lblInfoTestAlarmInterval, info->edtInfoTestAlarmInterval,
                     info->lblInfoMaxNoTestAlarms, info->edtInfoMaxNoTestAlarms,
                     info->cbInfoPowerSaveMode})
                EXPECT_EQ(w->isEnabled(), c.testAlarm) << w->objectName().toStdString();
            EXPECT_FALSE(info->edtInfoRadioCode->isEnabled());
        });
        EXPECT_TRUE(shown);
        EXPECT_TRUE(Sent(c.request));
        EXPECT_EQ(wire->sent.front(), "v");
        EXPECT_EQ(waitingTitle, "Lese Info von Funksender");
        EXPECT_EQ(waitingAction, "Um Info zu lesen, lösen Sie den\nentsprechenden Funksender aus " +
                                     QString::number(n));
        EXPECT_EQ(info->Position(), n);
        EXPECT_FALSE(info->isVisible());
        EXPECT_EQ(wire->open, 0);
        EXPECT_TRUE(Boxes().empty());
    }
}

TEST_F(InfoRadioTest, TheTestAlarmBoxSwitchesItsControls) {
    OpenInfo(1, QStringLiteral("4C3A"), [&] {
        info->cbInfoEnableTestAlarmFunction->click();
        EXPECT_FALSE(info->edtInfoTestAlarmInterval->isEnabled());
        EXPECT_FALSE(info->cbInfoPowerSaveMode->isEnabled());
        info->cbInfoEnableTestAlarmFunction->click();
        EXPECT_TRUE(info->edtInfoMaxNoTestAlarms->isEnabled());
        EXPECT_TRUE(info->lblInfoTestAlarmInterval->isEnabled());
        EXPECT_TRUE(info->cbInfoPowerSaveMode->isEnabled());
    });
}

TEST_F(InfoRadioTest, NumberFieldsTakeDigitsAndBackspaceOnly) {
    info->show();
    QLineEdit* field = info->edtInfoTestAlarmInterval;
    field->setEnabled(true);
    field->clear();
    QTest::keyClicks(field, "1a-2 x,");
    EXPECT_EQ(field->text(), "12");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "1");
    QTest::keyClicks(field, "2345");
    EXPECT_EQ(field->text(), "123");
    // Pasted text is held to digits as well.
    info->edtInfoMaxNoTestAlarms->clear();
    info->edtInfoMaxNoTestAlarms->insert(QStringLiteral("4x"));
    EXPECT_EQ(info->edtInfoMaxNoTestAlarms->text(), "");
    info->hide();
}

struct WriteCase {
    const char* code;
    std::function<void(TfrmInfoRadio*)> edit;
    const char* request;
    int interval, limit, mode; // the transmitter's registers afterwards
};

TEST_F(InfoRadioTest, WriteSendsTheSettingsAndReportsSuccess) {
    const WriteCase cases[] = {
        // Unchanged mode 02: the hidden, cleared power-save box still counts.
        {"2E95", [](TfrmInfoRadio*) {}, "f2E9527A8280A2902", 168, 10, 2},
        {"4C3A",
         [](TfrmInfoRadio* d) {
             d->edtInfoTestAlarmInterval->setText(QStringLiteral("48"));
             d->edtInfoMaxNoTestAlarms->setText(QStringLiteral("0"));
             d->cbInfoPowerSaveMode->click();
         },
         "f4C3A273028002901", 48, 0, 1},
        {"7B10", [](TfrmInfoRadio* d) { d->cbInfoEnableTestAlarmFunction->click(); },
         "f7B10270C28002900", 12, 0, 0},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.code);
        UseKobu();
        wire->sent.clear();
        Recorded().shown.clear();
        QString waitingTitle, waitingAction;
        OpenInfo(5, QString::fromLatin1(c.code), [&] {
            c.edit(info.get());
            WhenUp(waiting.get(), [&] {
                waitingTitle = waiting->windowTitle();
                waitingAction = waiting->lblAction->text();
            });
            info->btnOK->click();
            EXPECT_FALSE(info->isVisible()) << "closes after writing";
        });
        EXPECT_EQ(Boxes(), Ids{13810});
        EXPECT_EQ(Recorded().shown.at(0).kind, MsgKind::Information);
        EXPECT_TRUE(Sent(c.request));
        EXPECT_EQ(CountSent("F"), 1); // the transmitter answered within the first poll
        EXPECT_EQ(waitingTitle, "Schreibe Info in Funksender");
        EXPECT_EQ(waitingAction,
                  "Um Info zu schreiben, lösen Sie den\nentsprechenden Funksender aus 5");
        const sim::SimTransmitter* t = sim->Transmitter(c.code);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->registers.at(sim::kRegInterval), c.interval);
        EXPECT_EQ(t->registers.at(sim::kRegLimit), c.limit);
        EXPECT_EQ(t->registers.at(sim::kRegMode), c.mode);
        EXPECT_EQ(wire->open, 0);
    }
}

TEST_F(InfoRadioTest, OutOfRangeValuesAreRefusedBeforeAnythingIsSent) {
    const struct {
        const char* interval;
        const char* limit;
        Ids boxes;
    } cases[] = {
        {"0", "5", {13816}},   {"", "5", {13816}},          {"256", "5", {13816}},
        {"1", "256", {13817}}, {"", "999", {13816, 13817}},
    };
    // 2E95 has the test alarm off: the interval is checked all the same.
    OpenInfo(2, QStringLiteral("2E95"), [&] {
        ASSERT_FALSE(info->cbInfoEnableTestAlarmFunction->isChecked());
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.interval) + "/" + c.limit);
            Recorded().shown.clear();
            info->edtInfoTestAlarmInterval->setText(QString::fromLatin1(c.interval));
            info->edtInfoMaxNoTestAlarms->setText(QString::fromLatin1(c.limit));
            info->btnOK->click();
            EXPECT_EQ(Boxes(), c.boxes);
            EXPECT_TRUE(info->isVisible());
        }
    });
    EXPECT_FALSE(SentWrite());
    EXPECT_EQ(Shows(waiting.get()), 1); // the read only
}

TEST_F(InfoRadioTest, WriteFailuresSayWhatHappened) {
    // "04" from the transmitter, and the user giving up: the dialog closes with 13811.
    for (bool userAborts : {false, true}) {
        SCOPED_TRACE(userAborts ? "aborted" : "04");
        UseKobu(userAborts ? "writeresult=silent" : "writeresult=fail");
        Recorded().shown.clear();
        OpenInfo(1, QStringLiteral("4C3A"), [&] {
            if (userAborts)
                WhenUp(
                    waiting.get(), [&] { waiting->btbtnAbort->click(); }, 600);
            info->btnOK->click();
            EXPECT_FALSE(info->isVisible());
        });
        EXPECT_EQ(Boxes(), Ids{13811});
        EXPECT_EQ(Recorded().shown.at(0).kind, MsgKind::Error);
        EXPECT_EQ(sim->Transmitter("4C3A")->registers.at(sim::kRegInterval), 24);
        EXPECT_EQ(wire->open, 0);
    }
}

TEST_F(InfoRadioTest, AWriteThatCannotStartKeepsTheDialogForAnotherTry) {
    UseKobu();
    OpenInfo(6, QStringLiteral("4C3A"), [&] {
        info->edtInfoTestAlarmInterval->setText(QStringLiteral("12"));
        // The request "f" is not acknowledged.
        sim->Plant(sim::Fault::Drop, 1);
        info->btnOK->click();
        EXPECT_EQ(Boxes(), Ids{13811});
        EXPECT_TRUE(info->isVisible());
        EXPECT_EQ(CountSent("F"), 0);
        EXPECT_EQ(wire->open, 0);
        // The Kobu unplugged.
        sim->Disconnect();
        info->btnOK->click();
        EXPECT_EQ(Boxes(), (Ids{13811, 15009}));
        EXPECT_TRUE(info->isVisible());
        EXPECT_EQ(wire->open, 0);
        // Plugged in again: the next try goes through.
        sim->Reconnect();
        info->btnOK->click();
        EXPECT_FALSE(info->isVisible());
    });
    EXPECT_EQ(Boxes(), (Ids{13811, 15009, 13810}));
    EXPECT_EQ(sim->Transmitter("4C3A")->registers.at(sim::kRegInterval), 12);
}

TEST_F(InfoRadioTest, AReadThatEndsWithoutDataShowsNoDialog) {
    const struct {
        const char* name;
        const char* kobu;
        const char* field;
        bool userAborts;
        Ids boxes;
        int waits;
    } cases[] = {
        {"04", "inforesult=fail", "4C3A", false, {}, 1},
        {"aborted", "inforesult=silent", "4C3A", true, {}, 1},
        // No transmitter code at all: nothing is asked of the Kobu.
        {"not a code", "", "XY12", false, {13807}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseKobu(c.kobu);
        Recorded().shown.clear();
        const int waitsBefore = Shows(waiting.get());
        if (c.userAborts)
            WhenUp(
                waiting.get(), [&] { waiting->btbtnAbort->click(); }, 600);
        RadioField(3)->setText(QString::fromLatin1(c.field));
        ClickInfo(3);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(Shows(waiting.get()) - waitsBefore, c.waits);
        EXPECT_EQ(Shows(info.get()), 0);
        EXPECT_EQ(wire->open, 0);
    }
}

TEST_F(InfoRadioTest, OpeningChecksTheKobuAndTheCode) {
    const struct {
        const char* name;
        std::function<void()> setup;
        const char* field;
        int box;
    } cases[] = {
        {"no Kobu", [this] { NoKobu(); }, "4C3A", 15009},
        {"old firmware", [this] { UseKobu("version=10-1 SIM1.0"); }, "4C3A", 13808},
        {"other variant", [this] { UseKobu("version=11-2 SIM1.0"); }, "4C3A", 13808},
        {"silent", [this] { sim->Plant(sim::Fault::Drop, 1); }, "4C3A", 13808},
        {"empty field", [] {}, "", 13807},
        {"three characters", [] {}, "12A", 13807},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseKobu();
        c.setup();
        wire->sent.clear();
        Recorded().shown.clear();
        RadioField(7)->setText(QString::fromLatin1(c.field));
        ClickInfo(7);
        EXPECT_EQ(Boxes(), Ids{c.box});
        EXPECT_EQ(Shows(waiting.get()), 0);
        EXPECT_EQ(Shows(info.get()), 0);
        EXPECT_FALSE(SentWrite());
        EXPECT_EQ(CountSent("a4C3A2728292A2B2F"), 0);
        EXPECT_EQ(wire->open, 0);
    }
}

} // namespace
} // namespace kivo::gui::test
