// The four ready-made settings of the white extra button as a day button (check-in and
// check-out with the passive alarm), written straight into the image.
#pragma once

#include "data/kivodata.h"

namespace kivo {

constexpr int kHomeAwayChoices = 4;

// `choice` 0..3 (the dialog's items 1..4); other values change nothing.
void ApplyHomeAway(Image& image, int choice);

} // namespace kivo
