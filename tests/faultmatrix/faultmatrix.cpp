// The fault matrix: seeded random scenarios against the in-process simulator. Each scenario is a
// unit (256 or 512 bytes, refusing reads beyond its memory with NAK or with silence, a firmware
// and variant, sometimes no unit at all), a configuration (sometimes with runs of identical
// 16-byte blocks, where a reply taken for the neighbouring chunk's compares equal) and a mix of
// link faults, doubled and overtaken replies and a humming line among them; it reads the unit
// as the editor does, writes as the editor does and writes as basic programming does, and
// checks every outcome against the simulator's memory:
//
//   - a read reported complete holds exactly the unit's bytes;
//   - a write reported verified left the image in the unit's written ranges, and nothing
//     outside them changed;
//   - a write the unit cannot hold is refused, and a refused write wrote nothing;
//   - every failure ends with an error box of its path and the link closed;
//   - nothing hangs: transactions and their waits stay within what the link's bounds allow on
//     a virtual clock, reads and writes end within their time budgets, and every scenario ends
//     within a bound of real time (a watchdog).
//
// The last line is "scenarios N false_success F hangs H"; the exit code is 1 when any check
// failed. Every scenario has a seed of its own, printed with every finding, and --replay SEED
// runs that one scenario again with its whole story.
#include "app/strtable.h"
#include "data/fileio.h"
#include "data/kivodata.h"
#include "link/commands.h"
#include "link/procedures.h"
#include "link/trace.h"
#include "sim/simkobu.h"
#include "sim/simtransport.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace kivo::matrix {

namespace {

// ---------------------------------------------------------------------------------------------
// Random numbers: SplitMix64, the same sequence on every platform and standard library.

std::uint64_t Mix(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() { return Mix(state_); }
    unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }
    bool Chance(double p) { return static_cast<double>(Next() >> 11) * 0x1p-53 < p; }
    template <typename T> T Pick(const std::vector<T>& from) { return from[Below(from.size())]; }

private:
    std::uint64_t state_;
};

// ---------------------------------------------------------------------------------------------
// What the unit accepts, written from the rules of the compatibility check, apart from the
// link's own code so that the two do not share a mistake.

constexpr unsigned kProtocolBytes[] = {0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F};
constexpr unsigned kAlarmTypeBytes[] = {0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, 0xB2};

unsigned FirmwareOf(unsigned major, unsigned minor) {
    return major * 256 + (minor > 15 ? minor : minor * 16);
}

bool Holds(const Image& image, const unsigned* addrs, std::size_t n, bool (*test)(unsigned)) {
    for (std::size_t i = 0; i < n; ++i)
        if (test(image[addrs[i]])) return true;
    return false;
}

// Whether a correct check refuses `image` for this unit.
bool UnitRefuses(const Image& image, unsigned size, unsigned variant, unsigned firmware) {
    const bool large = size == 512;
    auto uses = [&](unsigned code) {
        for (unsigned a : kProtocolBytes)
            if (image[a] == code) return true;
        return false;
    };
    const bool p17 =
        (variant == 10 && firmware >= 0x650) || variant == 25 || variant == 29 || variant == 34;
    const bool p21 = (variant == 10 && firmware >= 0x700) || variant == 25 || variant == 29 ||
                     variant == 34 || (variant == 22 && firmware >= 0x633);
    if (uses(17) && !(large && p17)) return true;
    if (uses(21) && !(large && p21)) return true;

    auto any = [&](bool (*test)(unsigned)) {
        return Holds(image, kAlarmTypeBytes, std::size(kAlarmTypeBytes), test);
    };
    auto strict = [](unsigned v) { return v == 30 || (v >= 44 && v <= 48); };
    if (!large) return any(strict);
    if (variant == 10) {
        if (firmware <= 0x700) return any(strict);
        if (firmware <= 0x70F) return false;
        if (firmware <= 0x730) return any([](unsigned v) { return v == 30; });
        if (firmware <= 0x73F) return false;
        return any([](unsigned v) { return v == 48; });
    }
    if (variant == 25) return false;
    if (variant == 29 || variant == 34) return any([](unsigned v) { return v == 48; });
    return any(strict);
}

// ---------------------------------------------------------------------------------------------
// Scenarios

enum Op { OpRead, OpEditorWrite, OpBasicWrite, kOps };
const char* const kOpNames[] = {"read", "editor write", "basic write"};

struct Scenario {
    std::uint64_t seed = 0;
    std::string options; // the simulator's option text
    bool unit = true;
    Image memory{}; // the unit's bytes at the start (its read-only bytes are the simulator's)
    Image config{}; // what the editor writes
    Image basic{};  // what basic programming writes
    unsigned basicFirst = 0, basicFileSize = 512;
    // Per operation: 0 the Kobu stays, -1 it is unplugged before, N it vanishes after N
    // transactions.
    int disconnect[kOps] = {0, 0, 0};
    // Per write: whether the unit's image is kept first, and whether its folder can be written.
    enum Backup { NoBackup, KeptBackup, BlockedBackup };
    Backup backup[kOps] = {NoBackup, NoBackup, NoBackup};
};

// A plausible configuration: random bytes, protocols and alarm types from their usual codes,
// and sometimes the codes that older units refuse.
Image RandomConfig(Random& r) {
    Image image{};
    for (auto& b : image) b = static_cast<std::uint8_t>(r.Next());
    const std::vector<unsigned> protocols = {0, 1, 2, 3, 4, 5, 8, 9};
    for (unsigned a : kProtocolBytes) image[a] = static_cast<std::uint8_t>(r.Pick(protocols));
    if (r.Chance(0.25)) image[r.Pick<unsigned>({0x8A, 0x8B, 0x8F})] = r.Chance(0.5) ? 17 : 21;
    for (unsigned a : kAlarmTypeBytes) {
        unsigned v = r.Below(60);
        if (v == 30 || (v >= 44 && v <= 48)) v = 1 + r.Below(29);
        image[a] = static_cast<std::uint8_t>(v);
    }
    if (r.Chance(0.3)) {
        const unsigned a =
            r.Pick(std::vector<unsigned>(std::begin(kAlarmTypeBytes), std::end(kAlarmTypeBytes)));
        image[a] = static_cast<std::uint8_t>(r.Pick<unsigned>({30, 44, 45, 46, 47, 48}));
    }
    return image;
}

// Identical 16-byte blocks over a stretch of the image, as the default configuration has from
// 0x120 on: there a reply taken for the neighbouring chunk's compares equal.
void RepeatBlocks(Image& image, Random& r) {
    const unsigned from = r.Pick<unsigned>({0x020, 0x0A0, 0x120, 0x160});
    const unsigned to = std::max(from + 32, r.Pick<unsigned>({0x0F0, 0x1F0, 0x200}));
    for (unsigned a = from + 16; a + 16 <= to; a += 16)
        std::copy(image.begin() + from, image.begin() + from + 16, image.begin() + a);
    if (r.Chance(0.5)) std::fill(image.begin() + from, image.begin() + to, image[from]);
}

std::string FaultOptions(Random& r) {
    if (r.Chance(0.1)) return ""; // a clean line now and then
    static const char* const kinds[] = {"drop",  "corrupt", "nak",   "split",  "lower", "noise",
                                        "spike", "ignore",  "short", "double", "late"};
    const std::vector<double> rates = {0.005, 0.01, 0.02, 0.05, 0.1, 0.25};
    std::string text;
    for (const char* kind : kinds) {
        if (!r.Chance(0.35)) continue;
        char item[48];
        if (r.Chance(0.1))
            std::snprintf(item, sizeof item, ",%s=%ux", kind, 1 + r.Below(4)); // the next N
        else
            std::snprintf(item, sizeof item, ",%s=%g", kind, r.Pick(rates));
        text += item;
    }
    // Pieces of a reply below and above the link's 200 ms gap; spikes below and above its
    // 250 ms wait.
    text += ",splitgap=" + std::to_string(r.Pick<int>({20, 150, 199, 201, 250, 400}));
    text += ",spikems=" + std::to_string(r.Pick<int>({100, 240, 260, 600, 1500}));
    // Copies of a reply soon after it or long after; replies held back past the wait, which
    // the Kobu's own answers overtake.
    text += ",doublems=" + std::to_string(r.Pick<int>({2, 5, 20, 60, 300}));
    text += ",latems=" + std::to_string(r.Pick<int>({300, 600, 1500}));
    // A humming line, and units that answer no memory command or none of 16 bytes.
    if (r.Chance(0.05)) text += ",hum=" + std::to_string(r.Pick<int>({150, 400}));
    if (r.Chance(0.03)) text += ",mute=" + std::to_string(r.Pick<int>({1, 16}));
    return text;
}

Scenario MakeScenario(std::uint64_t seed) {
    Random r(seed);
    Scenario s;
    s.seed = seed;
    s.unit = !r.Chance(0.04);
    const unsigned size = r.Chance(0.35) ? 256 : 512;
    const unsigned variant = r.Pick<unsigned>({10, 10, 10, 10, 22, 25, 29, 34, 7});
    const std::vector<std::pair<unsigned, unsigned>> firmwares = {
        {6, 0x32}, {6, 0x33}, {6, 0x05}, {6, 0x50}, {7, 0x00}, {7, 0x05}, {7, 0x08},
        {7, 0x10}, {7, 0x20}, {7, 0x30}, {7, 0x35}, {7, 0x40}, {7, 0x55}};
    const auto [major, minor] = r.Pick(firmwares);

    char unit[128];
    std::snprintf(unit, sizeof unit, "size=%u,unit=%d,firmware=%02X.%02X,variant=%u,refuse=%s",
                  size, s.unit ? 1 : 0, major, minor, variant, r.Chance(0.5) ? "nak" : "silent");
    s.options = unit + FaultOptions(r);
    if (r.Chance(0.3)) s.options += ",pace=1";
    s.options += ",latency=" + std::to_string(r.Pick<int>({1, 1, 2, 15}));
    s.options += ",seed=" + std::to_string(r.Next() % 1000000007);

    for (auto& b : s.memory) b = static_cast<std::uint8_t>(r.Next());
    s.config = RandomConfig(r);
    s.basic = RandomConfig(r);
    if (r.Chance(0.3)) RepeatBlocks(s.memory, r);
    if (r.Chance(0.5)) RepeatBlocks(s.config, r);
    if (r.Chance(0.5)) RepeatBlocks(s.basic, r);
    s.basicFirst = r.Pick<unsigned>({0, 2, 16});
    s.basicFileSize = r.Chance(0.3) ? 256 : 512;
    // What basic programming puts into its image: the file's bytes (zeros behind a
    // 256-byte file) and the chosen radio positions cleared.
    if (s.basicFileSize == 256) std::fill(s.basic.begin() + 256, s.basic.end(), 0);
    if (s.basicFirst < 16) std::fill(s.basic.begin() + s.basicFirst, s.basic.begin() + 16, 0);
    for (int& d : s.disconnect) {
        if (r.Chance(0.03))
            d = -1;
        else if (r.Chance(0.08))
            d = 1 + static_cast<int>(r.Below(250));
    }
    for (int op : {OpEditorWrite, OpBasicWrite})
        s.backup[op] = r.Chance(0.5)    ? Scenario::KeptBackup
                       : r.Chance(0.06) ? Scenario::BlockedBackup
                                        : Scenario::NoBackup;
    return s;
}

// ---------------------------------------------------------------------------------------------
// What the procedures show

struct Shown {
    char kind; // 's' status, 'e' error box, 'i' information box, 't' two-part box
    int id;    // 0 for a status text
    std::string text;
};

class RecordingUi : public ProcedureUi {
public:
    void Status(const std::string& text) override { shown.push_back({'s', 0, text}); }
    void Box(BoxKind kind, int id, const std::vector<std::string>&) override {
        shown.push_back({kind == BoxKind::Error ? 'e' : 'i', id, {}});
    }
    void TwoPartBox(int first, int second) override {
        shown.push_back({'t', first, std::to_string(second)});
    }
    void Repaint() override {}
    void Progress(int, int) override {}
    void WaitCursor(bool on) override { cursor = on; }

    std::optional<Shown> LastBox() const {
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->kind != 's') return *it;
        return std::nullopt;
    }
    std::string Story() const {
        std::string s;
        for (const Shown& e : shown) {
            if (e.kind == 's') continue;
            s += std::string(" ") +
                 (e.kind == 'e'   ? "error:"
                  : e.kind == 'i' ? "info:"
                                  : "two:") +
                 std::to_string(e.id) + (e.kind == 't' ? "+" + e.text : "");
        }
        return s;
    }

    std::vector<Shown> shown;
    bool cursor = false;
};

// ---------------------------------------------------------------------------------------------
// The wire as the link uses it: transactions counted and timed on the virtual clock.
//
// Bound of one transaction, from the link's rules: a reply is never waited for longer than
// kReplyCapMs, however its pieces trickle in; before a command the link may wait for a quiet
// line, at most kQuietCapMs, and a size probe may wait once more after a silent attempt. So a
// transaction, from its frame to the next, lasts at most kReplyCapMs + 2 kQuietCapMs.
constexpr std::int64_t kTransactionMs = KobuLink::kReplyCapMs + 2 * KobuLink::kQuietCapMs;

// Bounds of whole operations, from the time budgets of the link's procedures: a whole-image
// read (probe included) 25 s, a size probe 10 s, the writing 45 s; besides, the unit check and
// the compatibility check's one firmware read (three attempts). A read then ends within 30 s,
// a write within 120 s, and a write to a unit that answers no memory command within 60 s.
constexpr std::int64_t kReadBoundMs = 30000;
constexpr std::int64_t kWriteBoundMs = 120000;
constexpr std::int64_t kSilentUnitWriteBoundMs = 60000;

struct WireStats {
    int transactions = 0;
    int pieces = 0;               // reads that brought bytes, over the whole operation
    std::int64_t worstExcess = 0; // how far the slowest transaction went past its bound (ms)
    std::string worstCommand;
    std::vector<std::string> commands; // with --verbose
    bool overCap = false;              // the operation ran past its absolute bound
};

class MatrixTransport : public Transport {
public:
    MatrixTransport(std::unique_ptr<Transport> inner, WireStats& stats, std::int64_t capMs,
                    int capTransactions, bool keepCommands)
        : inner_(std::move(inner)), stats_(stats), start_(inner_->Time().NowMs()), cap_(capMs),
          capTransactions_(capTransactions), keep_(keepCommands) {}
    ~MatrixTransport() override { EndTransaction(); }

    OpenResult Open() override { return inner_->Open(); }
    void Close() override {
        EndTransaction();
        inner_->Close();
    }
    void Purge(bool r, bool t) override { inner_->Purge(r, t); }
    std::size_t Write(const std::uint8_t* data, std::size_t size) override {
        EndTransaction();
        // Likewise a loop that sends without end.
        if (++stats_.transactions > capTransactions_) stats_.overCap = true;
        open_ = true;
        began_ = Time().NowMs();
        pieces_ = 0;
        command_ = size >= 4 ? std::string(reinterpret_cast<const char*>(data) + 1, size - 4) : "";
        if (keep_) stats_.commands.push_back(command_);
        return inner_->Write(data, size);
    }
    bool WaitReadable(int ms) override {
        const bool ready = inner_->WaitReadable(ms);
        // A link that waits without end would never give the loop back: past the absolute
        // bound the device counts as lost, so the procedure ends and the hang is reported.
        if (Time().NowMs() - start_ > cap_) stats_.overCap = true;
        return ready;
    }
    std::size_t ReadAvailable(std::uint8_t* b, std::size_t m) override {
        std::size_t n = inner_->ReadAvailable(b, m);
        if (n > 0) {
            ++pieces_;
            ++stats_.pieces;
        }
        return n;
    }
    bool Lost() const override { return stats_.overCap || inner_->Lost(); }
    Clock& Time() override { return inner_->Time(); }
    std::string Name() const override { return inner_->Name(); }

private:
    void EndTransaction() {
        if (!open_) return;
        open_ = false;
        const std::int64_t took = Time().NowMs() - began_;
        const std::int64_t excess = took - kTransactionMs;
        if (excess > stats_.worstExcess) {
            stats_.worstExcess = excess;
            stats_.worstCommand = command_;
        }
    }

    std::unique_ptr<Transport> inner_;
    WireStats& stats_;
    std::int64_t start_;
    std::int64_t cap_;
    int capTransactions_;
    bool keep_;
    bool open_ = false;
    std::int64_t began_ = 0;
    int pieces_ = 0;
    std::string command_;
};

// The most transactions an operation may send, from the chunking and the three attempts per
// command. A whole-image read: its probe (0x1FF, 0x0FF, 0x100: 9), then up to three passes of
// at most 38 chunks (the third pass's 13/14-byte chunks) x 3. A write: the unit check, a probe,
// the firmware read (3), the backup and the verification reads, and 16 + 16 chunks x 3.
constexpr int kWholeRead = 9 + 3 * 38 * 3;
constexpr int kReadTransactions = 1 + kWholeRead;
constexpr int kWriteTransactions = 1 + 9 + 3 + kWholeRead + 96 + kWholeRead;
constexpr int kAttemptsPerCommand = 3;
static_assert(kAttemptsPerCommand == kAttempts, "the bound follows the link's attempts");

int MaxTransactions(Op op) {
    return op == OpRead ? kReadTransactions : kWriteTransactions;
}

// The absolute bound of an operation's virtual time, far above the bounds checked: it only
// makes sure that a runaway wait ends.
std::int64_t CapMs(Op op) {
    return MaxTransactions(op) * kTransactionMs;
}

// ---------------------------------------------------------------------------------------------
// Running and judging one scenario

enum class Finding { FalseSuccess, Hang, Violation };

struct Report {
    std::vector<std::pair<Finding, std::string>> findings;
    std::int64_t worstVirtualMs[kOps] = {0, 0, 0};
    std::string outcomes[kOps];
    int verifiedWrites = 0, completeReads = 0, refusals = 0, failures = 0, backups = 0;
    int faultsStruck = 0;

    void Add(Finding f, Op op, const std::string& what) {
        findings.emplace_back(f, std::string(kOpNames[op]) + ": " + what);
    }
};

std::string Hex(unsigned v) {
    char b[16];
    std::snprintf(b, sizeof b, "0x%03X", v);
    return b;
}

// The first address from..to where the two images differ, with both bytes; "" when none.
std::string FirstDifference(const Image& a, const Image& b, unsigned from, unsigned to) {
    for (unsigned x = from; x <= to; ++x)
        if (a[x] != b[x])
            return Hex(x) + " (" + std::to_string(a[x]) + " vs " + std::to_string(b[x]) + ")";
    return "";
}

bool InRanges(unsigned a, const std::vector<std::pair<unsigned, unsigned>>& ranges) {
    for (const auto& r : ranges)
        if (a >= r.first && a <= r.second) return true;
    return false;
}

class Runner {
public:
    Runner(const Scenario& s, bool verbose, std::shared_ptr<LinkTrace> trace,
           const std::string& backupRoot)
        : s_(s), verbose_(verbose), trace_(std::move(trace)), backupRoot_(backupRoot) {}

    Report Run() {
        std::string error;
        device_ = sim::SimKobu::Create(s_.options, error);
        if (!device_) {
            report_.Add(Finding::Violation, OpRead,
                        "simulator refused " + s_.options + ": " + error);
            return report_;
        }
        // The unit's bytes, except those it fills itself.
        Image memory = device_->Memory();
        for (unsigned a = 0; a < device_->Size(); ++a)
            if (a < mm::ReadOnlyFirst || a > mm::ReadOnlyLast) memory[a] = s_.memory[a];
        device_->SetMemory(memory);

        for (int op = 0; op < kOps; ++op) {
            clock_.Advance(5000); // the user's pause: whatever was late on the line has come
            device_->Reconnect();
            if (s_.disconnect[op] < 0) device_->Disconnect();
            if (s_.disconnect[op] > 0) device_->DisconnectAfter(s_.disconnect[op]);
            RunOp(static_cast<Op>(op));
        }
        for (int n : device_->Counters().faults) report_.faultsStruck += n;
        return report_;
    }

private:
    void RunOp(Op op) {
        WireStats wire;
        KobuLink link([&] {
            return std::make_unique<MatrixTransport>(sim::MakeSimTransport(device_, clock_), wire,
                                                     CapMs(op), 2 * MaxTransactions(op), verbose_);
        });
        link.SetTrace(trace_);
        if (trace_) trace_->Note(clock_.NowMs(), kOpNames[op]);
        RecordingUi ui;
        const Image before = device_->Memory();
        const std::int64_t start = clock_.NowMs();
        if (op == OpRead)
            RunRead(link, ui, before);
        else
            RunWrite(op, link, ui, before);
        const std::int64_t took = clock_.NowMs() - start;
        report_.worstVirtualMs[op] = took;

        // Nothing hangs: the link keeps to its transaction count and to its waits.
        if (wire.overCap)
            report_.Add(Finding::Hang, op,
                        "runaway: beyond " + std::to_string(CapMs(op)) + " ms or " +
                            std::to_string(2 * MaxTransactions(op)) + " transactions");
        if (wire.transactions > MaxTransactions(op))
            report_.Add(Finding::Hang, op,
                        std::to_string(wire.transactions) + " transactions, at most " +
                            std::to_string(MaxTransactions(op)) + " allowed");
        if (wire.worstExcess > 0)
            report_.Add(Finding::Hang, op,
                        "transaction " + wire.worstCommand + " waited " +
                            std::to_string(wire.worstExcess) + " ms beyond its time-outs");
        const bool answersNoMemory = !s_.unit || s_.options.find(",mute=1,") != std::string::npos;
        const std::int64_t bound = op == OpRead      ? kReadBoundMs
                                   : answersNoMemory ? kSilentUnitWriteBoundMs
                                                     : kWriteBoundMs;
        if (took > bound)
            report_.Add(Finding::Hang, op,
                        std::to_string(took) + " ms for " + std::to_string(wire.transactions) +
                            " transactions, bound " + std::to_string(bound) + " ms");
        if (link.IsOpen()) report_.Add(Finding::Violation, op, "link left open");
        if (ui.cursor) report_.Add(Finding::Violation, op, "wait cursor left on");

        if (verbose_) {
            std::printf("  %-12s %-40s %5lld ms virtual, %3d transactions, %3d pieces;%s\n",
                        kOpNames[op], report_.outcomes[op].c_str(), static_cast<long long>(took),
                        wire.transactions, wire.pieces, ui.Story().c_str());
            std::string line;
            for (const auto& c : wire.commands) line += " " + c.substr(0, 7);
            std::printf("    commands:%s\n", line.c_str());
        }
    }

    // Every failure ends with an error box of its path, and the box matches the outcome.
    void ExpectErrorBox(Op op, const RecordingUi& ui, const std::vector<int>& allowed) {
        auto box = ui.LastBox();
        if (!box || box->kind != 'e' ||
            std::find(allowed.begin(), allowed.end(), box->id) == allowed.end()) {
            std::string want;
            for (int id : allowed) want += " " + std::to_string(id);
            report_.Add(Finding::Violation, op,
                        report_.outcomes[op] + " ended with" + ui.Story() +
                            ", not an error box of" + want);
        }
    }

    void RunRead(KobuLink& link, RecordingUi& ui, const Image& before) {
        KivoData data;
        data.image.fill(0x5A);
        unsigned size = 12345;
        const ReadOutcome outcome = ReadUnit(link, data, ui, size);
        const Image unit = device_->Memory();
        const unsigned real = device_->Size();
        if (unit != before) report_.Add(Finding::Violation, OpRead, "a read changed the unit");

        switch (outcome) {
        case ReadOutcome::Read: {
            report_.outcomes[OpRead] = "read";
            ++report_.completeReads;
            // The unit's bytes, and zeros behind a 256-byte unit.
            Image truth{};
            std::copy(unit.begin(), unit.begin() + real, truth.begin());
            const std::string diff = FirstDifference(data.image, truth, 0, mm::ImageLast);
            if (!diff.empty())
                report_.Add(Finding::FalseSuccess, OpRead,
                            "reported complete, but differs from the unit at " + diff);
            if (size != real)
                report_.Add(Finding::FalseSuccess, OpRead,
                            "reported complete with image size " + std::to_string(size) +
                                " for a unit of " + std::to_string(real));
            if (data.reference != data.image || data.imageSource != SourceUnit)
                report_.Add(Finding::Violation, OpRead, "reference copy or image source not set");
            auto box = ui.LastBox();
            if (!box || box->kind != 'i' || box->id != 13805)
                report_.Add(Finding::Violation, OpRead, "success without box 13805:" + ui.Story());
            break;
        }
        case ReadOutcome::NoKobu:
            report_.outcomes[OpRead] = "no Kobu";
            ExpectErrorBox(OpRead, ui, {15009});
            break;
        case ReadOutcome::NoUnit:
            report_.outcomes[OpRead] = "no unit";
            ExpectErrorBox(OpRead, ui, {15008});
            break;
        case ReadOutcome::ReadFailed:
            report_.outcomes[OpRead] = "read failed";
            ExpectErrorBox(OpRead, ui, {13806});
            break;
        }
        if (outcome != ReadOutcome::Read) ++report_.failures;
    }

    void RunWrite(Op op, KobuLink& link, RecordingUi& ui, const Image& before) {
        const bool basic = op == OpBasicWrite;
        const std::size_t findingsBefore = report_.findings.size();
        KivoData data;
        data.image = basic ? s_.basic : s_.config;
        const Image image = data.image;
        const unsigned first = basic ? s_.basicFirst : 0;
        WriteOptions options =
            basic ? WriteOptions::Basic(first, s_.basicFileSize) : WriteOptions::Editor();
        const Scenario::Backup backup = s_.backup[op];
        // A blocked folder: a file stands where the folder should be.
        const std::string folder =
            backupRoot_ + (backup == Scenario::BlockedBackup ? "/blocked/" : "/kept/");
        if (backup != Scenario::NoBackup) options.backupFolder = folder;
        std::vector<std::string> backups;
        options.backupWritten = [&](const std::string& path) { backups.push_back(path); };
        const WriteOutcome outcome = WriteUnit(link, data, ui, options);

        const Image unit = device_->Memory();
        const unsigned real = device_->Size();
        const auto ranges = WrittenRanges(real, first);
        const bool refuses = s_.unit && UnitRefuses(image, real, before[mm::FirmwareVariant],
                                                    FirmwareOf(before[mm::FirmwareMajor],
                                                               before[mm::FirmwareMinor]));
        if (data.image != image) report_.Add(Finding::Violation, op, "the write changed its image");

        // Outside the written ranges nothing changes, whatever the outcome (the read-only bytes
        // included); a refused write changes nothing at all.
        const bool stopped =
            outcome == WriteOutcome::Refused || outcome == WriteOutcome::BackupFailed;
        for (unsigned a = 0; a < real; ++a) {
            const bool writable = InRanges(a, ranges) && !stopped;
            if (!writable && unit[a] != before[a]) {
                report_.Add(Finding::Violation, op,
                            std::string(stopped ? "stopped before writing, yet " : "") +
                                "changed " + Hex(a) + " outside what it writes");
                break;
            }
        }
        CheckBackup(op, outcome, backup, backups, before, ranges, real);
        const std::vector<int> writeFailed = {basic ? 15007 : 15006};
        switch (outcome) {
        case WriteOutcome::Verified: {
            report_.outcomes[op] = "verified";
            ++report_.verifiedWrites;
            for (const auto& r : ranges) {
                const std::string diff = FirstDifference(unit, image, r.first, r.second);
                if (!diff.empty()) {
                    report_.Add(Finding::FalseSuccess, op,
                                "reported verified, but the unit differs at " + diff);
                    break;
                }
            }
            if (refuses)
                report_.Add(Finding::FalseSuccess, op,
                            "verified an image the unit cannot hold (the check must refuse it)");
            // The box follows the size the write found; when that was wrong, the false
            // success above says so already.
            auto box = ui.LastBox();
            const bool two = !basic && real == 256;
            const bool told = report_.findings.size() > findingsBefore;
            if (!told && (!box || box->kind != (two ? 't' : 'i') || box->id != 15004))
                report_.Add(Finding::Violation, op, "success box missing:" + ui.Story());
            break;
        }
        case WriteOutcome::NoKobu:
            report_.outcomes[op] = "no Kobu";
            ExpectErrorBox(op, ui, {15009});
            break;
        case WriteOutcome::NoUnit:
            report_.outcomes[op] = "no unit";
            ExpectErrorBox(op, ui, {15008});
            break;
        case WriteOutcome::Refused:
            report_.outcomes[op] = "refused";
            ++report_.refusals;
            ExpectErrorBox(op, ui, {15101, 15102});
            break;
        case WriteOutcome::WriteFailed:
            report_.outcomes[op] = "write failed";
            ExpectErrorBox(op, ui, writeFailed);
            break;
        case WriteOutcome::VerifyFailed:
            report_.outcomes[op] = "verification failed";
            ExpectErrorBox(op, ui, {15005});
            break;
        case WriteOutcome::BackupFailed:
            report_.outcomes[op] = "backup failed";
            ExpectErrorBox(op, ui, {13806, 16002});
            if (backup == Scenario::NoBackup)
                report_.Add(Finding::Violation, op, "a backup failed that nobody asked for");
            break;
        }
        if (outcome != WriteOutcome::Verified && outcome != WriteOutcome::Refused)
            ++report_.failures;
        // A write the unit cannot hold never reaches the unit's memory.
        if (refuses &&
            (outcome == WriteOutcome::WriteFailed || outcome == WriteOutcome::VerifyFailed))
            report_.Add(Finding::Violation, op,
                        "wrote an image the unit cannot hold (" + report_.outcomes[op] + ")");
    }

    // A write that went on to the unit kept its backup first, and the backup holds the unit's
    // bytes as they were, at least over every address the write may change. A write that
    // stopped before its backup kept none. The backup's file is removed afterwards.
    void CheckBackup(Op op, WriteOutcome outcome, Scenario::Backup backup,
                     const std::vector<std::string>& paths, const Image& before,
                     const std::vector<std::pair<unsigned, unsigned>>& ranges, unsigned real) {
        const bool wrote = outcome == WriteOutcome::Verified ||
                           outcome == WriteOutcome::WriteFailed ||
                           outcome == WriteOutcome::VerifyFailed;
        const bool expected = wrote && backup != Scenario::NoBackup;
        if (backup == Scenario::BlockedBackup && wrote)
            report_.Add(Finding::FalseSuccess, op,
                        "wrote although its backup could not be kept (" + report_.outcomes[op] +
                            ")");
        if (paths.size() != (expected && backup == Scenario::KeptBackup ? 1u : 0u)) {
            report_.Add(Finding::Violation, op,
                        std::to_string(paths.size()) + " backups told for " + report_.outcomes[op]);
        }
        for (const std::string& path : paths) {
            ++report_.backups;
            KivoData kept;
            const unsigned long length = FileLength(path);
            if (!kept.LoadImageFile(path) || (length != 256 && length != 512)) {
                report_.Add(Finding::FalseSuccess, op, "backup " + path + " cannot be read");
            } else {
                const unsigned covered = std::min<unsigned>(length, real);
                std::string diff = FirstDifference(kept.image, before, 0, covered - 1);
                if (!diff.empty())
                    report_.Add(Finding::FalseSuccess, op,
                                "backup differs from the unit's bytes at " + diff);
                for (const auto& r : ranges)
                    if (r.second >= covered)
                        report_.Add(Finding::FalseSuccess, op,
                                    "backup of " + std::to_string(length) +
                                        " bytes misses written addresses up to " + Hex(r.second));
            }
            std::remove(path.c_str());
        }
    }

    const Scenario& s_;
    bool verbose_;
    std::shared_ptr<LinkTrace> trace_;
    std::string backupRoot_;
    VirtualClock clock_;
    std::shared_ptr<sim::SimKobu> device_;
    Report report_;
};

// ---------------------------------------------------------------------------------------------
// The run

struct Totals {
    std::atomic<int> scenarios{0};
    std::atomic<int> falseSuccess{0};
    std::atomic<int> hangs{0};
    std::atomic<int> violations{0};
};

void PrintLast(const Totals& t) {
    std::printf("scenarios %d false_success %d hangs %d\n", t.scenarios.load(),
                t.falseSuccess.load(), t.hangs.load());
    std::fflush(stdout);
}

// Stops the whole run when one scenario takes longer than `limitMs` of real time: a hang that
// the virtual clock cannot see (a loop that never waits) cannot be ended any other way.
class Watchdog {
public:
    Watchdog(Totals& totals, int limitMs) : totals_(totals), limitMs_(limitMs) {
        thread_ = std::thread([this] { Watch(); });
    }
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }
    void Begin(std::uint64_t seed) {
        seed_ = seed;
        began_ = NowMs();
    }
    void End() { began_ = 0; }

private:
    static std::int64_t NowMs() {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void Watch() {
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            const std::int64_t began = began_;
            if (began != 0 && NowMs() - began > limitMs_) {
                std::printf("HANG seed %llu: no end after %d ms of real time (replay: faultmatrix "
                            "--replay %llu)\n",
                            static_cast<unsigned long long>(seed_.load()), limitMs_,
                            static_cast<unsigned long long>(seed_.load()));
                ++totals_.hangs;
                ++totals_.scenarios;
                PrintLast(totals_);
                std::_Exit(1);
            }
        }
    }

    Totals& totals_;
    int limitMs_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> seed_{0};
    std::atomic<std::int64_t> began_{0};
    std::thread thread_;
};

std::uint64_t ScenarioSeed(std::uint64_t runSeed, int index) {
    std::uint64_t state = runSeed * 0x100000001B3ull + static_cast<std::uint64_t>(index);
    return Mix(state) % 10000000000000ull; // short enough to type
}

int Usage(FILE* to) {
    std::fprintf(to,
                 "usage: faultmatrix [--scenarios N] [--seed S] [--verbose] [--watchdog MS]\n"
                 "       faultmatrix --replay SCENARIO_SEED [--trace FILE]\n"
                 "Runs N (default 300) seeded scenarios of link faults against the simulator and\n"
                 "checks that no failed transfer is reported as a success and nothing hangs.\n"
                 "Last line: scenarios N false_success F hangs H; exit 1 on any finding.\n");
    return to == stderr ? 2 : 0;
}

bool ParseNumber(const char* text, std::uint64_t& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoull(text, &end, 10);
    return errno == 0 && *end == '\0' && text[0] != '-';
}

} // namespace

int Main(int argc, char** argv) {
    std::uint64_t scenarios = 300, runSeed = 1, watchdogMs = 30000, replay = 0;
    bool verbose = false, replaying = false;
    std::shared_ptr<LinkTrace> trace;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--verbose" || a == "-v") {
            verbose = true;
        } else if (a == "--help" || a == "-h") {
            return Usage(stdout);
        } else if ((a == "--scenarios" && ParseNumber(next, scenarios) && scenarios <= 100000000) ||
                   (a == "--seed" && ParseNumber(next, runSeed)) ||
                   (a == "--watchdog" && ParseNumber(next, watchdogMs) && watchdogMs > 0 &&
                    watchdogMs < 86400000)) {
            ++i;
        } else if (a == "--trace" && next) {
            trace = LinkTrace::Open(next);
            if (!trace) {
                std::fprintf(stderr, "faultmatrix: cannot write %s\n", next);
                return 2;
            }
            ++i;
        } else if (a == "--replay" && ParseNumber(next, replay)) {
            replaying = verbose = true;
            ++i;
        } else {
            std::fprintf(stderr, "faultmatrix: bad argument %s\n", a.c_str());
            return Usage(stderr);
        }
    }

    // Backups go to a folder of this run: "kept/" is made by the write, "blocked" is a file
    // where a folder should be.
    char tmpl[] = "/tmp/faultmatrix-XXXXXX";
    if (!mkdtemp(tmpl)) {
        std::fprintf(stderr, "faultmatrix: cannot make a temporary folder\n");
        return 2;
    }
    const std::string backupRoot = tmpl;
    if (FILE* f = std::fopen((backupRoot + "/blocked").c_str(), "w")) std::fclose(f);

    Totals totals;
    Watchdog watchdog(totals, static_cast<int>(watchdogMs));
    const auto began = std::chrono::steady_clock::now();
    int reads = 0, verified = 0, refusals = 0, failures = 0, faults = 0, backups = 0;
    std::map<std::string, int> outcomes[kOps];
    std::int64_t worst[kOps] = {0, 0, 0};
    const int count = replaying ? 1 : static_cast<int>(scenarios);
    for (int i = 0; i < count; ++i) {
        const std::uint64_t seed = replaying ? replay : ScenarioSeed(runSeed, i);
        const Scenario s = MakeScenario(seed);
        if (verbose)
            std::printf("scenario %llu: %s; basic from %u, file %u; disconnect %d/%d/%d; "
                        "backup %d/%d\n",
                        static_cast<unsigned long long>(seed), s.options.c_str(), s.basicFirst,
                        s.basicFileSize, s.disconnect[0], s.disconnect[1], s.disconnect[2],
                        s.backup[OpEditorWrite], s.backup[OpBasicWrite]);
        watchdog.Begin(seed);
        const Report r = Runner(s, verbose, trace, backupRoot).Run();
        watchdog.End();

        bool falseSuccess = false, hang = false, violation = false;
        for (const auto& [kind, what] : r.findings) {
            const char* label = kind == Finding::FalseSuccess ? "FALSE SUCCESS"
                                : kind == Finding::Hang       ? "HANG"
                                                              : "VIOLATION";
            std::printf("%s seed %llu: %s [%s]\n", label, static_cast<unsigned long long>(seed),
                        what.c_str(), s.options.c_str());
            falseSuccess |= kind == Finding::FalseSuccess;
            hang |= kind == Finding::Hang;
            violation |= kind == Finding::Violation;
        }
        totals.falseSuccess += falseSuccess;
        totals.hangs += hang;
        totals.violations += violation;
        ++totals.scenarios;
        reads += r.completeReads;
        verified += r.verifiedWrites;
        refusals += r.refusals;
        failures += r.failures;
        faults += r.faultsStruck;
        backups += r.backups;
        for (int op = 0; op < kOps; ++op) {
            worst[op] = std::max(worst[op], r.worstVirtualMs[op]);
            ++outcomes[op][r.outcomes[op]];
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    for (int op = 0; op < kOps; ++op) {
        std::string line;
        for (const auto& [what, n] : outcomes[op]) line += ", " + what + " " + std::to_string(n);
        std::printf("%s:%s\n", kOpNames[op], line.c_str() + 1);
    }
    std::printf("reads complete %d, writes verified %d, refused %d, failures reported %d, "
                "backups checked %d, faults injected %d\n",
                reads, verified, refusals, failures, backups, faults);
    std::printf("longest virtual time: read %lld ms, editor write %lld ms, basic write %lld ms; "
                "real time %.1f s\n",
                static_cast<long long>(worst[OpRead]), static_cast<long long>(worst[OpEditorWrite]),
                static_cast<long long>(worst[OpBasicWrite]), seconds);
    if (totals.violations)
        std::printf("scenarios with other violations %d\n", totals.violations.load());
    std::remove((backupRoot + "/blocked").c_str());
    ::rmdir((backupRoot + "/kept").c_str());
    ::rmdir(backupRoot.c_str());
    PrintLast(totals);
    return totals.falseSuccess || totals.hangs || totals.violations ? 1 : 0;
}

} // namespace kivo::matrix

int main(int argc, char** argv) {
    return kivo::matrix::Main(argc, argv);
}
