#include "link/kobulink.h"

#include "link/trace.h"

#include <algorithm>

namespace kivo {

namespace {

// The frame buffer holds 100 bytes with its terminator: STX, the text, two digits, ETX.
constexpr std::size_t kMaxCommand = 95;

int HexDigit(std::uint8_t c) {
    // Replies use upper-case digits only; "a".."f" are not digits here.
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

KobuLink::~KobuLink() {
    CloseLink();
}

std::string KobuLink::Checksum(const std::string& bytes) {
    unsigned sum = 0;
    for (unsigned char c : bytes) sum = (sum + c) & 0xFF;
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string{kHex[sum >> 4], kHex[sum & 0xF]};
}

std::string KobuLink::BuildFrame(const std::string& command) {
    std::string frame(1, static_cast<char>(STX));
    frame += command;
    frame += Checksum(command);
    frame += static_cast<char>(ETX);
    return frame;
}

LinkOpen KobuLink::OpenLink() {
    if (device_) {
        device_->Close();
        device_.reset();
    }
    std::unique_ptr<Transport> device = factory_ ? factory_() : nullptr;
    if (!device) return LinkOpen::Failed;
    auto result = device->Open();
    if (result == Transport::OpenResult::Failed) return LinkOpen::Failed;
    device_ = std::move(device);
    quietNeeded_ = false; // a port just opened holds nothing old
    if (trace_) trace_->Note(device_->Time().NowMs(), "open " + device_->Name());
    // A device whose settings failed stays open; the caller closes it on its way out.
    return result == Transport::OpenResult::Open ? LinkOpen::Open : LinkOpen::Failed;
}

void KobuLink::CloseLink() {
    if (!device_) return;
    if (trace_) trace_->Note(device_->Time().NowMs(), "close");
    device_->Purge(true, false);
    device_->Close();
    device_.reset();
    // The trace holds the whole session on disk before anything else happens.
    if (trace_) trace_->Save();
}

void KobuLink::LoseDevice() {
    // An adapter that has gone away is treated as a closed link: every later transaction
    // returns at once with nothing instead of waiting out its time-outs.
    if (trace_) trace_->Note(device_->Time().NowMs(), "device lost");
    device_->Close();
    device_.reset();
    if (trace_) trace_->Save();
}

void KobuLink::Anomaly(const std::string& what) {
    ++anomalies_;
    quietNeeded_ = true;
    if (trace_ && device_) trace_->Note(device_->Time().NowMs(), what);
}

void KobuLink::Suspect() {
    Anomaly("a reply that was not asked for");
}

std::size_t KobuLink::DropWaiting() {
    std::uint8_t buf[kMaxReply];
    std::size_t dropped = 0;
    while (device_ && !device_->Lost()) {
        const std::size_t n = device_->ReadAvailable(buf, sizeof buf);
        if (n == 0) break;
        if (trace_) trace_->Log(device_->Time().NowMs(), "<-", buf, n);
        dropped += n;
    }
    return dropped;
}

std::int64_t KobuLink::NowMs() const {
    return device_ ? device_->Time().NowMs() : 0;
}

bool KobuLink::Stopped() const {
    return Cancelled() || (deadline_ > 0 && device_ && device_->Time().NowMs() >= deadline_);
}

std::int64_t KobuLink::Bound(std::int64_t ms) const {
    return deadline_ > 0 ? std::min(ms, deadline_) : ms;
}

bool KobuLink::AwaitQuiet(int quietMs) {
    if (!device_) return true;
    Clock& clock = device_->Time();
    const std::int64_t cap = Bound(clock.NowMs() + kQuietCapMs);
    std::int64_t quietSince = clock.NowMs();
    std::size_t dropped = 0;
    bool quiet = false;
    while (device_ && !device_->Lost() && !Stopped()) {
        const std::int64_t now = clock.NowMs();
        quiet = now - quietSince >= quietMs;
        const std::int64_t until = std::min(quietSince + quietMs, cap);
        if (now >= until) break;
        if (!device_->WaitReadable(static_cast<int>(until - now))) continue;
        const std::size_t n = DropWaiting();
        if (n > 0) {
            dropped += n;
            quietSince = clock.NowMs();
        } else {
            clock.SleepUntilMs(clock.NowMs() + 1); // readable, yet nothing to read: no spinning
        }
    }
    if (device_ && device_->Lost()) LoseDevice();
    if (dropped) {
        ++anomalies_;
        if (trace_ && device_) trace_->Note(clock.NowMs(), "dropped: came outside a transaction");
    }
    // A line that never fell silent stays suspect: the next command waits again.
    quietNeeded_ = !quiet;
    return dropped == 0;
}

std::size_t KobuLink::SendFrame(const std::string& command) {
    if (!device_ || command.empty() || command.size() > kMaxCommand || Stopped()) return 0;
    // Whatever is waiting now came outside any transaction: a reply late or sent twice.
    if (DropWaiting() > 0) Anomaly("bytes outside a transaction");
    const int quiet = quietNeeded_ ? std::max(kQuietMs, carefulQuietMs_) : carefulQuietMs_;
    if (quiet > 0) AwaitQuiet(quiet);
    if (!device_ || Stopped()) return 0;
    device_->Purge(true, true); // no stale reply may pass for the answer to this frame
    const std::string frame = BuildFrame(command);
    auto bytes = reinterpret_cast<const std::uint8_t*>(frame.data());
    std::size_t written = device_->Write(bytes, frame.size());
    if (trace_) trace_->Log(device_->Time().NowMs(), "->", bytes, written);
    if (device_->Lost()) {
        LoseDevice();
        return 0;
    }
    return written;
}

Reply KobuLink::ReceiveReply(int waitMs, int expectedLength) {
    Reply reply;
    if (!device_ || Stopped()) return reply;
    Clock& clock = device_->Time();
    std::uint8_t buf[kMaxReply];
    std::size_t count = 0;
    const bool framed = expectedLength >= 2;
    // However the bytes trickle in, the transaction ends by then.
    const std::int64_t cap = Bound(clock.NowMs() + kReplyCapMs);
    auto until = [&](std::int64_t ms) { return std::min(clock.NowMs() + ms, cap); };
    auto waitTo = [&](std::int64_t deadline) {
        device_->WaitReadable(
            static_cast<int>(std::max<std::int64_t>(1, deadline - clock.NowMs())));
    };

    const std::int64_t start = clock.NowMs();
    waitTo(until(waitMs)); // the first character, or the whole wait
    std::int64_t deadline = until(waitMs);
    std::int64_t firstByteAt = -1;
    while (clock.NowMs() < deadline && count < kMaxReply && !device_->Lost() && !Stopped()) {
        std::size_t n = device_->ReadAvailable(buf + count, kMaxReply - count);
        if (n == 0) {
            // At least 1 ms, so a clock that has not moved on yet cannot make this spin.
            waitTo(deadline);
            continue;
        }
        if (count == 0) firstByteAt = clock.NowMs();
        count += n;
        if (framed && buf[0] != STX) {
            // It can no longer become a frame. A lone byte is the answer (a refusal) when
            // nothing follows it soon; anything more makes it garbage at once.
            if (count > 1) break;
            deadline = until(kTailMs);
        } else if (framed) {
            if (std::find(buf + 1, buf + count, ETX) != buf + count) break;
            deadline = until(kPieceGapMs); // a reply in pieces: wait for the next one
        } else if (count >= static_cast<std::size_t>(expectedLength)) {
            break;
        } else {
            deadline = until(kPieceGapMs);
        }
        waitTo(deadline);
    }
    if (trace_) {
        if (count)
            trace_->Log(clock.NowMs(), "<-", buf, count);
        else
            trace_->Note(clock.NowMs(), "no reply");
    }
    const bool lost = device_->Lost();
    reply.received = count;

    if (count == 1) {
        reply.count = 1;
        reply.text.assign(1, static_cast<char>(buf[0]));
    } else if (count >= 4 && buf[0] == STX && buf[count - 1] == ETX) {
        int high = HexDigit(buf[count - 3]), low = HexDigit(buf[count - 2]);
        unsigned sum = 0;
        for (std::size_t i = 1; i + 3 < count; ++i) sum = (sum + buf[i]) & 0xFF;
        if (high >= 0 && low >= 0 && static_cast<unsigned>(high * 16 + low) == sum) {
            reply.count = static_cast<int>(count - 4);
            reply.text.assign(reinterpret_cast<const char*>(buf + 1), count - 4);
        }
    }
    if (lost) {
        LoseDevice();
    } else if (reply.count == 0 && !Stopped()) {
        Anomaly(count ? "garbled reply" : "no reply in time");
    } else if (firstByteAt - start > waitMs) {
        // A unit answers within milliseconds: what comes this late may be another command's
        // reply, in front of this one's own, which is later still.
        Anomaly("late reply");
    }
    return reply;
}

LinkBudget::LinkBudget(KobuLink& link, std::int64_t ms) : link_(link), previous_(link.Deadline()) {
    const std::int64_t at = link.NowMs() + ms;
    link.SetDeadline(previous_ > 0 ? std::min(previous_, at) : at);
}

Reply KobuLink::Transact(const std::string& command, int expectedLength) {
    SendFrame(command);
    return ReceiveReply(kReplyWaitMs, expectedLength);
}

} // namespace kivo
