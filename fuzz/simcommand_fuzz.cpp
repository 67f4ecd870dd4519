// The simulator's side of the wire: its frame reader and the simulated Kobu taking arbitrary
// bytes from the host. Raw bytes rarely make a frame with a valid checksum, so the input can
// also be a list of command texts (one per line) that are framed before they are sent.
//
// Input: byte 0 chooses raw or framed, a 256- or 512-byte unit, and faults on or off; the
// rest is the bytes or the command texts.
#include "sim/simframe.h"
#include "sim/simkobu.h"

#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace kivo;
using namespace kivo::sim;

// Without faults every answer is one byte (ACK or NAK) or one well-formed frame: STX, the
// payload, its sum as two upper-case hex digits, ETX.
void CheckAnswer(const std::string& answer) {
    if (answer.empty()) return;
    if (answer.size() == 1) {
        fuzz::Require(answer[0] == char(kAck) || answer[0] == char(kNak), "ACK or NAK");
        return;
    }
    fuzz::Require(answer.size() >= 4 && answer.front() == char(kStx) && answer.back() == char(kEtx),
                  "one frame");
    const std::string payload = answer.substr(1, answer.size() - 4);
    fuzz::Require(payload.find_first_of("\x02\x03") == std::string::npos, "no control byte inside");
    fuzz::Require(ReplyFrame(payload) == answer, "checksum of the payload");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 8192) return 0;
    const bool framed = data[0] & 1;
    const bool small = data[0] & 2;
    const bool faults = data[0] & 4;
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);

    // The frame reader alone: a command it reports carries a matching checksum.
    FrameReader reader;
    for (char c : input) {
        std::string command;
        if (reader.Feed(std::uint8_t(c), command) == FrameReader::Event::Command)
            fuzz::Require(command.size() <= FrameReader::kMaxFrame,
                          "command within the frame limit");
    }

    std::string options = small ? "size=256" : "size=512";
    if (faults)
        options += ",drop=0.1,corrupt=0.1,nak=0.1,split=0.2,lower=0.2,noise=0.2,spike=0.1,"
                   "ignore=0.1,short=0.1,seed=" +
                   std::to_string(size);
    std::string error;
    auto kobu = SimKobu::Create(options, error);
    fuzz::Require(kobu != nullptr, "simulator created");
    const Image before = kobu->Memory();

    Micros now = 0;
    auto answer = [&] {
        now += 5'000'000; // long enough for every reply and every radio delay
        std::string out(4096, '\0');
        out.resize(kobu->TakeDue(now, reinterpret_cast<std::uint8_t*>(out.data()), out.size()));
        return out;
    };
    if (framed) {
        std::size_t pos = 0;
        while (pos <= input.size()) {
            std::size_t end = input.find('\n', pos);
            if (end == std::string::npos) end = input.size();
            const std::string command = input.substr(pos, end - pos);
            const std::string frame = ReplyFrame(command);
            kobu->Receive(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size(), now);
            const std::string out = answer();
            // A command holding STX or ETX is several frames or none, with as many answers.
            if (!faults && command.find_first_of("\x02\x03") == std::string::npos) CheckAnswer(out);
            pos = end + 1;
        }
    } else {
        kobu->Receive(data + 1, size - 1, now);
        answer();
    }

    const Image after = kobu->Memory();
    fuzz::Require(kobu->Size() == (small ? 256u : 512u), "the unit keeps its size");
    for (unsigned a = mm::ReadOnlyFirst; a <= mm::ReadOnlyLast && a < kobu->Size(); ++a)
        fuzz::Require(after[a] == before[a], "read-only bytes never change");
    for (unsigned a = kobu->Size(); a < after.size(); ++a)
        fuzz::Require(after[a] == 0, "no bytes past");
    return 0;
}
