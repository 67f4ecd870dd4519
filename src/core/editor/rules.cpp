#include "editor/rules.h"

#include "editor/binding.h"

#include <cstdlib>

namespace kivo {

namespace {

struct Checked {
    const char* control;
    ValueRule rule;
};

const Checked kChecked[] = {
    {"edtRepeatSequence", ValueRule::Range0To255},
    {"edtMaxNoCallAttempts", ValueRule::Range0To255},
    {"edtPassiveAlarmInterval", ValueRule::Range0To255},
    {"edtTimeToReminder", ValueRule::Range0To255},
    {"edtMaxReminder", ValueRule::Range0To255},
    {"edtTimeToMainsFailure", ValueRule::Range0To255},
    {"edtBlockHomeCarePhone", ValueRule::Range0To255},
    {"edtBatteryCheckInterval", ValueRule::Range0To255},
    {"edtMaxTimeInPresence", ValueRule::Range0To255},
    {"edtTimeBetweenInterferenceAlarm", ValueRule::Range0To255},
    {"edtRadioTestAlarmPeriod", ValueRule::Range0To255},
    {"edtPrecallSignalDelay", ValueRule::Range0To255},
    {"edtTimeToWaitForAnswer", ValueRule::Range0To255},
    {"edtTonesToWaitForAnswer", ValueRule::Range0To255},
    {"edtMaxTonesInSpeech", ValueRule::Range0To255},
    {"edtTimeBetweenCalls", ValueRule::Range0To255},
    {"edtMaxOrdinaryCallTime", ValueRule::Range0To255},
    {"edtAutoAnswerProgramming", ValueRule::Range0To255},
    {"edtAutoAnswerHomephone", ValueRule::Range0To255},
    {"edtUserDefinedAlarmTypeID", ValueRule::Range0To255},
    {"edtServiceCallInterval", ValueRule::Range0To255},
    {"edtCallAttemptsA", ValueRule::Range0To255},
    {"edtCallAttemptsB", ValueRule::Range0To255},
    {"edtCallAttemptsC", ValueRule::Range0To255},
    {"edtCallAttemptsD", ValueRule::Range0To255},
    {"edtCallAttemptsN", ValueRule::Range0To255},
    {"edtCallAttemptsR", ValueRule::Range0To255},
    {"edtMaxConversationTime", ValueRule::Range0To2550},
    {"edtAutoAnswerDuration", ValueRule::Range0To2550},
    {"edtTestAlarmInterval", ValueRule::TestAlarmInterval},
    {"edtWaitTimeNoDialToneDetector", ValueRule::Tenths},
};

// The tenths field as a number: digits with at most one separator. nullopt for anything else.
std::optional<double> ReadDecimal(const std::string& text, char separator) {
    std::string normal;
    int separators = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            normal += c;
        else if (c == separator && ++separators == 1)
            normal += '.';
        else if (c == '-' && normal.empty())
            normal += c;
        else
            return std::nullopt;
    }
    if (normal.empty() || normal == "." || normal == "-" || normal.size() > 16) return std::nullopt;
    return std::strtod(normal.c_str(), nullptr);
}

} // namespace

RuleVerdict CheckValue(ValueRule rule, const std::string& text, char decimalSeparator) {
    switch (rule) {
    case ValueRule::Range0To255: {
        long v = conv::ReadNumber(text);
        if (v < 0 || v > 255) return {15025, std::string("255")};
        return {};
    }
    case ValueRule::Range0To2550: {
        long v = conv::ReadNumber(text);
        if (v < 0 || v > 2550) return {15026, std::string("2550")};
        return {};
    }
    case ValueRule::TestAlarmInterval: {
        long v = conv::ReadNumber(text);
        if (v < 1 || v > 255) return {15029, std::nullopt};
        return {};
    }
    case ValueRule::Tenths: {
        if (text.empty()) return {};
        auto v = ReadDecimal(text, decimalSeparator);
        if (!v) return {15024, std::nullopt};
        // Compared as a single-precision value, as the field has always done.
        float f = static_cast<float>(*v);
        if (f < 0.0f || f > 25.5f) return {15024, std::string("25")};
        return {};
    }
    }
    return {};
}

std::optional<ValueRule> RuleOf(const std::string& control) {
    for (const Checked& c : kChecked)
        if (control == c.control) return c.rule;
    return std::nullopt;
}

int StepOverSeparator(const std::vector<std::string>& items, int newIndex, int lastIndex) {
    if (newIndex < 1 || newIndex >= static_cast<int>(items.size())) return newIndex;
    if (items[newIndex].compare(0, 3, "---") != 0) return newIndex;
    return newIndex > lastIndex ? newIndex + 1 : newIndex - 1;
}

int AckWarning(int selectedValue) {
    return selectedValue == 0 ? 15038 : 0;
}

} // namespace kivo
