// A window's link to the Kobu: command frames with their checksum, and replies checked as
// single bytes or frames under the reply time-outs.
#pragma once

#include "link/transport.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kivo {

class LinkTrace;

constexpr std::uint8_t STX = 0x02;
constexpr std::uint8_t ETX = 0x03;
constexpr std::uint8_t ACK = 0x06;
constexpr std::uint8_t NAK = 0x15;

// What ReceiveReply hands back: `count` 0 (nothing usable), 1 (one byte in `text[0]`), or the
// payload length of a valid frame (payload in `text`).
struct Reply {
    int count = 0;
    std::string text;
    bool IsByte(std::uint8_t b) const {
        return count == 1 && static_cast<std::uint8_t>(text[0]) == b;
    }
};

class KobuLink {
public:
    static constexpr int kReplyWaitMs = 250;
    static constexpr int kPieceGapMs = 200;
    static constexpr std::size_t kMaxReply = 90;

    explicit KobuLink(TransportFactory factory) : factory_(std::move(factory)) {}
    ~KobuLink();
    KobuLink(const KobuLink&) = delete;
    KobuLink& operator=(const KobuLink&) = delete;

    // Every frame sent and reply received is logged there (nullptr: no trace).
    void SetTrace(std::shared_ptr<LinkTrace> trace) { trace_ = std::move(trace); }

    int OpenLink(); // 0 open and configured, 1 otherwise
    void CloseLink();
    bool IsOpen() const { return device_ != nullptr; }

    // Builds and writes one frame; bytes written, 0 for an empty command or a failure.
    std::size_t SendFrame(const std::string& command);
    // expectedLength 1: a single byte; 2 or more: a frame of any payload length.
    Reply ReceiveReply(int waitMs, int expectedLength);
    Reply Transact(const std::string& command, int expectedLength);

    // Whether a reply to an earlier command may still be on its way: a transaction ended
    // without the complete reply it asked for. Replies carry no address, so such a late reply
    // would pass for the answer to the next read of the same length; reads settle the line
    // first. Opening the link leaves it unsettled; an ACK to "O" settles it.
    bool Unsettled() const { return unsettled_; }
    void MarkUnsettled() { unsettled_ = true; }
    void MarkSettled() { unsettled_ = false; }

    // The frame for a command text: STX, text, two checksum digits, ETX.
    static std::string BuildFrame(const std::string& command);
    // Sum of the bytes modulo 256 as two upper-case hex digits.
    static std::string Checksum(const std::string& bytes);

private:
    void LoseDevice();

    TransportFactory factory_;
    std::unique_ptr<Transport> device_;
    std::shared_ptr<LinkTrace> trace_;
    bool unsettled_ = true;
};

} // namespace kivo
