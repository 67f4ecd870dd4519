// The editor window: its controls, layout, menus, access levels, showing and closing.
#include "editorfixture.h"

#include "app/strtable.h"
#include "editor/binding.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <algorithm>

namespace kivo::gui::test {
namespace {

QString S(int id) {
    return QString::fromStdString(Str(id));
}

TEST_F(EditorTest, EveryBoundControlExistsAndTheCaptionNamesTheDefault) {
    for (const Binding& b : BindingTable())
        EXPECT_NE(editor->findChild<QWidget*>(QString::fromStdString(b.control)), nullptr)
            << b.control;
    EXPECT_EQ(editor->windowTitle(), "Standard - KIVO Programmiertool");
    EXPECT_TRUE(Boxes().empty());
}

// A field is written down twice: its binding row and its place on a page. Every field on a
// page has a binding, and an edit field takes what its binding says.
TEST_F(EditorTest, EveryFieldOnAPageHasItsBinding) {
    auto* pages = Find<QTabWidget>("pgcntrlMain");
    std::vector<std::string> unbound;
    for (QWidget* w : pages->findChildren<QWidget*>()) {
        const std::string name = w->objectName().toStdString();
        const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QCheckBox*>(w);
        if (!field || name.empty()) continue;
        const Binding* b = FindBinding(name);
        if (!b) {
            unbound.push_back(name);
            continue;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(edit->maxLength(), b->maxLength > 0 ? b->maxLength : 32767) << name;
        }
    }
    // The call-back boxes: no edition shows them, and no byte holds them.
    std::sort(unbound.begin(), unbound.end());
    EXPECT_EQ(unbound, (std::vector<std::string>{"cbCallBackA", "cbCallBackB", "cbCallBackC",
                                                 "cbCallBackD", "cbCallBackN", "cbCallBackR"}));
}

// Every text whole at the default font: the window keeps its designed size, no caption is
// narrower than it needs, nothing sticks out of its parent, and no two controls overlap.
TEST_F(EditorTest, GermanTextsFitTheDesignedWindow) {
    editor->SetAccessLevel(4); // every page
    editor->show();
    QApplication::processEvents();
    const int menu = editor->findChild<QMenuBar*>("mnuEnterData")->height();
    EXPECT_EQ(editor->width(), 772);
    EXPECT_EQ(editor->height() - menu, 496);

    auto* pages = Find<QTabWidget>("pgcntrlMain");
    EXPECT_GE(pages->tabBar()->width(), pages->tabBar()->sizeHint().width());
    auto name = [](const QWidget* w) {
        return std::string(w->metaObject()->className()) + " " + w->objectName().toStdString() +
               " '" + w->property("text").toString().toStdString() + "'";
    };
    for (int p = 0; p < pages->count(); ++p) {
        pages->setCurrentIndex(p);
        QApplication::processEvents();
        QWidget* page = pages->widget(p);
        const std::string where = page->objectName().toStdString() + ": ";
        std::vector<QWidget*> shown;
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(page) || w->objectName().startsWith("qt_")) continue;
            if (w->parentWidget()->inherits("QAbstractScrollArea") || w->inherits("QHeaderView"))
                continue; // the grid's own parts
            if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w) ||
                qobject_cast<QComboBox*>(w)) {
                EXPECT_GE(w->width(), w->sizeHint().width()) << where << name(w);
                EXPECT_GE(w->height(), w->sizeHint().height()) << where << name(w);
            } else if (qobject_cast<QGroupBox*>(w)) {
                EXPECT_GE(w->width(), w->minimumSizeHint().width()) << where << name(w);
                EXPECT_GE(w->height(), w->minimumSizeHint().height()) << where << name(w);
            } else if (auto* button = qobject_cast<QPushButton*>(w)) {
                // Small buttons are narrower than a standard one; their text must fit.
                EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(button->text()) + 8)
                    << where << name(w);
            }
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
                << where << name(w) << " sticks out of " << name(w->parentWidget());
            shown.push_back(w);
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                if (shown[i]->parentWidget() == shown[j]->parentWidget()) {
                    EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                        << where << name(shown[i]) << " overlaps " << name(shown[j]);
                }
            }
        }
    }
    // The grid's descriptions fit their column (a longer one would still show as a tool tip).
    auto* grid = Find<QTableWidget>("sgAdvanced");
    for (int r = 0; r < grid->rowCount(); ++r)
        EXPECT_LE(grid->fontMetrics().horizontalAdvance(grid->item(r, 1)->text()) + 6,
                  grid->columnWidth(1))
            << grid->item(r, 1)->text().toStdString();
}

TEST_F(EditorTest, PagesCaptionsHintsAndEditionSwitches) {
    auto* pages = Find<QTabWidget>("pgcntrlMain");
    const char* names[] = {"tbshtAlarmSources",   "tbshtSequences",
                           "tbshtCallNumbers",    "tbshtTimersAndIndication",
                           "tbshtCallParameters", "tbshtExtendedFunctions",
                           "tbshtAdvanced"};
    ASSERT_EQ(pages->count(), 7);
    for (int p = 0; p < 7; ++p) {
        EXPECT_EQ(pages->widget(p)->objectName(), names[p]);
        EXPECT_EQ(pages->tabText(p), S(13101 + p));
    }
    EXPECT_EQ(Find<QLabel>("lblRadioPos3")->text(), "Funk pos. 3");
    EXPECT_EQ(Find<QLabel>("lblAlarmTypePos8")->text(), "Alarmtyp pos. 8");
    EXPECT_EQ(Find<QLabel>("lblCallAttemptsNightMode")->text(), S(13177));
    EXPECT_EQ(Find<QLabel>("lblTelephoneNumberRedirection")->text(), S(13160));
    EXPECT_EQ(Find<QGroupBox>("gbxSequence4")->title(), S(13120));
    EXPECT_EQ(Find<QAbstractButton>("btnReceive5")->text(), "...");
    EXPECT_EQ(Find<QAbstractButton>("btnAlarmTypesConfigure")->text(), S(13228));
    EXPECT_EQ(Find<QLabel>("lblTimeToMainsFailureUnit")->text(), S(13185));
    EXPECT_FALSE(Find<QAbstractButton>("bbtnInfoRadioPos1")->icon().isNull());
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(List("cbbxAlarmTypePos" + std::to_string(n))->property("Tag").toInt(), n);

    // Hints: the ten sequence groups and the three coded times.
    EXPECT_EQ(List("cbbxUserAlarms")->toolTip(), S(13702).replace("\r\n", "\n"));
    EXPECT_EQ(List("cbbxUserDefinedAlarm")->toolTip(), S(13711).replace("\r\n", "\n"));
    EXPECT_EQ(Edit("edtPassiveAlarmInterval")->toolTip(), S(13714));
    EXPECT_EQ(Edit("edtTimeToMainsFailure")->toolTip(), S(13713));
    EXPECT_EQ(Edit("edtTestAlarmInterval")->toolTip(), S(13712));

    // Field lengths.
    const std::pair<const char*, int> lengths[] = {{"edtRadioPos1", 4},
                                                   {"edtTelephoneNoR", 16},
                                                   {"edtAlarmCodeN", 16},
                                                   {"edtCallAttemptsD", 3},
                                                   {"edtWaitTimeNoDialToneDetector", 4},
                                                   {"edtMaxConversationTime", 4},
                                                   {"edtRepeatSequence", 3}};
    for (const auto& [name, length] : lengths) EXPECT_EQ(Edit(name)->maxLength(), length) << name;
    EXPECT_TRUE(Edit("edtSerialNumber")->isReadOnly());
    EXPECT_FALSE(Edit("edtSerialNumber")->isEnabled());
    EXPECT_FALSE(Edit("edtRadioCalibration")->isEnabled());

    // The edition's switches and the controls no edition shows.
    auto hidden = [this](const char* name) { return Find<QWidget>(name)->isHidden(); };
    EXPECT_TRUE(hidden("cbReminder"));
    EXPECT_TRUE(Check("cbReminder")->text().isEmpty());
    EXPECT_FALSE(hidden("cbPassive"));
    EXPECT_FALSE(hidden("cbEmergencyAlarm"));
    EXPECT_FALSE(hidden("cbCarpetAlarm"));
    EXPECT_FALSE(hidden("cbAssaultAlarm"));
    for (const char* name :
         {"lblAutoAnswerDuration", "edtAutoAnswerDuration", "lblAutoAnswerDurationUnit",
          "lblCallBack", "cbCallBackA", "cbCallBackR", "lblCallTypeForServiceCall",
          "cbbxCallTypeForServiceCall", "lblServiceCallInterval", "edtServiceCallInterval",
          "lblServiceCallIntervalUnit"})
        EXPECT_TRUE(hidden(name)) << name;
    for (const char* name : {"cbbxLineVolume1", "cbbxLineVolumeDialingPhase", "lblRadioTestAlarm",
                             "cbTestRadioPos1", "cbTestRadioPos8"})
        EXPECT_FALSE(hidden(name)) << name;
    // The hidden service-call list is built all the same.
    EXPECT_EQ(List("cbbxCallTypeForServiceCall")->count(), 7);
}

TEST_F(EditorTest, MenusCarryTheirCaptionsAndShortCuts) {
    struct Item {
        const char* name;
        int text;
        QKeySequence key;
        bool enabled;
    };
    const Item items[] = {
        {"mnuFileNew", 13002, QKeySequence("Ctrl+N"), true},
        {"mnuFileOpen", 13003, QKeySequence("Ctrl+O"), true},
        {"mnuFileSave", 13004, QKeySequence("Ctrl+S"), true},
        {"mnuFileSaveAs", 13005, {}, true},
        {"mnuFileSelectDefaultDirectory", 13006, {}, true},
        {"mnuFileChangeDefaultConfig", 13007, {}, true},
        {"mnuFilePrint", 13008, QKeySequence("Ctrl+P"), true},
        {"mnuFileExit", 13009, {}, true},
        {"mnuCommRead", 13011, QKeySequence("Ctrl+R"), true},
        {"mnuCommWrite", 13012, QKeySequence("Ctrl+W"), true},
        {"mnuToolsBasic", 13015, {}, true},
        {"mnuToolsCreateTextFile", 13016, {}, true},
        {"mnuToolsConfigureHomeAway", 13017, {}, true},
    };
    for (const Item& i : items) {
        auto* a = Find<QAction>(i.name);
        EXPECT_EQ(a->text(), S(i.text)) << i.name;
        EXPECT_EQ(a->shortcut(), i.key) << i.name;
        EXPECT_EQ(a->isEnabled(), i.enabled) << i.name;
    }
    for (auto [name, text] : {std::pair{"mnuFile", 13001},
                              {"mnuCommunication", 13010},
                              {"mnuTools", 13013},
                              {"mnuHelp", 13019}})
        EXPECT_EQ(Find<QMenu>(name)->title(), S(text)) << name;
    EXPECT_FALSE(Find<QAction>("mnuToolsGuide")->isVisible());
    EXPECT_TRUE(Find<QAction>("mnuToolsConfigureHomeAway")->isVisible());
    EXPECT_TRUE(Find<QAbstractButton>("btnReceive1")->isEnabled());
    EXPECT_TRUE(Find<QAbstractButton>("bbtnInfoRadioPos8")->isEnabled());
    EXPECT_TRUE(Find<QAbstractButton>("btnAlarmTypesConfigure")->isEnabled());
}

TEST_F(EditorTest, AccessLevelsShowTheirFunctions) {
    auto* pages = Find<QTabWidget>("pgcntrlMain");
    const int advanced = pages->indexOf(Find<QWidget>("tbshtAdvanced"));
    struct State {
        bool alarmTypes, advanced, passwords;
    };
    auto state = [&] {
        const bool ack = !Find<QWidget>("cbbxAnswerRadioMessageWithAck")->isHidden();
        EXPECT_EQ(ack, !Find<QWidget>("lblAnswerRadioMessageWithAck")->isHidden());
        EXPECT_EQ(ack, !Find<QWidget>("btnAlarmTypesConfigure")->isHidden());
        EXPECT_EQ(ack, !Find<QWidget>("lblAlarmTypes")->isHidden());
        const bool adv = pages->isTabVisible(advanced);
        EXPECT_EQ(adv, Find<QAction>("mnuToolsCreateTextFile")->isVisible());
        EXPECT_EQ(adv, !Find<QWidget>("cbbxCallerIDTestAlarm")->isHidden());
        EXPECT_EQ(adv, !Find<QWidget>("lblSingleCallTestAlarm")->isHidden());
        return State{ack, adv, Find<QAction>("mnuToolsChangePasswords")->isVisible()};
    };
    const std::pair<int, State> table[] = {{2, {false, false, false}},
                                           {3, {true, false, false}},
                                           {4, {true, true, false}},
                                           {5, {true, false, true}}};
    for (const auto& [level, want] : table) {
        editor->SetAccessLevel(level);
        const State got = state();
        EXPECT_EQ(got.alarmTypes, want.alarmTypes) << level;
        EXPECT_EQ(got.advanced, want.advanced) << level;
        EXPECT_EQ(got.passwords, want.passwords) << level;
    }
    // Any other level changes nothing.
    for (int level : {0, 1, 6}) {
        editor->SetAccessLevel(level);
        const State got = state();
        EXPECT_TRUE(got.alarmTypes && !got.advanced && got.passwords) << level;
    }
}

TEST_F(EditorTest, ShowingCentresOnTheFirstPageAndTheGridsFirstCell) {
    auto* pages = Find<QTabWidget>("pgcntrlMain");
    auto* grid = Find<QTableWidget>("sgAdvanced");
    pages->setCurrentIndex(3);
    grid->setCurrentCell(4, 2);
    editor->show();
    QApplication::processEvents();
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(grid->currentRow(), 0); // the first row below the heading
    EXPECT_EQ(grid->currentColumn(), 0);
    const QRect screen = editor->screen()->geometry();
    EXPECT_EQ(editor->frameGeometry().left(),
              (screen.width() - editor->frameGeometry().width()) / 2);
    // Without the windows of the shell the items that show them stay disabled.
    EXPECT_FALSE(Find<QAction>("mnuHelpAbout")->isEnabled());
    EXPECT_FALSE(Find<QAction>("mnuToolsChangePasswords")->isEnabled());
}

TEST_F(EditorTest, HelpOpensTheConnectionDiagnosis) {
    UseKobu("sim");
    auto* action = Find<QAction>("mnuHelpDiagnosis");
    EXPECT_EQ(action->text(), "Verbindungsdiagnose...");
    QString title;
    WhenModal([&](QWidget* modal) {
        title = modal->windowTitle();
        modal->close();
    });
    action->trigger();
    EXPECT_EQ(title, "Verbindungsdiagnose");
}

TEST_F(EditorTest, HelpOpensTheGuideAlsoByF1) {
    auto* action = Find<QAction>("mnuHelpGuide");
    EXPECT_EQ(action->text(), "Handbuch");
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::Key_F1));
    action->trigger();
    QWidget* guide = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmGuide" && w->isVisible()) guide = w;
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(Boxes().empty());
    guide->close();
}

TEST_F(EditorTest, GridRowsComeFromValuesIni) {
    auto* grid = Find<QTableWidget>("sgAdvanced");
    KivoIni ini;
    ini.SetFileName(ProgramFolder() + "Values.ini");
    const auto rows = ini.ReadAdvancedRows();
    ASSERT_EQ(grid->rowCount(), static_cast<int>(rows.size()));
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Adr.");
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "Wert");
    EXPECT_EQ(grid->item(0, 0)->text().toStdString(), rows[0].addr);
    EXPECT_EQ(grid->item(0, 1)->text().toStdString(), rows[0].desc);
    EXPECT_EQ(grid->item(0, 3)->text().toStdString(), rows[0].unit);
    // Only the value column can be edited.
    EXPECT_TRUE(grid->item(0, 2)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->item(0, 1)->flags() & Qt::ItemIsEditable);
}

TEST_F(EditorTest, WithoutValuesIniTheEditorIsBuiltEmpty) {
    QFile::remove(QString::fromStdString(ProgramFolder() + "Values.ini"));
    ClearBoxes();
    MakeEditor();
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().front(), 15028);
    EXPECT_EQ(List("cbbxAlarmTypePos1")->count(), 0);
    EXPECT_EQ(List("cbbxCallTypeForServiceCall")->count(), 0);
    EXPECT_EQ(Find<QTableWidget>("sgAdvanced")->rowCount(), 0);
}

TEST_F(EditorTest, HintsAppearInTheStatusBar) {
    QStatusTipEvent tip(Edit("edtTestAlarmInterval")->statusTip());
    QApplication::sendEvent(Edit("edtTestAlarmInterval"), &tip);
    EXPECT_EQ(Find<QStatusBar>("sbStatus")->currentMessage(), S(13712));
}

TEST_F(EditorTest, EscapeDoesNotCloseTheEditor) {
    editor->show();
    QTest::keyClick(editor.get(), Qt::Key_Escape);
    EXPECT_TRUE(editor->isVisible());
}

// Closing by the close box asks about unsaved changes as File > Exit does, and brings the
// default configuration back, as File > New leaves it.
TEST_F(EditorTest, ClosingRestoresTheDefaultConfiguration) {
    const std::string old = ConfigFolder() + "/old.Kivo";
    KivoData small;
    small.LoadImageFile(ProgramFolder() + "Default.bin");
    small.image[0xBA] = 7;
    ASSERT_TRUE(small.SaveImageFile(old, 256).ok());
    editor->SetFileChooser([&](QWidget*, TfrmEnterData::FileDialog, const QString&, const QString&,
                               const QString&) { return QString::fromStdString(old); });
    WhenModal([this](QWidget* modal) {
        editor->mnuFileOpenClick();
        Edit("edtMaxReminder")->setText("9");
        ClearBoxes();
        Recorded().answers = {BtnNo};
        modal->close();
    });
    editor->exec();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(Boxes(), std::vector<int>{13801});
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), DefaultText(0xBA));
    EXPECT_EQ(editor->Data().imageSource, SourceDefault);
    EXPECT_EQ(editor->windowTitle(), "Standard - KIVO Programmiertool");
    EXPECT_EQ(editor->ImageSize(), 512u);
    EXPECT_EQ(editor->Data().reference, editor->Data().image);
}

TEST_F(EditorTest, ExitAsksAndNoLeavesWithTheDefault) {
    editor->show();
    Edit("edtRepeatSequence")->setText("7");
    ClearBoxes();
    Recorded().answers = {BtnCancel};
    editor->mnuFileExitClick();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "7");
    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].textId, 13801);
    EXPECT_EQ(Recorded().shown[0].buttons, BtnYes | BtnNo | BtnCancel);

    Recorded().answers = {BtnNo};
    editor->mnuFileExitClick();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), DefaultText(0xBA));
}

// The window's close box asks as File > Exit does, but only when something would be lost.
TEST_F(EditorTest, TheCloseBoxAsksOnlyWithUnsavedChanges) {
    editor->show();
    ClearBoxes();
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(Boxes().empty());

    editor->show();
    Edit("edtRepeatSequence")->setText("7");
    Recorded().answers = {BtnCancel};
    editor->close();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "7");
    EXPECT_EQ(Boxes(), std::vector<int>{13801});

    Recorded().answers = {BtnNo};
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), DefaultText(0xBA));
}

TEST_F(EditorTest, ExitWithoutTheDefaultImageSaysSoTwice) {
    editor->show();
    QFile::remove(QString::fromStdString(ProgramFolder() + "Default.bin"));
    ClearBoxes();
    Recorded().answers = {BtnNo};
    editor->mnuFileExitClick();
    EXPECT_EQ(Boxes(), (std::vector<int>{13801, 15011, 15011}));
    EXPECT_FALSE(editor->isVisible());
}

// A save that does not happen keeps the editor open with its changes.
TEST_F(EditorTest, ExitKeepsTheChangesWhenTheSaveDoesNotHappen) {
    editor->show();
    Edit("edtRepeatSequence")->setText("7");
    editor->SetFileChooser([](QWidget*, TfrmEnterData::FileDialog, const QString&, const QString&,
                              const QString&) { return QString(); });
    Recorded().answers = {BtnYes};
    editor->mnuFileExitClick();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "7");

    // A failed write does the same.
    editor->SetFileChooser([](QWidget*, TfrmEnterData::FileDialog, const QString&, const QString&,
                              const QString&) { return QString("/nonexistent/x"); });
    ClearBoxes();
    Recorded().answers = {BtnYes};
    editor->mnuFileExitClick();
    EXPECT_EQ(Boxes(), (std::vector<int>{13801, 16200}));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "7");
}

TEST_F(EditorTest, ExitSavesFirstWhenAskedTo) {
    editor->show();
    Edit("edtRepeatSequence")->setText("7");
    const std::string target = ConfigFolder() + "/leaving.Kivo";
    editor->SetFileChooser([&](QWidget*, TfrmEnterData::FileDialog, const QString&, const QString&,
                               const QString&) { return QString::fromStdString(target); });
    Recorded().answers = {BtnYes};
    editor->mnuFileExitClick();
    EXPECT_FALSE(editor->isVisible());
    KivoData saved;
    ASSERT_TRUE(saved.LoadImageFile(target));
    EXPECT_EQ(saved.image[0xBA], 7);
}

} // namespace
} // namespace kivo::gui::test
