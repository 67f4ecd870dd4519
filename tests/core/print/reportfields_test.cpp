#include "print/reportfields.h"

#include "data/codec.h"

#include <gtest/gtest.h>

namespace kivo::report {
namespace {

KivoData Data(std::uint32_t source, bool changed, const std::string& alarmCodeA = "") {
    KivoData d;
    d.fileName = "/home/user/KIVO config/Unit 7.Kivo";
    d.imageSource = source;
    TextToAlarmCode(alarmCodeA, &d.image[mm::AlarmCodeA]);
    d.reference = d.image;
    if (changed) d.image[0x1FF] ^= 1; // the last byte counts too
    return d;
}

TEST(ReportFields, EditorFileLineAndDateFollowTheImageSource) {
    struct Case {
        std::uint32_t source;
        bool changed;
        const char* line;
        const char* date;
    };
    const Case cases[] = {
        {SourceDefault, false, "Standard", ""},
        {SourceDefault, true, "[Standard]", ""},
        {SourceOpened, false, "Unit 7.Kivo", "04.03.2021"},
        {SourceOpened, true, "[Unit 7.Kivo]", "04.03.2021"},
        {SourceSaved, false, "Unit 7.Kivo", "04.03.2021"},
        {SourceUnit, false, "aus KIVO ausgelesen", ""},
        {SourceUnit, true, "[aus KIVO ausgelesen]", ""},
    };
    for (const Case& c : cases) {
        const ReportFields f = EditorReportFields(Data(c.source, c.changed), "04.03.2021");
        EXPECT_EQ(f.fileLine, c.line) << c.source << " " << c.changed;
        EXPECT_EQ(f.fileDateText, c.date) << c.source << " " << c.changed;
    }
}

TEST(ReportFields, SubscriberAndJobTitleFromAlarmCodeA) {
    ReportFields f = EditorReportFields(Data(SourceOpened, false, "12A4"), "");
    EXPECT_EQ(f.subscriberText, "12A4");
    EXPECT_EQ(f.jobTitle, "KIVO Programmierdaten (12A4)");
    f = EditorReportFields(Data(SourceOpened, false, ""), "");
    EXPECT_EQ(f.subscriberText, "");
    EXPECT_EQ(f.jobTitle, "KIVO Programmierdaten");
}

TEST(ReportFields, ReadAndPrintNeverBracketsAndHasNoDate) {
    const ReportFields f = ReadAndPrintFields(Data(SourceOpened, true, "777"));
    EXPECT_EQ(f.fileLine, "aus KIVO ausgelesen");
    EXPECT_EQ(f.fileDateText, "");
    EXPECT_EQ(f.jobTitle, "KIVO Programmierdaten (777)");
}

} // namespace
} // namespace kivo::report
