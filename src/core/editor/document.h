// The configuration the editor works on, and what the editor knows of it besides the image:
// its own image size (which a read or a save may change apart from the file's) and the
// baseline that tells whether the user has changed anything since it was shown or saved.
#pragma once

#include "data/kivodata.h"
#include "editor/binding.h"

#include <string>

namespace kivo {

struct EditorDocument {
    KivoData data;                        // file name, image source, the image buffers
    unsigned imageSize = mm::kLargeImage; // 256 or 512
    Image baseline{};                     // what the controls stored when last shown or saved

    // The controls now show the working image: what they store is the baseline from here on.
    void Shown(ControlAccess& controls);
    // The working image was saved as the controls have it: nothing is left unsaved.
    void Saved() { baseline = data.image; }
    // Whether the controls hold something else than the baseline. Stored from the image as it
    // is now, so that changes made straight to the image (the day-button settings) count as
    // well as those in the controls.
    bool Changed(ControlAccess& controls) const;

    // The window title's first part: "Standard" for the default configuration, the file name
    // without its folder for an opened or saved one, and the read-out text for one read from
    // the unit.
    std::string TitleSource() const;
};

} // namespace kivo
