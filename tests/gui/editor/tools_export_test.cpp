// The parameter text file from the editor's Tools menu: its name, what it says of the
// editor's fields, and the boxes around it.
#include "editorfixture.h"

#include "gui/editor/enterdatatools.h"

#include <QAction>
#include <QFileInfo>

namespace kivo::gui::test {
namespace {

class ExportTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        SetDocumentOpener([this](const QUrl& url) {
            opened.push_back(url);
            return openerWorks;
        });
        editor->SetAccessLevel(4);
    }
    void TearDown() override {
        SetDocumentOpener({});
        EditorTest::TearDown();
    }
    void Export() { Find<QAction>("mnuToolsCreateTextFile")->trigger(); }

    std::vector<QUrl> opened;
    bool openerWorks = true;
};

TEST_F(ExportTest, FileNamedByTheImageSourceShownAndOpened) {
    const std::string config = folders.dir().file("docs/Unit7.Kivo");
    struct Case {
        std::uint32_t source;
        std::string fileName;
        const char* alarmCodeA;
        std::string expected;
    };
    const Case cases[] = {
        {SourceDefault, "", "1234", ProgramFolder() + "Default.txt"},
        {SourceOpened, config, "1234", config + ".txt"},
        {SourceSaved, config, "", config + ".txt"},
        {SourceUnit, config, "12*4", config + "(12*4).txt"},
        {SourceUnit, config, "", config + "(null).txt"},
    };
    for (const Case& c : cases) {
        ClearBoxes();
        opened.clear();
        editor->Data().imageSource = c.source;
        editor->Data().fileName = c.fileName;
        Edit("edtAlarmCodeA")->setText(c.alarmCodeA);
        Export();
        const QString path = QString::fromStdString(c.expected);
        ASSERT_EQ(Recorded().shown.size(), 1u) << c.expected;
        EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Information);
        EXPECT_EQ(Recorded().shown[0].text, QStr(15021) + path);
        EXPECT_EQ(opened, std::vector<QUrl>{QUrl::fromLocalFile(path)}) << c.expected;
        EXPECT_TRUE(QFileInfo::exists(path)) << c.expected;
    }
}

// The file says what the fields show, after the controls were stored into the image.
TEST_F(ExportTest, FieldsAsShownAndControlsStoredFirst) {
    Edit("edtRadioPos1")->setText("12ab");
    Edit("edtTelephoneNoR")->setText("0W12");
    Edit("edtRepeatSequence")->setText("7");
    Export();
    const std::string text = folders.dir().ReadText(ProgramFolder() + "Default.txt");
    EXPECT_EQ(text.rfind("Parameters in\r\n<Default.bin>\r\n", 0), 0u);
    for (const char* line :
         {"[0x00-0x01] ID code, transmitter 1: 12ab\r\n",
          "[0x38-0x3F] Telephone number V: 0W12\r\n", "[0xBA] Cycles of sequence:_______ 7\r\n",
          "-=0, A=1, B=2, C=3, D=4, N=5, U=6\r\n",
          "[0xB0] Radio test alarm on/off:______________ 0x"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(editor->Data().image[0xBA], 7);
}

TEST_F(ExportTest, OpenerFailureIsReportedAfterTheFileWasWritten) {
    openerWorks = false;
    Export();
    ASSERT_EQ(Boxes(), (std::vector<int>{0, 15022}));
    EXPECT_TRUE(Recorded().shown[0].text.startsWith(QStr(15021)));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(ProgramFolder() + "Default.txt")));
}

// A file that cannot be written is named in an error box; nothing claims it exists.
TEST_F(ExportTest, UnwritableFileIsReported) {
    // A plain file where the folder should be: not even the administrator can write there.
    const std::string notAFolder = folders.dir().Write("plain", "x");
    for (const std::string& config :
         {notAFolder + "/Unit7.Kivo", folders.dir().file("missing/Unit7.Kivo")}) {
        ClearBoxes();
        opened.clear();
        editor->Data().imageSource = SourceSaved;
        editor->Data().fileName = config;
        Export();
        ASSERT_EQ(Boxes(), std::vector<int>{16200}) << config;
        EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
        EXPECT_TRUE(Recorded().shown[0].text.contains(QString::fromStdString(config + ".txt")));
        EXPECT_TRUE(opened.empty());
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(config + ".txt")));
    }
}

} // namespace
} // namespace kivo::gui::test
