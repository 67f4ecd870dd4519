// What every window needs to know of the running program: where its files live and which
// Kobu it talks to. Filled by the start window's creation, before any other window exists.
#pragma once

#include "app/startup.h"
#include "gui/common/windows.h"
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
    Windows windows;

    // A link to the chosen Kobu for a window that talks to it.
    std::unique_ptr<KobuLink> MakeLink() const {
        auto link = std::make_unique<KobuLink>(kobu);
        link->SetTrace(trace);
        return link;
    }
};

} // namespace kivo::gui
