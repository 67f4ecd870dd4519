// The device side of the framing: finding the host's command frames in the byte stream, and
// building reply frames. Written apart from the host's link code on purpose, so that the
// simulator does not share the host's mistakes.
#pragma once

#include <cstdint>
#include <string>

namespace kivo::sim {

constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kEtx = 0x03;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;

// Sum of the bytes modulo 256.
std::uint8_t ByteSum(const std::string& bytes);
// Two upper-case hex digits.
std::string Hex2(std::uint8_t value);
// The value of an upper-case hex digit, -1 for anything else (the devices speak upper case).
int HexValue(char c);
// STX, payload, checksum digits, ETX.
std::string ReplyFrame(const std::string& payload);

class FrameReader {
public:
    // Longer than any command; a run without ETX beyond this is garbage.
    static constexpr std::size_t kMaxFrame = 100;

    enum class Event {
        None,    // nothing complete yet
        Command, // a valid frame: its command text is in `command`
        Garbage, // a frame with a bad checksum, or an unfinished or overlong one
    };

    // Takes one byte. Bytes outside a frame are dropped silently.
    Event Feed(std::uint8_t byte, std::string& command);

private:
    bool inFrame_ = false;
    std::string body_;
};

} // namespace kivo::sim
