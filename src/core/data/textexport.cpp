#include "data/textexport.h"

#include "data/codec.h"
#include "data/cp1252.h"
#include "data/fileio.h"
#include "data/filewriter.h"

#include <vector>

namespace kivo {

namespace {

enum class Kind {
    Text,             // fixed text
    Dec,              // the byte in decimal
    Hex,              // the byte as 0x and two hex digits
    HexDigits,        // the byte as two hex digits (BCD date parts)
    Radio,            // transmitter field text; addr is the index
    Phone,            // telephone field text; addr is the index
    AlarmCode,        // alarm-code field text; addr is the index
    SequenceLetters,  // the seven destination letters
    SequenceSteps,    // four step letters from addr on
    HoursDaysMinutes, // coded duration with its unit
    HoursMinutes,     // coded duration with its unit
    RadioTest,        // 0xB0 in the variant the editor's heading decides
    Serial,           // 24-bit serial number
    Firmware,         // firmware version text
};

struct Line {
    Kind kind;
    const char* format; // one conversion at most: %d, %s, 0x%02X or the %c list
    unsigned addr;
};

// The lines in the order of the file.
const Line kLines[] = {
    {Kind::Text, "1. User area", 0},
    {Kind::Text, "1.1 Transmitters", 0},
    {Kind::Text, "No code, empty slot = 0x0000", 0},
    {Kind::Radio, "[0x00-0x01] ID code, transmitter 1: %s", 0},
    {Kind::Radio, "[0x02-0x03] ID code, transmitter 2: %s", 1},
    {Kind::Radio, "[0x04-0x05] ID code, transmitter 3: %s", 2},
    {Kind::Radio, "[0x06-0x07] ID code, transmitter 4: %s", 3},
    {Kind::Radio, "[0x08-0x09] ID code, transmitter 5: %s", 4},
    {Kind::Radio, "[0x0A-0x0B] ID code, transmitter 6: %s", 5},
    {Kind::Radio, "[0x0C-0x0D] ID code, transmitter 7: %s", 6},
    {Kind::Radio, "[0x0E-0x0F] ID code, transmitter 8: %s", 7},
    {Kind::Text, "", 0},
    {Kind::Text, "1.2 Telephone numbers", 0},
    {Kind::Text, "W=B wait 500ms, T=D Wait for dial tone, *=E, #=F, Stop dial=A", 0},
    {Kind::Text, "No number = 0xAAAAAAAAAAAAAAAA", 0},
    {Kind::Phone, "[0x10-0x17] Telephone number A: %s", 0},
    {Kind::Phone, "[0x18-0x1F] Telephone number B: %s", 1},
    {Kind::Phone, "[0x20-0x27] Telephone number C: %s", 2},
    {Kind::Phone, "[0x28-0x2F] Telephone number D: %s", 3},
    {Kind::Phone, "[0x30-0x37] Telephone number N: %s", 4},
    {Kind::Phone, "[0x38-0x3F] Telephone number V: %s", 5},
    {Kind::Text, "", 0},
    {Kind::Text, "1.3 Alarm codes", 0},
    {Kind::Text, "End of alarm code = A", 0},
    {Kind::AlarmCode, "[0x40-0x47] Alarm code A: %s", 0},
    {Kind::AlarmCode, "[0x48-0x4F] Alarm code B: %s", 1},
    {Kind::AlarmCode, "[0x50-0x57] Alarm code C: %s", 2},
    {Kind::AlarmCode, "[0x58-0x5F] Alarm code D: %s", 3},
    {Kind::AlarmCode, "[0x60-0x67] Alarm code N: %s", 4},
    {Kind::AlarmCode, "[0x68-0x6F] Alarm code V: %s", 5},
    {Kind::Text, "", 0},
    {Kind::Text, "1.4 Call sequences", 0},
    {Kind::SequenceLetters, "%c=0, %c=1, %c=2, %c=3, %c=4, %c=5, %c=6", 0},
    {Kind::SequenceSteps, "[0x70-0x73] Call sequence 1: ", 0x70},
    {Kind::SequenceSteps, "[0x74-0x77] Call sequence 2: ", 0x74},
    {Kind::SequenceSteps, "[0x78-0x7B] Call sequence 3: ", 0x78},
    {Kind::SequenceSteps, "[0x7C-0x7F] Call sequence 4: ", 0x7C},
    {Kind::Text, "", 0},
    {Kind::Text, "1.5 Sequence numbers", 0},
    {Kind::Dec, "[0x80] Sequence for User alarms:__________ %d", 0x80},
    {Kind::Dec, "[0x81] Sequence for External alarms:______ %d", 0x81},
    {Kind::Dec, "[0x82] Sequence for Technical alarms:_____ %d", 0x82},
    {Kind::Dec, "[0x83] Sequence for Smoke detector alarms: %d", 0x83},
    {Kind::Dec, "[0x84] Sequence for Burglar alarms:_______ %d", 0x84},
    {Kind::Dec, "[0x85] Sequence for Staff alarms:_________ %d", 0x85},
    {Kind::Dec, "[0x86] Sequence for Test alarms:__________ %d", 0x86},
    {Kind::Dec, "[0x87] Sequence for User activity alarms:_ %d", 0x87},
    {Kind::Dec, "[0x88] Sequence for Assistance alarms:____ %d", 0x88},
    {Kind::Dec, "[0x89] Sequence for User defined alarms:__ %d", 0x89},
    {Kind::Text, "", 0},
    {Kind::Text, "1.6 Protocols", 0},
    {Kind::Text,
     "0=Undefined, 1=TAVRA TALK, 2=CPC, 3=Tunstall, 4=Home phone, 5=Slave, 8=Auto answer", 0},
    {Kind::Text, "9=CPC Attendo.", 0},
    {Kind::Dec, "[0x8A] Protocol A: %d", 0x8A},
    {Kind::Dec, "[0x8B] Protocol B: %d", 0x8B},
    {Kind::Dec, "[0x8C] Protocol C: %d", 0x8C},
    {Kind::Dec, "[0x8D] Protocol D: %d", 0x8D},
    {Kind::Dec, "[0x8E] Protocol N: %d", 0x8E},
    {Kind::Dec, "[0x8F] Protocol V: %d", 0x8F},
    {Kind::Text, "", 0},
    {Kind::Text, "1.7 Alarm type definitions", 0},
    {Kind::Text, "Bit 7: (most significant bit)", 0},
    {Kind::Text, "   0=Not active", 0},
    {Kind::Text, "   1=Active", 0},
    {Kind::Text, "Bit 6:", 0},
    {Kind::Text, "   0=Place in queue", 0},
    {Kind::Text, "   1=Send directly", 0},
    {Kind::Text, "Bit 5:", 0},
    {Kind::Text, "   0=Not allowed to activate mic.", 0},
    {Kind::Text, "   1=Allowed to activate mic.", 0},
    {Kind::Text, "Bit 4:", 0},
    {Kind::Text, "   0=Not allowed to activate speaker", 0},
    {Kind::Text, "   1=Allowed to activate speaker", 0},
    {Kind::Text, "Bit 3:", 0},
    {Kind::Text, "   0=Not allowed to cancel alarm between call attempts", 0},
    {Kind::Text, "   1=Allowed to cancel alarm between call attempts", 0},
    {Kind::Text, "Bit 2:", 0},
    {Kind::Text, "   0=Not allowed to activate speaker during dialling", 0},
    {Kind::Text, "   1=Allowed to activate speaker during dialling", 0},
    {Kind::Text, "Bit 1:", 0},
    {Kind::Text, "   0=Low priority", 0},
    {Kind::Text, "   1=High priority", 0},
    {Kind::Text, "Bit 0:", 0},
    {Kind::Text, "   0=Reserved for future use (default)", 0},
    {Kind::Hex, "[0x90] User alarm from trigger:_____ 0x%02X", 0x90},
    {Kind::Hex, "[0x91] User alarm from button:______ 0x%02X", 0x91},
    {Kind::Hex, "[0x92] Reminder alarm:______________ 0x%02X", 0x92},
    {Kind::Hex, "[0x93] Passive alarm:_______________ 0x%02X", 0x93},
    {Kind::Hex, "[0x94] Door alarm:__________________ 0x%02X", 0x94},
    {Kind::Hex, "[0x95] Bed alarm:___________________ 0x%02X", 0x95},
    {Kind::Hex, "[0x96] Home indication:_____________ 0x%02X", 0x96},
    {Kind::Hex, "[0x97] Mains failure alarm:_________ 0x%02X", 0x97},
    {Kind::Hex, "[0x98] Mains OK indication:_________ 0x%02X", 0x98},
    {Kind::Hex, "[0x99] Accumulator alarm:___________ 0x%02X", 0x99},
    {Kind::Hex, "[0x9A] Battery alarm:_______________ 0x%02X", 0x9A},
    {Kind::Hex, "[0x9B] Smoke detector alarm:________ 0x%02X", 0x9B},
    {Kind::Hex, "[0x9C] Burglar alarm:_______________ 0x%02X", 0x9C},
    {Kind::Hex, "[0x9D] Presence indication:_________ 0x%02X", 0x9D},
    {Kind::Hex, "[0x9E] Ready indication:____________ 0x%02X", 0x9E},
    {Kind::Hex, "[0x9F] Auto ready indication:_______ 0x%02X", 0x9F},
    {Kind::Hex, "[0xA0] Action indication:___________ 0x%02X", 0xA0},
    {Kind::Hex, "[0xA1] Test alarm:__________________ 0x%02X", 0xA1},
    {Kind::Hex, "[0xA2] Accumulator full:____________ 0x%02X", 0xA2},
    {Kind::Hex, "[0xA3] Assistance alarm:____________ 0x%02X", 0xA3},
    {Kind::Hex, "[0xA4] User defined alarm type:_____ 0x%02X", 0xA4},
    {Kind::Hex, "[0xA5] User alarm, trigger low batt: 0x%02X", 0xA5},
    {Kind::Hex, "[0xA6] Radio interference alarm:____ 0x%02X", 0xA6},
    {Kind::Hex, "[0xA7] Log call:____________________ 0x%02X", 0xA7},
    {Kind::Hex, "[0xDD] Radio out of range:__________ 0x%02X", 0xDD},
    {Kind::Hex, "[0xDE] Radio within range:__________ 0x%02X", 0xDE},
    {Kind::Hex, "[0xDF] Away indication:_____________ 0x%02X", 0xDF},
    {Kind::Text, "", 0},
    {Kind::Text, "1.8 Alarm types to send", 0},
    {Kind::Hex, "[0xA8] Transmitter 1:_____________ 0x%02X", 0xA8},
    {Kind::Hex, "[0xA9] Transmitter 2:_____________ 0x%02X", 0xA9},
    {Kind::Hex, "[0xAA] Transmitter 3:_____________ 0x%02X", 0xAA},
    {Kind::Hex, "[0xAB] Transmitter 4:_____________ 0x%02X", 0xAB},
    {Kind::Hex, "[0xAC] Transmitter 5:_____________ 0x%02X", 0xAC},
    {Kind::Hex, "[0xAD] Transmitter 6:_____________ 0x%02X", 0xAD},
    {Kind::Hex, "[0xAE] Transmitter 7:_____________ 0x%02X", 0xAE},
    {Kind::Hex, "[0xAF] Transmitter 8:_____________ 0x%02X", 0xAF},
    {Kind::Hex, "[0xB2] Extra button:______________ 0x%02X", 0xB2},
    {Kind::Hex, "[0xB3] User defined alarm type ID: 0x%02X", 0xB3},
    {Kind::Text, "", 0},
    {Kind::Text, "1.9 Call attempts", 0},
    {Kind::Dec, "[0xB4] No of attempts A: %d", 0xB4},
    {Kind::Dec, "[0xB5] No of attempts B: %d", 0xB5},
    {Kind::Dec, "[0xB6] No of attempts C: %d", 0xB6},
    {Kind::Dec, "[0xB7] No of attempts D: %d", 0xB7},
    {Kind::Dec, "[0xB8] No of attempts N: %d", 0xB8},
    {Kind::Dec, "[0xB9] No of attempts R: %d", 0xB9},
    {Kind::Text, "", 0},
    {Kind::Text, "1.10 Call parameters", 0},
    {Kind::Dec, "[0xBA] Cycles of sequence:_______ %d", 0xBA},
    {Kind::Dec, "[0xBB] Max no of reminder alarms: %d", 0xBB},
    {Kind::Dec, "[0xBC] Max no of call attempts:__ %d", 0xBC},
    {Kind::Dec, "[0xBD] Demand for disc. command:_ %d (0=No, 1=Yes)", 0xBD},
    {Kind::Dec, "[0xBE] Single caller test alarm:_ %d (0=No, 1..255=Yes)", 0xBE},
    {Kind::Text, "", 0},
    {Kind::Text, "1.11 Alarm activation and timers", 0},
    {Kind::Dec, "[0xBF] Reminder alarm:_______________________ %d (minutes)", 0xBF},
    {Kind::HoursDaysMinutes, "[0xC0] Passive alarm:________________________ ", 0xC0},
    {Kind::HoursMinutes, "[0xC1] Mains failure alarm:__________________ ", 0xC1},
    {Kind::HoursDaysMinutes, "[0xC2] Test alarm interval:__________________ ", 0xC2},
    {Kind::Dec, "[0xC3] Dementia function:____________________ %d (0=No, 1=Yes)", 0xC3},
    {Kind::Dec, "[0xC4] Battery check interval:_______________ %d (h)", 0xC4},
    {Kind::Dec, "[0xC5] Max time in presence mode:____________ %d (0=Unlimited, (h))", 0xC5},
    {Kind::Dec, "[0xDB] Reset test alarm timer for all alarms: %d (0=No, 1=Yes)", 0xDB},
    {Kind::Dec, "[0xDC] Min time between interference alarms:_ %d (minutes)", 0xDC},
    {Kind::Dec, "[0xB1] Radio test alarm period:______________ %d (h)", 0xB1},
    {Kind::RadioTest, nullptr, mm::RadioTestSupervision},
    {Kind::Text, "", 0},
    {Kind::Text, "1.12 Indications", 0},
    {Kind::Dec,
     "[0xC6] Warning functions:_____________________ %d (0=No, 1=Visual, 2=Acoustical, 3=Visual "
     "and Acoustical)",
     0xC6},
    {Kind::Dec, "[0xC7] Signal level:__________________________ %d (1=Low, 2=Medium, 3=High)",
     0xC7},
    {Kind::Dec, "[0xC8] Conversation level:____________________ %d (1=Lowest, 2=Low, 3=High)",
     0xC8},
    {Kind::Dec,
     "[0xC9] Pre-call signal type:__________________ %d (1=Short, 2=Tone seq. 3=Happy, 4=Distinct)",
     0xC9},
    {Kind::Dec, "[0xCA] Pre-call Signal delay:_________________ %d (s)", 0xCA},
    {Kind::Dec, "[0xCB] Ringing signal in speaker:_____________ %d (0=No, 1=Yes)", 0xCB},
    {Kind::Dec, "[0xCC] Dialling in speaker:___________________ %d (0=No, 1=Yes)", 0xCC},
    {Kind::Dec, "[0xCD] Alarm button illumination:_____________ %d (0=LED off, 1-255=Yes)", 0xCD},
    {Kind::Dec, "[0xDA] Indication during call in battery mode: %d (0=No, 1=Yes)", 0xDA},
    {Kind::Text, "", 0},
    {Kind::Text, "1.13 Outgoing call", 0},
    {Kind::Dec, "[0xCE] Dialling mode:________________________ %d (0=DTMF, 1=Impulsing, 2=AUTO",
     0xCE},
    {Kind::Dec, "[0xCF] Dial tone detection:__________________ %d (0=No, 1=Yes)", 0xCF},
    {Kind::Dec, "[0xD0] Time to wait if no dial tone detector: %d (*100ms)", 0xD0},
    {Kind::Dec, "[0xD1] Time to wait for answer:______________ %d (s)", 0xD1},
    {Kind::Dec, "[0xD2] No of tones to wait for answer:_______ %d (0=Off, 1-255=Tones)", 0xD2},
    {Kind::Dec, "[0xF4] Max no of tones in speech:____________ %d", 0xF4},
    {Kind::Dec, "[0xD3] Time in between call attempts:________ %d (s)", 0xD3},
    {Kind::Dec, "[0xD4] Max conversation time:________________ %d (*10s)", 0xD4},
    {Kind::Dec, "[0xD5] Polarity change:______________________ %d (0=Off, 1=On)", 0xD5},
    {Kind::Dec, "[0xD6] Max time to wait until user hangs up:_ %d (minutes)", 0xD6},
    {Kind::Dec,
     "[0xF5] Replace digit:________________________ %d (0=Off, 1=Last digit in phone ID is "
     "transmitter ID)",
     0xF5},
    {Kind::Text, "", 0},
    {Kind::Text, "1.14 Incoming call", 0},
    {Kind::Dec, "[0xD7] Auto answer in programming mode: %d (0=No, 1-255=No of ringing signals)",
     0xD7},
    {Kind::Dec, "[0xD8] Auto answer in home phone mode:_ %d (0=No, 1-255=No of ringing signals)",
     0xD8},
    {Kind::Dec, "[0xD9] Transmitter answer:_____________ %d (0=No, 1=Yes)", 0xD9},
    {Kind::Text, "", 0},
    {Kind::Text, "2. Advanced area", 0},
    {Kind::Text, "2.1 Dialling", 0},
    {Kind::Dec, "[0xE0] DTMF Tone duration:_______________ %d (ms)", 0xE0},
    {Kind::Dec, "[0xE1] DTMF Pause duration:______________ %d (ms)", 0xE1},
    {Kind::Hex,
     "[0xE2] Impulsing type and speed:_________ 0x%02X (0X=N, 1X=N+1 X0=10pps, X1=20pps)", 0xE2},
    {Kind::Dec, "[0xE3] Impulsing open time:______________ %d (ms)", 0xE3},
    {Kind::Dec, "[0xE4] Impulsing pause before and after:_ %d (*10ms)", 0xE4},
    {Kind::Dec, "[0xE5] Impulsing pause in between digits: %d (*10ms)", 0xE5},
    {Kind::Text, "", 0},
    {Kind::Text, "2.2 Ringing signals and tones", 0},
    {Kind::Dec, "[0xF1] Min frequency dial- and call tones: %d", 0xF1},
    {Kind::Dec, "[0xF2] Max frequency dial- and call tones: %d", 0xF2},
    {Kind::Dec, "[0xE6] Min time for dial tone:____________ %d (*10ms)", 0xE6},
    {Kind::Dec, "[0xE7] Max interrupt in dial tone:________ %d (ms)", 0xE7},
    {Kind::Dec, "[0xE8] Min time for call tone:____________ %d (*10ms)", 0xE8},
    {Kind::Dec, "[0xE9] Max interrupt in call tone:________ %d (ms)", 0xE9},
    {Kind::Dec, "[0xEA] Min time for ringing signal:_______ %d (s)", 0xEA},
    {Kind::Dec, "[0xEB] Min period in ringing signal:______ %d (ms)", 0xEB},
    {Kind::Dec, "[0xEC] Max period in ringing signal:______ %d (ms)", 0xEC},
    {Kind::Dec, "[0xED] Min pause between ringing signals:_ %d (s)", 0xED},
    {Kind::Dec, "[0xEE] Max pause between ringing signals:_ %d (s)", 0xEE},
    {Kind::Text, "", 0},
    {Kind::Text, "2.3 Hardware control", 0},
    {Kind::Dec, "[0xEF] NiMH-battery charging time:________ %d (h)", 0xEF},
    {Kind::Dec, "[0xF0] Battery threshold value:___________ %d", 0xF0},
    {Kind::Dec, "[0xF3] Answer radio message with ACK:_____ %d (0=No, 1=Yes)", 0xF3},
    {Kind::Dec, "[0xF6] Radio interference threshold value: %d", 0xF6},
    {Kind::Dec, "[0xF7] Radio calibration:_________________ %d (read-only)", 0xF7},
    {Kind::Text, "", 0},
    {Kind::Text, "2.4 Product information (read-only values)", 0},
    {Kind::Dec, "[0xF8] Product model:_____ %d", 0xF8},
    {Kind::Dec, "[0xF9] Country:___________ %d", 0xF9},
    {Kind::HexDigits, "[0xFA] Production year:___ 20%s", 0xFA},
    {Kind::HexDigits, "[0xFB] Production month:__ %s", 0xFB},
    {Kind::HexDigits, "[0xFC] Production day:____ %s", 0xFC},
    {Kind::Serial, "[0xFD-0xFF] Serial number: %s", mm::SerialNumber},
    {Kind::Text, "", 0},
    {Kind::Text, "3. Extended area (from rev.7)", 0},
    {Kind::Text, "3.1 Version information", 0},
    {Kind::Firmware, "[0x100-0x102] Firmware:___ %s", 0},
    {Kind::Text, "", 0},
    {Kind::Text, "3.2 Signals and sound", 0},
    {Kind::Dec, "[0x104] Line volume, speaker level 1:____ %d", 0x104},
    {Kind::Dec, "[0x105] Line volume, speaker level 2:____ %d", 0x105},
    {Kind::Dec, "[0x106] Line volume, speaker level 3:____ %d", 0x106},
    {Kind::Dec, "[0x107] Line volume, speaker level Extra: %d", 0x107},
    {Kind::Dec, "[0x108] Line volume, dialing phase:______ %d", 0x108},
    {Kind::Dec, "[0x109] Signal volume, speaker level 1:__ %d", 0x109},
    {Kind::Dec, "[0x10A] Signal volume, speaker level 2:__ %d", 0x10A},
    {Kind::Dec, "[0x10B] Signal volume, speaker level 3:__ %d", 0x10B},
    {Kind::Dec, "[0x10C] Signal volume, line:_____________ %d", 0x10C},
    {Kind::Dec, "[0x10D] DTMF level:______________________ %d", 0x10D},
    {Kind::Dec, "[0x10E] DTMF sensitivity:________________ %d", 0x10E},
    {Kind::Text, "", 0},
    {Kind::Text, "3.3 Extended functions", 0},
    {Kind::Dec, "[0x103] Transmitter beep during call:______ %d", 0x103},
    {Kind::Dec, "[0x115] Passive alarm once only:___________ %d", 0x115},
    {Kind::Dec, "[0x116] Digit after unsuccessful dial tone: %d", 0x116},
    {Kind::Dec, "[0x11B] Reset passive timer, extra button:_ %d (0=No, 1=Yes)", 0x11B},
    {Kind::Text, "", 0},
    {Kind::Text, "3.4 Advanced functions", 0},
    {Kind::Dec, "[0x10F] Model identification Tunstall, byte 1:__ %d", 0x10F},
    {Kind::Dec, "[0x110] Model identification Tunstall, byte 2:__ %d", 0x110},
    {Kind::Dec, "[0x111] Model identification CPC, byte 1:_______ %d", 0x111},
    {Kind::Dec, "[0x112] Model identification CPC, byte 2:_______ %d", 0x112},
    {Kind::Dec, "[0x113] Min time without interrupt in dial tone: %d (ms)", 0x113},
    {Kind::Dec, "[0x119] Min time without interrupt in call tone: %d (ms)", 0x119},
    {Kind::Dec, "[0x114] Battery threshold in battery mode:______ %d", 0x114},
};

// Replaces the first conversion of `format` (%d, %s or %02X) by `value`.
std::string Put(const char* format, const std::string& value) {
    std::string f(format);
    for (const char* spec : {"%02X", "%d", "%s"}) {
        auto at = f.find(spec);
        if (at != std::string::npos) return f.replace(at, std::string(spec).size(), value);
    }
    return f;
}

std::string DurationText(const char* label, Duration d) {
    static constexpr const char* kUnit[] = {" (h)", " (days)", " (minutes)"};
    return std::string(label) + std::to_string(d.amount) + kUnit[static_cast<int>(d.unit)];
}

std::string LetterOrQuestion(const std::string& letters, std::uint8_t code) {
    char c = DestinationLetter(letters, code);
    return std::string(1, c ? c : '?');
}

std::string Render(const Line& line, const ExportInput& in) {
    const Image& img = *in.image;
    const std::uint8_t byte = line.addr < img.size() ? img[line.addr] : 0;
    switch (line.kind) {
    case Kind::Text:
        return line.format;
    case Kind::Dec:
        return Put(line.format, std::to_string(byte));
    case Kind::Hex:
        return Put(line.format, ByteToHex(byte));
    case Kind::HexDigits:
        return Put(line.format, ByteToHex(byte));
    case Kind::Radio:
        return Put(line.format, in.fields.radio[line.addr]);
    case Kind::Phone:
        return Put(line.format, in.fields.phone[line.addr]);
    case Kind::AlarmCode:
        return Put(line.format, in.fields.alarmCode[line.addr]);
    case Kind::SequenceLetters: {
        std::string out;
        for (std::uint8_t v = 0; v <= 6; ++v)
            out +=
                (v ? ", " : "") + LetterOrQuestion(in.sequenceLetters, v) + "=" + std::to_string(v);
        return out;
    }
    case Kind::SequenceSteps: {
        std::string out = line.format;
        for (unsigned s = 0; s < mm::kSequenceSteps; ++s)
            out += LetterOrQuestion(in.sequenceLetters, img[line.addr + s]) + " ";
        return out;
    }
    case Kind::HoursDaysMinutes:
        return DurationText(line.format, DecodeHoursDaysMinutes(byte));
    case Kind::HoursMinutes:
        return DurationText(line.format, DecodeHoursMinutes(byte));
    case Kind::RadioTest:
        switch (in.b0) {
        case B0Line::RadioTestAlarm:
            return "[0xB0] Radio test alarm on/off:______________ 0x" + ByteToHex(byte);
        case B0Line::AutoAnswerDuration:
            return "[0xB0] Auto answer duration, Paging:_________ " + std::to_string(byte) +
                   " (*10s)";
        case B0Line::Reserved:
            return "[0xB0] Reserved:_____________________________ 0x" + ByteToHex(byte);
        }
        return std::string();
    case Kind::Serial:
        return Put(line.format, std::to_string(SerialNumberOf(img)));
    case Kind::Firmware:
        return Put(line.format, FirmwareText(img));
    }
    return std::string();
}

// "[0x70-0x73] Call sequence 1: " -> addresses 0x70..0x73 and "Call sequence 1".
bool SplitLabel(const std::string& text, unsigned& first, unsigned& last, std::string& name) {
    if (text.compare(0, 3, "[0x") != 0) return false;
    auto close = text.find(']');
    if (close == std::string::npos) return false;
    std::string range = text.substr(1, close - 1);
    auto dash = range.find('-');
    first = static_cast<unsigned>(std::stoul(range.substr(0, dash), nullptr, 16));
    last = dash == std::string::npos
               ? first
               : static_cast<unsigned>(std::stoul(range.substr(dash + 1), nullptr, 16));
    name = text.substr(close + 2);
    name = name.substr(0, name.find(':'));
    while (!name.empty() && name.back() == '_') name.pop_back();
    return first <= last && last < mm::kImageBuffer;
}

} // namespace

std::string ParameterName(unsigned addr) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n(mm::kImageBuffer);
        for (const Line& line : kLines) {
            const char* text =
                line.kind == Kind::RadioTest ? "[0xB0] Radio test alarm on/off:" : line.format;
            unsigned first, last;
            std::string name;
            if (text && SplitLabel(text, first, last, name))
                for (unsigned a = first; a <= last; ++a) n[a] = name;
        }
        return n;
    }();
    return addr < names.size() ? names[addr] : std::string();
}

ExportFields FieldsFromImage(const Image& image) {
    ExportFields f;
    for (int t = 0; t < mm::kTransmitters; ++t)
        f.radio[t] = RadioCodeToText(&image[mm::RadioCodeAddr(t + 1)]);
    for (int d = 0; d < mm::kDestinations; ++d) {
        f.phone[d] = PhoneToText(&image[mm::PhoneAddr(d)]);
        f.alarmCode[d] = AlarmCodeToText(&image[mm::AlarmCodeAddr(d)]);
    }
    return f;
}

std::string ExportFileName(const ExportInput& in) {
    switch (in.imageSource) {
    case SourceDefault:
        return in.programFolder + "Default.txt";
    case SourceUnit: {
        const std::string& code = in.fields.alarmCode[0];
        return in.fileName + "(" + (code.empty() ? "null" : code) + ").txt";
    }
    default:
        return in.fileName + ".txt";
    }
}

std::string ExportText(const ExportInput& in) {
    std::string out = "Parameters in\r\n<";
    out += in.imageSource == SourceDefault ? std::string("Default.bin") : in.fileName;
    out += ">\r\n";
    out += "Values with prefix '0x' is hexadecimal, all other is decimal.\r\n\r\n";
    for (const Line& line : kLines) out += Render(line, in) + "\r\n";
    return out;
}

WriteStatus WriteTextExport(const ExportInput& in, const std::string& path) {
    return WriteFileAtomic(path, Utf8ToCp1252(ExportText(in)));
}

} // namespace kivo
