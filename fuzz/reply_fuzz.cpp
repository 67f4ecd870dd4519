// Reply frames from the Kobu: arbitrary bytes, in one or two pieces with a gap between them,
// answer every command the link sends, on a virtual clock. Beyond not crashing, a reply the
// link accepts must be exactly what came over the wire, and no wait may outlast the link's
// time-outs.
//
// Input: byte 0 chooses the operation, byte 1 where the reply is cut in two, byte 2 the gap
// between the pieces (x 2 ms); the rest is the reply.
#include "link/commands.h"
#include "link/kobulink.h"

#include "fuzzsupport.h"

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>

namespace {

using namespace kivo;

struct Piece {
    std::int64_t at; // ms; relative to the write in the script, absolute once scheduled
    std::string bytes;
};

// Answers every frame written with the scripted pieces.
class ScriptedTransport : public Transport {
public:
    ScriptedTransport(VirtualClock& clock, std::vector<Piece> script, std::string& delivered)
        : clock_(clock), script_(std::move(script)), delivered_(delivered) {}

    OpenResult Open() override { return OpenResult::Open; }
    void Close() override { pending_.clear(); }
    void Purge(bool receive, bool) override {
        while (receive && !pending_.empty() && pending_.front().at <= clock_.NowMs())
            pending_.pop_front();
    }
    std::size_t Write(const std::uint8_t*, std::size_t size) override {
        for (const Piece& p : script_) pending_.push_back({clock_.NowMs() + p.at, p.bytes});
        delivered_.clear();
        return size;
    }
    bool WaitReadable(int timeoutMs) override {
        const std::int64_t deadline = clock_.NowMs() + std::max(timeoutMs, 0);
        if (!pending_.empty() && pending_.front().at <= deadline) {
            clock_.SleepUntilMs(pending_.front().at);
            return true;
        }
        clock_.SleepUntilMs(deadline);
        return false;
    }
    std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t max) override {
        std::size_t n = 0;
        while (n < max && !pending_.empty() && pending_.front().at <= clock_.NowMs()) {
            Piece& p = pending_.front();
            const std::size_t take = std::min(max - n, p.bytes.size());
            std::copy(p.bytes.begin(), p.bytes.begin() + static_cast<std::ptrdiff_t>(take),
                      buffer + n);
            delivered_.append(p.bytes, 0, take);
            n += take;
            p.bytes.erase(0, take);
            if (p.bytes.empty()) pending_.pop_front();
        }
        return n;
    }
    bool Lost() const override { return false; }
    Clock& Time() override { return clock_; }
    std::string Name() const override { return "fuzz"; }

private:
    VirtualClock& clock_;
    std::vector<Piece> script_;
    std::deque<Piece> pending_;
    std::string& delivered_;
};

// What the link accepted came over the wire as it stands: a lone byte, or a whole valid frame.
void CheckReply(const Reply& reply, const std::string& delivered) {
    if (reply.count == 0) return;
    // A frame with a one-character payload also gives 1: the caller cannot tell it from a
    // lone byte, which the link's interface leaves so.
    if (reply.count == 1 && delivered.size() == 1) {
        fuzz::Require(reply.text == delivered, "one byte is what came");
        return;
    }
    fuzz::Require(static_cast<std::size_t>(reply.count) == reply.text.size(),
                  "count is the payload");
    fuzz::Require(KobuLink::BuildFrame(reply.text) == delivered, "an accepted frame is what came");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int mode = data[0] % 4;
    const std::string reply(reinterpret_cast<const char*>(data + 3), size - 3);
    std::vector<Piece> script;
    if (!reply.empty()) {
        const std::size_t cut = data[1] % (reply.size() + 1);
        const std::int64_t gap = data[2] * 2;
        script.push_back({1, reply.substr(0, cut)});
        script.push_back({1 + gap, reply.substr(cut)});
        if (script.front().bytes.empty()) script.erase(script.begin());
        if (script.back().bytes.empty()) script.pop_back();
    }

    VirtualClock clock;
    std::string delivered;
    KobuLink link([&] { return std::make_unique<ScriptedTransport>(clock, script, delivered); });
    fuzz::Require(link.OpenLink() == LinkOpen::Open, "opens");

    // One transaction may wait for a quiet line before its command and for its reply, each
    // within its bound however the bytes trickle in.
    auto transact = [&](const std::string& command, int expected) {
        const std::int64_t start = clock.NowMs();
        Reply r = link.Transact(command, expected);
        fuzz::Require(clock.NowMs() - start <= KobuLink::kQuietCapMs + KobuLink::kReplyCapMs,
                      "wait within the bounds");
        CheckReply(r, delivered);
        return r;
    };

    switch (mode) {
    case 0:
        transact("O", 1);
        transact("W00000100", 1);
        break;
    case 1:
        transact("v", 2);
        transact("A", 2);
        break;
    case 2: {
        // A memory read: what it stores must be the hex pairs of the accepted payload.
        const unsigned count = 1 + data[2] % 16;
        const unsigned first =
            (static_cast<unsigned>(data[1]) * 2) % (mm::kImageBuffer - count + 1);
        Image before{}, buffer{};
        for (std::size_t i = 0; i < buffer.size(); ++i) before[i] = buffer[i] = std::uint8_t(i);
        const LinkResult result = ReadRange(link, buffer, first, first + count - 1);
        if (result == LinkResult::Ok) {
            const std::string hex = delivered.substr(1, 2 * count);
            for (unsigned i = 0; i < count; ++i)
                fuzz::Require(buffer[first + i] == std::stoul(hex.substr(2 * i, 2), nullptr, 16),
                              "stored bytes are the reply's");
        } else {
            fuzz::Require(buffer == before, "a failed chunk leaves the buffer");
        }
        break;
    }
    default: {
        std::string text;
        const LinkResult version = CheckKobuVersion(link, "11-1");
        fuzz::Require(version == LinkResult::Ok || version == LinkResult::NoAnswer ||
                          version == LinkResult::OldKobu,
                      "version result");
        if (PollLearnedCode(link, text) == LinkResult::Ok)
            fuzz::Require(text.size() == 4, "code of four");
        PollInfo(link, text);
        if (PollWrite(link, text) == LinkResult::Ok) fuzz::Require(text.size() == 2, "poll of two");
        CheckUnit(link);
        break;
    }
    }
    link.CloseLink();
    return 0;
}
