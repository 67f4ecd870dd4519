// The editor's value checks and selection rules, apart from any widget: each says whether a
// text breaks its rule, which box answers it and what the field's text becomes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kivo {

struct RuleVerdict {
    int box = 0;                          // string number of the error box; 0: the text passes
    std::optional<std::string> corrected; // the field's new text, when it is corrected
};

enum class ValueRule {
    Range0To255,       // 15025, corrected to "255"
    Range0To2550,      // 15026, corrected to "2550"
    TestAlarmInterval, // 1..255; 15029, the text stays
    Tenths,            // empty passes; 0..25.5; 15024, corrected to "25" (not a number: stays)
};

RuleVerdict CheckValue(ValueRule rule, const std::string& text, char decimalSeparator);

// The rule of each checked field, by control name; nullopt for a field without one.
std::optional<ValueRule> RuleOf(const std::string& control);

// Selection in a transmitter alarm-type list: a separator item chosen by the user is stepped
// over, down when moving down the list and up otherwise. Returns the index to select (may be
// one past the last item: then nothing is selected).
int StepOverSeparator(const std::vector<std::string>& items, int newIndex, int lastIndex);

// The warning when the user switches radio acknowledgement off (15038), or 0: without the
// unit's acknowledgement, transmitters count unanswered test alarms and go to power saving.
int AckWarning(int selectedValue);

} // namespace kivo
