// The default configuration and default folder dialogs from the editor's File menu.
#include "editorfixture.h"

#include "gui/editor/selectdirectory.h"
#include "gui/editor/viewdefault.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace kivo::gui::test {
namespace {

class DefaultsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        viewDefault = std::make_unique<TfrmViewDefault>(ctx);
        selectDirectory = std::make_unique<TfrmSelectDirectory>(ctx);
        ctx.windows.Register(Role::Editor, editor.get());
        ctx.windows.Register(Role::ViewDefault, viewDefault.get());
        ctx.windows.Register(Role::SelectDirectory, selectDirectory.get());
        ini.SetFileName(ProgramFolder() + "Values.ini");
        // Only the default configuration itself in the program folder.
        QDir folder(QString::fromStdString(ProgramFolder()));
        for (const QString& name : folder.entryList({"*.bin", "*.Kivo"}, QDir::Files)) {
            if (name != "Default.bin") {
                ASSERT_TRUE(folder.remove(name)) << name.toStdString();
            }
        }
    }
    void TearDown() override {
        ctx.windows.Clear();
        viewDefault.reset();
        selectDirectory.reset();
        EditorTest::TearDown();
    }

    std::string WriteProgramFile(const std::string& name, char fill) const {
        return folders.dir().Write(ProgramFolder() + name, std::string(512, fill));
    }
    std::vector<std::uint8_t> ProgramFile(const std::string& name) const {
        return folders.dir().Read(ProgramFolder() + name);
    }
    // Runs `inside` while `dialog` is up, opened by the menu item `item`.
    void Run(const char* item, QDialog* dialog, std::function<void()> inside) {
        bool ran = false;
        WhenModal([&](QWidget* modal) {
            EXPECT_EQ(modal, dialog);
            if (modal != dialog) return;
            ran = true;
            inside();
            if (dialog->isVisible()) dialog->reject();
        });
        Find<QAction>(item)->trigger();
        EXPECT_TRUE(ran);
    }

    KivoIni ini;
    std::unique_ptr<TfrmViewDefault> viewDefault;
    std::unique_ptr<TfrmSelectDirectory> selectDirectory;
};

TEST_F(DefaultsTest, NoAlternativeShowsTheBoxInsteadOfTheDialog) {
    WriteProgramFile("DEFAULT.BIN", 'x'); // the default in another letter case is none
    EXPECT_EQ(viewDefault->CountDefaultConfigs(), 0);
    bool shown = false;
    QTimer::singleShot(0, viewDefault.get(), [&] {
        shown = viewDefault->isVisible();
        viewDefault->reject();
    });
    Find<QAction>("mnuFileChangeDefaultConfig")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_EQ(Boxes(), std::vector<int>{15019});

    // Shown all the same (the files went away after counting): the list says so, and OK
    // copies nothing.
    viewDefault->show();
    ASSERT_EQ(viewDefault->cmbDefaultConfig->count(), 1);
    EXPECT_EQ(viewDefault->cmbDefaultConfig->currentText(), QStr(13734));
    EXPECT_EQ(viewDefault->SelectedConfig(), "");
    viewDefault->hide();
}

TEST_F(DefaultsTest, ChosenAlternativeBecomesTheDefault) {
    WriteProgramFile("DEFAULT.BIN", 'x');
    WriteProgramFile("unit.Kivo", 'k');
    WriteProgramFile("alt.bin", 'b');
    const auto oldDefault = ProgramFile("Default.bin");
    ini.WriteValue("Setup", "DefaultBinChanged", "false");

    // Abbruch first: nothing happens.
    Run("mnuFileChangeDefaultConfig", viewDefault.get(), [&] {
        viewDefault->cmbDefaultConfig->setCurrentIndex(1);
        viewDefault->btnCancel->click();
    });
    EXPECT_EQ(ProgramFile("Default.bin"), oldDefault);
    EXPECT_EQ(ini.ReadValue("Setup", "DefaultBinChanged"), "false");

    Run("mnuFileChangeDefaultConfig", viewDefault.get(), [&] {
        QComboBox* list = viewDefault->cmbDefaultConfig;
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->itemText(0), "alt.bin");
        EXPECT_EQ(list->itemText(1), "unit.Kivo");
        EXPECT_EQ(list->currentIndex(), 0);
        list->setCurrentIndex(1);
        list->setEditText("other.bin"); // typed over the list: the chosen item counts
        viewDefault->btnOK->click();
    });
    EXPECT_EQ(ProgramFile("Default.bin"), std::vector<std::uint8_t>(512, 'k'));
    EXPECT_EQ(ini.ReadValue("Setup", "DefaultBinChanged"), "true");
    EXPECT_EQ(ProgramFile("DEFAULT.BIN"), std::vector<std::uint8_t>(512, 'x'));
    EXPECT_TRUE(Boxes().empty());
    // The working image stays until the next File > New.
    EXPECT_NE(editor->Data().image[0], 'k');
}

TEST_F(DefaultsTest, TypedFolderIsStoredWithoutTrailingDelimiter) {
    const std::string typed = folders.dir().path() + "/not/there/";
    const std::string stored = folders.dir().path() + "/not/there";
    Run("mnuFileSelectDefaultDirectory", selectDirectory.get(), [&] {
        EXPECT_EQ(selectDirectory->edtActiveConfigDirectory->text().toStdString(), ConfigFolder());
        selectDirectory->edtActiveConfigDirectory->setText(QString::fromStdString(typed));
        selectDirectory->btnOK->click();
    });
    EXPECT_EQ(ctx.folders.configFolder, stored);
    EXPECT_EQ(ini.ReadValue("Setup", "ConfigDirectory"), stored);
    EXPECT_FALSE(QDir(QString::fromStdString(stored)).exists());
}

TEST_F(DefaultsTest, BrowserFillsTheFieldAndAbbruchKeepsTheFolder) {
    const std::string before = ConfigFolder();
    const std::string configured = ini.ReadValue("Setup", "ConfigDirectory");
    std::vector<std::pair<QString, QString>> asked; // title and start folder
    QString answer = "/media/stick/";
    selectDirectory->SetFolderChooser([&](QWidget*, const QString& title, const QString& start) {
        asked.emplace_back(title, start);
        return answer;
    });
    Run("mnuFileSelectDefaultDirectory", selectDirectory.get(), [&] {
        selectDirectory->btnBrowse->click();
        EXPECT_EQ(selectDirectory->GetDirectory(), "/media/stick");
        EXPECT_EQ(selectDirectory->edtActiveConfigDirectory->text(), "/media/stick");
        answer.clear(); // the browser cancelled: the field stays
        selectDirectory->btnBrowse->click();
        EXPECT_EQ(selectDirectory->edtActiveConfigDirectory->text(), "/media/stick");
        selectDirectory->btnCancel->click();
    });
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].first, QStr(15032));
    EXPECT_EQ(asked[0].second.toStdString(), before);
    EXPECT_EQ(asked[1].second, "/media/stick");
    EXPECT_EQ(ctx.folders.configFolder, before);
    EXPECT_EQ(ini.ReadValue("Setup", "ConfigDirectory"), configured);
}

} // namespace
} // namespace kivo::gui::test
