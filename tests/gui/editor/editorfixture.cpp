#include "editorfixture.h"

#include "app/startup.h"
#include "editor/binding.h"
#include "transport/choose.h"

#include <QLocale>

namespace kivo::gui::test {

void EditorTest::SetUp() {
    // The German edition on a German platform: comma and dd.MM.yyyy.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    StartupEnvironment env = PlatformEnvironment(std::string(KIVO_BIN_DIR) + "/kivotool", {});
    ctx.folders = RunStartup(env);
    ctx.templateFolder = env.templateFolder;
    UseKobu("sim");
    MakeEditor();
}

void EditorTest::TearDown() {
    editor.reset();
    QLocale::setDefault(QLocale::c());
}

void EditorTest::UseKobu(const std::string& choice) {
    std::string error;
    ctx.kobu = ChooseKobu(choice, ctx.templateFolder, error);
    ASSERT_TRUE(ctx.kobu) << error;
}

void EditorTest::MakeEditor() {
    editor.reset();
    editor = std::make_unique<TfrmEnterData>(ctx);
}

int EditorTest::ListValue(const std::string& name) const {
    QComboBox* list = List(name);
    // The value lists are the editor's; the item texts come from Values.ini in key order.
    KivoIni ini;
    ini.SetFileName(ProgramFolder() + "Values.ini");
    for (const FilledList& f : FillEditorLists(ini))
        if (f.control == name) return ValueAtIndex(f.values, list->currentIndex());
    return -2;
}

void EditorTest::SelectValue(const std::string& name, int value) const {
    KivoIni ini;
    ini.SetFileName(ProgramFolder() + "Values.ini");
    for (const FilledList& f : FillEditorLists(ini))
        if (f.control == name) List(name)->setCurrentIndex(IndexOfValue(f.values, value));
}

QString EditorTest::DefaultText(unsigned addr) const {
    KivoData defaults;
    EXPECT_TRUE(defaults.LoadImageFile(ProgramFolder() + "Default.bin"));
    return QString::number(defaults.image[addr]);
}

std::vector<int> EditorTest::Boxes() const {
    std::vector<int> ids;
    for (const MessageRecord& r : Recorded().shown) ids.push_back(r.textId);
    return ids;
}

} // namespace kivo::gui::test
