// A window's link to the Kobu: command frames with their checksum, and replies checked as
// single bytes or frames under the reply time-outs.
#pragma once

#include "link/transport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kivo {

class LinkTrace;

constexpr std::uint8_t STX = 0x02;
constexpr std::uint8_t ETX = 0x03;
constexpr std::uint8_t ACK = 0x06;
constexpr std::uint8_t NAK = 0x15;

// What ReceiveReply hands back: `count` 0 (nothing usable), 1 (one byte in `text[0]`), or the
// payload length of a valid frame (payload in `text`). `received` is how many bytes came at
// all, so that silence can be told from garbage.
struct Reply {
    int count = 0;
    std::string text;
    std::size_t received = 0;
    bool IsByte(std::uint8_t b) const {
        return count == 1 && static_cast<std::uint8_t>(text[0]) == b;
    }
};

// Replies carry no address and no sequence number: a reply that comes late, twice or out of
// order looks exactly like the answer to the next command. The link therefore takes a reply
// only in a transaction that began on a line known to be quiet: after anything unexpected (a
// time-out, garbage, a reply of the wrong kind or length, bytes that came outside a
// transaction) it waits, before its next command, until nothing has arrived for kQuietMs.
// Every such event is counted, so that a transfer can tell whether it ran on a clean line.
enum class LinkOpen {
    Open = 0,   // open and configured
    Failed = 1, // no Kobu, or a setting failed (the link may then be open: close it)
};

class KobuLink {
public:
    static constexpr int kReplyWaitMs = 250;
    static constexpr int kPieceGapMs = 200;
    // After a lone byte that cannot begin a frame: how long further bytes may still join it.
    static constexpr int kTailMs = 20;
    // No reply is waited for longer than this, however its bytes trickle in.
    static constexpr int kReplyCapMs = 1000;
    // How long the line must have been silent before a command follows an anomaly, and how
    // long at most to wait for that on a line that never falls silent.
    static constexpr int kQuietMs = 300;
    static constexpr int kQuietCapMs = 1000;
    static constexpr std::size_t kMaxReply = 90;

    explicit KobuLink(TransportFactory factory) : factory_(std::move(factory)) {}
    ~KobuLink();
    KobuLink(const KobuLink&) = delete;
    KobuLink& operator=(const KobuLink&) = delete;

    // Every frame sent and reply received is logged there (nullptr: no trace).
    void SetTrace(std::shared_ptr<LinkTrace> trace) { trace_ = std::move(trace); }
    // Asked before every command and while waiting: once it says true, nothing more is sent
    // and every transaction ends at once with nothing (the user stopped the operation).
    void SetCancel(std::function<bool()> cancelled) { cancelled_ = std::move(cancelled); }
    bool Cancelled() const { return cancelled_ && cancelled_(); }
    // From this time on the link's clock (0: none) every transaction ends at once with
    // nothing, and a transaction under way ends then: an operation's time budget.
    void SetDeadline(std::int64_t atMs) { deadline_ = atMs; }
    std::int64_t Deadline() const { return deadline_; }
    std::int64_t NowMs() const; // the link's clock; 0 when closed
    bool Stopped() const;       // cancelled, or past the deadline

    LinkOpen OpenLink();
    void CloseLink();
    bool IsOpen() const { return device_ != nullptr; }

    // Builds and writes one frame; bytes written, 0 for an empty command or a failure. Waits
    // for a quiet line first when an anomaly asks for it.
    std::size_t SendFrame(const std::string& command);
    // expectedLength 1: a single byte; 2 or more: a frame of any payload length.
    Reply ReceiveReply(int waitMs, int expectedLength);
    Reply Transact(const std::string& command, int expectedLength);

    // The caller got a reply it did not ask for (another length or kind): it may belong to an
    // earlier command, whose own reply may still be on its way.
    void Suspect();
    // Anomalies so far: time-outs, garbage, suspect replies, bytes outside a transaction.
    int Anomalies() const { return anomalies_; }
    // Waits until the line has been silent for `quietMs` (at most kQuietCapMs), dropping what
    // comes; true when nothing came at all. Done before the next command after an anomaly.
    bool AwaitQuiet(int quietMs = kQuietMs);
    // Every command waits for `quietMs` of silence first (0: only after anomalies); for passes
    // that must confirm a troubled one.
    void SetCarefulQuiet(int quietMs) { carefulQuietMs_ = quietMs; }

    // The frame for a command text: STX, text, two checksum digits, ETX.
    static std::string BuildFrame(const std::string& command);
    // Sum of the bytes modulo 256 as two upper-case hex digits.
    static std::string Checksum(const std::string& bytes);

private:
    void LoseDevice();
    void Anomaly(const std::string& what);
    // Reads and drops every byte waiting now; how many there were.
    std::size_t DropWaiting();
    std::int64_t Bound(std::int64_t ms) const; // `ms`, or the deadline when that is sooner

    TransportFactory factory_;
    std::unique_ptr<Transport> device_;
    std::shared_ptr<LinkTrace> trace_;
    std::function<bool()> cancelled_;
    bool quietNeeded_ = false;
    int anomalies_ = 0;
    int carefulQuietMs_ = 0;
    std::int64_t deadline_ = 0;
};

// One device operation's use of a link: opened when it begins, closed on every way out.
class LinkSession {
public:
    explicit LinkSession(KobuLink& link) : link_(link), opened_(link.OpenLink()) {}
    ~LinkSession() { link_.CloseLink(); }
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    // Whether the Kobu was opened and configured.
    bool Open() const { return opened_ == LinkOpen::Open; }
    // Closes before the end, where something must follow a closed link (a message box).
    void Close() { link_.CloseLink(); }

private:
    KobuLink& link_;
    LinkOpen opened_;
};

// Shortens the link's deadline to `ms` from now for as long as it lives (a deadline already
// sooner stays), and puts the earlier one back at its end: nested operations each keep to
// their own time budget and to their caller's.
class LinkBudget {
public:
    LinkBudget(KobuLink& link, std::int64_t ms);
    ~LinkBudget() { link_.SetDeadline(previous_); }
    LinkBudget(const LinkBudget&) = delete;
    LinkBudget& operator=(const LinkBudget&) = delete;

private:
    KobuLink& link_;
    std::int64_t previous_;
};

} // namespace kivo
