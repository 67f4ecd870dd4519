#include "editor/rules.h"

#include "editor/binding.h"

#include <cstdlib>

namespace kivo {

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
        auto v = conv::ReadDecimal(text, decimalSeparator);
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
    const Binding* b = FindBinding(control);
    return b ? b->rule : std::nullopt;
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
