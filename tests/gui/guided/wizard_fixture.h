// The wizard on freshly installed program folders, talking to the in-process simulator whose
// memory lives in a file, driven through its buttons and fields.
#pragma once

#include "app/startup.h"
#include "gui/common/appcontext.h"
#include "gui/guided/kivowizard.h"
#include "support/guitest.h"
#include "support/tempdir.h"
#include "transport/choose.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <memory>
#include <string>
#include <vector>

namespace kivo::gui::test {

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartupEnvironment env = PlatformEnvironment(std::string(KIVO_BIN_DIR) + "/kivotool", {});
        ctx.folders = RunStartup(env);
        ctx.templateFolder = env.templateFolder;
        KivoData installed;
        ASSERT_TRUE(installed.LoadImageFile(ctx.folders.programFolder + "Default.bin"));
        defaults = installed.image;
        UseKobu("sim:learndelay=0");
        window = std::make_unique<TfrmKivoWizard>(ctx);
    }

    void UseKobu(const std::string& choice) {
        std::string error;
        ctx.kobu =
            choice.empty() ? TransportFactory{} : ChooseKobu(choice, ctx.templateFolder, error);
        ASSERT_TRUE(choice.empty() || ctx.kobu) << error;
    }

    // A simulated unit of `size` bytes starting from `start`, its memory kept in a file.
    void Unit(const Image& start, unsigned size, const std::string& options = "") {
        const std::string n = std::to_string(++units_);
        unitFile = "unit" + n + ".bin";
        const std::string startFile = dir.Write(
            "start" + n + ".bin", std::vector<std::uint8_t>(start.begin(), start.begin() + size));
        UseKobu("sim:size=" + std::to_string(size) + ",image=" + startFile + ",memory=" +
                dir.file(unitFile) + ",learndelay=0" + (options.empty() ? "" : "," + options));
    }
    std::vector<std::uint8_t> UnitMemory() const { return dir.Read(unitFile); }

    void Show() const {
        window->show();
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    int State() const { return window->PageState(); }
    void Next() const { window->btnNext->click(); }
    void Back() const { window->btnBack->click(); }
    // Next until the wizard stands on `state`, with the answers it holds; fails when a page
    // refuses.
    void NextUntil(int state) const {
        for (int guard = 0; State() != state && guard < 40; ++guard) {
            const int before = State();
            if (before == wizard::StateOneList && window->edtPhone[0]->text().isEmpty())
                Type(window->edtPhone[0], "0123");
            if (before == wizard::StateSave) window->cbSaveConfigAs->setChecked(false);
            Next();
            ASSERT_NE(State(), before) << "refused: " << ::testing::PrintToString(Boxes());
        }
    }
    // Types into a field key by key, through its key filter.
    static void Type(QLineEdit* field, const QString& text) {
        field->setFocus();
        field->clear();
        TypeKeys(field, text);
    }
    static std::vector<int> Boxes() {
        std::vector<int> ids;
        for (const MessageRecord& r : Recorded().shown) ids.push_back(r.textId);
        return ids;
    }
    static void ClearBoxes() { Recorded().shown.clear(); }
    Image& Working() const { return window->Data().image; }

    Folders folders;
    AppContext ctx;
    kivo::test::TempDir dir;
    std::string unitFile;
    Image defaults{};
    std::unique_ptr<TfrmKivoWizard> window;

private:
    int units_ = 0;
};

} // namespace kivo::gui::test
