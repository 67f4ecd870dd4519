#include "sim/simframe.h"

namespace kivo::sim {

std::uint8_t ByteSum(const std::string& bytes) {
    unsigned sum = 0;
    for (char c : bytes) sum += static_cast<std::uint8_t>(c);
    return std::uint8_t(sum & 0xFF);
}

std::string Hex2(std::uint8_t value) {
    static const char digits[] = "0123456789ABCDEF";
    return {digits[value >> 4], digits[value & 0x0F]};
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string ReplyFrame(const std::string& payload) {
    return std::string(1, char(kStx)) + payload + Hex2(ByteSum(payload)) + char(kEtx);
}

FrameReader::Event FrameReader::Feed(std::uint8_t byte, std::string& command) {
    if (byte == kStx) {
        // A new frame starts; an unfinished one before it is lost.
        bool abandoned = inFrame_ && !body_.empty();
        inFrame_ = true;
        body_.clear();
        return abandoned ? Event::Garbage : Event::None;
    }
    if (!inFrame_) return Event::None;
    if (byte != kEtx) {
        body_ += char(byte);
        if (body_.size() <= kMaxFrame) return Event::None;
        inFrame_ = false;
        body_.clear();
        return Event::Garbage;
    }
    inFrame_ = false;
    std::string body;
    body.swap(body_);
    if (body.size() < 2) return Event::Garbage;
    int hi = HexValue(body[body.size() - 2]);
    int lo = HexValue(body[body.size() - 1]);
    body.resize(body.size() - 2);
    if (hi < 0 || lo < 0 || ByteSum(body) != hi * 16 + lo) return Event::Garbage;
    command = body;
    return Event::Command;
}

} // namespace kivo::sim
