// The connection diagnosis: the look at the system against fake /sys, /dev, /proc and udev
// trees in a test folder, the questions to the Kobu against the simulator.
#include "transport/doctor.h"

#include "app/strtable.h"
#include "support/tempdir.h"
#include "transport/choose.h"
#include "transport/ftdi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <tuple>

namespace kivo {

// Readable states in failure messages.
void PrintTo(FindingState state, std::ostream* os) {
    *os << (state == FindingState::Ok ? "Ok" : state == FindingState::Warning ? "Warn" : "Bad");
}

namespace {

using test::TempDir;
namespace fs = std::filesystem;

constexpr auto Ok = FindingState::Ok;
constexpr auto Warn = FindingState::Warning;
constexpr auto Bad = FindingState::Problem;

const std::string kKobu = kKobuUsbDescription;

// A machine as the diagnosis sees it, built up file by file. Access is decided by `denied`
// rather than by file modes, which root (as tests often run) would ignore.
class FakeSystem : public SystemTree {
public:
    explicit FakeSystem(const TempDir& dir) : SystemTree(dir.path()), dir_(dir) {}

    bool MayReadWrite(const std::string& path) const override {
        return Exists(path) && denied.count(path) == 0;
    }
    std::string GroupOf(const std::string&) const override { return group; }

    std::set<std::string> denied;
    std::string group;

    void File(const std::string& path, const std::string& text = "") const {
        dir_.Write(At(path), text);
    }
    void Folder(const std::string& path) const { fs::create_directories(At(path)); }
    void Link(const std::string& path, const std::string& target) const {
        fs::create_directories(fs::path(At(path)).parent_path());
        fs::create_symlink(target, At(path));
    }

    // The USB bus with its root hub, as every machine has it.
    void Usb() const { Device("usb1", "xHCI Host Controller", "0002", "", 1, 1, "1d6b"); }
    // A USB device; its node in /dev/bus/usb unless `node` is false.
    void Device(const std::string& name, const std::string& product,
                const std::string& idProduct = "6001", const std::string& serial = "FT4KOBU1",
                int bus = 1, int dev = 5, const std::string& vendor = "0403",
                bool node = true) const {
        const std::string d = "/sys/bus/usb/devices/" + name + "/";
        File(d + "idVendor", vendor + "\n");
        File(d + "idProduct", idProduct + "\n");
        File(d + "product", product + "\n");
        if (!serial.empty()) File(d + "serial", serial + "\n");
        File(d + "busnum", std::to_string(bus) + "\n");
        File(d + "devnum", std::to_string(dev) + "\n");
        char path[40];
        std::snprintf(path, sizeof path, "/dev/bus/usb/%03d/%03d", bus, dev);
        if (node) File(path);
    }
    // `driver` bound to the interface; the kernel's serial driver adds its tty.
    void Driver(const std::string& iface, const std::string& driver,
                const std::string& tty = "") const {
        const std::string d = "/sys/bus/usb/devices/" + iface;
        Link(d + "/driver", "../../../../../../bus/usb/drivers/" + driver);
        if (!tty.empty()) {
            Folder(d + "/" + tty);
            File("/dev/" + tty);
        }
    }
    void Latency(const std::string& tty, const std::string& ms) const {
        File("/sys/bus/usb-serial/devices/" + tty + "/latency_timer", ms + "\n");
    }
    void Process(const std::string& pid, const std::string& comm,
                 const std::vector<std::string>& open = {}) const {
        File("/proc/" + pid + "/comm", comm + "\n");
        Folder("/proc/" + pid + "/fd");
        Link("/proc/" + pid + "/fd/0", "/dev/null");
        for (std::size_t i = 0; i < open.size(); ++i)
            Link("/proc/" + pid + "/fd/" + std::to_string(i + 3), open[i]);
    }

private:
    const TempDir& dir_;
};

using Shape = std::tuple<FindingState, int, int>; // state, text, advice

std::vector<Shape> ShapeOf(const std::vector<Finding>& findings) {
    std::vector<Shape> shape;
    for (const Finding& f : findings) shape.emplace_back(f.state, f.textId, f.adviceId);
    return shape;
}

// A factory that must not be used: the system part opens nothing.
TransportFactory Untouchable() {
    return []() -> std::unique_ptr<Transport> {
        ADD_FAILURE() << "the system part opened the Kobu";
        return nullptr;
    };
}

TEST(Doctor, LooksAtTheSystem) {
    struct Case {
        const char* name;
        std::function<void(FakeSystem&)> setUp;
        std::vector<Shape> expected;
        std::vector<std::string> mentions{}; // in the report's text
        std::string choice = "ftdi";
        std::string prefix = "";
    };
    const Case cases[] = {
        {"no sysfs: nothing to look at but the rule",
         [](FakeSystem&) {},
         {{Warn, 16018, 0}, {Warn, 16032, 0}}},
        {"no device",
         [](FakeSystem& s) { s.Usb(); },
         {{Bad, 16019, 16020}, {Warn, 16032, 0}},
         {"kein USB-Gerät meldet sich als „" + kKobu + "“"}},
        {"another FTDI device is no Kobu",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-2", "FT232R USB UART\x1b[31m", "6001", "A1", 1, 7);
         },
         {{Warn, 16021, 0}, {Bad, 16019, 16020}, {Warn, 16032, 0}},
         {"„FT232R USB UART?[31m“ an Bus 1, Gerät 7"}},
        {"a Kobu the user may open",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
         },
         {{Ok, 16022, 0}, {Ok, 16026, 0}, {Warn, 16032, 0}},
         {"Bus 1, Gerät 5, Seriennummer FT4KOBU1", "Sie dürfen /dev/bus/usb/001/005 öffnen."}},
        {"no permission and no rule: install the rule",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu, "6015", "", 3, 12);
             s.denied.insert("/dev/bus/usb/003/012");
         },
         {{Ok, 16022, 0}, {Bad, 16027, 16029}, {Warn, 16032, 0}},
         {"Seriennummer ?", "Sie dürfen /dev/bus/usb/003/012 nicht öffnen",
          "sudo udevadm control --reload && sudo udevadm trigger", "plugdev"}},
        {"no permission although the rule is there: reload it",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
             s.denied.insert("/dev/bus/usb/001/005");
             s.File("/usr/lib/udev/rules.d/60-kobu.rules");
         },
         {{Ok, 16022, 0}, {Bad, 16027, 16028}, {Ok, 16031, 0}},
         {"Die udev-Regel /usr/lib/udev/rules.d/60-kobu.rules ist installiert, wirkt aber"}},
        {"the rule only under a prefix udev does not read",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
             s.File("/opt/kivo/lib/udev/rules.d/60-kobu.rules");
         },
         {{Ok, 16022, 0}, {Ok, 16026, 0}, {Warn, 16033, 16029}},
         {"nur in /opt/kivo/lib/udev/rules.d;"},
         "ftdi",
         "/opt/kivo"},
        {"the rule installed by the administrator",
         [](FakeSystem& s) {
             s.Usb();
             s.File("/etc/udev/rules.d/60-kobu.rules");
         },
         {{Bad, 16019, 16020}, {Ok, 16031, 0}}},
        {"the kernel's serial driver with a short latency timer",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
             s.Driver("1-1:1.0", "ftdi_sio", "ttyUSB0");
             s.Latency("ttyUSB0", "1");
         },
         {{Ok, 16022, 0}, {Ok, 16026, 0}, {Warn, 16034, 16035}, {Ok, 16039, 0}, {Warn, 16032, 0}},
         {"als /dev/ttyUSB0 eingebunden", "Latenz-Timer des Chips: 1 ms."}},
        {"the default latency timer is only a note",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
             s.Driver("1-1:1.0", "ftdi_sio", "ttyUSB1");
             s.Latency("ttyUSB1", "16");
         },
         {{Ok, 16022, 0},
          {Ok, 16026, 0},
          {Warn, 16034, 16035},
          {Warn, 16039, 16040},
          {Warn, 16032, 0}},
         {"Latenz-Timer des Chips: 16 ms."}},
        {"a program holds the tty",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
             s.Driver("1-1:1.0", "ftdi_sio", "ttyUSB0");
             s.Process("4242", "minicom", {"/dev/ttyUSB0"});
             s.Process("4243", "bash", {"/dev/ttyUSB1"});
         },
         {{Ok, 16022, 0},
          {Ok, 16026, 0},
          {Warn, 16034, 16035},
          {Bad, 16036, 16037},
          {Warn, 16032, 0}},
         {"Das Programm minicom (Prozess 4242) hält /dev/ttyUSB0 offen."}},
        {"a program has claimed the chip over USB",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
             s.Driver("1-1:1.0", "usbfs");
             s.Process("77", "kivotool", {"/dev/bus/usb/001/005"});
         },
         {{Ok, 16022, 0}, {Ok, 16026, 0}, {Bad, 16036, 16037}, {Warn, 16032, 0}},
         {"kivotool (Prozess 77) hält /dev/bus/usb/001/005 offen"}},
        {"claimed over USB by a process we may not look into",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
             s.Driver("1-1:1.0", "usbfs");
         },
         {{Ok, 16022, 0}, {Ok, 16026, 0}, {Bad, 16038, 16037}, {Warn, 16032, 0}}},
        {"BRLTTY running, with its rule named",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu);
             s.Process("812", "brltty");
             s.File("/usr/lib/udev/rules.d/85-brltty.rules");
         },
         {{Ok, 16022, 0}, {Ok, 16026, 0}, {Warn, 16032, 0}, {Bad, 16041, 16042}},
         {"BRLTTY läuft (Prozess 812).", "(/usr/lib/udev/rules.d/85-brltty.rules)"}},
        {"a Kobu with its maker's own product id is as good as any",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu, "f0e1");
         },
         {{Ok, 16022, 0}, {Ok, 16026, 0}, {Warn, 16032, 0}}},
        {"the device node is missing",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-1", kKobu, "6001", "X", 2, 9, "0403", false);
         },
         {{Ok, 16022, 0}, {Bad, 16025, 0}, {Warn, 16032, 0}},
         {"Die Gerätedatei /dev/bus/usb/002/009 fehlt."}},
        {"damaged sysfs values are no Kobu and no crash",
         [](FakeSystem& s) {
             s.Usb();
             s.Device("1-3", kKobu, "6001", "S", 1, 5, "04030403");
             s.Device("1-4", std::string(9000, 'x'), "zz", "S", -1, 100000);
         },
         {{Warn, 16021, 0}, {Bad, 16019, 16020}, {Warn, 16032, 0}},
         {"an Bus ?, Gerät ?"}},
        {"a serial device the user may open",
         [](FakeSystem& s) {
             s.File("/dev/ttyUSB0");
             s.Latency("ttyUSB0", "16");
             s.Process("812", "brltty");
         },
         {{Warn, 16016, 0}, {Ok, 16026, 0}, {Warn, 16039, 16040}, {Bad, 16041, 16042}},
         {"als „/dev/ttyUSB0“ gewählt", "(85-brltty.rules)"},
         "/dev/ttyUSB0"},
        {"a serial device without permission: join its group",
         [](FakeSystem& s) {
             s.File("/dev/ttyUSB0");
             s.denied.insert("/dev/ttyUSB0");
         },
         {{Warn, 16016, 0}, {Bad, 16027, 16030}},
         {"in die Gruppe dialout auf (sudo usermod -aG dialout $USER)"},
         "/dev/ttyUSB0"},
        {"a serial device of another group",
         [](FakeSystem& s) {
             s.File("/dev/ttyUSB0");
             s.denied.insert("/dev/ttyUSB0");
             s.group = "uucp";
         },
         {{Warn, 16016, 0}, {Bad, 16027, 16030}},
         {"in die Gruppe uucp auf"},
         "/dev/ttyUSB0"},
        {"a missing serial device",
         [](FakeSystem&) {},
         {{Warn, 16016, 0}, {Bad, 16025, 0}},
         {},
         "/dev/ttyUSB3"},
        {"a serial device by its stable name, held under its kernel name",
         [](FakeSystem& s) {
             s.File("/dev/ttyUSB0");
             s.Link("/dev/serial/by-id/usb-Tavra_KOBU", "../../ttyUSB0");
             s.Process("900", "screen", {"/dev/ttyUSB0"});
         },
         {{Warn, 16016, 0}, {Ok, 16026, 0}, {Bad, 16036, 16037}},
         {"screen (Prozess 900) hält /dev/ttyUSB0 offen"},
         "/dev/serial/by-id/usb-Tavra_KOBU"},
        {"a pseudo-terminal is held by its server by design",
         [](FakeSystem& s) {
             s.File("/dev/pts/3");
             s.Process("500", "kobu-sim", {"/dev/pts/3"});
         },
         {{Warn, 16016, 0}, {Ok, 16026, 0}},
         {},
         "/dev/pts/3"},
        {"the simulator: no look at the system",
         [](FakeSystem& s) {
             s.Usb();
             s.Process("812", "brltty");
         },
         {{Warn, 16016, 0}},
         {"als „sim:unit=0“ gewählt"},
         "sim:unit=0"},
        {"a choice nobody understands",
         [](FakeSystem&) {},
         {{Bad, 16017, 0}},
         {"„bogus“"},
         "bogus"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        FakeSystem system(dir);
        c.setUp(system);
        DoctorOptions options;
        options.choice = c.choice;
        options.factory = Untouchable();
        options.askKobu = false;
        options.installPrefix = c.prefix;
        const DoctorReport report = RunDoctor(options, system);
        EXPECT_EQ(ShapeOf(report.findings), c.expected);
        EXPECT_FALSE(report.Reached());
        const std::string text = ReportText(report);
        for (const std::string& m : c.mentions) EXPECT_NE(text.find(m), std::string::npos) << m;
        for (const Finding& f : report.findings) {
            EXPECT_FALSE(f.text.empty());
            EXPECT_EQ(f.advice.empty(), f.adviceId == 0);
        }
    }
}

// The link part against the simulator; the system part sees an empty machine.
class DoctorLink : public ::testing::Test {
protected:
    DoctorReport Run(const std::string& choice) {
        DoctorOptions options;
        options.choice = choice;
        std::string error;
        options.factory = ChooseKobu(choice, "", error);
        return RunDoctor(options, system);
    }
    // The findings of the link part: those after the system part's.
    static std::vector<Shape> LinkPart(const DoctorReport& report, std::size_t systemPart) {
        auto shape = ShapeOf(report.findings);
        return std::vector<Shape>(
            shape.begin() + static_cast<std::ptrdiff_t>(std::min(systemPart, shape.size())),
            shape.end());
    }

    TempDir dir;
    FakeSystem system{dir};
};

TEST_F(DoctorLink, KobuAndUnitAnswer) {
    const DoctorReport r = Run("sim");
    EXPECT_TRUE(r.Reached());
    EXPECT_EQ(r.kobuVersion, "11-1 SIM1.0");
    EXPECT_EQ(LinkPart(r, 1), (std::vector<Shape>{{Ok, 16044, 0}, {Ok, 16047, 0}}));
    EXPECT_NE(ReportText(r).find("Die KOBU antwortet: Version 11-1 SIM1.0."), std::string::npos);
}

TEST_F(DoctorLink, NoUnitBehindTheKobu) {
    const DoctorReport r = Run("sim:unit=0");
    EXPECT_TRUE(r.kobuAnswered);
    EXPECT_FALSE(r.unitAnswered);
    EXPECT_FALSE(r.Reached());
    EXPECT_EQ(LinkPart(r, 1), (std::vector<Shape>{{Ok, 16044, 0}, {Bad, 16048, 16049}}));
}

TEST_F(DoctorLink, AKobuThatNeverAnswers) {
    const DoctorReport r = Run("sim:drop=1");
    EXPECT_FALSE(r.kobuAnswered);
    EXPECT_FALSE(r.unitAnswered);
    // The unit's advice would send the user to the wrong cable.
    EXPECT_EQ(LinkPart(r, 1), (std::vector<Shape>{{Bad, 16045, 16046}, {Bad, 16048, 0}}));
}

TEST_F(DoctorLink, AKobuThatCannotBeOpened) {
    const DoctorReport r = Run("/dev/ttyUSB9");
    EXPECT_FALSE(r.Reached());
    EXPECT_EQ(LinkPart(r, 2), (std::vector<Shape>{{Bad, 16043, 16046}}));
    EXPECT_NE(ReportText(r).find("(/dev/ttyUSB9)"), std::string::npos);
}

TEST_F(DoctorLink, ASimulatorWithWrongOptionsIsNotUnderstoodOnce) {
    const DoctorReport r = Run("sim:unit=7");
    EXPECT_FALSE(r.Reached());
    EXPECT_EQ(ShapeOf(r.findings), (std::vector<Shape>{{Bad, 16017, 0}}));
}

TEST(DoctorText, MarkersInAColumnAdviceBeneath) {
    DoctorReport report;
    report.findings.push_back({Ok, 0, "eins", 0, ""});
    report.findings.push_back({Warn, 0, "zwei", 0, "tu was"});
    report.findings.push_back({Bad, 0, "drei", 0, ""});
    EXPECT_EQ(ReportText(report), "OK       eins\n"
                                  "Hinweis  zwei\n"
                                  "         tu was\n"
                                  "Problem  drei\n");
    EXPECT_EQ(ReportText(DoctorReport{}), "");
}

TEST(DoctorText, InstallPrefixFromTheTemplateFolder) {
    EXPECT_EQ(InstallPrefixOf("/usr/share/kivotool/"), "/usr");
    EXPECT_EQ(InstallPrefixOf("/opt/kivo/share/kivotool"), "/opt/kivo");
    EXPECT_EQ(InstallPrefixOf("/work/main/build/bin/"), "");
    EXPECT_EQ(InstallPrefixOf("/share/kivotool/"), "");
    EXPECT_EQ(InstallPrefixOf(""), "");
}

} // namespace
} // namespace kivo
