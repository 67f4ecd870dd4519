// kivoctl print --pdf: the report as a user gets it, read back with poppler's tools.
#include "pdftools.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "kivoctl_run.h"
#include "print/pdfcheck.h"
#include "support/smalldisk.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <utime.h>

namespace kivo::test {
namespace {

class PrintPdf : public ::testing::Test {
protected:
    CliResult Print(const std::string& file, const std::string& pdf) {
        return RunKivoctl(dir, "print " + Quoted(file) + " --pdf " + Quoted(dir.file(pdf)));
    }
    // Sets a file's modification time to noon of a day.
    static void SetDate(const std::string& path, int year, int month, int day) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = 12;
        t.tm_isdst = -1;
        const utimbuf times{std::mktime(&t), std::mktime(&t)};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }

    TempDir dir;
};

TEST_F(PrintPdf, PagesAndFootersFollowTheImageSize) {
    const Image image = ShippedDefault().image;
    ASSERT_EQ(Print(WriteConfig(dir, "small.Kivo", image, 256), "small.pdf").exit, 0);
    const std::string small = dir.file("small.pdf");
    EXPECT_EQ(PdfPages(small), 2);
    EXPECT_NE(PdfText(small, 1).find("Seite 1 von 2"), std::string::npos);
    EXPECT_NE(PdfText(small, 2).find("Seite 2 von 2"), std::string::npos);
    EXPECT_NE(PdfText(small, 2).find("Signailisierungen"), std::string::npos);
    EXPECT_EQ(PdfText(small).find("Funktionen"), std::string::npos);

    ASSERT_EQ(Print(WriteConfig(dir, "large.Kivo", image, 512), "large.pdf").exit, 0);
    const std::string large = dir.file("large.pdf");
    EXPECT_EQ(PdfPages(large), 3);
    const std::string third = Squeezed(PdfText(large, 3));
    EXPECT_NE(third.find("Seite 3 von 3"), std::string::npos);
    // The third page's body begins with its only section.
    const auto body = third.find("Dateidatum");
    ASSERT_NE(body, std::string::npos);
    EXPECT_EQ(third.find_first_not_of('\n', third.find('\n', body)), third.find("Funktionen"));
}

TEST_F(PrintPdf, ValuesReadBackInTheirFormats) {
    Image image = ShippedDefault().image;
    auto set = [&image](mm::Addr a, std::initializer_list<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), &image[a]);
    };
    set(mm::RadioCodeAddr(1), {0x4C, 0x3A});
    set(mm::RadioCodeAddr(2), {0x00, 0x00});
    set(mm::RadioCodeAddr(3), {0x4E, 0x3C});
    set(mm::RadioTestSupervision, {0x05});
    TextToPhone("T0301234567", &image[mm::PhoneAddr(0)]);
    TextToAlarmCode("12A4", &image[mm::AlarmCodeAddr(0)]);
    set(mm::SequenceStepAddr(0, 0), {1, 0, 6, 7});
    set(mm::PassiveInterval, {101});
    set(mm::MainsFailureDelay, {150});
    set(mm::MaxConversationTime, {12});
    set(mm::NoDialToneWait, {25});
    set(mm::ProductionYear, {0x13, 0x08});
    set(mm::SerialNumber, {0x01, 0x02, 0x03});
    const std::string file = WriteConfig(dir, "values.Kivo", image);
    SetDate(file, 2021, 3, 4);
    const CliResult r = Print(file, "values.pdf");
    ASSERT_EQ(r.exit, 0) << r.err;
    const std::string pdf = dir.file("values.pdf");

    const std::string one = PdfText(pdf, 1), two = PdfText(pdf, 2);
    EXPECT_NE(Squeezed(one).find("1 4C3A Anwenderalarm AN\n"
                                 "2 ---- Anwenderalarm AUS\n"
                                 "3 4E3C Anwenderalarm AN\n"),
              std::string::npos)
        << one;
    EXPECT_EQ(LineWith(one, "A: "), "A: T0301234567 12A4 TAVRA TALK 5");
    EXPECT_NE(LineWith(one, "Sequenz 1:").find("Sequenz 1: A - U ?"), std::string::npos);
    EXPECT_EQ(LineWith(one, "Passivalarm Intervall"), "Passivalarm Intervall 1 Tage");
    EXPECT_EQ(LineWith(one, "Zeit bis Stromausfallmeldung"),
              "Zeit bis Stromausfallmeldung 150 Std");
    EXPECT_EQ(LineWith(two, "Max Kommunikationszeit"), "Max Kommunikationszeit 120 Sek");
    EXPECT_EQ(LineWith(two, "o. Wähltonerkennung"),
              "Zeit bis Wählbeginn o. Wähltonerkennung 2.5 Sek");

    // The information box, as the editor fills it for an opened, unchanged file.
    EXPECT_EQ(LineWith(two, "Teilnehmernummer").substr(0, 22), "Teilnehmernummer 12A4 ");
    EXPECT_NE(
        LineWith(two, "KIVO Seriennummer").find("KIVO Seriennummer 66051 Dateiname values.Kivo"),
        std::string::npos);
    EXPECT_NE(
        LineWith(two, "Herstellungsdatum").find("Herstellungsdatum Aug/2013 Dateidatum 04.03.2021"),
        std::string::npos);
    EXPECT_EQ(PdfTitle(pdf), "KIVO Programmierdaten (12A4)");
}

TEST_F(PrintPdf, AChangedConfigurationPrintsItsFileNameInBrackets) {
    // The editor stores an illuminated alarm button as 0x80: the 5 of the file changes.
    Image image = ShippedDefault().image;
    image[mm::ButtonIllumination] = 5;
    const std::string file = WriteConfig(dir, "changed.Kivo", image);
    SetDate(file, 2021, 3, 4);
    ASSERT_EQ(Print(file, "changed.pdf").exit, 0);
    const std::string text = PdfText(dir.file("changed.pdf"), 1);
    EXPECT_NE(LineWith(text, "Dateiname").find("Dateiname [changed.Kivo]"), std::string::npos);
    EXPECT_NE(LineWith(text, "Dateidatum").find("Dateidatum 04.03.2021"), std::string::npos);
    EXPECT_EQ(PdfTitle(dir.file("changed.pdf")), "KIVO Programmierdaten");
}

TEST_F(PrintPdf, RefusalsAndFailuresHaveTheirExitCodes) {
    const std::string good = WriteConfig(dir, "good.Kivo", ShippedDefault().image);
    const std::string damaged = dir.Write("damaged.Kivo", std::string(100, '\x01'));
    struct Case {
        std::string args;
        int exit;
        const char* message;
    };
    const Case cases[] = {
        {"print " + damaged + " --pdf out.pdf", 4, "Kann ausgewählte Konfiguration nicht laden."},
        {"print " + dir.file("missing.Kivo") + " --pdf out.pdf", 4, "nicht laden"},
        {"print " + good + " --pdf " + dir.file("no/such/folder/out.pdf"), 4,
         "Der Ordner existiert nicht."},
        {"print " + good, 2, "entweder --pdf AUS oder --printer NAME"},
        {"print " + good + " --pdf a.pdf --printer p", 2, "entweder"},
        {"print " + good + " --pdf a.pdf --copies 2", 2, "--copies gehört zu --printer"},
        {"print " + good + " --printer p --copies 0", 2, "1 bis 999"},
        {"print " + good + " --printer p --copies x", 2, "1 bis 999"},
        {"print --pdf a.pdf", 2, "Falsche Zahl von Argumenten"},
        {"print " + good + " --pdf", 2, "braucht einen Wert"},
        {"print " + good + " --printer no-such-queue", 5,
         "keine Druckerwarteschlange „no-such-queue“"},
    };
    // No scheduler answers there, so no queue exists.
    ::setenv("CUPS_SERVER", dir.file("no-scheduler.sock").c_str(), 1);
    for (const Case& c : cases) {
        const CliResult r = RunKivoctl(dir, c.args);
        EXPECT_EQ(r.exit, c.exit) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
    }
    ::unsetenv("CUPS_SERVER");
    EXPECT_FALSE(std::ifstream(dir.file("out.pdf")).good());
}

// The file is a PDF to its end: its trailer is there, which a document cut short lacks.
TEST_F(PrintPdf, TheFileIsACompleteDocument) {
    const std::string config = WriteConfig(dir, "unit.Kivo", ShippedDefault().image);
    ASSERT_EQ(Print(config, "unit.pdf").exit, 0);
    const std::string pdf = dir.ReadText("unit.pdf");
    EXPECT_TRUE(IsCompletePdf(pdf));
    EXPECT_FALSE(IsCompletePdf(pdf.substr(0, 4096)));
}

// A disk without room for the report: kivoctl fails, and says why; the PDF that was there
// stays and none appears where there was none. On a small disk of its own where the test can
// make one, under a file-size limit in any case.
TEST_F(PrintPdf, AFullDiskKeepsTheOldFile) {
    const std::string config = WriteConfig(dir, "unit.Kivo", ShippedDefault().image);
    ASSERT_EQ(RunKivoctl(dir, "folders").exit, 0);
    // `folder` holds old.pdf and no new.pdf.
    auto expectRefused = [&](const std::string& folder, int reason) {
        const CliResult old = Print(config, folder + "/old.pdf");
        EXPECT_EQ(old.exit, 4) << old.out;
        EXPECT_NE(old.err.find(Str(reason)), std::string::npos) << old.err;
        EXPECT_EQ(old.out, "");
        EXPECT_EQ(dir.ReadText(folder + "/old.pdf"), "the old report");
        const CliResult fresh = Print(config, folder + "/new.pdf");
        EXPECT_EQ(fresh.exit, 4);
        EXPECT_FALSE(std::filesystem::exists(dir.file(folder + "/new.pdf")));
    };
    std::filesystem::create_directory(dir.file("disk"));
    SmallDisk disk(dir.file("disk"), 20 * 1024);
    if (disk.Mounted()) {
        dir.Write("disk/old.pdf", "the old report");
        expectRefused("disk", 16203); // 20 kB free, the report needs more
        disk.Fill();
        expectRefused("disk", 16203); // not a byte free
    }
    dir.Write("limited/old.pdf", "the old report");
    for (rlim_t bytes : {rlim_t(20 * 1024), rlim_t(0)}) {
        FileSizeLimit limit(bytes);
        expectRefused("limited", 16205);
    }
}

} // namespace
} // namespace kivo::test
