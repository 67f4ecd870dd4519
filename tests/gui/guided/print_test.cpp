// Printing the report into PDF files: basic programming's "read and print" and the editor's
// File > Print, with the print dialog replaced by a stand-in.
#include "guidedfixture.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "gui/editor/enterdata.h"
#include "support/smalldisk.h"

#include <QAction>
#include <QDate>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <filesystem>
#include <sys/stat.h>

namespace kivo::gui::test {
namespace {

class ReadAndPrintTest : public GuidedTest {
protected:
    void SetUp() override {
        GuidedTest::SetUp();
        PutConfiguration("Standard.Kivo", defaults);
        unit = defaults;
        TextToAlarmCode("4711", &unit[mm::AlarmCodeA]);
    }
    Image unit{};
};

TEST_F(ReadAndPrintTest, PrintsTheUnitAsRead) {
    struct Case {
        unsigned size;
        int pages;
    };
    for (const Case c : {Case{512, 3}, Case{256, 2}}) {
        SCOPED_TRACE(c.size);
        Unit(unit, c.size);
        Show();
        ClearBoxes();
        const int asked = printed.asked;
        window->btnReadAndPrint->click();

        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(Status(), QString::fromUtf8("Lesen vollständig"));
        EXPECT_EQ(printed.asked, asked + 1);
        // The working image is the unit's memory, zero beyond a small unit's 256 bytes.
        const auto memory = UnitMemory();
        for (unsigned a = 0; a < 512; ++a)
            ASSERT_EQ(window->Data().image[a], a < c.size ? memory[a] : 0) << a;
        EXPECT_EQ(PdfPages(printed.pdf), c.pages);
        const QString text = PdfText(printed.pdf);
        EXPECT_TRUE(text.contains("Teilnehmernummer 4711")) << text.toStdString();
        EXPECT_TRUE(text.contains("Dateiname aus KIVO ausgelesen"));
        EXPECT_FALSE(text.contains("[aus KIVO ausgelesen]"));
        EXPECT_TRUE(text.contains(QStringLiteral("Seite %1 von %1").arg(c.pages)));
        window->hide();
    }
}

TEST_F(ReadAndPrintTest, CancellingThePrintDialogPrintsNothing) {
    Unit(unit);
    Show();
    printed.accept = false;
    window->btnReadAndPrint->click();
    EXPECT_EQ(printed.asked, 1);
    EXPECT_TRUE(printed.pdf.isEmpty());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(AlarmCodeToText(&window->Data().image[mm::AlarmCodeA]), "4711");
}

// A PDF that cannot be written, in a real message box: the box says why, the PDF that was
// there stays.
TEST_F(ReadAndPrintTest, AFailedPdfInARealBox) {
    Unit(unit);
    Show();
    printed.target = QString::fromStdString(dir.Write("old.pdf", "the old report"));
    QString shown;
    Messages::Install(nullptr);
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    {
        kivo::test::FileSizeLimit limit(20 * 1024); // far less than the report
        window->btnReadAndPrint->click();
    }
    Messages::Install(&Recorded());
    EXPECT_EQ(printed.asked, 1);
    EXPECT_EQ(shown, QString::fromStdString(
                         FormatText(Str(16200), {printed.target.toStdString(), Str(16205)})));
    EXPECT_EQ(dir.ReadText("old.pdf"), "the old report");
}

// A failed read says so in the status line and in an error box, and nothing is printed; a
// unit that answers neither at 511 nor at 255 fails the read.
TEST_F(ReadAndPrintTest, FailedReadsPrintNothing) {
    struct Case {
        const char* kobu; // nullptr: no Kobu at all
        int text;
    };
    for (const Case c : {Case{nullptr, 15009}, Case{"unit=0", 15008}, Case{"nak=1", 13806}}) {
        SCOPED_TRACE(c.text);
        if (c.kobu)
            Unit(unit, 512, c.kobu);
        else
            UseKobu("");
        Show();
        ClearBoxes();
        window->btnReadAndPrint->click();
        ASSERT_EQ(Boxes(), std::vector<int>{c.text});
        EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
        EXPECT_EQ(Status(), QString::fromStdString(Str(c.text)));
        window->hide();
    }
    EXPECT_EQ(printed.asked, 0);
}

// The editor prints what its controls show; the file line names the configuration, in
// brackets once it differs from what was loaded, read or saved.
class EditorPrintTest : public GuidedTest {
protected:
    void SetUp() override {
        GuidedTest::SetUp();
        editor = std::make_unique<TfrmEnterData>(ctx);
        editor->SetFileChooser([this](QWidget*, TfrmEnterData::FileDialog, const QString&,
                                      const QString&, const QString&) { return open; });
        ClearBoxes();
    }
    void TearDown() override {
        editor.reset();
        GuidedTest::TearDown();
    }
    void Open(const std::string& name, std::size_t size) {
        Image image = defaults;
        TextToAlarmCode("0815", &image[mm::AlarmCodeA]);
        open = QString::fromStdString(PutConfiguration(name, image, size));
        editor->mnuFileOpenClick();
    }
    QLineEdit* Edit(const char* name) const {
        return editor->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    std::unique_ptr<TfrmEnterData> editor;
    QString open;
};

TEST_F(EditorPrintTest, FileLineAndPagesFollowTheConfiguration) {
    auto* print = editor->findChild<QAction*>("mnuFilePrint");
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->isEnabled());
    const QString today = QDate::currentDate().toString("dd.MM.yyyy");

    // Opened and unchanged: the name, the file's date, three pages.
    Open("Heim.Kivo", 512);
    print->trigger();
    QString text = PdfText(printed.pdf);
    EXPECT_EQ(PdfPages(printed.pdf), 3);
    EXPECT_TRUE(text.contains("Dateiname Heim.Kivo")) << text.toStdString();
    EXPECT_TRUE(text.contains("Dateidatum " + today));
    EXPECT_TRUE(text.contains("Teilnehmernummer 0815"));

    // Changed in the editor since it was opened: the report shows the change, and the file
    // line is bracketed.
    Edit("edtAlarmCodeA")->setText("999");
    print->trigger();
    text = PdfText(printed.pdf);
    EXPECT_TRUE(text.contains("Dateiname [Heim.Kivo]")) << text.toStdString();
    EXPECT_TRUE(text.contains("Teilnehmernummer 999"));
    EXPECT_EQ(AlarmCodeToText(&editor->Data().image[mm::AlarmCodeA]), "999");

    // A small configuration: two pages.
    Open("Alt.Kivo", 256);
    EXPECT_EQ(editor->ImageSize(), 256u);
    print->trigger();
    EXPECT_EQ(PdfPages(printed.pdf), 2);
    EXPECT_TRUE(PdfText(printed.pdf).contains("Dateiname Alt.Kivo"));

    // Read from a small unit: the editor's size is the unit's, whatever file was loaded last.
    Open("Neu.Kivo", 512);
    Unit(defaults, 256);
    editor->mnuCommReadClick();
    ASSERT_EQ(editor->ImageSize(), 256u);
    print->trigger();
    EXPECT_EQ(PdfPages(printed.pdf), 2);
    text = PdfText(printed.pdf);
    EXPECT_TRUE(text.contains("Dateiname aus KIVO ausgelesen")) << text.toStdString();
    EXPECT_FALSE(text.contains("Dateidatum " + today));
    EXPECT_EQ(printed.asked, 4);
}

TEST_F(EditorPrintTest, CancelledDialogLeavesTheImageAlone) {
    Open("Heim.Kivo", 512);
    Edit("edtAlarmCodeA")->setText("999");
    printed.accept = false;
    editor->mnuFilePrintClick();
    EXPECT_EQ(printed.asked, 1);
    EXPECT_TRUE(printed.pdf.isEmpty());
    // The controls are stored only for a print that goes ahead.
    EXPECT_EQ(AlarmCodeToText(&editor->Data().image[mm::AlarmCodeA]), "0815");
}

// A PDF that cannot be written whole is not written: the old file stays and the box says
// why. A full disk where the test can make one, a file-size limit and a protected file.
TEST_F(EditorPrintTest, APdfThatCannotBeWrittenKeepsTheOldFile) {
    Open("Heim.Kivo", 512);
    std::filesystem::create_directory(dir.file("disk"));
    kivo::test::SmallDisk disk(dir.file("disk"), 20 * 1024);
    struct Case {
        const char* name;
        std::string file;
        int reason;
        std::function<void()> around; // runs the print
    };
    const auto print = [this] { editor->mnuFilePrintClick(); };
    std::vector<Case> cases = {
        {"file-size limit", dir.Write("limited.pdf", "old"), 16205,
         [&] {
             kivo::test::FileSizeLimit limit(20 * 1024);
             print();
         }},
        {"protected", dir.Write("ro.pdf", "old"), 16210, print},
    };
    ::chmod(dir.file("ro.pdf").c_str(), 0444);
    if (disk.Mounted())
        cases.push_back({"full disk", dir.Write("disk/old.pdf", "old"), 16203, print});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printed.target = QString::fromStdString(c.file);
        ClearBoxes();
        c.around();
        ASSERT_EQ(Boxes(), std::vector<int>{16200});
        EXPECT_TRUE(Recorded().shown[0].text.contains(QStr(c.reason)));
        EXPECT_EQ(dir.ReadText(c.file), "old");
    }
}

// Printing into the configuration that is open would destroy it: refused, also through a link.
TEST_F(EditorPrintTest, APdfOverTheOpenConfigurationIsRefused) {
    Open("Heim.Kivo", 512);
    const auto before = dir.Read(open.toStdString());
    std::filesystem::create_symlink(open.toStdString(), dir.file("link.pdf"));
    for (const QString& target : {open, QString::fromStdString(dir.file("link.pdf"))}) {
        printed.target = target;
        ClearBoxes();
        editor->mnuFilePrintClick();
        EXPECT_EQ(Boxes(), std::vector<int>{16208});
        EXPECT_EQ(dir.Read(open.toStdString()), before);
    }
}

} // namespace
} // namespace kivo::gui::test
