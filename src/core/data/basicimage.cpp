#include "data/basicimage.h"

#include "data/codec.h"

#include <algorithm>

namespace kivo {

namespace {

struct RadioRule {
    unsigned firstAddress;
    unsigned clearFrom; // radio bytes cleared from here up to the first telephone number
};

// Indexed by RadioOption.
constexpr RadioRule kRules[] = {{0x10, 0x10}, {0x02, 0x02}, {0x00, 0x00}};

const RadioRule& Rule(RadioOption option) {
    const int i = static_cast<int>(option);
    return kRules[i >= 0 && i < 3 ? i : static_cast<int>(kDefaultRadioOption)];
}

} // namespace

unsigned BasicFirstAddress(RadioOption option) {
    return Rule(option).firstAddress;
}

unsigned PrepareBasicImage(Image& image, const std::string& id, RadioOption option) {
    for (int d = 0; d < mm::kDestinations; ++d) TextToAlarmCode(id, &image[mm::AlarmCodeAddr(d)]);
    const RadioRule& rule = Rule(option);
    std::fill(image.begin() + rule.clearFrom, image.begin() + mm::PhoneA, 0);
    return rule.firstAddress;
}

} // namespace kivo
