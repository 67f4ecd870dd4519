#include "print/reportlayout.h"
#include "print/reportmodel.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kivo::report {
namespace {

bool IsText(const ReportStep& s) {
    switch (s.kind) {
    case Step::TextAt:
    case Step::TextAtColumn:
    case Step::TextAppend:
    case Step::ClippedAppend:
    case Step::CentredAt:
    case Step::FooterText:
        return true;
    default:
        return false;
    }
}

// The index of the text step showing `text`, or the number of steps.
std::size_t Find(const ReportPage& page, const std::string& text, std::size_t from = 0) {
    for (std::size_t i = from; i < page.steps.size(); ++i)
        if (IsText(page.steps[i]) && page.steps[i].text == text) return i;
    return page.steps.size();
}

// The text drawn right after `label`: its value.
std::string ValueOf(const ReportPage& page, const std::string& label) {
    for (std::size_t i = Find(page, label) + 1; i < page.steps.size(); ++i)
        if (IsText(page.steps[i])) return page.steps[i].text;
    return "<no " + label + ">";
}

// The first text after the logo: the page's first section title.
std::string FirstTitle(const ReportPage& page) {
    auto logo = std::find_if(page.steps.begin(), page.steps.end(),
                             [](const ReportStep& s) { return s.kind == Step::Logo; });
    auto title = std::find_if(logo, page.steps.end(), IsText);
    return title == page.steps.end() ? std::string() : title->text;
}

class ReportModel : public ::testing::Test {
protected:
    ReportModel() {
        ini.SetFileName(std::string(KIVO_BIN_DIR) + "/Values.i");
        in.imageSize = 512;
    }
    Report Build() const { return BuildReport(in, ini); }
    // Values.ini with a [Print] section of our own.
    void UsePrint(const std::string& keys) {
        ini.SetFileName(dir.Write("Values.ini", "[YesNo]\r\n0=Nein\r\n1=Ja\r\n[Print]\r\n" + keys));
    }

    test::TempDir dir;
    KivoIni ini;
    ReportInput in;
};

TEST_F(ReportModel, PageCountAndFootersFollowTheImageSize) {
    for (unsigned size : {256u, 512u, 0u, 300u}) {
        in.imageSize = size;
        const Report r = Build();
        const std::size_t pages = size == 512 ? 3 : 2;
        ASSERT_EQ(r.pages.size(), pages) << size;
        for (std::size_t p = 0; p < pages; ++p) {
            const std::string footer =
                "Seite " + std::to_string(p + 1) + " von " + std::to_string(pages);
            EXPECT_LT(Find(r.pages[p], footer), r.pages[p].steps.size()) << footer;
        }
        EXPECT_EQ(FirstTitle(r.pages[0]), "Funksender");
        EXPECT_EQ(FirstTitle(r.pages[1]), "Signailisierungen");
        if (pages == 3) {
            EXPECT_EQ(FirstTitle(r.pages[2]), "Funktionen");
        }
    }
}

TEST_F(ReportModel, RowsShowTheirBytesInTheirFormats) {
    Image& img = in.image;
    img[mm::PassiveInterval] = 101;
    img[mm::MainsFailureDelay] = 150;
    img[mm::MaxConversationTime] = 12;
    img[mm::NoDialToneWait] = 25;
    img[mm::ButtonIllumination] = 5;
    img[mm::FlagUserAlarmButton] = 0x7F;
    img[mm::DiallingMode] = 1;
    img[mm::RepeatSequence] = 3;
    img[mm::SeqTestAlarms] = 2;
    img[mm::DigitAfterNoDialTone] = 15;
    const Report r = Build();
    EXPECT_EQ(ValueOf(r.pages[0], "Passivalarm Intervall"), "1 Tage");
    EXPECT_EQ(ValueOf(r.pages[0], "Zeit bis Stromausfallmeldung"), "150 Std");
    EXPECT_EQ(ValueOf(r.pages[0], "Testalarm Intervall"), "0 (AUS)");
    EXPECT_EQ(ValueOf(r.pages[0], "Wiederhole Sequenz"), "3");
    EXPECT_EQ(ValueOf(r.pages[0], "Testalarm"), "2"); // the alarm group's sequence
    EXPECT_EQ(ValueOf(r.pages[1], "Max Kommunikationszeit"), "120 Sek");
    EXPECT_EQ(ValueOf(r.pages[1], "Zeit bis Wählbeginn o. Wähltonerkennung"), "2.5 Sek");
    EXPECT_EQ(ValueOf(r.pages[1], "Alarmknopf ist beleuchtet"), "Ja");
    EXPECT_EQ(ValueOf(r.pages[1], "Rote Taste im Gerät"), "Nein");
    EXPECT_EQ(ValueOf(r.pages[1], "Wählverfahren"), "Impulswahl (IWV)");
    EXPECT_EQ(ValueOf(r.pages[2], "Amtskennziffer für Automatikwahl"), "#");
}

TEST_F(ReportModel, TransmittersCallTypesAndSequences) {
    Image& img = in.image;
    std::fill(&img[mm::PhoneA], &img[mm::CallSequence1], 0xAA); // no numbers, no codes
    img[mm::RadioCodeAddr(1)] = 0x4C;
    img[mm::RadioCodeAddr(1) + 1] = 0x3A;
    img[mm::AlarmTypePos1] = 12;
    img[mm::RadioTestSupervision] = 0x05;
    const std::uint8_t phone[8] = {0x03, 0x01, 0x2A, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    std::copy(phone, phone + 8, &img[mm::PhoneAddr(4)]);
    const std::uint8_t code[8] = {0x12, 0xC4, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    std::copy(code, code + 8, &img[mm::AlarmCodeAddr(0)]);
    img[mm::ProtocolA] = 1;
    img[mm::CallAttemptsA] = 5;
    const std::uint8_t steps[4] = {1, 0, 6, 7};
    std::copy(steps, steps + 4, &img[mm::SequenceStepAddr(0, 0)]);
    const ReportPage page = Build().pages[0];
    const std::vector<std::string> t = PageTexts(page);

    auto after = [&t](const std::string& first, std::size_t count) {
        auto it = std::find(t.begin(), t.end(), first);
        if (it == t.end() || t.end() - it < static_cast<long>(count))
            return std::vector<std::string>{};
        return std::vector<std::string>(it, it + static_cast<long>(count));
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(after("Überwachung", 9), (V{"Überwachung", "1", "4C3A", "Rauchmelder", "AN", "2",
                                          "----", "Kein Alarm", "AUS"}));
    EXPECT_EQ(after("Sequenz 1:", 5), (V{"Sequenz 1:", "A", "-", "U", "?"}));
    EXPECT_EQ(after("A:", 4), (V{"A:", "12A4", "TAVRA TALK", "5"})); // no telephone number
    EXPECT_EQ(after("N:", 3), (V{"N:", "03012", "Nicht definiert"}));
    EXPECT_EQ(after("U:", 3), (V{"U:", "Nicht definiert", "0"}));
}

TEST_F(ReportModel, AlarmTypeBoxesFollowBitSeven) {
    in.image[mm::FlagUserAlarmTrigger] = 0x80;
    in.image[mm::FlagTriggerLowBattery] = 0x7F;
    in.image[mm::FlagAway] = 0xFF;
    const ReportPage page = Build().pages[1];
    auto ticked = [&page](const std::string& label) {
        for (std::size_t i = Find(page, label); i < page.steps.size(); ++i)
            if (page.steps[i].kind == Step::CheckBox) return page.steps[i].ticked;
        ADD_FAILURE() << "no box after " << label;
        return false;
    };
    EXPECT_TRUE(ticked("Anwenderalarm von Handsender"));
    EXPECT_FALSE(ticked("Anwender/Handsender & Batterie"));
    EXPECT_TRUE(ticked("Anwender Abmeldung"));
    EXPECT_FALSE(ticked("Einbruchalarm"));
}

TEST_F(ReportModel, InformationBoxShowsCallerFieldsAndImage) {
    in.subscriberText = "12A4";
    in.fileLine = "[/home/user/KIVO config/Unit 7.Kivo]";
    in.fileDateText = "04.03.2021";
    in.printDateText = "05.06.2024";
    in.image[mm::SerialNumber + 2] = 7;
    in.image[mm::ProductionYear] = 0x13;
    in.image[mm::ProductionMonth] = 0x08;
    const ReportPage page = Build().pages[1];
    EXPECT_EQ(ValueOf(page, "Teilnehmernummer "), "12A4");
    EXPECT_EQ(ValueOf(page, "Druckdatum "), "05.06.2024");
    EXPECT_EQ(ValueOf(page, "KIVO Seriennummer "), "7");
    EXPECT_EQ(ValueOf(page, "Dateiname "), "Unit 7.Kivo]"); // the folder part is dropped
    EXPECT_EQ(ValueOf(page, "Herstellungsdatum "), "Aug/2013");
    EXPECT_EQ(ValueOf(page, "Dateidatum "), "04.03.2021");
}

TEST_F(ReportModel, PrintLayoutKeysAndTheMinusOneRule) {
    UsePrint("HeaderPosX=30\r\nHeaderCenterX=150\r\nLogoPosX=30\r\nLogoPosY=-1\r\n");
    PrintLayout l = ReadPrintLayout(ini);
    EXPECT_EQ(l.headingLeft, 30);
    EXPECT_EQ(l.headingCentre, -1);
    EXPECT_EQ(l.logoLeft, 30);
    EXPECT_EQ(l.logoRight, 42); // moving the logo alone keeps the default right edge
    EXPECT_EQ(l.logoTop, 15);   // -1 keeps the default
    const ReportPage page = Build().pages[0];
    const ReportStep& heading = page.steps[Find(page, "KIVO Programmierdaten")];
    EXPECT_EQ(heading.kind, Step::TextAt);
    EXPECT_EQ(heading.x, 30);
    EXPECT_EQ(heading.y, 23);
    auto logo = std::find_if(page.steps.begin(), page.steps.end(),
                             [](const ReportStep& s) { return s.kind == Step::Logo; });
    ASSERT_NE(logo, page.steps.end());
    EXPECT_EQ((std::vector<int>{logo->x, logo->y, logo->x2, logo->y2}),
              (std::vector<int>{30, 15, 42, 37}));

    UsePrint("HeaderPosX=-1\r\nHeaderCenterX=120\r\nHeaderPosY=30\r\nHeaderTextSize=x\r\n"
             "LogoPosX=10\r\nLogoSizeX=50\r\nLogoSizeY=-1\r\n");
    l = ReadPrintLayout(ini);
    EXPECT_EQ((std::vector<int>{l.headingLeft, l.headingCentre, l.headingTop, l.headingSize}),
              (std::vector<int>{-1, 120, 30, 18}));
    EXPECT_EQ((std::vector<int>{l.logoLeft, l.logoRight, l.logoBottom}),
              (std::vector<int>{10, 60, 37}));
    const ReportPage centred = Build().pages[0];
    const ReportStep& h = centred.steps[Find(centred, "KIVO Programmierdaten")];
    EXPECT_EQ(h.kind, Step::CentredAt);
    EXPECT_EQ(h.x, 120);

    // Values far off the page are held within reach, sizes within 1..200 points.
    UsePrint("LogoPosX=2147483647\r\nLogoSizeX=2147483647\r\nHeaderPosX=-99999\r\n"
             "HeaderTextSize=0\r\n");
    l = ReadPrintLayout(ini);
    EXPECT_EQ(l.logoLeft, 1000);
    EXPECT_EQ(l.logoRight, 1000);
    EXPECT_EQ(l.headingLeft, -1000);
    EXPECT_EQ(l.headingSize, 1);
}

TEST_F(ReportModel, LogoFileChoice) {
    UsePrint("LogoName=Maker.bmp\r\n");
    const std::string folder = dir.path() + "/";
    EXPECT_EQ(ChooseLogoPath(folder, ini), "");
    dir.Write("Tavralogo.bmp", "BM");
    EXPECT_EQ(ChooseLogoPath(folder, ini), folder + "Tavralogo.bmp");
    dir.Write("Maker.bmp", "BM");
    EXPECT_EQ(ChooseLogoPath(folder, ini), folder + "Maker.bmp");
    UsePrint("LogoName=\r\n"); // the folder itself is no logo file
    EXPECT_EQ(ChooseLogoPath(folder, ini), folder + "Tavralogo.bmp");
}

} // namespace
} // namespace kivo::report
