// The memory a simulated unit starts with when no file is given: a unit as an installer
// leaves it, so that reading it shows something on every page.
#include "data/codec.h"
#include "sim/simunit.h"

#include <initializer_list>

namespace kivo::sim {

namespace {

void Put(Image& image, unsigned address, std::initializer_list<int> bytes) {
    for (int b : bytes) image[address++] = std::uint8_t(b);
}

} // namespace

Image StartImage() {
    Image m{};
    TextToRadioCode("4C3A", &m[mm::RadioCodeAddr(1)]);
    for (int d = 0; d < mm::kDestinations; ++d) {
        TextToPhone("", &m[mm::PhoneA + 8 * d]);
        TextToAlarmCode("", &m[mm::AlarmCodeA + 8 * d]);
    }
    TextToPhone("0401234567", &m[mm::PhoneA]);
    TextToPhone("0407654321", &m[mm::PhoneA + 8]);
    TextToAlarmCode("123456", &m[mm::AlarmCodeA]);
    TextToAlarmCode("123456", &m[mm::AlarmCodeA + 8]);

    Put(m, mm::CallSequence1, {1, 2, 0, 0, 1, 0, 0, 0, 1, 3, 0, 0, 1, 2, 3, 4});
    Put(m, mm::SeqUserAlarms, {1, 1, 2, 1, 1, 2, 2, 1, 1, 1});
    Put(m, mm::ProtocolA, {1, 1, 4, 4, 1, 4});
    Put(m, mm::FlagUserAlarmTrigger,
        {0xF6, 0xF6, 0x76, 0x76, 0xF6, 0xF6, 0x76, 0xC0, 0xC0, 0xC0, 0xC0, 0xF6,
         0x62, 0xC0, 0xC0, 0xC0, 0x40, 0xC0, 0xC0, 0xF4, 0x40, 0xF6, 0xC0, 0x40});
    Put(m, mm::AlarmTypePos1, {1, 1, 1, 12, 5, 6, 7, 4});
    Put(m, mm::RadioTestSupervision, {0x01, 25, 0, 0, 5, 5, 3, 3, 5, 3, 3, 3, 30, 1, 0, 60});
    Put(m, mm::PassiveInterval, {24, 1, 24, 0, 24, 2, 3, 3, 2, 2, 3, 1, 1, 0x80, 0, 1, 30, 60});
    Put(m, mm::AnswerWaitTones, {0, 15, 120, 0, 5, 0, 0, 1, 1, 1, 60, 0xC0, 0xC0, 0x76});
    Put(m, mm::DtmfToneDuration,
        {80, 80, 0, 60, 50, 80, 100, 50, 70, 50, 1, 20, 55, 2, 6, 16, 120, 75, 125, 0, 5, 0, 80});
    Put(m, mm::TransmitterBeep,
        {0, 4, 7, 10, 13, 5, 80, 140, 200, 100, 100, 100, 0, 0, 0, 0, 200, 110, 0, 10, 0, 0, 200});
    return m;
}

} // namespace kivo::sim
