// What the Kobu does with each command: the memory commands it passes to the Kivo, and those
// it answers itself (version, learning, transmitter info).
#include "sim/simkobu.h"

namespace kivo::sim {

namespace {

// "R"/"W" followed by a four-digit address and a two-digit count of 1..16.
bool AddressAndCount(const std::string& c, unsigned& address, unsigned& count) {
    if (c.size() < 7) return false;
    unsigned value = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        int d = HexValue(c[i]);
        if (d < 0) return false;
        value = value * 16 + unsigned(d);
    }
    address = value >> 8;
    count = value & 0xFF;
    return count >= 1 && count <= 16;
}

} // namespace

SimKobu::Answer SimKobu::Execute(const std::string& c, Micros at) {
    const Answer ack = Answer::Single(kAck);
    const Answer nak = Answer::Single(kNak);
    if (c.empty()) return nak;
    switch (c[0]) {
    case 'O':
        // The Kobu acknowledges only when a Kivo answers it.
        return c == "O" && options_.unit ? ack : nak;
    case 'R':
        return ReadMemory(c);
    case 'W':
        return WriteMemory(c);
    case 'v':
        return c == "v" ? Answer::Framed(options_.version, false) : nak;
    case 's':
        if (c == "s1")
            radio_.StartLearning(at);
        else if (c == "s0")
            radio_.StopLearning(at);
        else
            return nak;
        return ack;
    case 'c': {
        if (c != "c1") return nak;
        std::string reply = radio_.PollLearned(at);
        if (reply.compare(0, 4, "0000") != 0 && Strikes(Fault::BadCode))
            reply.replace(0, 4, faults_.Draw(Fault::BadCode) % 2 ? "ZZZZ" : "0G00");
        return Answer::Framed(reply, true);
    }
    case 'a':
        return radio_.RequestInfo(c.substr(1), at) ? ack : nak;
    case 'f':
        return radio_.RequestWrite(c.substr(1), at) ? ack : nak;
    case 'A':
    case 'F': {
        if (c.size() != 1) return nak;
        auto reply = c == "A" ? radio_.PollInfo(at) : radio_.PollWrite(at);
        return reply ? Answer::Framed(*reply, true) : Answer{};
    }
    default:
        return nak;
    }
}

SimKobu::Answer SimKobu::Refuse() const {
    return options_.refusal == Refusal::Nak ? Answer::FromUnit(Answer::Single(kNak)) : Answer{};
}

SimKobu::Answer SimKobu::ReadMemory(const std::string& c) {
    if (!options_.unit) return {}; // nobody behind the Kobu to answer
    unsigned address = 0, count = 0;
    std::vector<std::uint8_t> data;
    if (c.size() != 7 || !AddressAndCount(c, address, count)) return Answer::Single(kNak);
    if (options_.mute && count >= options_.mute) return {};
    if (!unit_.Read(address, count, data)) return Refuse();
    if (Strikes(Fault::Nak)) return Answer::FromUnit(Answer::Single(kNak));
    std::string payload;
    for (auto b : data) payload += Hex2(b);
    if (Strikes(Fault::Short)) payload.resize(payload.size() - 2);
    return Answer::FromUnit(Answer::Framed(payload, true));
}

SimKobu::Answer SimKobu::WriteMemory(const std::string& c) {
    if (!options_.unit) return {};
    unsigned address = 0, count = 0;
    if (!AddressAndCount(c, address, count) || c.size() != 7 + 2 * count)
        return Answer::Single(kNak);
    if (options_.mute && count >= options_.mute) return {};
    std::vector<std::uint8_t> data;
    for (std::size_t i = 7; i < c.size(); i += 2) {
        int hi = HexValue(c[i]), lo = HexValue(c[i + 1]);
        if (hi < 0 || lo < 0) return Answer::Single(kNak);
        data.push_back(std::uint8_t(hi * 16 + lo));
    }
    if (address + count > unit_.Size()) return Refuse();
    if (Strikes(Fault::Nak)) return Answer::FromUnit(Answer::Single(kNak));
    if (Strikes(Fault::Ignore)) return Answer::FromUnit(Answer::Single(kAck));
    unit_.Write(address, data);
    ++counters_.storedWrites;
    return Answer::FromUnit(Answer::Single(kAck));
}

} // namespace kivo::sim
