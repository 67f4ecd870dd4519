// The about box: version lines, the Kobu's version text and the lines of about.ini.
#include "support/apptest.h"

#include "app/startup.h"
#include "gui/common/about.h"
#include "transport/choose.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kivo::gui::test {
namespace {

class AboutTest : public ::testing::Test {
protected:
    QStringList Memo() const { return about.mmoInfo->toPlainText().split(QLatin1Char('\n')); }
    QStringList ShowAndRead() {
        about.show();
        QStringList lines = Memo();
        about.hide();
        return lines;
    }
    // The lines after description and version.
    QStringList Tail() {
        QStringList lines = ShowAndRead();
        EXPECT_GE(lines.size(), 2);
        EXPECT_EQ(lines.value(0), QStringLiteral("KIVO Programmiertool"));
        EXPECT_EQ(lines.value(1), QStringLiteral("Version: ") + Q(ProgramVersion()));
        return lines.mid(2);
    }
    void WriteIni(const std::string& text) { dir.Write("about.ini", text); }

    kivo::test::TempDir dir;
    ScopedCwd cwd{dir.path()};
    AppContext ctx; // no Kobu
    TfrmAbout about{ctx};
};

TEST_F(AboutTest, LinesOfAboutIni) {
    struct Case {
        const char* name;
        std::string ini;
        QStringList tail;
    };
    const QString company = QStringLiteral("TAVRA Electronics AB");
    const Case cases[] = {
        {"two lines",
         "[AboutInfo]\r\nLines=2\r\nLine1=Service\r\nLine2=Tel 123\r\n",
         {"", "Service", "Tel 123", "", ""}},
        {"a missing line stays empty",
         "[AboutInfo]\r\nLines=3\r\nLine1=one\r\nLine3=three\r\nWWW=www.x.se\r\nMAIL=a@x.se\r\n",
         {"", "one", "", "three", "www.x.se", "a@x.se"}},
        {"negative count: the empty line only",
         "[AboutInfo]\r\nLines=-2\r\nLine1=x\r\n",
         {"", "", ""}},
        {"zero: the company line",
         "[AboutInfo]\r\nLines=0\r\nLine1=x\r\nWWW=w\r\n",
         {company, "w", ""}},
        {"not a number counts as zero", "[AboutInfo]\r\nLines=zwei\r\n", {company, "", ""}},
        {"too large to be a number",
         "[AboutInfo]\r\nLines=99999999999999999999999\r\n",
         {company, "", ""}},
        {"section and keys in any case",
         "[ABOUTINFO]\r\nlines=1\r\nLINE1=x\r\nwww=w\r\n",
         {"", "x", "w", ""}},
        {"Windows-1252 on disk",
         "[AboutInfo]\r\nLines=1\r\nLine1=Stra\xdf"
         "e\r\n",
         {"", QStringLiteral("Straße"), "", ""}},
        {"no section", "[Other]\r\nLines=4\r\n", {company, "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteIni(c.ini);
        EXPECT_EQ(Tail(), c.tail);
    }
}

TEST_F(AboutTest, WithoutAboutIniTheCompanyLineAndTwoEmptyLines) {
    EXPECT_EQ(Tail(), QStringList({QStringLiteral("TAVRA Electronics AB"), "", ""}));
}

TEST_F(AboutTest, AHugeCountStaysBounded) {
    WriteIni("[AboutInfo]\r\nLines=2000000000\r\nLine1=first\r\n");
    const QStringList tail = Tail();
    EXPECT_EQ(tail.value(1), QStringLiteral("first"));
    EXPECT_LE(tail.size(), 1003);
}

TEST_F(AboutTest, ShowingTwiceDoesNotDoubleTheMemo) {
    WriteIni("[AboutInfo]\r\nLines=1\r\nLine1=x\r\n");
    const QStringList first = ShowAndRead();
    EXPECT_EQ(ShowAndRead(), first);
    EXPECT_EQ(first.size(), 6);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Über KIVO Programmiertool"));
    EXPECT_EQ(about.btnOK->text(), QStringLiteral("&OK"));
}

TEST_F(AboutTest, KobuLineEmptyWithoutKobu) {
    about.show();
    EXPECT_EQ(about.lblKobuVersion->text(), QString());
    EXPECT_TRUE(Recorded().shown.empty());
}

TEST(About, KobuLineShowsTheElevenCharacters) {
    kivo::test::TempDir dir;
    ScopedCwd cwd(dir.path());
    AppContext ctx;
    std::string error;
    ctx.kobu = ChooseKobu("sim:version=11-1ABCDEFG", "", error);
    ASSERT_TRUE(ctx.kobu) << error;
    TfrmAbout about(ctx);
    about.show();
    EXPECT_EQ(about.lblKobuVersion->text(), QStringLiteral("KOBU info: 11-1ABCDEFG"));
    // The label has room for it.
    EXPECT_GE(about.lblKobuVersion->width(),
              about.lblKobuVersion->fontMetrics().horizontalAdvance(about.lblKobuVersion->text()));
    about.hide();

    // A Kobu whose answer is not 11 characters long counts as none.
    AppContext odd;
    odd.kobu = ChooseKobu("sim:version=short", "", error);
    ASSERT_TRUE(odd.kobu) << error;
    TfrmAbout oddAbout(odd);
    oddAbout.show();
    EXPECT_EQ(oddAbout.lblKobuVersion->text(), QString());
}

} // namespace
} // namespace kivo::gui::test
