// The simulated Kobu with a Kivo and radio transmitters behind it. It takes the host's bytes
// with the time they were written, finds complete command frames, acts on them as the devices
// would, and schedules its reply bytes with the times they arrive at the host. It keeps no
// clock of its own: every time comes from the caller, so with a given seed and the same
// calls it always does the same.
#pragma once

#include "data/kivodata.h"
#include "sim/simfaults.h"
#include "sim/simframe.h"
#include "sim/simoptions.h"
#include "sim/simradio.h"
#include "sim/simunit.h"

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace kivo::sim {

struct SimCounters {
    int transactions = 0;                  // valid command frames acted on
    int garbageFrames = 0;                 // frames ignored: bad checksum, unfinished, overlong
    std::map<char, int> commands;          // valid commands by their first character
    int storedWrites = 0;                  // memory writes that changed the memory
    std::array<int, kFaultKinds> faults{}; // how often each fault struck
};

class SimKobu {
public:
    // Loads or creates the unit's memory (memory=, image=); nullptr and `error` on failure.
    static std::shared_ptr<SimKobu> Create(const SimOptions& options, std::string& error);
    // The same from an option text.
    static std::shared_ptr<SimKobu> Create(const std::string& optionText, std::string& error);

    // --- The wire; times in microseconds on the caller's clock ---

    // Bytes the host has written at `now`. With pacing they arrive one byte time apart.
    void Receive(const std::uint8_t* data, std::size_t size, Micros now);
    // When the next reply byte arrives at the host; nothing when none is on its way.
    std::optional<Micros> NextDue() const;
    // Hands over at most `max` bytes that have arrived by `now`.
    std::size_t TakeDue(Micros now, std::uint8_t* out, std::size_t max);
    // The host purges its receive buffer: bytes arrived by `now` are lost, later ones still
    // come, as on a real line.
    void DropArrived(Micros now);
    // The host closed its port: nothing of what is on its way reaches it.
    void DropAll();
    // The Kobu has been unplugged: nothing answers any more.
    bool Gone(Micros now) const;

    // --- Inspection and control for tests and the tool ---

    const SimOptions& Options() const { return options_; }
    unsigned Size() const { return unit_.Size(); }
    Image Memory() const { return unit_.Memory(); }
    void SetMemory(const Image& image) { unit_.SetMemory(image); }
    const SimCounters& Counters() const { return counters_; }
    // The next `count` replies the fault can strike get it.
    void Plant(Fault fault, int count) { faults_.Plant(fault, count); }
    void SetFaultRate(Fault fault, double rate) { faults_.SetRate(fault, rate); }
    // Gone once `transactions` more commands have been answered.
    void DisconnectAfter(int transactions);
    // Gone at once, with everything on its way.
    void Disconnect();
    // Plugged in again.
    void Reconnect();
    const SimTransmitter* Transmitter(const std::string& code) const { return radio_.Find(code); }
    // The last failure to save memory=PATH; empty when all went well.
    const std::string& SaveError() const { return unit_.SaveError(); }

    // Time the line takes for `count` bytes at 57600 baud, 11 bits each, rounded up.
    static Micros WireTime(std::size_t count);

private:
    struct Answer {
        enum class Kind { None, Byte, Frame } kind = Kind::None;
        std::uint8_t byte = 0;
        std::string payload;
        bool hex = false;    // the payload is hex data (lower case may strike it)
        bool memory = false; // the unit's answer to a memory command, not the Kobu's own

        static Answer Single(std::uint8_t b) { return {Kind::Byte, b, {}, false, false}; }
        static Answer Framed(std::string text, bool hex) {
            return {Kind::Frame, 0, std::move(text), hex, false};
        }
        static Answer FromUnit(Answer a) {
            a.memory = true;
            return a;
        }
    };

    explicit SimKobu(const SimOptions& options);

    void Handle(const std::string& command, Micros at);
    Answer Execute(const std::string& command, Micros at);
    Answer ReadMemory(const std::string& command);
    Answer WriteMemory(const std::string& command);
    Answer Refuse() const; // a memory command beyond the unit's memory
    void Send(const Answer& answer, Micros ready);
    bool Strikes(Fault fault);
    Micros Schedule(const std::string& bytes, Micros ready);
    // A reply held back until `ready`: it takes the line only then, so answers scheduled
    // meanwhile go first.
    void Defer(const std::string& bytes, Micros ready);
    // Puts held-back replies whose time has come on the line.
    void Promote(Micros now);
    // The stray bytes of a humming line start with the first thing that happens.
    void StartHum(Micros now);
    std::optional<Micros> NextHum() const;

    struct Pending {
        Micros due;
        std::uint8_t byte;
    };

    SimOptions options_;
    SimUnit unit_;
    SimRadio radio_;
    FaultPlan faults_;
    FrameReader reader_;
    SimCounters counters_;
    std::deque<Pending> out_;
    struct Deferred {
        Micros ready;
        std::string bytes;
    };
    std::deque<Deferred> deferred_; // by time
    bool humming_ = false;
    Micros humDone_ = 0; // the last stray byte delivered or dropped
    Micros lineIn_ = 0;  // when the last host byte has arrived
    Micros lineOut_ = 0; // when the last reply byte arrives
    int disconnectAt_ = 0;
    bool gone_ = false;
    Micros goneAt_ = 0;
};

} // namespace kivo::sim
