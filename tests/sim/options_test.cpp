// The option text after "sim:" and on kobu-sim's command line.
#include "sim/simoptions.h"

#include <gtest/gtest.h>

namespace kivo::sim {
namespace {

TEST(SimOptionsParse, EmptyTextGivesTheDefaults) {
    SimOptions o;
    o.size = 256;
    std::string error;
    ASSERT_TRUE(ParseSimOptions("", o, error)) << error;
    EXPECT_EQ(o.size, 512u);
    EXPECT_TRUE(o.unit);
    EXPECT_EQ(o.firmwareMajor, 0x07);
    EXPECT_EQ(o.firmwareMinor, 0x30);
    EXPECT_EQ(o.variant, 10);
    EXPECT_EQ(o.version.size(), 11u);
    EXPECT_EQ(o.version.substr(0, 4), "11-1");
    EXPECT_EQ(o.latencyMs, 1);
    EXPECT_FALSE(o.pace);
    EXPECT_EQ(o.transmitters.size(), 3u);
    for (const auto& f : o.faults) EXPECT_EQ(f.rate, 0.0);
}

TEST(SimOptionsParse, GoodTexts) {
    struct Case {
        const char* text;
        bool (*check)(const SimOptions&);
    };
    const Case cases[] = {
        {"size=256,firmware=06.32,variant=22",
         [](const SimOptions& o) {
             return o.size == 256 && o.firmwareMajor == 6 && o.firmwareMinor == 0x32 &&
                    o.variant == 22;
         }},
        {"firmware=0a.Fb",
         [](const SimOptions& o) { return o.firmwareMajor == 0x0A && o.firmwareMinor == 0xFB; }},
        {"unit=0", [](const SimOptions& o) { return !o.unit; }},
        {"serial=16777215", [](const SimOptions& o) { return o.serial == 0xFFFFFF; }},
        {"version=11-1 KOBU  ", [](const SimOptions& o) { return o.version == "11-1 KOBU  "; }},
        {"version=a=b", [](const SimOptions& o) { return o.version == "a=b"; }},
        {"learn=beef,learndelay=0",
         [](const SimOptions& o) { return o.learnCode == "BEEF" && o.learnDelayMs == 0; }},
        {"learn=none", [](const SimOptions& o) { return o.learnCode.empty(); }},
        {"drop=0.25",
         [](const SimOptions& o) {
             return o.faults[int(Fault::Drop)].rate == 0.25 &&
                    o.faults[int(Fault::Drop)].count == 0;
         }},
        {"drop=.5,short=1",
         [](const SimOptions& o) {
             return o.faults[int(Fault::Drop)].rate == 0.5 &&
                    o.faults[int(Fault::Short)].rate == 1.0;
         }},
        {"corrupt=3x",
         [](const SimOptions& o) {
             return o.faults[int(Fault::Corrupt)].count == 3 &&
                    o.faults[int(Fault::Corrupt)].rate == 0.0;
         }},
        {"split=0.1,splitgap=300,spike=1x,spikems=900",
         [](const SimOptions& o) {
             return o.faults[int(Fault::Split)].rate == 0.1 && o.splitGapMs == 300 &&
                    o.faults[int(Fault::Spike)].count == 1 && o.spikeMs == 900;
         }},
        {"inforesult=fail,writeresult=silent,infodelay=20",
         [](const SimOptions& o) {
             return o.infoResult == PollResult::Fail && o.writeResult == PollResult::Silent &&
                    o.infoDelayMs == 20;
         }},
        {"tx=abcd",
         [](const SimOptions& o) {
             return o.transmitters.size() == 4 && o.transmitters[3].code == "ABCD";
         }},
        {"tx=4C3A:010203040506",
         [](const SimOptions& o) { // replaces the built-in one
             return o.transmitters.size() == 3 && o.transmitters[0].registers.at(0x2F) == 6;
         }},
        {"seed=18446744073709551615,disconnect=5",
         [](const SimOptions& o) {
             return o.seed == 18446744073709551615ull && o.disconnectAfter == 5;
         }},
        {"latency=0,pace=1", [](const SimOptions& o) { return o.latencyMs == 0 && o.pace; }},
        {"memory=/tmp/a b.bin,image=x.Kivo",
         [](const SimOptions& o) {
             return o.memoryPath == "/tmp/a b.bin" && o.imagePath == "x.Kivo";
         }},
        {"size=256,size=512", [](const SimOptions& o) { return o.size == 512; }},
        {",size=256,,pace=1,", [](const SimOptions& o) { return o.size == 256 && o.pace; }},
    };
    for (const auto& c : cases) {
        SimOptions o;
        std::string error;
        ASSERT_TRUE(ParseSimOptions(c.text, o, error)) << c.text << ": " << error;
        EXPECT_TRUE(c.check(o)) << c.text;
    }
}

TEST(SimOptionsParse, BadTextsAreRefusedWithTheOptionNamed) {
    const std::pair<const char*, const char*> cases[] = {
        {"size=300", "size"},
        {"size=", "size"},
        {"size", "needs a value"},
        {"colour=red", "unknown simulator option \"colour\""},
        {"Size=512", "unknown"},
        {"unit=2", "unit"},
        {"firmware=7.30", "firmware"},
        {"firmware=07:30", "firmware"},
        {"firmware=07.3G", "firmware"},
        {"variant=256", "variant"},
        {"variant=-1", "variant"},
        {"variant= 1", "variant"},
        {"serial=16777216", "serial"},
        {"version=", "version"},
        {"version=tab\there", "version"},
        {"learn=12345", "learn"},
        {"learn=0000", "learn"},
        {"learn=XY12", "learn"},
        {"learndelay=1.5", "learndelay"},
        {"latency=-1", "latency"},
        {"latency=600001", "latency"},
        {"pace=yes", "pace"},
        {"drop=1.5", "drop"},
        {"drop=-0.1", "drop"},
        {"drop=0,5", "unknown simulator option \"5\""},
        {"drop=x", "drop"},
        {"drop=.", "drop"},
        {"nak=3y", "nak"},
        {"inforesult=maybe", "inforesult"},
        {"writeresult=OK", "writeresult"},
        {"tx=12G4", "tx"},
        {"tx=1234:0011", "tx"},
        {"tx=1234-010203040506", "tx"},
        {"seed=18446744073709551616", "seed"},
        {"disconnect=many", "disconnect"},
        {"memory=", "memory"},
    };
    for (const auto& [text, expected] : cases) {
        SimOptions o;
        o.variant = 99;
        std::string error;
        EXPECT_FALSE(ParseSimOptions(text, o, error)) << text;
        EXPECT_NE(error.find(expected), std::string::npos) << text << " -> " << error;
        EXPECT_EQ(o.variant, 99) << text << ": a refused text changes nothing";
    }
}

TEST(SimOptionsParse, HelpNamesEveryOption) {
    const std::string help = SimOptionsHelp();
    for (const char* key :
         {"size=",        "unit=",       "firmware=", "variant=",    "serial=",  "memory=",
          "image=",       "version=",    "learn=",    "learndelay=", "tx=",      "inforesult=",
          "writeresult=", "infodelay=",  "drop=",     "corrupt=",    "nak=",     "split=",
          "splitgap=",    "lower=",      "noise=",    "spike=",      "spikems=", "ignore=",
          "short=",       "disconnect=", "seed=",     "latency=",    "pace="})
        EXPECT_NE(help.find(std::string("  ") + key), std::string::npos) << key;
}

} // namespace
} // namespace kivo::sim
