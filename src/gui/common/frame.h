// The title bars of the program's windows. Every window has a fixed size; what its title bar
// offers besides the title depends on how the window is meant to end.
#pragma once

#include <Qt>

namespace kivo::gui {

enum class Frame {
    TitleOnly,  // ends by its own buttons only (the password prompt, the transmitter wait)
    Close,      // a close button, no system menu
    SystemMenu, // system menu and close button: the usual dialog
    Minimise,   // system menu, minimise and close button (the editor and the wizard)
};

inline Qt::WindowFlags FrameFlags(Frame frame, Qt::WindowType kind = Qt::Dialog) {
    Qt::WindowFlags flags = kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    switch (frame) {
    case Frame::TitleOnly:
        break;
    case Frame::Close:
        flags |= Qt::WindowCloseButtonHint;
        break;
    case Frame::SystemMenu:
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        break;
    case Frame::Minimise:
        flags |=
            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        break;
    }
    return flags;
}

} // namespace kivo::gui
