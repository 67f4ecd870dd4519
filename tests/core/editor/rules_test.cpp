#include "editor/rules.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(ValueRules, BoxesAndCorrections) {
    struct Case {
        ValueRule rule;
        const char* text;
        int box;
        const char* corrected; // nullptr: the text stays
    } cases[] = {
        {ValueRule::Range0To255, "255", 0, nullptr},
        {ValueRule::Range0To255, "", 0, nullptr},
        {ValueRule::Range0To255, "300", 15025, "255"},
        {ValueRule::Range0To255, "-5", 15025, "255"},
        {ValueRule::Range0To255, "abc", 0, nullptr}, // reads as 0
        {ValueRule::Range0To2550, "2550", 0, nullptr},
        {ValueRule::Range0To2550, "2551", 15026, "2550"},
        {ValueRule::TestAlarmInterval, "1", 0, nullptr},
        {ValueRule::TestAlarmInterval, "255", 0, nullptr},
        {ValueRule::TestAlarmInterval, "", 15029, nullptr},
        {ValueRule::TestAlarmInterval, "0", 15029, nullptr},
        {ValueRule::TestAlarmInterval, "256", 15029, nullptr},
        {ValueRule::Tenths, "", 0, nullptr},
        {ValueRule::Tenths, "25,5", 0, nullptr},
        {ValueRule::Tenths, "0", 0, nullptr},
        {ValueRule::Tenths, "25,6", 15024, "25"},
        {ValueRule::Tenths, "26", 15024, "25"},
        {ValueRule::Tenths, "1,2,3", 15024, nullptr},
        {ValueRule::Tenths, ",", 15024, nullptr},
    };
    for (const auto& c : cases) {
        RuleVerdict v = CheckValue(c.rule, c.text, ',');
        EXPECT_EQ(v.box, c.box) << c.text;
        if (c.corrected) {
            EXPECT_EQ(v.corrected.value_or("(none)"), c.corrected) << c.text;
            // The corrected text passes its own check.
            EXPECT_EQ(CheckValue(c.rule, *v.corrected, ',').box, 0);
        } else {
            EXPECT_FALSE(v.corrected) << c.text;
        }
    }
}

TEST(ValueRules, FieldsAndTheirRules) {
    EXPECT_EQ(RuleOf("edtCallAttemptsR"), ValueRule::Range0To255);
    EXPECT_EQ(RuleOf("edtMaxConversationTime"), ValueRule::Range0To2550);
    EXPECT_EQ(RuleOf("edtTestAlarmInterval"), ValueRule::TestAlarmInterval);
    EXPECT_EQ(RuleOf("edtWaitTimeNoDialToneDetector"), ValueRule::Tenths);
    EXPECT_FALSE(RuleOf("edtRadioPos1"));
    EXPECT_FALSE(RuleOf("edtTelephoneNoA"));
}

TEST(SeparatorSteps, MoveOverOneSeparatorInTheDirectionOfTravel) {
    std::vector<std::string> items = {"a", "b", "c", "--- x", "e", "---", "--- y"};
    EXPECT_EQ(StepOverSeparator(items, 3, 2), 4); // moving down
    EXPECT_EQ(StepOverSeparator(items, 3, 4), 2); // moving up
    EXPECT_EQ(StepOverSeparator(items, 5, 4), 6); // two in a row: the second stays
    EXPECT_EQ(StepOverSeparator(items, 6, 5), 7); // below the last item: nothing selected
    EXPECT_EQ(StepOverSeparator(items, 1, 0), 1);
    std::vector<std::string> first = {"--- top", "a"};
    EXPECT_EQ(StepOverSeparator(first, 0, 1), 0); // a separator at index 0 stays
    EXPECT_EQ(StepOverSeparator(first, -1, 0), -1);
}

TEST(AckWarningTest, WarnsWhenAcknowledgementIsSwitchedOff) {
    EXPECT_EQ(AckWarning(0), 15038);
    EXPECT_EQ(AckWarning(1), 0);
}

} // namespace
} // namespace kivo
