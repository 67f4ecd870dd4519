// Every window of the program, created once at start-up in a fixed order and registered by its
// role in the context. The start window comes first: its creation runs start-up, and the
// windows after it rely on the folders and files it prepares (the editor loads Values.ini and
// Default.bin as it is created). Destroyed in the reverse order.
#pragma once

#include "gui/common/appcontext.h"
#include "gui/shell/windows.h"

#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

namespace kivo::gui {

class ProgramWindows {
public:
    ProgramWindows(AppContext& ctx, const std::string& executablePath,
                   const std::vector<std::string>& arguments);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The windows with their classes.
    const Windows& Get() const { return windows_; }
    // In creation order.
    const std::vector<QPointer<QWidget>>& Created() const { return created_; }

private:
    template <class W> W* Add(Role role, W* window) {
        created_.emplace_back(window);
        ctx_.windows.Register(role, window);
        return window;
    }
    void Destroy();

    AppContext& ctx_;
    Windows windows_;
    std::vector<QPointer<QWidget>> created_;
};

} // namespace kivo::gui
