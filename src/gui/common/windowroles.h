// The program's windows by the part each plays for the others. The shell creates every window
// once and registers it under its role; a window reaches another through the role, never
// through the other's header, so the window folders stand side by side on the common floor
// and only the shell knows them all.
#pragma once

#include <QDialog>
#include <QWidget>

#include <array>
#include <cstddef>

class QString;

namespace kivo::gui {

enum class Role {
    Start,
    Editor,
    ReceiveRadio,
    Password,
    Wizard,
    About,
    InfoRadio,
    ViewDefault,
    AlarmTypes,
    SelectDirectory,
    SelectHomeAway,
    ChangePasswords,
    NewPassword,
    BasicProgramming,
    Information,
};
inline constexpr std::size_t kRoles = static_cast<std::size_t>(Role::Information) + 1;

class WindowRoles {
public:
    void Register(Role role, QWidget* window) { windows_[Index(role)] = window; }
    void Clear() { windows_.fill(nullptr); }

    // The window of `role`; nullptr while the program has none (a window made on its own, as
    // in tests).
    QWidget* Window(Role role) const { return windows_[Index(role)]; }
    // The window of `role` as a class of the asking window's own folder or of the common floor.
    template <class W> W* As(Role role) const { return qobject_cast<W*>(Window(role)); }
    // Runs the dialog of `role` modally; without one nothing happens.
    void Exec(Role role) const {
        if (auto* dialog = As<QDialog>(role)) dialog->exec();
    }

private:
    static std::size_t Index(Role role) { return static_cast<std::size_t>(role); }
    std::array<QWidget*, kRoles> windows_{};
};

// What the editor asks of the window of Role::InfoRadio.
class TransmitterInfoRole {
public:
    virtual ~TransmitterInfoRole() = default;
    // Reads the settings the transmitter with `code` at radio position `position` keeps and,
    // when that worked, shows them to be changed.
    virtual void ShowTransmitter(const QString& code, int position) = 0;
};

inline TransmitterInfoRole* TransmitterInfoWindow(const WindowRoles& roles) {
    return dynamic_cast<TransmitterInfoRole*>(roles.Window(Role::InfoRadio));
}

} // namespace kivo::gui
