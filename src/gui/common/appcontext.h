// What every window needs to know of the running program: where its files live, which Kobu it
// talks to, and the other windows by their roles. Filled by the start window's creation,
// before any other window exists; the shell registers the windows as it creates them.
#pragma once

#include "app/startup.h"
#include "gui/common/windowroles.h"
#include "link/kobulink.h"
#include "link/trace.h"

#include <memory>
#include <string>

namespace kivo::gui {

struct AppContext {
    Folders folders;
    std::string templateFolder; // where the installation's templates and artwork lie
    TransportFactory kobu;      // the Kobu chosen by KIVO_KOBU
    std::shared_ptr<LinkTrace> trace;
    WindowRoles windows; // every window of the program by its role, registered by the shell

    // A link to the chosen Kobu for a window that talks to it.
    std::unique_ptr<KobuLink> MakeLink() const {
        auto link = std::make_unique<KobuLink>(kobu);
        link->SetTrace(trace);
        return link;
    }
};

} // namespace kivo::gui
