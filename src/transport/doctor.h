// The connection diagnosis behind "kivoctl doctor" and the editor's "Verbindungsdiagnose...":
// what stands between the program and the Kobu, in plain German, with what to do about it.
// It only looks: it reads sysfs, /dev and /proc, asks the Kobu "v" and the unit "O", and never
// changes anything on the system.
#pragma once

#include "link/trace.h"
#include "link/transport.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kivo {

enum class FindingState { Ok, Warning, Problem };

struct Finding {
    FindingState state = FindingState::Ok;
    int textId = 0;     // string-table number of `text`
    std::string text;   // what was found, one sentence or two
    int adviceId = 0;   // string-table number of `advice`; 0 when there is nothing to do
    std::string advice; // what to do about it
};

// The files the diagnosis reads, all under one root folder: "" for the running system, a
// test's folder holding a fake /sys, /dev, /proc and /etc for the tests.
class SystemTree {
public:
    explicit SystemTree(std::string root = {}) : root_(std::move(root)) {}
    virtual ~SystemTree() = default;

    // `path` (absolute, as on a running system) inside this tree.
    std::string At(const std::string& path) const { return root_ + path; }
    // The first line of a small text file (a sysfs attribute, /proc/N/comm) without its line
    // end; nullopt when it cannot be read.
    std::optional<std::string> ReadLine(const std::string& path) const;
    // The names in a folder, sorted; empty when it cannot be read.
    std::vector<std::string> List(const std::string& path) const;
    // Where a symbolic link points, as written in the link; empty when it is none.
    std::string LinkTarget(const std::string& path) const;
    bool Exists(const std::string& path) const;
    // `path` with every symbolic link resolved (inside this tree); `path` when that fails.
    std::string Canonical(const std::string& path) const;
    // Whether this process may open `path` for reading and writing.
    virtual bool MayReadWrite(const std::string& path) const;
    // The name of the group that owns `path`; empty when unknown.
    virtual std::string GroupOf(const std::string& path) const;

private:
    std::string root_;
};

struct DoctorOptions {
    std::string choice;               // "ftdi", a serial device path, "sim[:...]" (KobuChoice)
    TransportFactory factory;         // ChooseKobu(choice); empty when it was not understood
    std::shared_ptr<LinkTrace> trace; // the wire trace of the link part; nullptr: none
    bool askKobu = true;              // false: only look at the system, open nothing
    // The installation prefix whose lib/udev/rules.d may hold the rule; empty: none.
    std::string installPrefix;
};

struct DoctorReport {
    std::vector<Finding> findings;
    bool kobuAnswered = false; // the Kobu answered "v"
    bool unitAnswered = false; // a unit answered "O"
    std::string kobuVersion;
    // Both answered: the program can work with this Kobu and unit.
    bool Reached() const { return kobuAnswered && unitAnswered; }
};

// The name of the udev rule file the installation provides.
inline constexpr char kKobuRuleFile[] = "60-kobu.rules";

// The whole diagnosis: the system part, then (unless `askKobu` is false) the link part.
DoctorReport RunDoctor(const DoctorOptions& options, const SystemTree& system);

// The system part alone: for "ftdi" the USB device, its permissions, drivers, holders and
// latency timer, the udev rule and BRLTTY; for a device path that file, its holders and
// BRLTTY; for the simulator only a note.
std::vector<Finding> CheckSystem(const DoctorOptions& options, const SystemTree& system);

// The link part alone: opens the chosen Kobu, asks "v" and "O", closes again.
void CheckLink(const DoctorOptions& options, DoctorReport& report);

// Whether the message with string-table number `textId` says that the Kobu or the unit cannot
// be reached, so that the diagnosis is offered after it (the windows with a button, kivoctl
// with a line naming "kivoctl doctor").
bool OffersDiagnosis(int textId);

// "OK", "Hinweis" or "Problem".
std::string FindingMarker(FindingState state);

// The report as text: one line per finding behind its marker, the advice indented beneath.
std::string ReportText(const DoctorReport& report);

// The installation prefix of a program whose templates lie in `templateFolder`
// (<prefix>/share/kivotool/); empty for a build tree or an unpacked folder.
std::string InstallPrefixOf(const std::string& templateFolder);

} // namespace kivo
