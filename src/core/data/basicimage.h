// What basic programming does to a configuration before it writes it: the ID number into the
// six alarm codes and the chosen radio positions freed. The windows and kivoctl share it.
#pragma once

#include "data/kivodata.h"

#include <string>

namespace kivo {

// The radio group's choices, in its order.
enum class RadioOption {
    KeepAll = 0,         // write from 0x10: the unit keeps all eight codes
    ClearTwoToEight = 1, // free positions 2-8, write from 0x02: the unit keeps position 1
    ClearAll = 2,        // free all positions, write from 0x00
};
constexpr RadioOption kDefaultRadioOption = RadioOption::ClearTwoToEight;

// The first address written and compared for an option.
unsigned BasicFirstAddress(RadioOption option);

// Puts `id` into alarm codes A, B, C, D, N and R and frees the radio positions the option
// names; returns the first address to write.
unsigned PrepareBasicImage(Image& image, const std::string& id, RadioOption option);

} // namespace kivo
