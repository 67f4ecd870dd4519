// File > New, Open, Save and Save As, with the file dialogs replaced by a chooser.
#include "editorfixture.h"

#include "support/tempdir.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

#include <filesystem>
#include <sys/stat.h>

namespace kivo::gui::test {
namespace {

class FilesTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor->SetFileChooser([this](QWidget*, TfrmEnterData::FileDialog kind,
                                      const QString& title, const QString& folder,
                                      const QString& filter) {
            asked.push_back({kind, title, folder, filter});
            return QString::fromStdString(next);
        });
        defaults.LoadImageFile(ProgramFolder() + "Default.bin");
        ClearBoxes();
    }
    // A configuration file of `size` bytes: the default image with a mark at 0xBA.
    std::string MakeFile(const std::string& name, std::size_t size, std::uint8_t mark = 9) {
        std::vector<std::uint8_t> bytes(defaults.image.begin(), defaults.image.end());
        bytes.resize(size, 0x55);
        bytes[0xBA] = mark;
        return dir.Write(name, bytes);
    }
    std::size_t Length(const std::string& path) const { return dir.Read(path).size(); }

    struct Asked {
        TfrmEnterData::FileDialog kind;
        QString title, folder, filter;
    };
    std::vector<Asked> asked;
    std::string next; // what the user chooses; empty: cancelled
    KivoData defaults;
    kivo::test::TempDir dir;
};

TEST_F(FilesTest, DialogsStartInTheConfigurationFolder) {
    next = "";
    editor->mnuFileOpenClick();
    editor->mnuFileSaveAsClick();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].kind, TfrmEnterData::FileDialog::Open);
    EXPECT_EQ(asked[0].title, QString::fromUtf8("Öffnen"));
    EXPECT_EQ(asked[1].kind, TfrmEnterData::FileDialog::SaveAs);
    EXPECT_EQ(asked[1].title, "Speichern als");
    for (const Asked& a : asked) {
        EXPECT_EQ(a.folder.toStdString(), ConfigFolder());
        EXPECT_EQ(a.filter, "KIVO Konfigurationsdatei (*.Kivo)");
    }
    EXPECT_TRUE(Boxes().empty());
}

// The real Save As dialog: German (Qt's own texts too) and a name field that starts with the
// pattern, closed by the user with Escape.
TEST_F(FilesTest, TheRealSaveAsDialogSpeaksGermanAndStartsWithThePattern) {
    editor->SetFileChooser(nullptr);
    QString name, buttons;
    WhenModal([&](QWidget* dialog) {
        for (QLineEdit* e : dialog->findChildren<QLineEdit*>())
            if (e->isVisible() && name.isEmpty()) name = e->text();
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->isVisible()) buttons += b->text() + QLatin1Char('|');
        if (const char* where = std::getenv("KIVO_TEST_PICTURES"))
            dialog->grab().save(QString::fromLocal8Bit(where) + "/save-as.png");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(editor->mnuFileSaveAsClick());
    EXPECT_EQ(name, "*.Kivo");
    EXPECT_TRUE(buttons.contains("Abbrechen")) << buttons.toStdString();
    EXPECT_FALSE(buttons.contains("Cancel")) << buttons.toStdString();
}

TEST_F(FilesTest, OpenTakesTheFileAndItsSize) {
    next = MakeFile("old.Kivo", 256);
    editor->mnuFileOpenClick();
    EXPECT_EQ(Boxes(), std::vector<int>{15036});
    EXPECT_EQ(editor->ImageSize(), 256u);
    EXPECT_EQ(editor->Data().imageSource, SourceOpened);
    EXPECT_EQ(editor->Data().fileName, next);
    EXPECT_EQ(editor->windowTitle(), "old.Kivo - KIVO Programmiertool");
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "9");
    for (unsigned a = 0x100; a < 0x200; ++a) ASSERT_EQ(editor->Data().image[a], 0) << a;
    EXPECT_EQ(editor->Data().reference, editor->Data().image);

    // Longer than 512 bytes: its first 512.
    ClearBoxes();
    next = MakeFile("long.Kivo", 600, 11);
    editor->mnuFileOpenClick();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(editor->ImageSize(), 512u);
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "11");
    EXPECT_EQ(editor->Data().image[0x1FF], defaults.image[0x1FF]);
}

TEST_F(FilesTest, OpenRefusesAFileOfTheWrongLength) {
    const Image before = editor->Data().image;
    next = MakeFile("bad.Kivo", 300);
    editor->mnuFileOpenClick();
    EXPECT_EQ(Boxes(), std::vector<int>{15010});
    EXPECT_EQ(editor->Data().image, before);
    EXPECT_EQ(editor->Data().imageSource, SourceDefault);
    EXPECT_EQ(editor->windowTitle(), "Standard - KIVO Programmiertool");
}

TEST_F(FilesTest, OpenReportsTheLastInvalidByte) {
    std::vector<std::uint8_t> bytes(defaults.image.begin(), defaults.image.end());
    bytes[0xA8] = 99; // no alarm type
    bytes[0x80] = 0;  // no sequence number
    next = dir.Write("invalid.Kivo", bytes);
    editor->mnuFileOpenClick();
    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].textId, 15023);
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
    EXPECT_EQ(Recorded().shown[0].text.toStdString(),
              "Fehler beim konvertiernen der Daten. Wert 0 bei Adresse 128 ist nicht gültig. "
              "Bitte kontaktieren Sie Tavra Electronics");

    // A test alarm interval of 0: the field's own box while it is shown, then the report.
    ClearBoxes();
    bytes = std::vector<std::uint8_t>(defaults.image.begin(), defaults.image.end());
    bytes[0xC2] = 0;
    next = dir.Write("nointerval.Kivo", bytes);
    editor->mnuFileOpenClick();
    EXPECT_EQ(Boxes(), (std::vector<int>{15029, 15023}));
    EXPECT_NE(Recorded().shown[1].text.indexOf("Wert 0 bei Adresse 194"), -1);
}

TEST_F(FilesTest, SavingAnOldConfigurationAsksToConvertIt) {
    next = MakeFile("old.Kivo", 256);
    editor->mnuFileOpenClick();
    ClearBoxes();
    Recorded().answers = {BtnNo};
    EXPECT_TRUE(editor->mnuFileSaveClick());
    EXPECT_EQ(Boxes(), std::vector<int>{15037});
    EXPECT_EQ(Recorded().shown[0].buttons, BtnYes | BtnNo);
    EXPECT_EQ(Length(next), 256u);
    EXPECT_EQ(editor->ImageSize(), 256u);

    ClearBoxes();
    Recorded().answers = {BtnYes};
    EXPECT_TRUE(editor->mnuFileSaveClick());
    EXPECT_EQ(Length(next), 512u);
    EXPECT_EQ(editor->ImageSize(), 512u);
    // Converted once, saved whole from then on without asking.
    ClearBoxes();
    EXPECT_TRUE(editor->mnuFileSaveClick());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Length(next), 512u);
}

TEST_F(FilesTest, SaveWritesTheControlsIntoTheOpenedFile) {
    next = MakeFile("mine.Kivo", 512);
    editor->mnuFileOpenClick();
    Edit("edtRepeatSequence")->setText("4");
    asked.clear();
    EXPECT_TRUE(editor->mnuFileSaveClick());
    EXPECT_TRUE(asked.empty()); // the current file, no dialog
    EXPECT_EQ(dir.Read(next)[0xBA], 4);
    EXPECT_EQ(editor->Data().reference, editor->Data().image);
}

TEST_F(FilesTest, SaveWithoutACurrentFileIsSaveAs) {
    for (std::uint32_t source : {SourceDefault, SourceUnit}) {
        editor->Data().imageSource = source;
        asked.clear();
        next = dir.file("chosen" + std::to_string(source));
        EXPECT_TRUE(editor->mnuFileSaveClick());
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].kind, TfrmEnterData::FileDialog::SaveAs);
        EXPECT_EQ(Length(next + ".Kivo"), 512u);
        EXPECT_EQ(editor->Data().imageSource, SourceSaved);
    }
}

TEST_F(FilesTest, SaveAsGivesTheNameTheKivoExtension) {
    const std::pair<const char*, const char*> names[] = {
        {"alarm.txt", "alarm.Kivo"},
        {"alarm", "alarm.Kivo"},
        {"my.alarm.Kivo", "my.alarm.Kivo"},
    };
    for (const auto& [chosen, stored] : names) {
        next = dir.file(chosen);
        EXPECT_TRUE(editor->mnuFileSaveAsClick()) << chosen;
        EXPECT_EQ(Length(dir.file(stored)), 512u) << chosen;
        EXPECT_EQ(editor->Data().fileName, dir.file(stored));
        EXPECT_EQ(editor->windowTitle().toStdString(),
                  std::string(stored) + " - KIVO Programmiertool");
    }
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.file("alarm.txt"))));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(WithKivoExtension("/a.b/c"), "/a.b/c.Kivo");
}

TEST_F(FilesTest, SaveAsAsksBeforeOverwritingAndRefusesReadOnlyFiles) {
    // The question goes by the name as chosen.
    next = MakeFile("alarm.txt", 512, 1);
    Recorded().answers = {BtnNo};
    EXPECT_FALSE(editor->mnuFileSaveAsClick());
    EXPECT_EQ(Boxes(), std::vector<int>{15013});
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.file("alarm.Kivo"))));

    ClearBoxes();
    Recorded().answers = {BtnYes};
    EXPECT_TRUE(editor->mnuFileSaveAsClick());
    EXPECT_EQ(Length(dir.file("alarm.Kivo")), 512u);

    ClearBoxes();
    next = MakeFile("locked.Kivo", 512, 1);
    ::chmod(next.c_str(), 0444);
    EXPECT_FALSE(editor->mnuFileSaveAsClick());
    EXPECT_EQ(Boxes(), std::vector<int>{13803});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);
    EXPECT_EQ(dir.Read(next)[0xBA], 1); // untouched
}

TEST_F(FilesTest, AFailedWriteSaysSoAndKeepsTheNewName) {
    next = dir.file("missing/folder/x.Kivo");
    EXPECT_FALSE(editor->mnuFileSaveAsClick());
    // The real reason, not the text about names the platform refuses.
    EXPECT_EQ(Boxes(), std::vector<int>{16200});
    EXPECT_TRUE(Recorded().shown[0].text.contains(QStr(16201)));
    EXPECT_EQ(editor->Data().imageSource, SourceSaved);
    EXPECT_EQ(editor->Data().fileName, next);
}

// Save on the file that is open: a write-protected one is refused as Save As refuses it, and
// the changes stay in the editor; a link is saved through and stays a link.
TEST_F(FilesTest, SaveHonoursProtectionAndLinks) {
    next = MakeFile("locked.Kivo", 512, 1);
    editor->mnuFileOpenClick();
    ::chmod(next.c_str(), 0444);
    Edit("edtRepeatSequence")->setText("7");
    ClearBoxes();
    EXPECT_FALSE(editor->mnuFileSaveClick());
    EXPECT_EQ(Boxes(), std::vector<int>{13803});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);
    EXPECT_EQ(dir.Read(next)[0xBA], 1);
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "7"); // the change is still there

    const std::string target = MakeFile("real/target.Kivo", 512, 1);
    std::filesystem::create_symlink(target, dir.file("link.Kivo"));
    next = dir.file("link.Kivo");
    editor->mnuFileOpenClick();
    Edit("edtRepeatSequence")->setText("7");
    ClearBoxes();
    EXPECT_TRUE(editor->mnuFileSaveClick());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(dir.Read(target)[0xBA], 7);
    EXPECT_TRUE(std::filesystem::is_symlink(next));
}

// The failure in a real message box: it shows the cause, goes away with OK, and leaves the
// editor working on the same file.
TEST_F(FilesTest, AFailedSaveInARealBox) {
    next = dir.file("missing/x.Kivo");
    QString shown;
    Messages::Install(nullptr);
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    const bool saved = editor->mnuFileSaveAsClick();
    Messages::Install(&Recorded());
    EXPECT_FALSE(saved);
    EXPECT_TRUE(shown.contains(QStr(16201))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QString::fromStdString(next)));
    EXPECT_EQ(editor->Data().fileName, next);
    next = dir.file("x.Kivo");
    EXPECT_TRUE(editor->mnuFileSaveAsClick());
    EXPECT_EQ(Length(next), 512u);
}

TEST_F(FilesTest, NewLoadsTheDefaultImageWhateverItsSpelling) {
    next = MakeFile("mine.Kivo", 256);
    editor->mnuFileOpenClick();
    ClearBoxes();
    const QString program = QString::fromStdString(ProgramFolder());
    ASSERT_TRUE(QFile::rename(program + "Default.bin", program + "default.bin"));
    editor->mnuFileNewClick();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(editor->Data().image, defaults.image);
    EXPECT_EQ(editor->ImageSize(), 512u);
    EXPECT_EQ(editor->Data().imageSource, SourceDefault);
    EXPECT_EQ(editor->windowTitle(), "Standard - KIVO Programmiertool");
}

TEST_F(FilesTest, NewWithoutTheDefaultImageKeepsTheImage) {
    next = MakeFile("old.Kivo", 256);
    editor->mnuFileOpenClick();
    const Image before = editor->Data().image;
    ClearBoxes();
    QFile::remove(QString::fromStdString(ProgramFolder() + "Default.bin"));
    editor->mnuFileNewClick();
    EXPECT_EQ(Boxes(), std::vector<int>{15011});
    EXPECT_EQ(editor->Data().image, before);
    EXPECT_EQ(editor->ImageSize(), 512u);
    EXPECT_EQ(editor->Data().imageSource, SourceDefault);
}

} // namespace
} // namespace kivo::gui::test
