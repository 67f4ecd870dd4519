#include "editor/document.h"

#include "app/strtable.h"
#include "data/fileio.h"

namespace kivo {

void EditorDocument::Shown(ControlAccess& controls) {
    baseline = data.image;
    ControlsToImage(baseline, controls);
}

bool EditorDocument::Changed(ControlAccess& controls) const {
    Image now = data.image;
    ControlsToImage(now, controls);
    return now != baseline;
}

std::string EditorDocument::TitleSource() const {
    switch (data.imageSource) {
    case SourceOpened:
    case SourceSaved:
        return NameOf(data.fileName);
    case SourceUnit:
        return Str(13909);
    default:
        return Str(15020);
    }
}

} // namespace kivo
