#include "data/textexport.h"

#include "data/codec.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kivo {
namespace {

using test::TempDir;

ExportInput InputFor(const Image& img, std::uint32_t source = SourceOpened,
                     const std::string& fileName = "/cfg/Unit7.Kivo") {
    ExportInput in;
    in.image = &img;
    in.imageSource = source;
    in.fileName = fileName;
    in.programFolder = "/prog/";
    in.fields = FieldsFromImage(img);
    in.sequenceLetters = "-ABCDNU";
    return in;
}

// Lines without their CR LF; fails the test if any line lacks it.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text does not end with CR LF";
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string LineStarting(const std::vector<std::string>& lines, const std::string& head) {
    for (const auto& l : lines)
        if (l.compare(0, head.size(), head) == 0) return l;
    return "(no line " + head + ")";
}

TEST(TextExport, FileNameFollowsTheImageSource) {
    Image img{};
    TextToAlarmCode("1234", &img[mm::AlarmCodeA]);
    EXPECT_EQ(ExportFileName(InputFor(img, SourceDefault)), "/prog/Default.txt");
    EXPECT_EQ(ExportFileName(InputFor(img, SourceOpened)), "/cfg/Unit7.Kivo.txt");
    EXPECT_EQ(ExportFileName(InputFor(img, SourceSaved)), "/cfg/Unit7.Kivo.txt");
    EXPECT_EQ(ExportFileName(InputFor(img, SourceUnit)), "/cfg/Unit7.Kivo(1234).txt");
    EXPECT_EQ(ExportFileName(InputFor(img, SourceUnit, "")), "(1234).txt");
    Image blank{};
    TextToAlarmCode("", &blank[mm::AlarmCodeA]);
    EXPECT_EQ(ExportFileName(InputFor(blank, SourceUnit)), "/cfg/Unit7.Kivo(null).txt");
}

TEST(TextExport, HeadingNamesTheDefaultOrTheFile) {
    Image img{};
    auto def = Lines(ExportText(InputFor(img, SourceDefault)));
    ASSERT_GE(def.size(), 4u);
    EXPECT_EQ(def[0], "Parameters in");
    EXPECT_EQ(def[1], "<Default.bin>");
    EXPECT_EQ(def[2], "Values with prefix '0x' is hexadecimal, all other is decimal.");
    EXPECT_EQ(def[3], "");
    EXPECT_EQ(def[4], "1. User area");
    auto file = Lines(ExportText(InputFor(img, SourceOpened)));
    EXPECT_EQ(file[1], "</cfg/Unit7.Kivo>");
    EXPECT_EQ(Lines(ExportText(InputFor(img, SourceUnit, "")))[1], "<>");
}

TEST(TextExport, EveryLineOfTheTableInOrder) {
    Image img{};
    auto lines = Lines(ExportText(InputFor(img)));
    // Heading (4 lines) and 249 table lines; spot-check where the sections fall.
    ASSERT_EQ(lines.size(), 253u);
    EXPECT_EQ(lines[4], "1. User area");
    EXPECT_EQ(lines[7], "[0x00-0x01] ID code, transmitter 1: ");
    EXPECT_EQ(lines.back(), "[0x114] Battery threshold in battery mode:______ 0");
    EXPECT_EQ(LineStarting(lines, "[0xCE]"),
              "[0xCE] Dialling mode:________________________ 0 (0=DTMF, 1=Impulsing, 2=AUTO");
    EXPECT_EQ(LineStarting(lines, "[0x90]"), "[0x90] User alarm from trigger:_____ 0x00");
    EXPECT_EQ(LineStarting(lines, "%c"), "(no line %c)"); // the letters are filled in
    EXPECT_EQ(LineStarting(lines, "-=0"), "-=0, A=1, B=2, C=3, D=4, N=5, U=6");
}

TEST(TextExport, ValuesAndTheirFormats) {
    Image img{};
    img[0x70] = 1;
    img[0x71] = 2;
    img[0x72] = 0;
    img[0x73] = 7;
    img[0x80] = 3;
    img[0x91] = 0xC6;
    img[0xB0] = 0x81;
    img[0xE2] = 0x10;
    img[0xFA] = 0x13;
    img[0xFB] = 0x08;
    img[0xFC] = 0x26;
    img[0xFD] = 0x01;
    img[0xFE] = 0x02;
    img[0xFF] = 0x03;
    img[0x100] = 0x07;
    img[0x101] = 0x30;
    img[0x102] = 10;
    TextToRadioCode("1A2B", &img[mm::RadioCodeAddr(3)]);
    TextToPhone("0301234W5", &img[mm::PhoneAddr(5)]);
    TextToAlarmCode("12A4", &img[mm::AlarmCodeAddr(0)]);
    auto lines = Lines(ExportText(InputFor(img)));
    struct Case {
        const char* head;
        const char* line;
    } cases[] = {
        {"[0x70-", "[0x70-0x73] Call sequence 1: A B - ? "},
        {"[0x74-", "[0x74-0x77] Call sequence 2: - - - - "},
        {"[0x80]", "[0x80] Sequence for User alarms:__________ 3"},
        {"[0x91]", "[0x91] User alarm from button:______ 0xC6"},
        {"[0xB0]", "[0xB0] Radio test alarm on/off:______________ 0x81"},
        {"[0xE2]", "[0xE2] Impulsing type and speed:_________ 0x10 (0X=N, 1X=N+1 X0=10pps, "
                   "X1=20pps)"},
        {"[0xFA]", "[0xFA] Production year:___ 2013"},
        {"[0xFB]", "[0xFB] Production month:__ 08"},
        {"[0xFC]", "[0xFC] Production day:____ 26"},
        {"[0xFD-", "[0xFD-0xFF] Serial number: 66051"},
        {"[0x100-", "[0x100-0x102] Firmware:___ 07.30-10"},
        {"[0x04-", "[0x04-0x05] ID code, transmitter 3: 1A2B"},
        {"[0x38-", "[0x38-0x3F] Telephone number V: 0301234W5"},
        {"[0x40-", "[0x40-0x47] Alarm code A: 12A4"},
    };
    for (const auto& c : cases) EXPECT_EQ(LineStarting(lines, c.head), c.line);
}

TEST(TextExport, CodedDurations) {
    struct Case {
        std::uint8_t c0, c1;
        const char* passive;
        const char* mains;
    } cases[] = {
        {0, 200, "0 (h)", "200 (h)"},
        {100, 201, "100 (h)", "1 (minutes)"},
        {101, 0, "1 (days)", "0 (h)"},
        {255, 255, "55 (minutes)", "55 (minutes)"},
    };
    for (const auto& c : cases) {
        Image img{};
        img[0xC0] = c.c0;
        img[0xC2] = c.c0;
        img[0xC1] = c.c1;
        auto lines = Lines(ExportText(InputFor(img)));
        EXPECT_EQ(LineStarting(lines, "[0xC0]"),
                  std::string("[0xC0] Passive alarm:________________________ ") + c.passive);
        EXPECT_EQ(LineStarting(lines, "[0xC2]"),
                  std::string("[0xC2] Test alarm interval:__________________ ") + c.passive);
        EXPECT_EQ(LineStarting(lines, "[0xC1]"),
                  std::string("[0xC1] Mains failure alarm:__________________ ") + c.mains);
    }
}

TEST(TextExport, RadioTestLineVariants) {
    Image img{};
    img[0xB0] = 12;
    auto in = InputFor(img);
    in.b0 = B0Line::AutoAnswerDuration;
    EXPECT_EQ(LineStarting(Lines(ExportText(in)), "[0xB0]"),
              "[0xB0] Auto answer duration, Paging:_________ 12 (*10s)");
    in.b0 = B0Line::Reserved;
    EXPECT_EQ(LineStarting(Lines(ExportText(in)), "[0xB0]"),
              "[0xB0] Reserved:_____________________________ 0x0C");
}

TEST(TextExport, FieldTextsAreUsedAsShown) {
    Image img{};
    auto in = InputFor(img);
    in.fields.radio[7] = "ABCD";
    in.fields.phone[0] = "112";
    EXPECT_EQ(LineStarting(Lines(ExportText(in)), "[0x0E-"),
              "[0x0E-0x0F] ID code, transmitter 8: ABCD");
    EXPECT_EQ(LineStarting(Lines(ExportText(in)), "[0x10-"), "[0x10-0x17] Telephone number A: 112");
}

TEST(TextExport, WritesWindows1252AndReportsFailure) {
    TempDir dir;
    Image img{};
    auto in = InputFor(img, SourceOpened, dir.file("Übung.Kivo"));
    std::string path = ExportFileName(in);
    ASSERT_TRUE(WriteTextExport(in, path).ok());
    std::string text = dir.ReadText("Übung.Kivo.txt");
    EXPECT_EQ(text.substr(0, 16), "Parameters in\r\n<");
    EXPECT_NE(text.find("\xDC"
                        "bung.Kivo>\r\n"),
              std::string::npos); // Ü as one byte
    EXPECT_EQ(WriteTextExport(in, dir.file("missing/x.txt")).error, FileError::NoFolder);
}

} // namespace
} // namespace kivo
