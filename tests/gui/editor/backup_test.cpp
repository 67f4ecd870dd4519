// Beyond the edition's menus: the unit's own image kept before a write, opening such a backup,
// and comparing the edited configuration with another file.
#include "editorfixture.h"

#include "data/codec.h"

#include "app/strtable.h"
#include "data/kivoini.h"
#include "support/tempdir.h"

#include <QDir>

namespace kivo::gui::test {
namespace {

class BackupTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        UseKobu("sim:memory=" + dir.file("unit.bin"));
        ClearBoxes();
    }
    QStringList Backups() const {
        return QDir(QString::fromStdString(ProgramFolder() + "Backup"))
            .entryList({QStringLiteral("*.Kivo")}, QDir::Files);
    }
    kivo::test::TempDir dir;
};

TEST_F(BackupTest, AWriteKeepsTheUnitsImageFirstUnlessSwitchedOff) {
    Edit("edtRepeatSequence")->setText("7");
    editor->mnuCommWriteClick();
    EXPECT_EQ(Boxes().back(), 15004);
    ASSERT_EQ(Backups().size(), 1);
    EXPECT_TRUE(Backups().first().startsWith(QStringLiteral("Kivo_210417_")));
    EXPECT_EQ(dir.Read("unit.bin")[0xBA], 7);

    KivoIni ini;
    ini.SetFileName(ProgramFolder() + "Values.ini");
    ini.WriteValue("Setup", "BackupBeforeWrite", "False");
    QDir(QString::fromStdString(ProgramFolder() + "Backup")).removeRecursively();
    editor->mnuCommWriteClick();
    EXPECT_TRUE(Backups().isEmpty());
}

TEST_F(BackupTest, ABackupOpensAsAFile) {
    editor->mnuCommWriteClick();
    ASSERT_EQ(Backups().size(), 1);
    QString offered;
    editor->SetFileChooser([&](QWidget*, TfrmEnterData::FileDialog, const QString& title,
                               const QString& folder, const QString&) {
        EXPECT_EQ(title, QStr(16003));
        offered = folder;
        return folder + QLatin1Char('/') + Backups().first();
    });
    editor->mnuFileRestoreBackupClick();
    EXPECT_EQ(QDir(offered).canonicalPath(),
              QDir(QString::fromStdString(ProgramFolder() + "Backup")).canonicalPath());
    EXPECT_EQ(editor->Data().imageSource, SourceOpened);
    EXPECT_TRUE(editor->windowTitle().startsWith(QStringLiteral("Kivo_210417_")));
}

// Every kind of field under its own caption, with its value as the field shows it.
TEST_F(BackupTest, CompareShowsEachFieldAsTheEditorShowsIt) {
    KivoData other;
    ASSERT_TRUE(other.LoadImageFile(ProgramFolder() + "Default.bin"));
    TextToPhone("0301234567", &other.image[mm::PhoneA]);
    other.image[mm::ProtocolA] = 2;           // a list: its item's text
    other.image[mm::FlagAssistance] ^= 0x80;  // a tick box: AN / AUS
    other.image[mm::RadioCodeAddr(2)] = 0x7B; // a transmitter code
    other.image[0x11A] ^= 0xFF;               // a byte no field shows
    ASSERT_TRUE(other.SaveImage512(dir.file("other.Kivo")).ok());
    editor->SetFileChooser(
        [&](QWidget*, TfrmEnterData::FileDialog, const QString&, const QString&, const QString&) {
            return QString::fromStdString(dir.file("other.Kivo"));
        });
    QString shown;
    editor->SetCompareViewer([&](QWidget*, const QString&, const QString& text) { shown = text; });
    editor->mnuToolsCompareClick();
    const std::string text = shown.toStdString();
    EXPECT_NE(text.find("Ruftypen – Telefonnummer A:  → 0301234567"), std::string::npos) << text;
    EXPECT_NE(text.find("→ CPC"), std::string::npos) << text;
    EXPECT_NE(text.find("Alarmquellen – Funk pos. 2:  → 7B00"), std::string::npos) << text;
    EXPECT_TRUE(shown.contains(QStringLiteral("→ AN")) || shown.contains(QStringLiteral("→ AUS")))
        << text;
    EXPECT_NE(text.find(Str(16056) + "\n0x11A: 0 → 255"), std::string::npos) << text;
}

TEST_F(BackupTest, CompareListsTheDifferencesOfWhatTheControlsShow) {
    KivoData other;
    ASSERT_TRUE(other.LoadImageFile(ProgramFolder() + "Default.bin"));
    other.image[0xC4] = 99;
    ASSERT_TRUE(other.SaveImage512(dir.file("other.Kivo")).ok());
    editor->SetFileChooser(
        [&](QWidget*, TfrmEnterData::FileDialog, const QString&, const QString&, const QString&) {
            return QString::fromStdString(dir.file("other.Kivo"));
        });
    QString shown;
    editor->SetCompareViewer([&](QWidget*, const QString&, const QString& text) { shown = text; });
    Edit("edtRepeatSequence")->setText("9"); // not saved anywhere: still compared
    editor->mnuToolsCompareClick();
    EXPECT_TRUE(shown.contains(QStringLiteral("Sequenzen – Wiederhole Sequenz: 9 → ")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Akkuüberwachung Intervall: 24 → 99")));
    EXPECT_FALSE(shown.contains(QStringLiteral("Cycles"))); // no English, no raw bytes

    other.image[0xC4] = editor->Data().image[0xC4];
    other.image[0xBA] = 9;
    ASSERT_TRUE(other.SaveImage512(dir.file("other.Kivo")).ok());
    shown.clear();
    editor->mnuToolsCompareClick();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(Boxes().back(), 16006);
}

} // namespace
} // namespace kivo::gui::test
