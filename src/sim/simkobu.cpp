#include "sim/simkobu.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace kivo::sim {

namespace {

Micros Ms(int ms) {
    return Micros(ms) * 1000;
}

bool HasHexLetter(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return c >= 'A' && c <= 'F'; });
}

std::string LowerHexLetters(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'F') c = char(c - 'A' + 'a');
    return s;
}

// Stray bytes: line noise, never a control byte of the framing.
constexpr std::uint8_t kNoise[] = {0x00, 0xFF, 0x7F, 0x11, 0x13, 0x80, 0x3F, 0xFE};

} // namespace

SimKobu::SimKobu(const SimOptions& options)
    : options_(options), radio_(options), faults_(options.seed, options.faults),
      disconnectAt_(options.disconnectAfter) {}

std::shared_ptr<SimKobu> SimKobu::Create(const SimOptions& options, std::string& error) {
    std::shared_ptr<SimKobu> kobu(new SimKobu(options));
    if (!kobu->unit_.Init(options, error)) return nullptr;
    return kobu;
}

std::shared_ptr<SimKobu> SimKobu::Create(const std::string& optionText, std::string& error) {
    SimOptions options;
    if (!ParseSimOptions(optionText, options, error)) return nullptr;
    return Create(options, error);
}

Micros SimKobu::WireTime(std::size_t count) {
    const Micros bitsTimesMillion = Micros(count) * 11 * 1000000;
    return (bitsTimesMillion + 57600 - 1) / 57600;
}

void SimKobu::Receive(const std::uint8_t* data, std::size_t size, Micros now) {
    if (gone_ || size == 0) return;
    StartHum(now);
    const Micros start = options_.pace ? std::max(now, lineIn_) : now;
    for (std::size_t i = 0; i < size && !gone_; ++i) {
        const Micros at = options_.pace ? start + WireTime(i + 1) : now;
        std::string command;
        switch (reader_.Feed(data[i], command)) {
        case FrameReader::Event::Command:
            Handle(command, at);
            break;
        case FrameReader::Event::Garbage:
            ++counters_.garbageFrames;
            break;
        case FrameReader::Event::None:
            break;
        }
    }
    lineIn_ = options_.pace ? start + WireTime(size) : now;
}

void SimKobu::Handle(const std::string& command, Micros at) {
    Promote(at);
    ++counters_.transactions;
    ++counters_.commands[command.empty() ? '\0' : command[0]];
    Send(Execute(command, at), at + Ms(options_.latencyMs));
    if (disconnectAt_ > 0 && counters_.transactions >= disconnectAt_) {
        gone_ = true;
        goneAt_ = std::max(at, lineOut_);
    }
}

bool SimKobu::Strikes(Fault fault) {
    if (!faults_.Strikes(fault)) return false;
    ++counters_.faults[int(fault)];
    return true;
}

void SimKobu::Send(const Answer& answer, Micros ready) {
    if (answer.kind == Answer::Kind::None) return;
    if (Strikes(Fault::Drop)) return;

    std::string bytes;
    if (answer.kind == Answer::Kind::Byte) {
        bytes = std::string(1, char(answer.byte));
    } else {
        std::string payload = answer.payload;
        std::string check = Hex2(ByteSum(payload));
        if ((HasHexLetter(check) || (answer.hex && HasHexLetter(payload))) &&
            Strikes(Fault::Lower)) {
            if (answer.hex) payload = LowerHexLetters(payload);
            check = LowerHexLetters(Hex2(ByteSum(payload)));
        }
        if (Strikes(Fault::Corrupt)) {
            auto wrong = ByteSum(payload) + 1 + faults_.Draw(Fault::Corrupt) % 255;
            check = Hex2(std::uint8_t(wrong & 0xFF));
        }
        bytes = char(kStx) + payload + check + char(kEtx);
    }

    if (Strikes(Fault::Noise)) {
        std::string noise(1 + faults_.Draw(Fault::Noise) % 3, '\0');
        for (char& c : noise) c = char(kNoise[faults_.Draw(Fault::Noise) % sizeof(kNoise)]);
        bytes = faults_.Draw(Fault::Noise) % 2 ? bytes + noise : noise + bytes;
    }
    if (answer.memory && answer.kind == Answer::Kind::Frame && Strikes(Fault::Double))
        Defer(bytes, ready + Ms(options_.doubleMs));
    if (answer.memory && Strikes(Fault::Late)) {
        Defer(bytes, ready + Ms(options_.lateMs));
        return;
    }
    if (Strikes(Fault::Spike)) ready += Ms(options_.spikeMs);

    if (bytes.size() >= 2 && Strikes(Fault::Split)) {
        std::size_t cut = 1 + faults_.Draw(Fault::Split) % (bytes.size() - 1);
        Micros end = Schedule(bytes.substr(0, cut), ready);
        Schedule(bytes.substr(cut), end + Ms(options_.splitGapMs));
        return;
    }
    Schedule(bytes, ready);
}

Micros SimKobu::Schedule(const std::string& bytes, Micros ready) {
    const Micros start = std::max(ready, lineOut_);
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        Micros due = options_.pace ? start + WireTime(k + 1) : start;
        out_.push_back({due, static_cast<std::uint8_t>(bytes[k])});
    }
    lineOut_ = options_.pace ? start + WireTime(bytes.size()) : start;
    return lineOut_;
}

void SimKobu::Defer(const std::string& bytes, Micros ready) {
    auto at = std::find_if(deferred_.begin(), deferred_.end(),
                           [ready](const Deferred& d) { return d.ready > ready; });
    deferred_.insert(at, Deferred{ready, bytes});
}

void SimKobu::Promote(Micros now) {
    while (!deferred_.empty() && deferred_.front().ready <= now) {
        Schedule(deferred_.front().bytes, deferred_.front().ready);
        deferred_.pop_front();
    }
}

void SimKobu::StartHum(Micros now) {
    if (humming_ || options_.humMs <= 0) return;
    humming_ = true;
    humDone_ = now;
}

std::optional<Micros> SimKobu::NextHum() const {
    if (!humming_ || gone_) return std::nullopt;
    const Micros period = Ms(options_.humMs);
    return (humDone_ / period + 1) * period;
}

std::optional<Micros> SimKobu::NextDue() const {
    std::optional<Micros> due;
    if (!out_.empty())
        due = out_.front().due;
    else if (!deferred_.empty())
        due = std::max(deferred_.front().ready, lineOut_) + (options_.pace ? WireTime(1) : 0);
    if (auto hum = NextHum()) due = due ? std::min(*due, *hum) : *hum;
    return due;
}

std::size_t SimKobu::TakeDue(Micros now, std::uint8_t* out, std::size_t max) {
    StartHum(now);
    Promote(now);
    std::size_t n = 0;
    while (n < max) {
        const bool reply = !out_.empty() && out_.front().due <= now;
        const auto hum = NextHum();
        const bool stray = hum && *hum <= now && (!reply || *hum < out_.front().due);
        if (stray) {
            // A stray byte falls wherever it falls, in the middle of a reply too.
            out[n++] = kNoise[(*hum / Ms(options_.humMs)) % sizeof(kNoise)];
            humDone_ = *hum;
        } else if (reply) {
            out[n++] = out_.front().byte;
            out_.pop_front();
        } else {
            break;
        }
    }
    return n;
}

void SimKobu::DropArrived(Micros now) {
    StartHum(now);
    Promote(now);
    while (!out_.empty() && out_.front().due <= now) out_.pop_front();
    if (humming_) humDone_ = std::max(humDone_, now);
}

void SimKobu::DropAll() {
    out_.clear();
    deferred_.clear();
}

bool SimKobu::Gone(Micros now) const {
    return gone_ && now >= goneAt_;
}

void SimKobu::DisconnectAfter(int transactions) {
    disconnectAt_ = counters_.transactions + std::max(transactions, 1);
}

void SimKobu::Disconnect() {
    gone_ = true;
    goneAt_ = std::numeric_limits<Micros>::min();
    disconnectAt_ = 0;
    out_.clear();
    deferred_.clear();
}

void SimKobu::Reconnect() {
    gone_ = false;
    disconnectAt_ = 0;
    reader_ = FrameReader();
}

} // namespace kivo::sim
