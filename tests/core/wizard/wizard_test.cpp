#include "wizard/wizard.h"

#include "data/codec.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

namespace kivo::wizard {
namespace {

std::vector<int> BoxIds(const Outcome& out) {
    std::vector<int> ids;
    for (const Box& b : out.boxes) ids.push_back(b.textId);
    return ids;
}

std::vector<std::uint8_t> Bytes(const Image& image, unsigned first, unsigned count) {
    return {image.begin() + first, image.begin() + first + count};
}

// A wizard standing on one page, on an image whose every byte is 0x55 so that untouched
// bytes show.
struct Wizard {
    Answers answers;
    KivoData data;
    explicit Wizard(int state) {
        data.image.fill(0x55);
        answers.state = state;
        answers.step = 5;
    }
    Outcome Next(PageValues& v, const Environment& env = {}) {
        return Leave(answers, data, v, ActionNext, env);
    }
    Outcome Back(PageValues& v) { return Leave(answers, data, v, ActionBack); }
    Image& image() { return data.image; }
};

TEST(WizardOrder, NextBackSheetAndPictureOfEveryState) {
    struct Case {
        int state, next, back, sheet, picture;
    } cases[] = {
        {0, 11, 0, 0, 0},    {11, 12, 0, 1, 1},   {15, 16, 14, 1, 5},    {16, 20, 15, 1, 6},
        {20, 21, 16, 2, 7},  {21, 22, 20, 3, 8},  {22, 23, 21, 3, 8},    {23, 24, 22, 3, 9},
        {24, 25, 23, 3, 10}, {25, 26, 24, 3, 11}, {26, 27, 25, 3, 12},   {27, 28, 26, 3, 13},
        {28, 29, 27, 3, 14}, {29, 30, 28, 3, 11}, {30, 31, 29, 3, 15},   {31, 32, 30, 3, 15},
        {32, 33, 31, 3, 6},  {33, 40, 32, 4, 15}, {40, 60, 33, 5, 16},   {50, 51, 40, 6, 17},
        {53, 55, 52, 6, 17}, {56, 57, 55, 7, 16}, {58, 70, 57, 7, 16},   {60, 70, 40, 7, 16},
        {70, 80, 60, 8, 18}, {80, 90, 70, 9, 19}, {90, 100, 80, 10, 17}, {100, 100, 90, 11, 20},
    };
    Answers a;
    a.lastList = 4;
    for (const Case& c : cases) {
        EXPECT_EQ(NextState(a, c.state), c.next) << c.state;
        EXPECT_EQ(BackState(a, c.state), c.back) << c.state;
        EXPECT_EQ(SheetOf(c.state), c.sheet) << c.state;
        EXPECT_EQ(PictureOf(c.state), c.picture) << c.state;
    }
    for (int bad : {-1, 1, 10, 17, 34, 54, 59, 101}) EXPECT_FALSE(IsState(bad)) << bad;

    // The answers steer the branches.
    a.severalLists = true;
    a.lastList = 2;
    a.lastGroupPage = 51;
    EXPECT_EQ(NextState(a, 40), 50);
    EXPECT_EQ(BackState(a, 55), 51);
    EXPECT_EQ(NextState(a, 56), 70);
    EXPECT_EQ(BackState(a, 70), 56);
}

TEST(WizardNames, TransmitterNamesFollowTheCounts) {
    Answers a;
    const char* expected[] = {"Handsender 1", "Handsender 2", "Handsender 3",    "Rauchmelder",
                              "Türkontakt",   "Bettsensor",   "Bewegungsmelder", "Funk-Tagestaste"};
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(TransmitterName(a, n), expected[n - 1]) << n;

    a.counts = {1, 0, 0, 0, 0, 2};
    EXPECT_EQ(TransmitterName(a, 1), "Handsender");
    EXPECT_EQ(TransmitterName(a, 2), "Funk-Tagestaste 1");
    EXPECT_EQ(TransmitterName(a, 3), "Funk-Tagestaste 2");
    EXPECT_EQ(TransmitterName(a, 4), "");
    EXPECT_EQ(TransmitterName(a, 0), "");
    EXPECT_EQ(GroupName(1), "Anwenderalarme");
    EXPECT_EQ(GroupName(11), "");
}

TEST(WizardCounts, TooManyAreRefusedAndRaisedCountsRewriteTheAlarmTypes) {
    struct Case {
        std::array<int, 6> counts;
        int box;
        std::vector<std::uint8_t> types; // empty: 0xA8..0xAF untouched
    } cases[] = {
        {{3, 2, 1, 1, 1, 1}, 11343, {}},
        {{3, 1, 1, 1, 1, 1}, 0, {}},
        {{2, 1, 1, 1, 1, 1}, 0, {}},
        {{4, 1, 1, 1, 1, 0}, 0, {1, 1, 1, 1, 12, 5, 6, 7}},
        {{0, 0, 2, 0, 0, 0}, 0, {5, 5, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Wizard w(16);
        w.answers.counts = c.counts;
        PageValues v;
        v.count = std::to_string(c.counts[5]);
        const Outcome out = w.Next(v);
        if (c.box) {
            EXPECT_EQ(BoxIds(out), std::vector<int>{c.box});
            EXPECT_FALSE(out.moved);
            EXPECT_EQ(w.answers.state, 16);
            EXPECT_EQ(w.answers.step, 5);
        } else {
            EXPECT_TRUE(out.moved);
            EXPECT_EQ(w.answers.state, 20);
            EXPECT_EQ(w.answers.step, 6);
        }
        const auto expected = c.types.empty() ? std::vector<std::uint8_t>(8, 0x55) : c.types;
        EXPECT_EQ(Bytes(w.image(), 0xA8, 8), expected);
    }
    // An empty field counts 0 and shows "0"; Back stores without checking.
    Wizard w(13);
    PageValues v;
    EXPECT_TRUE(w.Back(v).moved);
    EXPECT_EQ(v.count, "0");
    EXPECT_EQ(w.answers.counts[2], 0);
    EXPECT_EQ(w.answers.state, 12);
    EXPECT_EQ(w.answers.step, 4);
}

TEST(WizardTestAlarm, IntervalsUnitsAndTheEmptyField) {
    struct Case {
        bool ticked;
        const char* value;
        bool days;
        int box;
        bool moved;
        std::uint8_t interval, flagBefore, flagAfter;
    } cases[] = {
        {true, "7", true, 0, true, 107, 0x55, 0xD5},
        {true, "100", false, 0, true, 100, 0x55, 0xD5},
        {true, "155", true, 0, true, 255, 0x55, 0xD5},
        {true, "101", false, 11341, false, 0x55, 0x55, 0x55},
        {true, "0", false, 11341, false, 0x55, 0x55, 0x55},
        {true, "156", true, 11342, false, 0x55, 0x55, 0x55},
        {true, "", false, 0, false, 24, 0xD5, 0x55}, // stays, without a box
        {false, "999", false, 0, true, 0x55, 0xD5, 0x55},
    };
    for (const Case& c : cases) {
        Wizard w(20);
        w.image()[0xA1] = c.flagBefore;
        PageValues v;
        v.testAlarm = c.ticked;
        v.testValue = c.value;
        v.testInDays = c.days;
        const Outcome out = w.Next(v);
        EXPECT_EQ(out.moved, c.moved) << c.value;
        EXPECT_EQ(BoxIds(out), c.box ? std::vector<int>{c.box} : std::vector<int>{}) << c.value;
        EXPECT_EQ(w.image()[0xC2], c.interval) << c.value;
        EXPECT_EQ(w.image()[0xA1], c.flagAfter) << c.value;
    }
    // Shown: 101 and more in days.
    Wizard w(20);
    w.image()[0xC2] = 107;
    w.image()[0xA1] = 0x80;
    const PageValues shown = Show(w.answers, w.image());
    EXPECT_TRUE(shown.testInDays);
    EXPECT_EQ(shown.testValue, "7");
    EXPECT_TRUE(shown.testAlarm);
}

TEST(WizardInternalAlarms, TickFirstThenTheCheckedTime) {
    struct Case {
        int state;
        bool tick;
        const char* time;
        Action action;
        int box;
        int flag, flagValue, timeAddress, timeValue;
    } cases[] = {
        {21, true, "", ActionBack, 11045, 0x97, 0xD5, 0xC1, 0x55},
        {21, false, "abc", ActionNext, 11045, 0x97, 0x55, 0xC1, 0x55},
        {21, true, "255", ActionNext, 0, 0x97, 0xD5, 0xC1, 255},
        {24, true, "255", ActionNext, 11075, 0x92, 0xD5, 0xBF, 0x55},
        {24, true, "254", ActionBack, 0, 0x92, 0xD5, 0xBF, 254},
        {32, false, "254", ActionNext, 0, 0x93, 0x55, 0xC0, 254},
        {32, true, "255", ActionNext, 11155, 0x93, 0xD5, 0xC0, 0x55},
        {27, true, " 12 ", ActionNext, 0, 0xA6, 0xD5, 0xDC, 12},
        {30, true, "", ActionNext, 0, 0xD9, 1, -1, 0},
        {31, false, "", ActionBack, 0, 0xCC, 0, -1, 0},
    };
    for (const Case& c : cases) {
        Wizard w(c.state);
        PageValues v;
        v.internalTick = c.tick;
        v.internalTime = c.time;
        const Outcome out = Leave(w.answers, w.data, v, c.action);
        EXPECT_EQ(out.moved, c.box == 0) << c.state << c.time;
        EXPECT_EQ(BoxIds(out), c.box ? std::vector<int>{c.box} : std::vector<int>{}) << c.state;
        EXPECT_EQ(w.image()[c.flag], c.flagValue) << c.state;
        if (c.timeAddress >= 0) {
            EXPECT_EQ(w.image()[c.timeAddress], c.timeValue) << c.state;
        }
    }
    Wizard w(29);
    PageValues v;
    v.extraButtonType = 4;
    EXPECT_TRUE(w.Next(v).moved);
    EXPECT_EQ(w.image()[0xB2], 4);
    EXPECT_EQ(w.answers.state, 30);
    // The pre-call signal: an empty duration is 0, one above a byte is the largest byte.
    Wizard precall(33);
    v.precallType = 3;
    v.precallDuration = "";
    EXPECT_TRUE(precall.Back(v).moved);
    EXPECT_EQ(Bytes(precall.image(), 0xC9, 2), (std::vector<std::uint8_t>{3, 0}));
    precall.answers.state = 33;
    v.precallDuration = "999";
    EXPECT_TRUE(precall.Next(v).moved);
    EXPECT_EQ(precall.image()[0xCA], 255);
    EXPECT_EQ(precall.answers.state, 40);
}

TEST(WizardGroups, CompletionSkipsListsAndChecksEveryGroup) {
    {
        // List 1 with every group: straight to the numbers, the other lists emptied.
        Wizard w(50);
        w.answers.groupMask = {0, 1, 2, 4};
        PageValues v;
        v.groups = kAllGroups;
        const Outcome out = w.Next(v);
        EXPECT_TRUE(out.moved);
        EXPECT_TRUE(out.boxes.empty());
        EXPECT_EQ(w.answers.state, 55);
        EXPECT_EQ(w.answers.groupMask, (std::array<unsigned, 4>{kAllGroups, 0, 0, 0}));
        w.answers.lastGroupPage = 50;
        Show(w.answers, w.image());
        EXPECT_EQ(w.answers.lastList, 1);
        PageValues shown = Show(w.answers, w.image());
        EXPECT_TRUE(w.Back(shown).moved);
        EXPECT_EQ(w.answers.state, 50);
    }
    {
        // Group 3 on lists 1 and 4, group 10 on none: 11231 alone would not stop the wizard.
        Wizard w(53);
        w.answers.groupMask = {0x007, 0x0F8, 0x100, 0};
        PageValues v;
        v.groups = 0x004;
        const Outcome out = w.Next(v);
        EXPECT_FALSE(out.moved);
        ASSERT_EQ(BoxIds(out), (std::vector<int>{11232, 11231}));
        EXPECT_EQ(out.boxes[0].args, std::vector<std::string>{"Technische Alarme"});
        EXPECT_EQ(out.boxes[1].args, std::vector<std::string>{"Benutzerdefinierte Alarme"});
        v.groups = 0;
        const Outcome second = w.Next(v);
        EXPECT_TRUE(second.moved);
        EXPECT_EQ(BoxIds(second), (std::vector<int>{11231}));
        EXPECT_EQ(w.answers.state, 55);
    }
    {
        // An unfinished assignment: an empty list is refused, a list with groups leads on.
        Wizard w(51);
        w.answers.groupMask = {0x00F, 0, 0, 0};
        PageValues v;
        EXPECT_EQ(BoxIds(w.Next(v)), std::vector<int>{11233});
        v.groups = 0x030;
        EXPECT_TRUE(w.Next(v).moved);
        EXPECT_EQ(w.answers.state, 52);
        EXPECT_EQ(w.answers.groupMask[1], 0x030u);
    }
}

// Lists as the list pages store them.
void SetList(Answers& a, int list, std::vector<std::string> phones, int protocol = 1,
             int attempts = 5) {
    for (std::size_t j = 0; j < phones.size(); ++j) {
        a.lists[list - 1].phone[j] = phones[j];
        a.lists[list - 1].protocol[j] = protocol;
        a.lists[list - 1].attempts[j] = attempts;
    }
}

TEST(WizardReceiverLists, SharedDestinationsBecomeCallSequences) {
    Answers a;
    a.groupMask = {0x01F, 0x3E0, 0, 0};
    SetList(a, 1, {"0123", "0456"});
    SetList(a, 2, {"0456"});
    Image image;
    image.fill(0x55);
    ASSERT_TRUE(BuildReceiverLists(a, image));
    EXPECT_EQ(Bytes(image, 0x70, 8), (std::vector<std::uint8_t>{1, 2, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(Bytes(image, 0x78, 8), std::vector<std::uint8_t>(8, 0));
    EXPECT_EQ(Bytes(image, 0x80, 10), (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(PhoneToText(&image[0x10]), "0123");
    EXPECT_EQ(PhoneToText(&image[0x18]), "0456");
    EXPECT_EQ(Bytes(image, 0x20, 16), std::vector<std::uint8_t>(16, 0xAA));
    EXPECT_EQ(Bytes(image, 0x8A, 4), (std::vector<std::uint8_t>{1, 1, 1, 1}));
    EXPECT_EQ(Bytes(image, 0xB4, 4), (std::vector<std::uint8_t>{5, 5, 5, 5}));
    EXPECT_EQ(Bytes(image, 0x8E, 2), (std::vector<std::uint8_t>{0x55, 0x55})); // N, R kept

    // The same number with another attempt count is another destination.
    a.lists[1].attempts[0] = 3;
    ASSERT_TRUE(BuildReceiverLists(a, image));
    EXPECT_EQ(Bytes(image, 0x74, 4), (std::vector<std::uint8_t>{3, 0, 0, 0}));
    EXPECT_EQ(PhoneToText(&image[0x20]), "0456");
    EXPECT_EQ(image[0xB6], 3);

    // A group in no list keeps its sequence byte.
    a.groupMask = {0x001, 0, 0, 0};
    image[0x89] = 0x33;
    ASSERT_TRUE(BuildReceiverLists(a, image));
    EXPECT_EQ(image[0x89], 0x33);
}

TEST(WizardReceiverLists, FiveDestinationsAreRefusedOnTheListPage) {
    Wizard w(56);
    w.answers.severalLists = true;
    w.answers.groupMask = {0x00F, 0x3F0, 0, 0};
    w.answers.lastList = 2;
    SetList(w.answers, 1, {"1", "2", "3"});
    const Image before = w.image();
    PageValues v;
    v.phone = {"4", "5", "", ""};
    v.protocol = {1, 1, 1, 1};
    const Outcome out = w.Next(v);
    EXPECT_FALSE(out.moved);
    ASSERT_EQ(BoxIds(out), std::vector<int>{11304});
    EXPECT_TRUE(out.boxes[0].error);
    EXPECT_EQ(w.image(), before);
    // With the fifth the same as the first, it passes.
    v.phone = {"4", "1", "", ""};
    EXPECT_TRUE(w.Next(v).moved);
    EXPECT_EQ(w.answers.state, 70);
    EXPECT_EQ(Bytes(w.image(), 0x74, 4), (std::vector<std::uint8_t>{4, 1, 0, 0}));
}

TEST(WizardReceiverLists, FirstNumberRequiredAndOneListWritesTheRows) {
    Wizard w(60);
    PageValues v;
    v.phone = {"", "0456", "", ""};
    EXPECT_EQ(BoxIds(w.Next(v)), std::vector<int>{11302});
    v.phone = {"0123", "", "", ""};
    v.protocol = {3, -1, 2, 2};
    v.attempts = {"7", "", "999", "0"};
    EXPECT_TRUE(w.Next(v).moved);
    EXPECT_EQ(PhoneToText(&w.image()[0x10]), "0123");
    EXPECT_EQ(Bytes(w.image(), 0x18, 8), std::vector<std::uint8_t>(8, 0xAA));
    EXPECT_EQ(Bytes(w.image(), 0x8A, 4), (std::vector<std::uint8_t>{3, 0x55, 2, 2}));
    EXPECT_EQ(Bytes(w.image(), 0xB4, 4), (std::vector<std::uint8_t>{7, 5, 255, 0}));
    EXPECT_EQ(Bytes(w.image(), 0x70, 26), std::vector<std::uint8_t>(26, 0x55)); // sequences kept
}

TEST(WizardNightMode, UntickedWritesNoNumber) {
    Wizard w(70);
    PageValues v;
    v.nightMode = false;
    v.nightPhone = "0789";
    v.nightProtocol = 4;
    const Outcome out = w.Back(v);
    EXPECT_TRUE(out.moved);
    EXPECT_EQ(v.nightPhone, "");
    EXPECT_EQ(Bytes(w.image(), 0x30, 8), std::vector<std::uint8_t>(8, 0xAA));
    EXPECT_EQ(w.image()[0x8E], 4);
    EXPECT_EQ(w.image()[0xB8], 5);
    EXPECT_EQ(w.answers.state, 60);

    Wizard ticked(70);
    v.nightMode = true;
    v.nightPhone = "";
    EXPECT_EQ(BoxIds(ticked.Next(v)), std::vector<int>{11303});
    v.nightPhone = "0789";
    EXPECT_TRUE(ticked.Next(v).moved);
    EXPECT_EQ(PhoneToText(&ticked.image()[0x30]), "0789");
}

TEST(WizardLearn, DuplicateCodesAreRefusedEmptyOnesAreNot) {
    Wizard w(90);
    PageValues v;
    v.radioCode = {"12AB", "", "", "12ab", "", "", "", ""};
    const Outcome out = w.Next(v);
    ASSERT_EQ(BoxIds(out), std::vector<int>{11287});
    EXPECT_TRUE(out.boxes[0].error);
    EXPECT_EQ(w.image()[0], 0x55);
    v.radioCode = {"12AB", "", "", "4C3A", "", "", "", ""};
    EXPECT_TRUE(w.Next(v).moved);
    EXPECT_EQ(Bytes(w.image(), 0, 8),
              (std::vector<std::uint8_t>{0x12, 0xAB, 0, 0, 0, 0, 0x4C, 0x3A}));
}

TEST(WizardProgram, IdNumberGoesIntoFiveCodesNotIntoR) {
    Image image;
    image.fill(0x55);
    SetIdNumber(image, "12A4");
    for (unsigned a : {0x40u, 0x48u, 0x50u, 0x58u, 0x60u})
        EXPECT_EQ(AlarmCodeToText(&image[a]), "12A4") << a;
    EXPECT_EQ(Bytes(image, 0x68, 8), std::vector<std::uint8_t>(8, 0x55));
}

TEST(WizardSave, NameChecksOverwriteQuestionAndTheFile) {
    kivo::test::TempDir dir;
    int asked = 0;
    bool allow = false;
    Environment env{dir.path(), [&] {
                        ++asked;
                        return allow;
                    }};
    Wizard w(80);
    PageValues v;
    v.saveConfig = true;
    v.saveName = "  ";
    EXPECT_EQ(BoxIds(w.Next(v, env)), std::vector<int>{11276});
    v.saveName = "a/b";
    EXPECT_EQ(BoxIds(w.Next(v, env)), std::vector<int>{15012});
    v.saveName = "Frau Meier";
    Outcome out = w.Next(v, env);
    EXPECT_EQ(BoxIds(out), std::vector<int>{11275});
    EXPECT_EQ(dir.Read("Frau Meier.Kivo").size(), 512u);
    EXPECT_EQ(asked, 0);

    Wizard again(80);
    again.image()[0] = 0x77;
    out = again.Next(v, env);
    EXPECT_FALSE(out.moved);
    EXPECT_TRUE(out.boxes.empty());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dir.Read("Frau Meier.Kivo")[0], 0x55);
    allow = true;
    EXPECT_TRUE(again.Next(v, env).moved);
    EXPECT_EQ(dir.Read("Frau Meier.Kivo")[0], 0x77);

    // Write-protected: refused before anyone is asked to overwrite it.
    ::chmod(dir.file("Frau Meier.Kivo").c_str(), 0444);
    Wizard locked(80);
    locked.image()[0] = 0x11;
    EXPECT_EQ(BoxIds(locked.Next(v, env)), std::vector<int>{13803});
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(dir.Read("Frau Meier.Kivo")[0], 0x77);

    // Not ticked: nothing saved, and the wizard goes on.
    Wizard none(80);
    v.saveConfig = false;
    v.saveName = "";
    EXPECT_TRUE(none.Next(v, env).moved);
    EXPECT_EQ(none.answers.state, 90);
}

TEST(WizardInit, AnswersAndImageStartAgain) {
    kivo::test::TempDir dir;
    Answers a;
    a.counts = {0, 0, 0, 0, 0, 0};
    a.groupMask = {1, 2, 3, 4};
    a.severalLists = true;
    a.saveName = "x";
    KivoData data;
    data.image.fill(0x55);
    EXPECT_FALSE(InitAnswers(a, data, dir.path() + "/"));
    EXPECT_EQ(data.image[0], 0x55); // no default configuration: the image stays
    EXPECT_EQ(a.counts, kDefaultCounts);
    EXPECT_EQ(a.groupMask, (std::array<unsigned, 4>{kAllGroups, 0, 0, 0}));
    EXPECT_FALSE(a.severalLists);
    EXPECT_TRUE(a.saveConfig);
    EXPECT_EQ(a.saveName, "");

    // The default configuration may come in another letter case.
    std::ifstream in(std::string(KIVO_BIN_DIR) + "/Default.b", std::ios::binary);
    std::vector<std::uint8_t> defaults((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(defaults.size(), 512u);
    dir.Write("default.bin", defaults);
    EXPECT_TRUE(InitAnswers(a, data, dir.path() + "/"));
    EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), data.image.begin()));
}

} // namespace
} // namespace kivo::wizard
