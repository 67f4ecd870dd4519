#include "sim/simradio.h"

#include "sim/simframe.h"

namespace kivo::sim {

namespace {

Micros Ms(int ms) {
    return Micros(ms) * 1000;
}

bool HexText(const std::string& s) {
    for (char c : s)
        if (HexValue(c) < 0) return false;
    return true;
}

int HexByte(const std::string& s, std::size_t at) {
    return HexValue(s[at]) * 16 + HexValue(s[at + 1]);
}

// code (4 hex) + groups of `group` hex characters, at least one group.
bool SplitArgs(const std::string& args, std::size_t group, std::string& code,
               std::vector<std::pair<int, int>>& pairs) {
    if (args.size() < 4 + group || (args.size() - 4) % group != 0 || !HexText(args)) return false;
    code = args.substr(0, 4);
    pairs.clear();
    for (std::size_t i = 4; i < args.size(); i += group)
        pairs.emplace_back(HexByte(args, i), group == 4 ? HexByte(args, i + 2) : 0);
    return true;
}

bool Writable(int reg) {
    return reg == kRegInterval || reg == kRegLimit || reg == kRegMode;
}

} // namespace

SimRadio::SimRadio(const SimOptions& options)
    : options_(options), transmitters_(options.transmitters) {}

void SimRadio::Listen(Micros now) {
    if (learning_ && !options_.learnCode.empty() &&
        now >= learningSince_ + Ms(options_.learnDelayMs))
        heard_ = options_.learnCode;
}

void SimRadio::StartLearning(Micros now) {
    learning_ = true;
    learningSince_ = now;
    heard_.clear();
}

void SimRadio::StopLearning(Micros now) {
    Listen(now);
    learning_ = false;
}

std::string SimRadio::PollLearned(Micros now) {
    Listen(now);
    return heard_.empty() ? "00000000" : heard_ + "01C8";
}

bool SimRadio::RequestInfo(const std::string& args, Micros now) {
    Request r;
    if (!SplitArgs(args, 2, r.code, r.pairs)) return false;
    r.active = true;
    r.ready = now + Ms(options_.infoDelayMs);
    info_ = r;
    return true;
}

std::optional<std::string> SimRadio::PollInfo(Micros now) {
    if (options_.infoResult == PollResult::Silent) return std::nullopt;
    if (!info_.active || now < info_.ready) return std::string();
    if (options_.infoResult == PollResult::Fail) return std::string("04");
    const SimTransmitter* t = Find(info_.code);
    if (!t) return std::string();
    std::string reply = info_.code;
    for (const auto& p : info_.pairs) {
        auto reg = t->registers.find(p.first);
        reply += Hex2(std::uint8_t(p.first)) + Hex2(reg == t->registers.end() ? 0 : reg->second);
    }
    return reply;
}

bool SimRadio::RequestWrite(const std::string& args, Micros now) {
    Request r;
    if (!SplitArgs(args, 4, r.code, r.pairs)) return false;
    r.active = true;
    r.ready = now + Ms(options_.infoDelayMs);
    write_ = r;
    return true;
}

std::optional<std::string> SimRadio::PollWrite(Micros now) {
    if (options_.writeResult == PollResult::Silent) return std::nullopt;
    if (!write_.active || now < write_.ready) return std::string();
    if (options_.writeResult == PollResult::Fail) return std::string("04");
    SimTransmitter* t = FindMutable(write_.code);
    if (!t) return std::string();
    for (const auto& p : write_.pairs)
        if (!Writable(p.first)) return std::string("04");
    if (!write_.applied) {
        for (const auto& p : write_.pairs) t->registers[p.first] = std::uint8_t(p.second);
        write_.applied = true;
    }
    return std::string("03");
}

const SimTransmitter* SimRadio::Find(const std::string& code) const {
    for (const auto& t : transmitters_)
        if (t.code == code) return &t;
    return nullptr;
}

SimTransmitter* SimRadio::FindMutable(const std::string& code) {
    for (auto& t : transmitters_)
        if (t.code == code) return &t;
    return nullptr;
}

} // namespace kivo::sim
