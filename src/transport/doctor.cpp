#include "transport/doctor.h"

#include "app/strtable.h"
#include "link/commands.h"
#include "link/kobulink.h"
#include "transport/ftdi.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {

// The report's texts in the string table.
enum Text : int {
    TxtOk = 16010,
    TxtHint = 16011,
    TxtProblem = 16012,
    TxtNoUsbChecks = 16016,
    TxtChoiceUnknown = 16017,
    TxtNoSysfs = 16018,
    TxtNoKobu = 16019,
    TxtPlugIn = 16020,
    TxtOtherFtdi = 16021,
    TxtKobuFound = 16022,
    TxtNoNode = 16025,
    TxtMayOpen = 16026,
    TxtMayNotOpen = 16027,
    TxtReloadRule = 16028,
    TxtInstallRule = 16029,
    TxtJoinGroup = 16030,
    TxtRuleFound = 16031,
    TxtRuleMissing = 16032,
    TxtRuleElsewhere = 16033,
    TxtSerialDriver = 16034,
    TxtSerialDriverAdvice = 16035,
    TxtHeldBy = 16036,
    TxtEndHolder = 16037,
    TxtClaimed = 16038,
    TxtLatency = 16039,
    TxtLatencyAdvice = 16040,
    TxtBrltty = 16041,
    TxtBrlttyAdvice = 16042,
    TxtCannotOpen = 16043,
    TxtKobuVersion = 16044,
    TxtKobuSilent = 16045,
    TxtKobuAdvice = 16046,
    TxtUnit = 16047,
    TxtNoUnit = 16048,
    TxtUnitAdvice = 16049,
};

constexpr char kUsbDevices[] = "/sys/bus/usb/devices";
constexpr char kUsbSerialDevices[] = "/sys/bus/usb-serial/devices";
// The folders udev reads its rules from.
const char* const kRuleFolders[] = {"/etc/udev/rules.d", "/run/udev/rules.d", "/lib/udev/rules.d",
                                    "/usr/lib/udev/rules.d", "/usr/local/lib/udev/rules.d"};
// The chip passes received bytes on after this long at the latest; the transports set it.
constexpr unsigned kLowLatencyMs = 2;
// Longer sysfs and /proc lines than this are not what we look for.
constexpr std::size_t kMaxLine = 4096;

// Control characters of outside texts (USB strings, process names, the Kobu's answer) would
// garble a terminal or the dialog; they show as '?'.
std::string Printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return text;
}

Finding Make(FindingState state, int textId, const std::vector<std::string>& args = {},
             int adviceId = 0, const std::vector<std::string>& adviceArgs = {}) {
    Finding f;
    f.state = state;
    f.textId = textId;
    f.text = FormatText(Str(textId), args);
    f.adviceId = adviceId;
    if (adviceId != 0) f.advice = FormatText(Str(adviceId), adviceArgs);
    return f;
}

// A decimal number of at most `max` without sign or blanks; nullopt for anything else.
std::optional<unsigned> Decimal(const std::string& text, unsigned max) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > max) return std::nullopt;
    return value;
}

// Four hexadecimal digits as sysfs writes USB ids; nullopt for anything else.
std::optional<unsigned> UsbId(const std::string& text) {
    if (text.size() != 4) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string BaseName(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : ", ") + item;
    return out;
}

// An FTDI chip as sysfs shows it.
struct UsbDevice {
    std::string name; // sysfs name, e.g. "1-1.2"
    std::string idProduct, product, serial;
    std::optional<unsigned> bus, device;
    bool IsKobu() const { return product == kKobuUsbDescription; }
    // The node libusb opens, e.g. /dev/bus/usb/001/005; empty when sysfs did not say.
    std::string Node() const {
        if (!bus || !device) return {};
        char node[32];
        std::snprintf(node, sizeof node, "/dev/bus/usb/%03u/%03u", *bus, *device);
        return node;
    }
};

std::vector<UsbDevice> FtdiDevices(const SystemTree& sys) {
    std::vector<UsbDevice> found;
    for (const std::string& name : sys.List(kUsbDevices)) {
        // Interfaces ("1-1:1.0") are listed beside the devices.
        if (name.find(':') != std::string::npos) continue;
        const std::string dir = std::string(kUsbDevices) + "/" + name + "/";
        auto vendor = sys.ReadLine(dir + "idVendor");
        if (!vendor || UsbId(*vendor) != kFtdiVendor) continue;
        UsbDevice d;
        d.name = name;
        d.idProduct = Printable(sys.ReadLine(dir + "idProduct").value_or("?"));
        d.product = Printable(sys.ReadLine(dir + "product").value_or(""));
        d.serial = Printable(sys.ReadLine(dir + "serial").value_or("?"));
        d.bus = Decimal(sys.ReadLine(dir + "busnum").value_or(""), 999);
        d.device = Decimal(sys.ReadLine(dir + "devnum").value_or(""), 999);
        found.push_back(d);
    }
    return found;
}

struct Process {
    std::string pid, name;
};

std::vector<std::string> ProcessIds(const SystemTree& sys) {
    std::vector<std::string> pids;
    for (const std::string& entry : sys.List("/proc"))
        if (Decimal(entry, UINT_MAX / 10)) pids.push_back(entry);
    return pids;
}

std::string ProcessName(const SystemTree& sys, const std::string& pid) {
    return Printable(sys.ReadLine("/proc/" + pid + "/comm").value_or("?"));
}

// The processes with `path` open, as far as this user may look into them.
std::vector<Process> HoldersOf(const SystemTree& sys, const std::string& path) {
    std::vector<Process> holders;
    for (const std::string& pid : ProcessIds(sys)) {
        const std::string fds = "/proc/" + pid + "/fd";
        for (const std::string& fd : sys.List(fds)) {
            if (sys.LinkTarget(fds + "/" + fd) != path) continue;
            holders.push_back({pid, ProcessName(sys, pid)});
            break;
        }
    }
    return holders;
}

void ReportHolders(const SystemTree& sys, const std::string& path, std::vector<Finding>& out) {
    for (const Process& p : HoldersOf(sys, path))
        out.push_back(Make(FindingState::Problem, TxtHeldBy, {p.name, p.pid, path}, TxtEndHolder));
}

// Where the udev rule lies: in a folder udev reads, or only under the installation prefix.
struct RuleState {
    std::string installed; // path in a folder udev reads
    std::string elsewhere; // folder under the prefix that holds it, when udev does not read it
};

RuleState FindRule(const SystemTree& sys, const std::string& prefix) {
    RuleState rule;
    for (const char* folder : kRuleFolders) {
        const std::string path = std::string(folder) + "/" + kKobuRuleFile;
        if (sys.Exists(path)) {
            rule.installed = path;
            return rule;
        }
    }
    if (!prefix.empty()) {
        const std::string folder = prefix + "/lib/udev/rules.d";
        if (sys.Exists(folder + "/" + kKobuRuleFile)) rule.elsewhere = folder;
    }
    return rule;
}

void CheckLatency(const SystemTree& sys, const std::string& tty, std::vector<Finding>& out) {
    auto text = sys.ReadLine(std::string(kUsbSerialDevices) + "/" + tty + "/latency_timer");
    auto ms = Decimal(text.value_or(""), 255);
    if (!ms) return;
    if (*ms <= kLowLatencyMs)
        out.push_back(Make(FindingState::Ok, TxtLatency, {std::to_string(*ms)}));
    else
        out.push_back(
            Make(FindingState::Warning, TxtLatency, {std::to_string(*ms)}, TxtLatencyAdvice));
}

// Permission, drivers, holders and latency timer of one attached Kobu.
void CheckKobu(const SystemTree& sys, const UsbDevice& d, const RuleState& rule,
               std::vector<Finding>& out) {
    out.push_back(Make(FindingState::Ok, TxtKobuFound,
                       {d.bus ? std::to_string(*d.bus) : "?",
                        d.device ? std::to_string(*d.device) : "?", d.serial}));

    const std::string node = d.Node();
    if (!node.empty()) {
        if (!sys.Exists(node)) {
            out.push_back(Make(FindingState::Problem, TxtNoNode, {node}));
        } else if (sys.MayReadWrite(node)) {
            out.push_back(Make(FindingState::Ok, TxtMayOpen, {node}));
        } else if (!rule.installed.empty()) {
            out.push_back(Make(FindingState::Problem, TxtMayNotOpen, {node}, TxtReloadRule,
                               {rule.installed}));
        } else {
            out.push_back(Make(FindingState::Problem, TxtMayNotOpen, {node}, TxtInstallRule));
        }
    }

    for (const std::string& iface : sys.List(kUsbDevices)) {
        if (!StartsWith(iface, d.name + ":")) continue;
        const std::string dir = std::string(kUsbDevices) + "/" + iface;
        const std::string driver = BaseName(sys.LinkTarget(dir + "/driver"));
        if (driver == "ftdi_sio") {
            // The kernel's serial driver is harmless by itself: libftdi detaches it while the
            // program works and attaches it again afterwards. Only a program that holds the
            // tty open is in the way.
            for (const std::string& entry : sys.List(dir)) {
                if (!StartsWith(entry, "ttyUSB")) continue;
                const std::string tty = "/dev/" + entry;
                out.push_back(Make(FindingState::Warning, TxtSerialDriver, {tty},
                                   TxtSerialDriverAdvice, {tty}));
                ReportHolders(sys, tty, out);
                CheckLatency(sys, entry, out);
            }
        } else if (driver == "usbfs") {
            // A program has claimed the chip through libusb: another instance of this
            // program, a virtual machine, BRLTTY.
            const auto holders = node.empty() ? std::vector<Process>{} : HoldersOf(sys, node);
            for (const Process& p : holders)
                out.push_back(
                    Make(FindingState::Problem, TxtHeldBy, {p.name, p.pid, node}, TxtEndHolder));
            if (holders.empty())
                out.push_back(Make(FindingState::Problem, TxtClaimed, {}, TxtEndHolder));
        }
    }
}

void CheckRule(const RuleState& rule, std::vector<Finding>& out) {
    if (!rule.installed.empty())
        out.push_back(Make(FindingState::Ok, TxtRuleFound, {rule.installed}));
    else if (!rule.elsewhere.empty())
        out.push_back(
            Make(FindingState::Warning, TxtRuleElsewhere, {rule.elsewhere}, TxtInstallRule));
    else
        out.push_back(Make(FindingState::Warning, TxtRuleMissing));
}

void CheckBrltty(const SystemTree& sys, std::vector<Finding>& out) {
    std::vector<std::string> pids;
    for (const std::string& pid : ProcessIds(sys))
        if (sys.ReadLine("/proc/" + pid + "/comm").value_or("") == "brltty") pids.push_back(pid);
    if (pids.empty()) return;
    std::vector<std::string> rules;
    for (const char* folder : kRuleFolders)
        for (const std::string& name : sys.List(folder))
            if (name.find("brltty") != std::string::npos)
                rules.push_back(std::string(folder) + "/" + name);
    if (rules.empty()) rules.push_back("85-brltty.rules");
    out.push_back(
        Make(FindingState::Problem, TxtBrltty, {Join(pids)}, TxtBrlttyAdvice, {Join(rules)}));
}

void CheckUsb(const DoctorOptions& options, const SystemTree& sys, std::vector<Finding>& out) {
    const RuleState rule = FindRule(sys, options.installPrefix);
    if (!sys.Exists(kUsbDevices)) {
        out.push_back(Make(FindingState::Warning, TxtNoSysfs, {kUsbDevices}));
    } else {
        const std::vector<UsbDevice> devices = FtdiDevices(sys);
        bool kobu = false;
        for (const UsbDevice& d : devices) {
            kobu |= d.IsKobu();
            if (!d.IsKobu())
                out.push_back(Make(FindingState::Warning, TxtOtherFtdi,
                                   {d.product, d.bus ? std::to_string(*d.bus) : "?",
                                    d.device ? std::to_string(*d.device) : "?"}));
        }
        if (!kobu)
            out.push_back(Make(FindingState::Problem, TxtNoKobu, {kKobuUsbDescription}, TxtPlugIn));
        for (const UsbDevice& d : devices)
            if (d.IsKobu()) CheckKobu(sys, d, rule, out);
    }
    CheckRule(rule, out);
    CheckBrltty(sys, out);
}

// The group that would give access to a serial device; "dialout" where the file's own group
// says nothing (root, or unknown).
std::string SerialGroup(const SystemTree& sys, const std::string& path) {
    std::string group = sys.GroupOf(path);
    return group.empty() || group == "root" ? std::string("dialout") : group;
}

void CheckSerialDevice(const std::string& path, const SystemTree& sys, std::vector<Finding>& out) {
    out.push_back(Make(FindingState::Warning, TxtNoUsbChecks, {path}));
    if (!sys.Exists(path)) {
        out.push_back(Make(FindingState::Problem, TxtNoNode, {path}));
        return;
    }
    if (sys.MayReadWrite(path)) {
        out.push_back(Make(FindingState::Ok, TxtMayOpen, {path}));
    } else {
        const std::string group = SerialGroup(sys, path);
        out.push_back(
            Make(FindingState::Problem, TxtMayNotOpen, {path}, TxtJoinGroup, {group, group}));
    }
    // /dev/serial/by-id/... names stand for a /dev/ttyUSBn, and that is what holders have open.
    const std::string device = sys.Canonical(path);
    // A pseudo-terminal's other end keeps it open by design (kobu-sim does).
    if (!StartsWith(device, "/dev/pts/")) ReportHolders(sys, device, out);
    if (StartsWith(BaseName(device), "ttyUSB")) CheckLatency(sys, BaseName(device), out);
    CheckBrltty(sys, out);
}

enum class ChoiceKind { Ftdi, Device, Sim, Unknown };

ChoiceKind KindOf(const std::string& choice) {
    if (choice == "ftdi") return ChoiceKind::Ftdi;
    if (!choice.empty() && choice[0] == '/') return ChoiceKind::Device;
    if (choice == "sim" || StartsWith(choice, "sim:")) return ChoiceKind::Sim;
    return ChoiceKind::Unknown;
}

} // namespace

std::optional<std::string> SystemTree::ReadLine(const std::string& path) const {
    // O_NONBLOCK: whatever a path turns out to be, looking at it never hangs.
    const int fd = ::open(At(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::string text(kMaxLine, '\0');
    ssize_t n;
    do {
        n = ::read(fd, text.data(), text.size());
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n < 0) return std::nullopt;
    text.resize(static_cast<std::size_t>(n));
    auto end = text.find_first_of("\r\n");
    if (end != std::string::npos) text.resize(end);
    return text;
}

std::vector<std::string> SystemTree::List(const std::string& path) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(At(path), ec), end; !ec && it != end;
         it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string SystemTree::LinkTarget(const std::string& path) const {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(At(path).c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target) return {};
    return std::string(target, static_cast<std::size_t>(n));
}

bool SystemTree::Exists(const std::string& path) const {
    struct stat st {};
    return ::stat(At(path).c_str(), &st) == 0;
}

bool SystemTree::MayReadWrite(const std::string& path) const {
    return ::access(At(path).c_str(), R_OK | W_OK) == 0;
}

std::string SystemTree::GroupOf(const std::string& path) const {
    struct stat st {};
    if (::stat(At(path).c_str(), &st) != 0) return {};
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    while (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return found ? std::string(found->gr_name) : std::string();
}

std::string SystemTree::Canonical(const std::string& path) const {
    std::error_code ec;
    const std::string full = std::filesystem::canonical(At(path), ec).string();
    if (ec) return path;
    if (root_.empty()) return full;
    const std::string root = std::filesystem::canonical(root_, ec).string();
    if (ec || !StartsWith(full, root + "/")) return path;
    return full.substr(root.size());
}

std::vector<Finding> CheckSystem(const DoctorOptions& options, const SystemTree& system) {
    std::vector<Finding> out;
    switch (KindOf(options.choice)) {
    case ChoiceKind::Ftdi:
        CheckUsb(options, system, out);
        break;
    case ChoiceKind::Device:
        CheckSerialDevice(options.choice, system, out);
        break;
    case ChoiceKind::Sim:
        // A simulator whose options are wrong is as little understood as an unknown choice.
        if (options.factory)
            out.push_back(Make(FindingState::Warning, TxtNoUsbChecks, {options.choice}));
        else
            out.push_back(Make(FindingState::Problem, TxtChoiceUnknown, {options.choice}));
        break;
    case ChoiceKind::Unknown:
        out.push_back(Make(FindingState::Problem, TxtChoiceUnknown, {options.choice}));
        break;
    }
    return out;
}

void CheckLink(const DoctorOptions& options, DoctorReport& report) {
    auto& out = report.findings;
    if (!options.factory) {
        // Said once, also when the system part has said it already.
        if (std::none_of(out.begin(), out.end(),
                         [](const Finding& f) { return f.textId == TxtChoiceUnknown; }))
            out.push_back(Make(FindingState::Problem, TxtChoiceUnknown, {options.choice}));
        return;
    }
    KobuLink link(options.factory);
    link.SetTrace(options.trace);
    LinkSession session(link);
    if (!session.Open()) {
        // Where the system part has found why and said what to do (no access, a holder,
        // BRLTTY), that advice is the one that helps, not the cable.
        const bool explained = std::any_of(out.begin(), out.end(), [](const Finding& f) {
            return f.state == FindingState::Problem && f.adviceId != 0;
        });
        out.push_back(Make(FindingState::Problem, TxtCannotOpen, {options.choice},
                           explained ? 0 : TxtKobuAdvice));
        return;
    }
    std::string version;
    if (ReadKobuVersion(link, version) == LinkResult::Ok) {
        report.kobuAnswered = true;
        report.kobuVersion = Printable(version);
        out.push_back(Make(FindingState::Ok, TxtKobuVersion, {report.kobuVersion}));
    } else {
        out.push_back(Make(FindingState::Problem, TxtKobuSilent, {}, TxtKobuAdvice));
    }
    if (CheckUnit(link) == LinkResult::Ok) {
        report.unitAnswered = true;
        out.push_back(Make(FindingState::Ok, TxtUnit));
    } else {
        // Where the Kobu itself is silent, the advice above is the one that helps.
        out.push_back(
            Make(FindingState::Problem, TxtNoUnit, {}, report.kobuAnswered ? TxtUnitAdvice : 0));
    }
}

DoctorReport RunDoctor(const DoctorOptions& options, const SystemTree& system) {
    DoctorReport report;
    report.findings = CheckSystem(options, system);
    if (options.askKobu) CheckLink(options, report);
    return report;
}

bool OffersDiagnosis(int textId) {
    // 15009: the Kobu cannot be found; 15008: the Kobu answers, the unit does not.
    return textId == 15009 || textId == 15008;
}

std::string FindingMarker(FindingState state) {
    switch (state) {
    case FindingState::Ok:
        return Str(TxtOk);
    case FindingState::Warning:
        return Str(TxtHint);
    case FindingState::Problem:
        return Str(TxtProblem);
    }
    return {};
}

std::string ReportText(const DoctorReport& report) {
    // Characters, not bytes, so that the columns line up in any edition.
    auto width = [](const std::string& s) {
        return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    };
    std::size_t column = 0;
    for (auto state : {FindingState::Ok, FindingState::Warning, FindingState::Problem})
        column = std::max(column, width(FindingMarker(state)));
    column += 2;
    std::string text;
    for (const Finding& f : report.findings) {
        const std::string marker = FindingMarker(f.state);
        text += marker + std::string(column - width(marker), ' ') + f.text + "\n";
        if (!f.advice.empty()) text += std::string(column, ' ') + f.advice + "\n";
    }
    return text;
}

std::string InstallPrefixOf(const std::string& templateFolder) {
    std::string folder = templateFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::string tail = "/share/kivotool";
    if (folder.size() <= tail.size() ||
        folder.compare(folder.size() - tail.size(), tail.size(), tail) != 0)
        return {};
    return folder.substr(0, folder.size() - tail.size());
}

} // namespace kivo
