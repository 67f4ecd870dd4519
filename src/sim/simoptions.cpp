#include "sim/simoptions.h"

#include <cctype>
#include <cstdint>

namespace kivo::sim {

namespace {

bool IsHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool AllHex(const std::string& s) {
    for (char c : s)
        if (!IsHex(c)) return false;
    return true;
}

// Decimal digits only: no sign, no blanks, no overflow.
bool Unsigned(const std::string& v, std::uint64_t max, std::uint64_t& out) {
    if (v.empty() || v.size() > 20) return false;
    std::uint64_t n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') return false;
        std::uint64_t d = std::uint64_t(c - '0');
        if (n > (max - d) / 10) return false;
        n = n * 10 + d;
    }
    out = n;
    return true;
}

bool UnsignedInt(const std::string& v, std::uint64_t max, int& out) {
    std::uint64_t n = 0;
    if (!Unsigned(v, max, n)) return false;
    out = int(n);
    return true;
}

constexpr std::uint64_t kMaxMs = 600000;

bool Ms(const std::string& v, int& out, std::string& why) {
    if (UnsignedInt(v, kMaxMs, out)) return true;
    why = "is not a number of milliseconds 0.." + std::to_string(kMaxMs);
    return false;
}

// "0.25", "1", ".5" as a rate, or "3x" as a count. Parsed by hand: strtod would follow the
// locale's decimal separator.
bool FaultValue(const std::string& v, FaultSetting& out, std::string& why) {
    why = "is not a rate 0..1 (e.g. 0.1) or a count (e.g. 3x)";
    if (!v.empty() && (v.back() == 'x' || v.back() == 'X')) {
        int n = 0;
        if (!UnsignedInt(v.substr(0, v.size() - 1), 1000000, n)) return false;
        out = FaultSetting{0.0, n};
        return true;
    }
    auto dot = v.find('.');
    std::string whole = v.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : v.substr(dot + 1);
    if (whole.empty() && frac.empty()) return false;
    if (whole.size() > 1 || frac.size() > 9) return false;
    double rate = 0.0;
    for (char c : whole) {
        if (c < '0' || c > '9') return false;
        rate = c - '0';
    }
    double scale = 0.1;
    for (char c : frac) {
        if (c < '0' || c > '9') return false;
        rate += (c - '0') * scale;
        scale /= 10;
    }
    if (rate > 1.0) return false;
    out = FaultSetting{rate, 0};
    return true;
}

bool Result(const std::string& v, PollResult& out, std::string& why) {
    if (v == "ok")
        out = PollResult::Ok;
    else if (v == "fail")
        out = PollResult::Fail;
    else if (v == "silent")
        out = PollResult::Silent;
    else {
        why = "must be ok, fail or silent";
        return false;
    }
    return true;
}

bool Transmitter(const std::string& v, SimOptions& o, std::string& why) {
    why = "must be CODE or CODE:REGISTERS (four hex digits, optionally a colon and 12 hex "
          "digits for the registers 27, 28, 29, 2A, 2B, 2F)";
    std::string code = v.substr(0, v.find(':'));
    if (code.size() != 4 || !AllHex(code)) return false;
    SimTransmitter t{Upper(code),
                     {{kRegInterval, 24},
                      {kRegLimit, 5},
                      {kRegMode, 3},
                      {kRegCountHigh, 0},
                      {kRegCountLow, 0},
                      {kRegVersion, 0x22}}};
    if (v.size() > 4) {
        std::string regs = v.substr(5);
        if (v[4] != ':' || regs.size() != 12 || !AllHex(regs)) return false;
        const int order[] = {kRegInterval,  kRegLimit,    kRegMode,
                             kRegCountHigh, kRegCountLow, kRegVersion};
        for (int i = 0; i < 6; ++i)
            t.registers[order[i]] = std::uint8_t(std::stoul(regs.substr(2 * i, 2), nullptr, 16));
    }
    for (auto& existing : o.transmitters) {
        if (existing.code == t.code) {
            existing = t;
            return true;
        }
    }
    o.transmitters.push_back(t);
    return true;
}

struct OptionDef {
    const char* key;
    const char* form;
    const char* byDefault;
    const char* meaning;
    bool (*set)(const std::string& value, SimOptions& o, std::string& why);
};

#define FAULT_OPTION(name, kind, meaning)                                                          \
    {                                                                                              \
        name, "RATE|Nx", "0", meaning, [](const std::string& v, SimOptions& o, std::string& why) { \
            return FaultValue(v, o.faults[int(Fault::kind)], why);                                 \
        }                                                                                          \
    }

const OptionDef kOptions[] = {
    {"size", "256|512", "512", "bytes of the unit's memory",
     [](const std::string& v, SimOptions& o, std::string& why) {
         if (v == "256" || v == "512") {
             o.size = v == "256" ? 256 : 512;
             return true;
         }
         why = "must be 256 or 512";
         return false;
     }},
    {"unit", "0|1", "1", "0: no Kivo behind the Kobu (\"O\" refused, memory commands unanswered)",
     [](const std::string& v, SimOptions& o, std::string& why) {
         if (v == "0" || v == "1") {
             o.unit = v == "1";
             return true;
         }
         why = "must be 0 or 1";
         return false;
     }},
    {"firmware", "MM.mm", "07.30", "firmware bytes 0x100 and 0x101, as two hex pairs",
     [](const std::string& v, SimOptions& o, std::string& why) {
         if (v.size() != 5 || v[2] != '.' || !IsHex(v[0]) || !IsHex(v[1]) || !IsHex(v[3]) ||
             !IsHex(v[4])) {
             why = "must be two hex pairs like 07.30";
             return false;
         }
         o.firmwareMajor = std::uint8_t(std::stoul(v.substr(0, 2), nullptr, 16));
         o.firmwareMinor = std::uint8_t(std::stoul(v.substr(3, 2), nullptr, 16));
         return true;
     }},
    {"variant", "0..255", "10", "firmware variant, byte 0x102 (decimal)",
     [](const std::string& v, SimOptions& o, std::string& why) {
         int n = 0;
         if (!UnsignedInt(v, 255, n)) {
             why = "must be a decimal number 0..255";
             return false;
         }
         o.variant = std::uint8_t(n);
         return true;
     }},
    {"serial", "0..16777215", "210417", "serial number, bytes 0xFD..0xFF",
     [](const std::string& v, SimOptions& o, std::string& why) {
         std::uint64_t n = 0;
         if (!Unsigned(v, 0xFFFFFF, n)) {
             why = "must be a decimal number 0..16777215";
             return false;
         }
         o.serial = std::uint32_t(n);
         return true;
     }},
    {"memory", "PATH", "none",
     "the unit's memory lives in this file (created when missing, written after every write)",
     [](const std::string& v, SimOptions& o, std::string& why) {
         why = "needs a file path";
         o.memoryPath = v;
         return !v.empty();
     }},
    {"image", "PATH", "none", "start memory from this configuration file (256 or 512 bytes)",
     [](const std::string& v, SimOptions& o, std::string& why) {
         why = "needs a file path";
         o.imagePath = v;
         return !v.empty();
     }},
    {"version", "TEXT", "11-1 SIM1.0", "the Kobu's answer to \"v\" (11 characters on a real one)",
     [](const std::string& v, SimOptions& o, std::string& why) {
         why = "must be 1..80 printable ASCII characters";
         if (v.empty() || v.size() > 80) return false;
         for (char c : v)
             if (c < 0x20 || c > 0x7E) return false;
         o.version = v;
         return true;
     }},
    {"learn", "CODE|none", "4C3A", "transmitter heard in learning mode (four hex digits)",
     [](const std::string& v, SimOptions& o, std::string& why) {
         if (v == "none") {
             o.learnCode.clear();
             return true;
         }
         if (v.size() != 4 || !AllHex(v) || v == "0000") {
             why = "must be four hex digits (not 0000) or none";
             return false;
         }
         o.learnCode = Upper(v);
         return true;
     }},
    {"learndelay", "MS", "1500", "time after \"s1\" until the transmitter is heard",
     [](const std::string& v, SimOptions& o, std::string& why) {
         return Ms(v, o.learnDelayMs, why);
     }},
    {"tx", "CODE[:HHHHHHHHHHHH]", "4C3A,7B10,2E95",
     "adds a transmitter; the hex digits are registers 27, 28, 29, 2A, 2B, 2F", Transmitter},
    {"inforesult", "ok|fail|silent", "ok", "\"A\" answers the data, \"04\", or never anything",
     [](const std::string& v, SimOptions& o, std::string& why) {
         return Result(v, o.infoResult, why);
     }},
    {"writeresult", "ok|fail|silent", "ok", "\"F\" answers \"03\", \"04\", or never anything",
     [](const std::string& v, SimOptions& o, std::string& why) {
         return Result(v, o.writeResult, why);
     }},
    {"infodelay", "MS", "1500", "time after \"a\"/\"f\" until the transmitter has answered",
     [](const std::string& v, SimOptions& o, std::string& why) {
         return Ms(v, o.infoDelayMs, why);
     }},
    FAULT_OPTION("drop", Drop, "a reply is never sent"),
    FAULT_OPTION("corrupt", Corrupt, "a framed reply has wrong checksum digits"),
    FAULT_OPTION("nak", Nak, "\"R\"/\"W\" refused with NAK, nothing stored"),
    FAULT_OPTION("split", Split, "a reply comes in two pieces, splitgap apart"),
    {"splitgap", "MS", "100", "gap between the pieces of a split reply",
     [](const std::string& v, SimOptions& o, std::string& why) {
         return Ms(v, o.splitGapMs, why);
     }},
    FAULT_OPTION("lower", Lower, "hex digits of a framed reply in lower case"),
    FAULT_OPTION("noise", Noise, "stray bytes before or after a reply"),
    FAULT_OPTION("spike", Spike, "a reply comes spikems late"),
    {"spikems", "MS", "600", "extra latency of a spike",
     [](const std::string& v, SimOptions& o, std::string& why) { return Ms(v, o.spikeMs, why); }},
    FAULT_OPTION("ignore", Ignore, "\"W\" acknowledged but not stored"),
    FAULT_OPTION("short", Short, "\"R\" answered with two characters too few"),
    FAULT_OPTION("double", Double, "an \"R\" reply is sent again, doublems later"),
    {"doublems", "MS", "20", "time from a reply to its second copy",
     [](const std::string& v, SimOptions& o, std::string& why) { return Ms(v, o.doubleMs, why); }},
    FAULT_OPTION("late", Late,
                 "an \"R\"/\"W\" reply comes latems late; quicker answers overtake it"),
    {"latems", "MS", "600", "delay of a late reply",
     [](const std::string& v, SimOptions& o, std::string& why) { return Ms(v, o.lateMs, why); }},
    FAULT_OPTION("badcode", BadCode, "a learned code reported as \"ZZZZ\" or \"0G00\""),
    {"hum", "MS", "0", "a stray byte every MS ms, whatever happens (0: never)",
     [](const std::string& v, SimOptions& o, std::string& why) { return Ms(v, o.humMs, why); }},
    {"mute", "0..16", "0", "\"R\"/\"W\" for this many bytes or more are never answered (0: none)",
     [](const std::string& v, SimOptions& o, std::string& why) {
         int n = 0;
         if (!UnsignedInt(v, 16, n)) {
             why = "must be a byte count 0..16";
             return false;
         }
         o.mute = unsigned(n);
         return true;
     }},
    {"refuse", "nak|silent", "nak", "how the unit answers memory commands beyond its memory",
     [](const std::string& v, SimOptions& o, std::string& why) {
         if (v == "nak" || v == "silent") {
             o.refusal = v == "nak" ? Refusal::Nak : Refusal::Silence;
             return true;
         }
         why = "must be nak or silent";
         return false;
     }},
    {"disconnect", "N", "0", "the Kobu is gone after N transactions (0: never)",
     [](const std::string& v, SimOptions& o, std::string& why) {
         why = "must be a number of transactions";
         return UnsignedInt(v, 100000000, o.disconnectAfter);
     }},
    {"seed", "NUMBER", "1", "drives every fault, so a failing run replays",
     [](const std::string& v, SimOptions& o, std::string& why) {
         why = "must be a decimal number";
         return Unsigned(v, UINT64_MAX, o.seed);
     }},
    {"latency", "MS", "1", "the answer starts this long after a complete command",
     [](const std::string& v, SimOptions& o, std::string& why) { return Ms(v, o.latencyMs, why); }},
    {"pace", "0|1", "0", "1: bytes travel no faster than 57600 baud with 11 bits each",
     [](const std::string& v, SimOptions& o, std::string& why) {
         if (v == "0" || v == "1") {
             o.pace = v == "1";
             return true;
         }
         why = "must be 0 or 1";
         return false;
     }},
};

#undef FAULT_OPTION

} // namespace

std::vector<SimTransmitter> BuiltInTransmitters() {
    auto make = [](const char* code, int interval, int limit, int mode, int count, int version) {
        return SimTransmitter{code,
                              {{kRegInterval, std::uint8_t(interval)},
                               {kRegLimit, std::uint8_t(limit)},
                               {kRegMode, std::uint8_t(mode)},
                               {kRegCountHigh, std::uint8_t(count >> 8)},
                               {kRegCountLow, std::uint8_t(count & 0xFF)},
                               {kRegVersion, std::uint8_t(version)}}};
    };
    return {make("4C3A", 24, 5, 3, 300, 0x22), make("7B10", 12, 0, 1, 7, 0xFF),
            make("2E95", 168, 10, 2, 0, 0x21)};
}

bool ParseSimOptions(const std::string& text, SimOptions& out, std::string& error) {
    SimOptions parsed;
    std::size_t pos = 0;
    while (!text.empty() && pos <= text.size()) {
        std::size_t end = text.find(',', pos);
        if (end == std::string::npos) end = text.size();
        std::string item = text.substr(pos, end - pos);
        pos = end + 1;
        if (item.empty()) continue; // texts put together by scripts often have stray commas
        std::size_t eq = item.find('=');
        std::string key = item.substr(0, eq);
        const OptionDef* def = nullptr;
        for (const auto& d : kOptions)
            if (key == d.key) def = &d;
        if (!def) {
            error = "unknown simulator option \"" + key + "\"";
            return false;
        }
        if (eq == std::string::npos) {
            error =
                "simulator option \"" + key + "\" needs a value (" + key + "=" + def->form + ")";
            return false;
        }
        std::string value = item.substr(eq + 1);
        std::string why;
        if (!def->set(value, parsed, why)) {
            error = "simulator option " + key + "=\"" + value + "\": " + why;
            return false;
        }
    }
    out = parsed;
    return true;
}

std::string SimOptionsHelp() {
    std::string help;
    for (const auto& d : kOptions) {
        std::string head = std::string("  ") + d.key + "=" + d.form;
        if (head.size() < 30)
            head.resize(30, ' ');
        else
            head += "\n" + std::string(30, ' ');
        help += head + d.meaning + " [" + d.byDefault + "]\n";
    }
    return help;
}

} // namespace kivo::sim
