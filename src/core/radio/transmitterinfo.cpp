#include "radio/transmitterinfo.h"

#include "data/codec.h"

#include <cstdlib>

namespace kivo {

namespace {

// Two characters as a hex byte; a character that is not a hex digit counts as 0.
int HexPair(const std::string& s, std::size_t at) {
    auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return 0;
    };
    return digit(s[at]) * 16 + digit(s[at + 1]);
}

long FieldNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::strtol(text.c_str(), nullptr, 10);
}

} // namespace

std::optional<TransmitterInfo> ParseInfoReply(const std::string& reply) {
    if (reply.size() != kInfoReplyLength) return std::nullopt;
    // code(4), then register number and value pairs: 27 at 4, 28 at 8, 29 at 12, ...
    TransmitterInfo info;
    info.interval = HexPair(reply, 6);
    info.limit = HexPair(reply, 10);
    info.mode = HexPair(reply, 14);
    info.userAlarms = HexPair(reply, 18) * 256 + HexPair(reply, 22);
    info.version = reply.substr(26, 2);
    return info;
}

std::optional<ModeBoxes> BoxesForMode(int mode) {
    switch (mode) {
    case 0:
        return ModeBoxes{false, true};
    case 1:
        return ModeBoxes{true, true};
    case 2:
        return ModeBoxes{false, false};
    case 3:
        return ModeBoxes{true, false};
    default:
        return std::nullopt;
    }
}

int ModeFromBoxes(bool testAlarm, bool powerSave) {
    // bit 0: test alarm function on; bit 1: power-save mode off
    return (testAlarm ? 1 : 0) | (powerSave ? 0 : 2);
}

std::string VersionText(const std::string& version) {
    if (version == "FF") return "2.0";
    if (version.size() != 2) return version;
    return std::string(1, version[0]) + "." + version[1];
}

bool PowerSaveShown(const std::string& version) {
    if (version == "FF" || version.size() != 2) return false;
    return version[0] > '2' || (version[0] == '2' && version[1] >= '2');
}

std::string InfoWriteData(int interval, int limit, int mode) {
    return "27" + ByteToHex(static_cast<std::uint8_t>(interval)) + "28" +
           ByteToHex(static_cast<std::uint8_t>(limit)) + "29" +
           ByteToHex(static_cast<std::uint8_t>(mode));
}

std::vector<int> CheckInfoFields(const std::string& interval, const std::string& limit) {
    std::vector<int> boxes;
    long i = FieldNumber(interval);
    if (i < 1 || i > 255) boxes.push_back(13816);
    if (FieldNumber(limit) > 255) boxes.push_back(13817);
    return boxes;
}

InfoPoll ReadPollResult(const std::string& reply) {
    if (reply == "04") return InfoPoll::Failed;
    return reply.size() >= 8 ? InfoPoll::Done : InfoPoll::Waiting;
}

InfoPoll WritePollResult(const std::string& reply) {
    if (reply == "03") return InfoPoll::Done;
    if (reply == "04") return InfoPoll::Failed;
    return InfoPoll::Waiting;
}

} // namespace kivo
