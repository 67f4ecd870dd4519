// Byte addresses of the Kivo parameter image. Every part of the program that touches an image
// byte names it here; nothing else spells out an address.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kivo::mm {

using Addr = std::uint16_t;

constexpr std::size_t kImageBuffer = 512; // every image lives in a buffer of this size
constexpr std::size_t kSmallImage = 256;  // units before revision 7
constexpr std::size_t kLargeImage = 512;  // revision 7 and later
constexpr std::size_t kDialBytes = 8;
constexpr std::size_t kRadioCodeBytes = 2;
constexpr int kTransmitters = 8;
constexpr int kDestinations = 6;
// The destinations' letters in address order: four call numbers, night mode, redirection. The
// controls of destination d are named with its letter.
constexpr char kDestinationLetters[] = "ABCDNR";
static_assert(sizeof kDestinationLetters == kDestinations + 1);
constexpr int kSequences = 4;
constexpr int kSequenceSteps = 4;

// Areas. The editor's pages show 0x00..0xDF, its advanced grid 0xE0..0xF6; a write covers
// both, up to the byte before the unit's own.
constexpr Addr PagesAreaFirst = 0x00;
constexpr Addr PagesAreaLast = 0xDF;
constexpr Addr GridAreaFirst = 0xE0;
constexpr Addr GridAreaLast = 0xF6;
constexpr Addr ReadOnlyFirst = 0xF7; // 0xF7..0x102 are filled by the unit, never written
constexpr Addr ReadOnlyLast = 0x102;
constexpr Addr LowWritableLast = ReadOnlyFirst - 1; // the last byte of a write's first range
constexpr Addr SmallImageLast = 0xFF; // the top byte of a unit without the extended area
constexpr Addr ExtendedAreaFirst = 0x100;
constexpr Addr ExtendedWritableFirst = 0x103;
constexpr Addr ImageLast = 0x1FF;

// Transmitters, numbers, codes, sequences
constexpr Addr RadioCode1 = 0x00;    // transmitter n at RadioCode1 + 2*(n-1)
constexpr Addr PhoneA = 0x10;        // destination d (0=A..5=R) at PhoneA + 8*d
constexpr Addr AlarmCodeA = 0x40;    // destination d at AlarmCodeA + 8*d
constexpr Addr CallSequence1 = 0x70; // sequence s (0..3), step t (0..3) at +4*s+t
constexpr Addr SeqUserAlarms = 0x80;
constexpr Addr SeqExternalAlarms = 0x81;
constexpr Addr SeqTechnicalAlarms = 0x82;
constexpr Addr SeqSmokeAlarms = 0x83;
constexpr Addr SeqBurglarAlarms = 0x84;
constexpr Addr SeqStaffAlarms = 0x85;
constexpr Addr SeqTestAlarms = 0x86;
constexpr Addr SeqActivityAlarms = 0x87;
constexpr Addr SeqAssistanceAlarms = 0x88;
constexpr Addr SeqUserDefinedAlarms = 0x89;
constexpr Addr ProtocolA = 0x8A; // destination d at ProtocolA + d
constexpr Addr ProtocolLast = 0x8F;

// Alarm type flag bytes
constexpr Addr FlagUserAlarmTrigger = 0x90;
constexpr Addr FlagUserAlarmButton = 0x91;
constexpr Addr FlagReminder = 0x92;
constexpr Addr FlagPassive = 0x93;
constexpr Addr FlagDoor = 0x94;
constexpr Addr FlagBed = 0x95;
constexpr Addr FlagHomeIndication = 0x96;
constexpr Addr FlagMainsFailure = 0x97;
constexpr Addr FlagMainsOk = 0x98;
constexpr Addr FlagAccumulator = 0x99;
constexpr Addr FlagBattery = 0x9A;
constexpr Addr FlagSmoke = 0x9B;
constexpr Addr FlagBurglar = 0x9C;
constexpr Addr FlagPresence = 0x9D;
constexpr Addr FlagReady = 0x9E;
constexpr Addr FlagAutoReady = 0x9F;
constexpr Addr FlagAction = 0xA0;
constexpr Addr FlagTestAlarm = 0xA1;
constexpr Addr FlagAccumulatorFull = 0xA2;
constexpr Addr FlagAssistance = 0xA3;
constexpr Addr FlagUserDefined = 0xA4;
constexpr Addr FlagTriggerLowBattery = 0xA5;
constexpr Addr FlagRadioInterference = 0xA6;
constexpr Addr FlagLogCall = 0xA7;
constexpr Addr FlagRadioOutOfRange = 0xDD;
constexpr Addr FlagRadioWithinRange = 0xDE;
constexpr Addr FlagAway = 0xDF;

constexpr std::uint8_t FlagActive = 0x80;
constexpr std::uint8_t FlagSendDirectly = 0x40;
constexpr std::uint8_t FlagMicrophone = 0x20;
constexpr std::uint8_t FlagSpeaker = 0x10;
constexpr std::uint8_t FlagMayCancel = 0x08;
constexpr std::uint8_t FlagSpeakerDialling = 0x04;
constexpr std::uint8_t FlagHighPriority = 0x02;

// Alarm types sent, radio supervision, call handling
constexpr Addr AlarmTypePos1 = 0xA8; // transmitter n at AlarmTypePos1 + n-1
constexpr Addr RadioTestSupervision = 0xB0;
constexpr Addr RadioTestPeriod = 0xB1;
constexpr Addr AlarmTypeExtraButton = 0xB2;
constexpr Addr UserDefinedAlarmTypeId = 0xB3;
constexpr Addr CallAttemptsA = 0xB4; // destination d at CallAttemptsA + d
constexpr Addr RepeatSequence = 0xBA;
constexpr Addr MaxReminderAlarms = 0xBB;
constexpr Addr MaxCallAttempts = 0xBC;
constexpr Addr DemandDisconnection = 0xBD;
constexpr Addr SingleCallerTestAlarm = 0xBE;
constexpr Addr ReminderDelay = 0xBF;
constexpr Addr PassiveInterval = 0xC0;   // coded duration, hours-days-minutes
constexpr Addr MainsFailureDelay = 0xC1; // coded duration, hours-minutes
constexpr Addr TestAlarmInterval = 0xC2; // coded duration, hours-days-minutes; 0 invalid
constexpr Addr DementiaBlockTime = 0xC3;
constexpr Addr BatteryCheckInterval = 0xC4;
constexpr Addr MaxPresenceTime = 0xC5;
constexpr Addr WarningFunctions = 0xC6;
constexpr Addr SignalLevel = 0xC7;
constexpr Addr ConversationLevel = 0xC8;
constexpr Addr PrecallSignalType = 0xC9;
constexpr Addr PrecallSignalDelay = 0xCA;
constexpr Addr RingingInSpeaker = 0xCB;
constexpr Addr DiallingInSpeaker = 0xCC;
constexpr Addr ButtonIllumination = 0xCD;
constexpr Addr DiallingMode = 0xCE;
constexpr Addr DialToneDetection = 0xCF;
constexpr Addr NoDialToneWait = 0xD0;
constexpr Addr AnswerWaitTime = 0xD1;
constexpr Addr AnswerWaitTones = 0xD2;
constexpr Addr TimeBetweenCalls = 0xD3;
constexpr Addr MaxConversationTime = 0xD4;
constexpr Addr PolarityChange = 0xD5;
constexpr Addr MaxHangUpWait = 0xD6;
constexpr Addr AutoAnswerProgramming = 0xD7;
constexpr Addr AutoAnswerHomePhone = 0xD8;
constexpr Addr TransmitterAnswer = 0xD9;
constexpr Addr BatteryModeIndication = 0xDA;
constexpr Addr ResetTestAlarmTimer = 0xDB;
constexpr Addr MinInterferenceGap = 0xDC;

// Advanced area
constexpr Addr DtmfToneDuration = 0xE0;
constexpr Addr DtmfPauseDuration = 0xE1;
constexpr Addr ImpulsingType = 0xE2;
constexpr Addr ImpulsingOpenTime = 0xE3;
constexpr Addr ImpulsingPauseAround = 0xE4;
constexpr Addr ImpulsingPauseDigits = 0xE5;
constexpr Addr DialToneMinTime = 0xE6;
constexpr Addr DialToneMaxBreak = 0xE7;
constexpr Addr CallToneMinTime = 0xE8;
constexpr Addr CallToneMaxBreak = 0xE9;
constexpr Addr RingMinTime = 0xEA;
constexpr Addr RingMinPeriod = 0xEB;
constexpr Addr RingMaxPeriod = 0xEC;
constexpr Addr RingMinPause = 0xED;
constexpr Addr RingMaxPause = 0xEE;
constexpr Addr NimhChargingTime = 0xEF;
constexpr Addr BatteryThreshold = 0xF0;
constexpr Addr ToneMinFrequency = 0xF1;
constexpr Addr ToneMaxFrequency = 0xF2;
constexpr Addr RadioAck = 0xF3;
constexpr Addr MaxTonesInSpeech = 0xF4;
constexpr Addr ReplaceDigit = 0xF5;
constexpr Addr InterferenceThreshold = 0xF6;

// Read-only: filled by the unit
constexpr Addr RadioCalibration = 0xF7;
constexpr Addr ProductModel = 0xF8;
constexpr Addr Country = 0xF9;
constexpr Addr ProductionYear = 0xFA; // BCD, year 2000 + value
constexpr Addr ProductionMonth = 0xFB;
constexpr Addr ProductionDay = 0xFC;
constexpr Addr SerialNumber = 0xFD; // 24-bit, most significant byte first
constexpr Addr FirmwareMajor = 0x100;
constexpr Addr FirmwareMinor = 0x101;
constexpr Addr FirmwareVariant = 0x102;

// Extended area (512-byte units)
constexpr Addr TransmitterBeep = 0x103;
constexpr Addr LineVolume1 = 0x104;
constexpr Addr LineVolume2 = 0x105;
constexpr Addr LineVolume3 = 0x106;
constexpr Addr LineVolumeExtra = 0x107;
constexpr Addr LineVolumeDialling = 0x108;
constexpr Addr SignalVolume1 = 0x109;
constexpr Addr SignalVolume2 = 0x10A;
constexpr Addr SignalVolume3 = 0x10B;
constexpr Addr SignalVolumeLine = 0x10C;
constexpr Addr DtmfLevel = 0x10D;
constexpr Addr DtmfSensitivity = 0x10E;
constexpr Addr ModelIdTunstall1 = 0x10F;
constexpr Addr ModelIdTunstall2 = 0x110;
constexpr Addr ModelIdCpc1 = 0x111;
constexpr Addr ModelIdCpc2 = 0x112;
constexpr Addr DialToneMinUnbroken = 0x113;
constexpr Addr BatteryModeThreshold = 0x114;
constexpr Addr PassiveOnceOnly = 0x115;
constexpr Addr DigitAfterNoDialTone = 0x116;
constexpr Addr ServiceCallType = 0x117;
constexpr Addr ServiceCallInterval = 0x118;
constexpr Addr CallToneMinUnbroken = 0x119;
constexpr Addr ResetPassiveByExtraButton = 0x11B;

// The nine bytes that carry an alarm type code.
constexpr Addr kAlarmTypeBytes[] = {
    0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, AlarmTypeExtraButton};

constexpr Addr RadioCodeAddr(int transmitter) {
    return Addr(RadioCode1 + 2 * (transmitter - 1));
}
constexpr Addr PhoneAddr(int destination) {
    return Addr(PhoneA + 8 * destination);
}
constexpr Addr AlarmCodeAddr(int destination) {
    return Addr(AlarmCodeA + 8 * destination);
}
constexpr Addr SequenceStepAddr(int sequence, int step) {
    return Addr(CallSequence1 + 4 * sequence + step);
}

static_assert(RadioCodeAddr(kTransmitters) + kRadioCodeBytes == PhoneA);
static_assert(PhoneAddr(kDestinations) == AlarmCodeA);
static_assert(AlarmCodeAddr(kDestinations) == CallSequence1);
static_assert(SequenceStepAddr(kSequences, 0) == SeqUserAlarms);
static_assert(ImageLast + 1 == kImageBuffer);
static_assert(SmallImageLast + 1 == kSmallImage && ExtendedAreaFirst == kSmallImage);
static_assert(LowWritableLast == GridAreaLast && GridAreaLast + 1 == ReadOnlyFirst);

} // namespace kivo::mm
