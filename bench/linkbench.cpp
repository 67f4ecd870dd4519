// linkbench: how close the link comes to what the serial line allows.
//
// kobu-sim runs as a child process on a pseudo-terminal, its bytes paced at 57600 baud and
// every answer starting a unit latency after its command. The benchmark talks to it as kivoctl
// does: the serial transport, KobuLink, the unit commands and the procedures. A thin wrapper
// around the transport counts every frame written and every byte read, so the limit is
// computed from what really crossed the line, retries included.
//
// limit = (bytes sent + bytes received) x 11 bits / 57600 baud
//         + the unit latency for every transaction
//         + 20 ms for every lone byte that came where a frame was expected.
// The last term is the link's own rule, not overhead: after a lone NAK where a frame was asked
// for it waits a short tail, so that a NAK followed by garbage is not taken for a refusal. A
// 256-byte unit's size probe asks for 0x1FF and then 0x100 three times each and gets NAK each
// time, so its whole-image read holds 120 ms of such waits; leaving them out would make that
// case fail its goal by design, and timing the probe apart would hide the part of it that is
// wire time. The output names the waits wherever they are part of a limit.
#include "app/strtable.h"
#include "data/codec.h"
#include "data/kivodata.h"
#include "link/commands.h"
#include "link/kobulink.h"
#include "link/procedures.h"
#include "sim/simunit.h"
#include "transport/choose.h"
#include "transport/ftdi.h"
#include "transport/serial.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

using namespace kivo;

constexpr double kBaud = 57600;
constexpr double kBitsPerByte = 11; // start bit, 8 data bits, 2 stop bits
constexpr int kLatencyMs = 2;       // the unit's answer delay asked of kobu-sim
constexpr double kRatioGoal = 1.10;
constexpr double kCpuGoal = 0.05;

double WireMs(std::size_t bytes) {
    return static_cast<double>(bytes) * kBitsPerByte * 1000.0 / kBaud;
}

double WallMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// User and system time of this process only: kobu-sim's share is its own.
double CpuMs() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

// Commands whose answer is a frame; for the others it is a single byte.
bool ExpectsFrame(std::uint8_t letter) {
    return std::strchr("RvcAF", letter) != nullptr && letter != 0;
}

// What crossed the line. A transaction is one frame written and what is read until the next.
struct WireTally {
    int transactions = 0;
    std::size_t sent = 0;
    std::size_t received = 0;
    int pieceWaits = 0; // a lone byte where a frame was expected: the link waits a short tail
    int unanswered = 0; // nothing came back: a fault, never part of the limit
    int waits = 0;      // calls that wait for bytes: each one sleeps unless bytes are there
    int reads = 0;      // calls that read what is there

    void Begin(const std::uint8_t* frame, std::size_t size) {
        End();
        ++transactions;
        sent += size;
        open_ = true;
        framed_ = size > 1 && ExpectsFrame(frame[1]);
        replyBytes_ = 0;
    }
    void Received(std::size_t n) {
        received += n;
        replyBytes_ += n;
    }
    void End() {
        if (!open_) return;
        open_ = false;
        if (replyBytes_ == 0)
            ++unanswered;
        else if (framed_ && replyBytes_ == 1)
            ++pieceWaits;
    }
    double DesignedWaitMs() const { return pieceWaits * double(KobuLink::kTailMs); }
    double LimitMs() const {
        return WireMs(sent + received) + transactions * double(kLatencyMs) + DesignedWaitMs();
    }

private:
    bool open_ = false;
    bool framed_ = false;
    std::size_t replyBytes_ = 0;
};

// The serial transport with every frame and every byte counted on the way.
class CountingTransport : public Transport {
public:
    CountingTransport(std::unique_ptr<Transport> inner, std::shared_ptr<WireTally> tally)
        : inner_(std::move(inner)), tally_(std::move(tally)) {}

    OpenResult Open() override { return inner_->Open(); }
    void Close() override {
        tally_->End();
        inner_->Close();
    }
    void Purge(bool receive, bool transmit) override { inner_->Purge(receive, transmit); }
    std::size_t Write(const std::uint8_t* data, std::size_t size) override {
        std::size_t n = inner_->Write(data, size);
        if (n > 0) tally_->Begin(data, n);
        return n;
    }
    bool WaitReadable(int timeoutMs) override {
        ++tally_->waits;
        return inner_->WaitReadable(timeoutMs);
    }
    std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t max) override {
        ++tally_->reads;
        std::size_t n = inner_->ReadAvailable(buffer, max);
        tally_->Received(n);
        return n;
    }
    bool Lost() const override { return inner_->Lost(); }
    Clock& Time() override { return inner_->Time(); }
    std::string Name() const override { return inner_->Name(); }

private:
    std::unique_ptr<Transport> inner_;
    std::shared_ptr<WireTally> tally_;
};

// The procedures' texts go nowhere; the first error box is kept to say why a transfer failed.
class SilentUi : public ProcedureUi {
public:
    int errorText = 0;
    void Status(const std::string&) override {}
    void Box(BoxKind kind, int textId, const std::vector<std::string>&) override {
        if (kind == BoxKind::Error && errorText == 0) errorText = textId;
    }
    void TwoPartBox(int, int) override {}
    void Repaint() override {}
    void Progress(int, int) override {}
    void WaitCursor(bool) override {}
};

// kobu-sim as a child process; ended when this object goes, and also when linkbench dies.
class SimProcess {
public:
    explicit SimProcess(const std::string& options) {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) {
            error_ = std::string("pipe: ") + std::strerror(errno);
            return;
        }
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
#ifdef __linux__
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
            if (::getppid() != parent) ::_exit(127);
            ::dup2(out[1], STDOUT_FILENO);
            ::execl(KOBU_SIM, KOBU_SIM, options.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        out_ = out[0];
        if (pid_ < 0) {
            error_ = std::string("fork: ") + std::strerror(errno);
            return;
        }
        // The device path is the first line; five seconds is plenty for a program to start.
        std::string line;
        const double deadline = WallMs() + 5000;
        char c = 0;
        for (;;) {
            pollfd p{out_, POLLIN, 0};
            int left = static_cast<int>(deadline - WallMs());
            if (left <= 0 || ::poll(&p, 1, left) != 1 || ::read(out_, &c, 1) != 1 || c == '\n')
                break;
            line += c;
        }
        if (line.empty() || line[0] != '/')
            error_ = "kobu-sim " + options + " printed no device path (first line: '" + line + "')";
        else
            path_ = line;
    }
    ~SimProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            const double deadline = WallMs() + 2000;
            while (::waitpid(pid_, &status, WNOHANG) == 0) {
                if (WallMs() > deadline) {
                    ::kill(pid_, SIGKILL);
                    ::waitpid(pid_, &status, 0);
                    break;
                }
                ::usleep(10000);
            }
        }
        if (out_ >= 0) ::close(out_);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& Path() const {
        return path_;
    }
    const std::string& Error() const {
        return error_;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string path_;
    std::string error_;
};

// A link to the simulator's pseudo-terminal through the counting serial transport, with the
// wire trace of KIVO_TRACE as kivoctl has it.
std::unique_ptr<KobuLink> MakeLink(const std::string& path, std::shared_ptr<WireTally> tally) {
    auto link = std::make_unique<KobuLink>([path, tally]() -> std::unique_ptr<Transport> {
        return std::make_unique<CountingTransport>(MakeSerialTransport(path), tally);
    });
    link->SetTrace(ChooseTrace(""));
    return link;
}

struct Sample {
    double wallMs = 0;
    double cpuMs = 0;
    WireTally tally;
    double Ratio() const { return wallMs / tally.LimitMs(); }
    double CpuFraction() const { return wallMs > 0 ? cpuMs / wallMs : 0; }
};

std::string ErrorText(const char* what, int textId) {
    std::string s = what;
    if (textId) s += ": " + Str(textId);
    return s;
}

const char* OutcomeName(WriteOutcome o) {
    switch (o) {
    case WriteOutcome::Verified:
        return "verified";
    case WriteOutcome::NoKobu:
        return "no Kobu";
    case WriteOutcome::NoUnit:
        return "no unit";
    case WriteOutcome::Refused:
        return "refused by the compatibility check";
    case WriteOutcome::WriteFailed:
        return "write failed";
    case WriteOutcome::VerifyFailed:
        return "verification failed";
    case WriteOutcome::BackupFailed:
        return "backup before the write failed";
    }
    return "?";
}

// The image written: the simulator's start image with destination C's number changed on every
// run, so each write really changes the unit. It uses neither protocol 17 nor 21, so the
// compatibility check reads only the firmware bytes for the alarm types.
Image WriteImage(int run) {
    Image image = sim::StartImage();
    TextToPhone("04055500" + std::to_string(10 + run % 90), &image[mm::PhoneA + 8 * 2]);
    return image;
}

// CPU time, in microseconds, that one sleep of a byte's time and the wake-up after it cost
// this process on this machine. The link sleeps until each piece of a reply has come, so this
// is the unit in which its waiting is paid; printed so that a cpu figure can be judged.
double WakeCostUs() {
    constexpr int kWakes = 300;
    const timespec byteTime{0, static_cast<long>(kBitsPerByte * 1e9 / kBaud)};
    const double cpu0 = CpuMs();
    for (int i = 0; i < kWakes; ++i) ::nanosleep(&byteTime, nullptr);
    return (CpuMs() - cpu0) * 1000.0 / kWakes;
}

// One benchmark case: its link's tally, the transfer of each run, and what the runs gave.
struct Case {
    std::string name;
    std::shared_ptr<WireTally> tally;
    std::function<bool(int run, std::string& failure)> transfer;
    std::vector<Sample> samples;
    bool failed = false;
    std::string failure;

    // One run: -1 is the untimed warm-up (first page faults, first open of the terminal).
    void Run(int run, bool verbose) {
        Sample s;
        std::string why;
        tally->End();
        *tally = WireTally{};
        const double cpu0 = CpuMs();
        const double t0 = WallMs();
        const bool ok = transfer(run, why);
        const double t1 = WallMs();
        const double cpu1 = CpuMs();
        tally->End();
        s.wallMs = t1 - t0;
        s.cpuMs = cpu1 - cpu0;
        s.tally = *tally;
        if (ok && s.tally.unanswered > 0)
            why = std::to_string(s.tally.unanswered) + " transaction(s) unanswered";
        if (!why.empty()) {
            failed = true;
            failure = (run < 0 ? std::string("warm-up run") : "run " + std::to_string(run + 1)) +
                      ": " + why;
            return;
        }
        if (verbose)
            std::printf("  %-9s %-7s %8.2f ms  limit %8.2f ms  cpu %6.2f ms (%.3f)\n", name.c_str(),
                        run < 0 ? "warm-up" : ("run " + std::to_string(run + 1)).c_str(), s.wallMs,
                        s.tally.LimitMs(), s.cpuMs, s.CpuFraction());
        if (run >= 0) samples.push_back(s);
    }

    const Sample& MedianByWall() {
        std::sort(samples.begin(), samples.end(),
                  [](const Sample& x, const Sample& y) { return x.wallMs < y.wallMs; });
        return samples[(samples.size() - 1) / 2];
    }
    double MedianCpuFraction() const {
        std::vector<double> cpu;
        for (const Sample& s : samples) cpu.push_back(s.CpuFraction());
        std::sort(cpu.begin(), cpu.end());
        return cpu[(cpu.size() - 1) / 2];
    }
    bool LimitVaried() const {
        for (const Sample& s : samples)
            if (s.tally.LimitMs() != samples.front().tally.LimitMs()) return true;
        return false;
    }
};

bool StartSim(const std::string& options, std::unique_ptr<SimProcess>& sim) {
    sim = std::make_unique<SimProcess>(options);
    if (sim->Path().empty()) {
        std::fprintf(stderr, "linkbench: %s\n", sim->Error().c_str());
        return false;
    }
    return true;
}

void NoteTrace() {
    const char* trace = std::getenv("KIVO_TRACE");
    if (trace && *trace) std::printf("wire trace to %s: the timings include writing it\n", trace);
}

// A whole-image read, with the link opened and closed around it as a user's read has it. Every
// run must bring the image of the first, and a 256-byte unit's image must end in zeros.
std::function<bool(int, std::string&)> WholeImageRead(KobuLink& link, unsigned unitSize) {
    auto first = std::make_shared<Image>();
    auto taken = std::make_shared<bool>(false);
    return [&link, unitSize, first, taken](int, std::string& failure) {
        if (link.OpenLink() != LinkOpen::Open) {
            link.CloseLink();
            failure = "the link cannot be opened";
            return false;
        }
        Image image{};
        const LinkResult result = ReadWholeImage(link, image);
        link.CloseLink();
        if (result != LinkResult::Ok) {
            failure = "ReadWholeImage returned " + std::to_string(static_cast<int>(result));
            return false;
        }
        if (unitSize == mm::kSmallImage && std::any_of(image.begin() + 0x100, image.end(),
                                                       [](std::uint8_t b) { return b != 0; })) {
            failure = "the image of a 256-byte unit has bytes past 0x0FF";
            return false;
        }
        if (*taken && image != *first) {
            failure = "the image differs from the first read";
            return false;
        }
        *first = image;
        *taken = true;
        return true;
    };
}

// The editor's write with verification; WriteUnit opens and closes the link itself.
std::function<bool(int, std::string&)> VerifiedWrite(KobuLink& link) {
    return [&link](int run, std::string& failure) {
        KivoData data;
        data.image = WriteImage(run);
        if (ProtocolInUse(data.image, 17) || ProtocolInUse(data.image, 21)) {
            failure = "the image to write uses protocol 17 or 21";
            return false;
        }
        SilentUi ui;
        const WriteOutcome outcome = WriteUnit(link, data, ui, WriteOptions::Editor());
        if (outcome != WriteOutcome::Verified) {
            failure = ErrorText(OutcomeName(outcome), ui.errorText);
            return false;
        }
        return true;
    };
}

// The result lines of the timed cases; 1 when one of them failed.
int Report(std::vector<Case>& cases, double wakeBefore) {
    const double wakeAfter = WakeCostUs();
    std::printf("this machine: one sleep and wake-up costs %.0f us of cpu before the runs, %.0f us "
                "after\n",
                wakeBefore, wakeAfter);
    bool failed = false;
    bool any = false;
    double worstRatio = 0, worstCpu = 0;
    for (Case& c : cases) {
        if (c.failed) {
            std::printf("%-9s FAILED: %s\n", c.name.c_str(), c.failure.c_str());
            failed = true;
            continue;
        }
        const Sample& m = c.MedianByWall();
        const double cpu = c.MedianCpuFraction();
        const WireTally& t = m.tally;
        std::printf("%-9s measured %7.1f ms  limit %7.1f ms  ratio %.2f  cpu %.3f  (%d "
                    "transactions, %zu bytes sent, %zu received in %d waits and %d reads",
                    c.name.c_str(), m.wallMs, t.LimitMs(), m.Ratio(), cpu, t.transactions, t.sent,
                    t.received, t.waits, t.reads);
        if (t.pieceWaits > 0)
            std::printf("; limit includes %d x %d ms designed waits after a lone NAK", t.pieceWaits,
                        KobuLink::kTailMs);
        if (c.LimitVaried()) std::printf("; the limit differed between runs");
        std::printf(")\n");
        any = true;
        worstRatio = std::max(worstRatio, m.Ratio());
        worstCpu = std::max(worstCpu, cpu);
    }
    if (any)
        std::printf("ratio %.2f cpu %.3f\n", worstRatio, worstCpu);
    else
        std::printf("ratio - cpu -\n");
    return failed ? 1 : 0;
}

int Paced(int runs, bool verbose) {
    std::printf("linkbench: kobu-sim pace=1,latency=%d on a pseudo-terminal, serial transport; "
                "median of %d runs\n",
                kLatencyMs, runs);
    std::printf("goals: ratio <= %.2f, cpu <= %.2f; limit = (bytes sent + received) x 11 bits / "
                "57600 baud + %d ms per transaction (+ designed waits where named)\n",
                kRatioGoal, kCpuGoal, kLatencyMs);
    NoteTrace();
    const double wakeBefore = WakeCostUs();

    const std::string timing = "pace=1,latency=" + std::to_string(kLatencyMs);
    // The write gets a unit of its own: the reads check that every run brings the same image.
    std::unique_ptr<SimProcess> sim512, sim256, simWrite;
    if (!StartSim(timing, sim512) || !StartSim(timing + ",size=256", sim256) ||
        !StartSim(timing, simWrite))
        return 1;

    // Each case has a link of its own, so each tally counts that case's transfers only.
    std::vector<Case> cases(3);
    std::vector<std::unique_ptr<KobuLink>> links;
    auto add = [&](Case& c, const std::string& name, const SimProcess& sim) -> KobuLink& {
        c.name = name;
        c.tally = std::make_shared<WireTally>();
        links.push_back(MakeLink(sim.Path(), c.tally));
        return *links.back();
    };
    cases[0].transfer = WholeImageRead(add(cases[0], "read512", *sim512), mm::kLargeImage);
    cases[1].transfer = WholeImageRead(add(cases[1], "read256", *sim256), mm::kSmallImage);
    cases[2].transfer = VerifiedWrite(add(cases[2], "write512", *simWrite));

    // Round by round rather than case by case: a spell of load on the machine then falls on
    // one run of every case instead of on all runs of one case.
    for (int run = -1; run < runs; ++run)
        for (Case& c : cases)
            if (!c.failed) c.Run(run, verbose);

    return Report(cases, wakeBefore);
}

int Unpaced(double seconds) {
    std::printf("linkbench --unpaced: kobu-sim without pacing, latency 0, on a pseudo-terminal; "
                "whole-image reads of a 512-byte unit for %.0f s\n",
                seconds);
    NoteTrace();
    std::unique_ptr<SimProcess> sim;
    if (!StartSim("pace=0,latency=0", sim)) return 1;
    auto tally = std::make_shared<WireTally>();
    auto link = MakeLink(sim->Path(), tally);
    if (link->OpenLink() != LinkOpen::Open) {
        link->CloseLink();
        std::printf("FAILED: the link to %s cannot be opened\n", sim->Path().c_str());
        return 1;
    }
    Image image{};
    if (ReadWholeImage(*link, image) != LinkResult::Ok) { // warm-up
        link->CloseLink();
        std::printf("FAILED: the first whole-image read failed\n");
        return 1;
    }
    *tally = WireTally{};
    int reads = 0;
    const double cpu0 = CpuMs();
    const double t0 = WallMs();
    double t1 = t0;
    while (t1 - t0 < seconds * 1000.0) {
        const LinkResult result = ReadWholeImage(*link, image);
        t1 = WallMs();
        if (result != LinkResult::Ok) {
            link->CloseLink();
            std::printf("FAILED: read %d: ReadWholeImage returned %d\n", reads + 1,
                        static_cast<int>(result));
            return 1;
        }
        ++reads;
    }
    const double cpu1 = CpuMs();
    tally->End();
    link->CloseLink();
    const double s = (t1 - t0) / 1000.0;
    const WireTally& t = *tally;
    std::printf("%d whole-image reads, %d transactions, %zu bytes sent, %zu received in %.2f s; "
                "%.1f us per transaction; cpu %.3f\n",
                reads, t.transactions, t.sent, t.received, s, (t1 - t0) * 1000.0 / t.transactions,
                (cpu1 - cpu0) / (t1 - t0));
    if (t.unanswered || t.pieceWaits)
        std::printf("note: %d unanswered transactions, %d lone bytes where a frame was expected\n",
                    t.unanswered, t.pieceWaits);
    std::printf("transactions/s %.0f\n", t.transactions / s);
    return 0;
}

// The Kobu that the libftdi transport finds, as kivoctl --kobu ftdi talks to it: run under
// ftdi-emu with FTDI_EMU=latency=2 (a 512-byte unit) to time the whole USB path, the chip's
// latency timer and its status packets included.
int ThroughFtdi(int runs, bool verbose) {
    std::printf("linkbench --ftdi: the Kobu found by its USB description, libftdi transport; "
                "median of %d runs\n",
                runs);
    std::printf("goals: ratio <= %.2f, cpu <= %.2f; limit as in the default mode, with %d ms unit "
                "latency\n",
                kRatioGoal, kCpuGoal, kLatencyMs);
    NoteTrace();
    const double wakeBefore = WakeCostUs();
    std::vector<Case> cases(2);
    std::vector<std::unique_ptr<KobuLink>> links;
    for (Case& c : cases) {
        c.tally = std::make_shared<WireTally>();
        auto tally = c.tally;
        links.push_back(std::make_unique<KobuLink>([tally]() -> std::unique_ptr<Transport> {
            return std::make_unique<CountingTransport>(MakeFtdiTransport(), tally);
        }));
        links.back()->SetTrace(ChooseTrace(""));
    }
    cases[0].name = "read512";
    cases[0].transfer = WholeImageRead(*links[0], mm::kLargeImage);
    cases[1].name = "write512";
    cases[1].transfer = VerifiedWrite(*links[1]);
    // One unit serves both, and every read must bring the image of the first: all reads
    // before the writes.
    for (Case& c : cases)
        for (int run = -1; run < runs && !c.failed; ++run) c.Run(run, verbose);
    return Report(cases, wakeBefore);
}

void Usage(std::FILE* to) {
    std::fprintf(
        to,
        "usage: linkbench [--runs N] [--verbose]\n"
        "       linkbench --unpaced [--seconds S]\n"
        "       linkbench --ftdi [--runs N] [--verbose]\n"
        "\n"
        "Starts kobu-sim on a pseudo-terminal and talks to it through the serial transport and\n"
        "the link, commands and procedures that kivoctl uses.\n"
        "\n"
        "Default mode: kobu-sim paces its bytes at 57600 baud and answers %d ms after each\n"
        "command. Timed (median of N runs, default 5, after one untimed run):\n"
        "  read512   a whole-image read of a 512-byte unit (one probe, 35 chunks)\n"
        "  read256   a whole-image read of a 256-byte unit (probe with six NAKs, 17 chunks)\n"
        "  write512  the editor's write with verification of a 512-byte unit\n"
        "Each line gives the measured time, the limit (every byte counted at the transport at\n"
        "11 bits / 57600 baud, plus %d ms per transaction, plus %d ms wherever the link waits\n"
        "by design after a lone NAK that came instead of a frame), measured / limit, and the\n"
        "CPU time of this process (not kobu-sim's) over the wall time. The last line is\n"
        "  ratio <worst ratio> cpu <worst cpu fraction>\n"
        "--verbose adds a line for every run.\n"
        "Goals: ratio <= %.2f, cpu <= %.2f (reported, not enforced). Exit status 1 when a\n"
        "transfer fails or kobu-sim cannot be started.\n"
        "\n"
        "--unpaced: kobu-sim without pacing and with latency 0; whole-image reads for S seconds\n"
        "(default 3); prints the transactions per second, the protocol's own overhead here.\n"
        "\n"
        "--ftdi: read512 and write512 against the Kobu found by its USB description through\n"
        "libftdi1 instead of kobu-sim; run it under ftdi-emu with FTDI_EMU=latency=%d.\n"
        "\n"
        "KIVO_TRACE=FILE writes the wire trace with millisecond timestamps (and slows the run).\n",
        kLatencyMs, kLatencyMs, KobuLink::kTailMs, kRatioGoal, kCpuGoal, kLatencyMs);
}

bool ParseNumber(const char* text, double low, double high, double& out) {
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(v >= low && v <= high)) return false;
    out = v;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bool unpaced = false;
    bool ftdi = false;
    bool verbose = false;
    double runs = 5, seconds = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        }
        if (arg == "--unpaced") {
            unpaced = true;
        } else if (arg == "--ftdi") {
            ftdi = true;
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (arg == "--runs" && i + 1 < argc && ParseNumber(argv[i + 1], 1, 99, runs) &&
                   runs == static_cast<int>(runs)) {
            ++i;
        } else if (arg == "--seconds" && i + 1 < argc &&
                   ParseNumber(argv[i + 1], 0.1, 600, seconds)) {
            ++i;
        } else {
            std::fprintf(stderr, "linkbench: unknown or bad argument '%s'\n", arg.c_str());
            Usage(stderr);
            return 2;
        }
    }
    // A write to the terminal after kobu-sim has gone must fail, not end the benchmark.
    std::signal(SIGPIPE, SIG_IGN);
    if (ftdi) return ThroughFtdi(static_cast<int>(runs), verbose);
    return unpaced ? Unpaced(seconds) : Paced(static_cast<int>(runs), verbose);
}
