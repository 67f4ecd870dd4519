#include "print/reportrows.h"

namespace kivo::report {

using F = Format;

const std::vector<ValueRow>& SequenceGroupRows() {
    static const std::vector<ValueRow> rows = {
        {13143, mm::SeqUserAlarms, F::Number},       {13144, mm::SeqExternalAlarms, F::Number},
        {13145, mm::SeqTechnicalAlarms, F::Number},  {13146, mm::SeqSmokeAlarms, F::Number},
        {13147, mm::SeqBurglarAlarms, F::Number},    {13148, mm::SeqStaffAlarms, F::Number},
        {13149, mm::SeqTestAlarms, F::Number},       {13150, mm::SeqActivityAlarms, F::Number},
        {13151, mm::SeqAssistanceAlarms, F::Number}, {13152, mm::SeqUserDefinedAlarms, F::Number},
    };
    return rows;
}

const std::vector<ValueRow>& TimeRows() {
    static const std::vector<ValueRow> rows = {
        {13180, mm::PassiveInterval, F::IntervalWithDays},
        {13182, mm::ReminderDelay, F::Minutes},
        {13183, mm::MaxReminderAlarms, F::Number},
        {13184, mm::MainsFailureDelay, F::IntervalWithoutDays},
        {13186, mm::TestAlarmInterval, F::IntervalWithDays},
        {13188, mm::DementiaBlockTime, F::Minutes},
        {13189, mm::BatteryCheckInterval, F::Hours},
        {13190, mm::MaxPresenceTime, F::Hours},
        {13191, mm::MinInterferenceGap, F::Minutes},
        {13192, mm::ResetTestAlarmTimer, F::List, "YesNo"},
        {13193, mm::RadioTestPeriod, F::Hours},
    };
    return rows;
}

const std::vector<ValueRow>& SignalRows() {
    static const std::vector<ValueRow> rows = {
        {13199, mm::WarningFunctions, F::List, "WarningFunction"},
        {13200, mm::SignalLevel, F::List, "LoudspeakerVolume"},
        {13201, mm::ConversationLevel, F::List, "LoudspeakerVolume"},
        {13202, mm::PrecallSignalType, F::List, "PrecallType"},
        {13203, mm::PrecallSignalDelay, F::Seconds},
        {13204, mm::RingingInSpeaker, F::List, "YesNo"},
        {13205, mm::DiallingInSpeaker, F::List, "YesNo"},
        {13206, mm::BatteryModeIndication, F::List, "YesNo"},
        {13207, mm::ButtonIllumination, F::SwitchNotZero},
        {13607, mm::FlagUserAlarmButton, F::SwitchBit7},
        {13142, mm::AlarmTypeExtraButton, F::List, "AlarmType"},
    };
    return rows;
}

const std::vector<ValueRow>& CallParameterRows() {
    static const std::vector<ValueRow> rows = {
        {13208, mm::DiallingMode, F::List, "DiallingMode"},
        {13209, mm::DialToneDetection, F::List, "YesNo"},
        {13210, mm::NoDialToneWait, F::TenthsOfSeconds},
        {13211, mm::AnswerWaitTime, F::Seconds},
        {13212, mm::AnswerWaitTones, F::Number},
        {13213, mm::MaxTonesInSpeech, F::Number},
        {13214, mm::TimeBetweenCalls, F::Seconds},
        {13215, mm::MaxConversationTime, F::TensOfSeconds},
        {13216, mm::PolarityChange, F::List, "YesNo"},
        {13217, mm::MaxHangUpWait, F::Minutes},
        {13218, mm::DemandDisconnection, F::List, "YesNo"},
        {13220, mm::TransmitterAnswer, F::List, "YesNo"},
        {13221, mm::AutoAnswerProgramming, F::Number},
        {13222, mm::AutoAnswerHomePhone, F::Number},
        {13224, mm::ReplaceDigit, F::List, "YesNo"},
        {13225, mm::UserDefinedAlarmTypeId, F::Number},
        {13226, mm::RadioAck, F::List, "YesNo"},
    };
    return rows;
}

const std::vector<BoxRow>& AlarmTypeRowsLeft() {
    static const std::vector<BoxRow> rows = {
        {13303, mm::FlagUserAlarmTrigger},
        {13324, mm::FlagTriggerLowBattery},
        {13304, mm::FlagUserAlarmButton},
        {13305, mm::FlagReminder},
        {13306, mm::FlagPassive},
        {13307, mm::FlagDoor},
        {13308, mm::FlagBed},
        {13309, mm::FlagHomeIndication},
        {13310, mm::FlagMainsFailure},
        {13311, mm::FlagMainsOk},
        {13312, mm::FlagAccumulator},
        {13313, mm::FlagBattery},
        {13314, mm::FlagSmoke},
        {13315, mm::FlagBurglar},
    };
    return rows;
}

const std::vector<BoxRow>& AlarmTypeRowsRight() {
    static const std::vector<BoxRow> rows = {
        {13316, mm::FlagPresence},
        {13317, mm::FlagReady},
        {13318, mm::FlagAutoReady},
        {13319, mm::FlagAction},
        {13320, mm::FlagTestAlarm},
        {13321, mm::FlagAccumulatorFull},
        {13322, mm::FlagAssistance},
        {13323, mm::FlagUserDefined},
        {13326, mm::FlagLogCall},
        {13325, mm::FlagRadioInterference},
        {13327, mm::FlagRadioOutOfRange},
        {13328, mm::FlagRadioWithinRange},
        {13329, mm::FlagAway},
    };
    return rows;
}

const std::vector<ValueRow>& FunctionRows() {
    static const std::vector<ValueRow> rows = {
        {13235, mm::TransmitterBeep, F::List, "YesNo"},
        {13236, mm::PassiveOnceOnly, F::List, "YesNo"},
        {13237, mm::DigitAfterNoDialTone, F::List, "DigitAfterNoDialTone"},
    };
    return rows;
}

} // namespace kivo::report
