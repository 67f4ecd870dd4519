#include "editor/homeaway.h"

namespace kivo {

namespace {

struct Setting {
    std::uint8_t checkIn, checkOut, passive, extraButton;
};

// 0x76: inactive, sent at once with microphone, loudspeaker, loudspeaker while dialling and
// high priority; 0xF6: the same, active; 0xC2: active, sent at once, high priority, silent.
constexpr Setting kSettings[kHomeAwayChoices] = {
    {0x76, 0x76, 0xF6, 4}, // no check-in/out to the centre; passive alarm with speech
    {0xF6, 0xF6, 0xF6, 4}, // check-in/out and passive alarm with speech
    {0xC2, 0xC2, 0xF6, 4}, // check-in/out without speech, passive alarm with speech
    {0x76, 0x76, 0x76, 0}, // switched off
};

} // namespace

void ApplyHomeAway(Image& image, int choice) {
    if (choice < 0 || choice >= kHomeAwayChoices) return;
    const Setting& s = kSettings[choice];
    image[mm::FlagHomeIndication] = s.checkIn;
    image[mm::FlagAway] = s.checkOut;
    image[mm::FlagPassive] = s.passive;
    image[mm::AlarmTypeExtraButton] = s.extraButton;
    image[mm::FlagBurglar] &= 0x7F; // the burglar alarm would share the button: off
}

} // namespace kivo
