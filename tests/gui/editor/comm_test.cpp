// Communication > Read and Write against the in-process simulator.
#include "editorfixture.h"

#include "app/strtable.h"
#include "gui/common/information.h"
#include "support/tempdir.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace kivo::gui::test {
namespace {

class CommTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        defaults.LoadImageFile(ProgramFolder() + "Default.bin");
        editor->show();
        ClearBoxes();
    }
    // A unit of `size` bytes whose memory starts from the default image with a mark at 0xBA,
    // kept in a file that shows what was written.
    void Unit(const std::string& options, unsigned size = 512, std::uint8_t mark = 8) {
        std::vector<std::uint8_t> start(defaults.image.begin(), defaults.image.begin() + size);
        start[0xBA] = mark;
        dir.Write("start.bin", start);
        UseKobu("sim:size=" + std::to_string(size) + ",image=" + dir.file("start.bin") +
                ",memory=" + dir.file("unit.bin") + (options.empty() ? "" : "," + options));
    }
    std::vector<std::uint8_t> UnitMemory() const { return dir.Read("unit.bin"); }
    QString Status() const { return Find<QStatusBar>("sbStatus")->currentMessage(); }

    KivoData defaults;
    kivo::test::TempDir dir;
};

TEST_F(CommTest, ReadShowsTheUnitsImage) {
    Unit("");
    editor->mnuCommReadClick();
    EXPECT_EQ(Boxes(), std::vector<int>{13805});
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "8");
    EXPECT_EQ(Edit("edtFirmwareVersion")->text(), "07.30-10"); // the unit's own bytes
    EXPECT_EQ(editor->ImageSize(), 512u);
    EXPECT_EQ(editor->Data().imageSource, SourceUnit);
    EXPECT_EQ(editor->Data().reference, editor->Data().image);
    EXPECT_EQ(editor->windowTitle(), "aus KIVO ausgelesen - KIVO Programmiertool");
    EXPECT_EQ(Status(), "Lesen vollständig");
    EXPECT_FALSE(Find<QProgressBar>("pbProgress")->isVisible());
}

TEST_F(CommTest, ReadFromASmallUnit) {
    editor->Data().fileName = "/somewhere/kept.Kivo";
    Unit("", 256, 4);
    editor->mnuCommReadClick();
    EXPECT_EQ(editor->ImageSize(), 256u);
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "4");
    for (unsigned a = 0x100; a < 0x200; ++a) ASSERT_EQ(editor->Data().image[a], 0) << a;
    EXPECT_EQ(editor->Data().imageSource, SourceUnit);
    EXPECT_EQ(editor->Data().fileName, "/somewhere/kept.Kivo");
}

TEST_F(CommTest, ReadFailuresLeaveTheEditorAsItWas) {
    const Image before = editor->Data().image;
    ctx.kobu = {}; // no Kobu
    editor->mnuCommReadClick();
    UseKobu("sim:unit=0"); // a Kobu without a unit behind it
    editor->mnuCommReadClick();
    EXPECT_EQ(Boxes(), (std::vector<int>{15009, 15008}));
    EXPECT_EQ(editor->Data().image, before);
    EXPECT_EQ(editor->Data().imageSource, SourceDefault);
    EXPECT_EQ(editor->windowTitle(), "Standard - KIVO Programmiertool");
}

TEST_F(CommTest, WriteStoresTheControlsIntoTheUnit) {
    Unit("");
    Edit("edtRepeatSequence")->setText("6");
    editor->mnuCommWriteClick();
    EXPECT_EQ(Boxes(), std::vector<int>{15004});
    EXPECT_EQ(Status(), QString::fromStdString(Str(15003)));
    const auto memory = UnitMemory();
    ASSERT_EQ(memory.size(), 512u);
    EXPECT_EQ(memory[0xBA], 6);
    EXPECT_EQ(editor->Data().image[0xBA], 6);
    EXPECT_EQ(editor->Data().imageSource, SourceDefault); // a write changes no file state
}

// A small unit takes only the first part: the success box says so in its second part.
TEST_F(CommTest, WriteToASmallUnitEndsWithTheTwoPartBox) {
    Unit("", 256);
    Edit("edtRepeatSequence")->setText("5");
    editor->mnuCommWriteClick();
    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].text, QString::fromStdString(Str(15004) + "\n\n" + Str(15033)));
    EXPECT_EQ(UnitMemory().size(), 256u);
    EXPECT_EQ(UnitMemory()[0xBA], 5);

    // With the program's information box the two parts go there.
    TfrmInformation information;
    ctx.windows.Register(Role::Information, &information);
    QString first, second;
    WhenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, &information);
        first = information.lblMess1->text();
        second = information.lblMess2->text();
        information.btnOK->click();
    });
    ClearBoxes();
    editor->mnuCommWriteClick();
    ctx.windows.Register(Role::Information, nullptr);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(first.startsWith("Programmierung vollständig"));
    EXPECT_TRUE(second.contains("Erweiterte Funktionen"));
}

// The Kobu pulled out in the middle of a transfer: the transfer's message, the editor as it
// was, and the next transfer works once the Kobu is back.
TEST_F(CommTest, APulledKobuEndsTheTransferWithItsMessage) {
    const Image before = editor->Data().image;
    Unit("disconnect=12"); // during the whole-image read
    editor->mnuCommReadClick();
    EXPECT_EQ(Boxes(), std::vector<int>{13806});
    EXPECT_EQ(editor->Data().image, before);
    EXPECT_EQ(editor->Data().imageSource, SourceDefault);

    // Gone during the backup, the write and the read-back; chunks written into the void are
    // caught by the read-back.
    struct Case {
        int after; // transactions until the Kobu is gone
        int box;
    } cases[] = {{12, 13806}, {60, 15005}, {90, 15005}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        Unit("disconnect=" + std::to_string(c.after));
        ClearBoxes();
        Edit("edtRepeatSequence")->setText("6");
        editor->mnuCommWriteClick();
        EXPECT_EQ(Boxes(), std::vector<int>{c.box});
        EXPECT_FALSE(Find<QProgressBar>("pbProgress")->isVisible());
    }

    Unit("");
    ClearBoxes();
    editor->mnuCommReadClick();
    EXPECT_EQ(Boxes(), std::vector<int>{13805});
}

// A protocol the unit's firmware does not know: refused, nothing written.
TEST_F(CommTest, WriteRefusedByTheUnitsFirmware) {
    Unit("firmware=06.32,variant=22");
    editor->mnuCommReadClick(); // the unit's memory file exists from here on
    const auto before = UnitMemory();
    ClearBoxes();
    SelectValue("cbbxProtocolA", 21);
    Edit("edtRepeatSequence")->setText("2");
    editor->mnuCommWriteClick();
    EXPECT_EQ(Boxes(), std::vector<int>{15101});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
    EXPECT_EQ(UnitMemory(), before);
}

} // namespace
} // namespace kivo::gui::test
