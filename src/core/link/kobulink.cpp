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

int KobuLink::OpenLink() {
    if (device_) {
        device_->Close();
        device_.reset();
    }
    std::unique_ptr<Transport> device = factory_ ? factory_() : nullptr;
    if (!device) return 1;
    auto result = device->Open();
    if (result == Transport::OpenResult::Failed) return 1;
    device_ = std::move(device);
    unsettled_ = true;
    if (trace_) trace_->Note(device_->Time().NowMs(), "open " + device_->Name());
    // A device whose settings failed stays open; the caller closes it on its way out.
    return result == Transport::OpenResult::Open ? 0 : 1;
}

void KobuLink::CloseLink() {
    if (!device_) return;
    if (trace_) trace_->Note(device_->Time().NowMs(), "close");
    device_->Purge(true, false);
    device_->Close();
    device_.reset();
}

void KobuLink::LoseDevice() {
    // An adapter that has gone away is treated as a closed link: every later transaction
    // returns at once with nothing instead of waiting out its time-outs.
    if (trace_) trace_->Note(device_->Time().NowMs(), "device lost");
    device_->Close();
    device_.reset();
}

std::size_t KobuLink::SendFrame(const std::string& command) {
    if (!device_ || command.empty() || command.size() > kMaxCommand) return 0;
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
    if (!device_) return reply;
    Clock& clock = device_->Time();
    std::uint8_t buf[kMaxReply];
    std::size_t count = 0;
    const bool framed = expectedLength >= 2;

    device_->WaitReadable(waitMs); // the first character, or the whole wait
    std::int64_t deadline = clock.NowMs() + waitMs;
    while (clock.NowMs() < deadline && count < kMaxReply && !device_->Lost()) {
        std::size_t n = device_->ReadAvailable(buf + count, kMaxReply - count);
        if (n == 0) {
            // At least 1 ms, so a clock that has not moved on yet cannot make this spin.
            device_->WaitReadable(
                static_cast<int>(std::max<std::int64_t>(1, deadline - clock.NowMs())));
            continue;
        }
        count += n;
        if (framed) {
            if (std::find(buf, buf + count, STX) != buf + count &&
                std::find(buf, buf + count, ETX) != buf + count)
                break;
        } else if (count >= static_cast<std::size_t>(expectedLength)) {
            break;
        }
        // A reply in pieces: sleep until the next one comes, rather than asking again at once.
        deadline = clock.NowMs() + kPieceGapMs;
        device_->WaitReadable(kPieceGapMs);
    }
    if (trace_) {
        if (count)
            trace_->Log(clock.NowMs(), "<-", buf, count);
        else
            trace_->Note(clock.NowMs(), "no reply");
    }
    const bool lost = device_->Lost();

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
    if (reply.count == 0) unsettled_ = true;
    if (lost) LoseDevice();
    return reply;
}

Reply KobuLink::Transact(const std::string& command, int expectedLength) {
    SendFrame(command);
    return ReceiveReply(kReplyWaitMs, expectedLength);
}

} // namespace kivo
