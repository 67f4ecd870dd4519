#include "editor/binding.h"

#include "data/codec.h"
#include "data/text.h"
#include "data/textexport.h"

#include <cmath>
#include <cstdlib>

namespace kivo {

namespace {

// What follows from a conversion for an edit field: its keys, its check and its length.
void Derive(Binding& b) {
    switch (b.conversion) {
    case Conversion::Number:
    case Conversion::Capped:
        b.key = KeyRule::Numeric;
        b.rule = ValueRule::Range0To255;
        b.maxLength = 3;
        break;
    case Conversion::Tens:
        b.key = KeyRule::Numeric;
        b.rule = ValueRule::Range0To2550;
        b.maxLength = 4;
        break;
    case Conversion::Tenths:
        b.key = KeyRule::Decimal;
        b.rule = ValueRule::Tenths;
        b.maxLength = 4;
        break;
    case Conversion::RadioCode:
        b.key = KeyRule::Radio;
        b.maxLength = 4;
        break;
    case Conversion::Telephone:
        b.key = KeyRule::Telephone;
        b.maxLength = 16;
        break;
    case Conversion::AlarmCode:
        b.key = KeyRule::AlarmCode;
        b.maxLength = 16;
        break;
    default:
        break;
    }
}

Binding Make(const std::string& name, unsigned addr, Conversion c) {
    Binding b;
    b.control = name;
    b.addr = addr;
    b.conversion = c;
    Derive(b);
    return b;
}

Binding List(const std::string& name, unsigned addr, const char* section, int capacity,
             bool reported = true, bool keepSeparators = true) {
    Binding b = Make(name, addr, Conversion::List);
    b.section = section;
    b.capacity = capacity;
    b.reported = reported;
    b.keepSeparators = keepSeparators;
    return b;
}

Binding YesNo(const std::string& name, unsigned addr) {
    return List(name, addr, "YesNo", 5);
}

Binding YesBit(const std::string& name, unsigned addr, std::uint8_t yes) {
    Binding b = List(name, addr, "YesNo", 5, false);
    b.conversion = Conversion::YesBit;
    b.yesByte = yes;
    return b;
}

std::vector<Binding> BuildTable() {
    using C = Conversion;
    std::vector<Binding> t;
    auto add = [&t](Binding b) { t.push_back(b); };
    auto num = [&](const char* name, unsigned addr) { add(Make(name, addr, C::Number)); };

    // Alarmquellen
    for (int n = 1; n <= mm::kTransmitters; ++n)
        add(Make("edtRadioPos" + std::to_string(n), mm::RadioCodeAddr(n), C::RadioCode));
    for (int n = 1; n <= mm::kTransmitters; ++n)
        add(List("cbbxAlarmTypePos" + std::to_string(n), mm::AlarmTypePos1 + n - 1, "AlarmType",
                 100));
    for (int n = 1; n <= mm::kTransmitters; ++n) {
        Binding b =
            Make("cbTestRadioPos" + std::to_string(n), mm::RadioTestSupervision, C::TestBit);
        b.bit = n - 1;
        add(b);
    }
    const std::pair<const char*, unsigned> internal[] = {
        {"cbTestAlarm", mm::FlagTestAlarm},
        {"cbMainsFailure", mm::FlagMainsFailure},
        {"cbMainsOK", mm::FlagMainsOk},
        {"cbRadioInterference", mm::FlagRadioInterference},
        {"cbRadioOutOfRange", mm::FlagRadioOutOfRange},
        {"cbRadioWithinRange", mm::FlagRadioWithinRange},
        {"cbAccumulator", mm::FlagAccumulator},
        {"cbEmergencyAlarm", mm::FlagAccumulatorFull},
        {"cbFrontButton", mm::FlagUserAlarmButton},
    };
    for (const auto& [name, addr] : internal) add(Make(name, addr, C::OnBit));
    add(List("cbbxAlarmTypeExtraButton", mm::AlarmTypeExtraButton, "AlarmType", 100, true, false));
    const std::pair<const char*, unsigned> additional[] = {
        {"cbReminder", mm::FlagReminder},          {"cbPassive", mm::FlagPassive},
        {"cbAssistance", mm::FlagAssistance},      {"cbLogCall", mm::FlagLogCall},
        {"cbAutoReady", mm::FlagAutoReady},        {"cbInactivity", mm::FlagAway},
        {"cbCarpetAlarm", mm::FlagHomeIndication}, {"cbAssaultAlarm", mm::FlagBurglar},
    };
    for (const auto& [name, addr] : additional) add(Make(name, addr, C::OnBit));

    // Sequenzen
    const char* groups[] = {"cbbxUserAlarms",         "cbbxExternalAlarms", "cbbxPowerAlarms",
                            "cbbxSmokeDetectorAlarm", "cbbxAssaultAlarms",  "cbbxPresenceAlarms",
                            "cbbxTestAlarm",          "cbbxEmergencyAlarm", "cbbxAssistanceAlarm",
                            "cbbxUserDefinedAlarm"};
    for (unsigned g = 0; g < 10; ++g)
        add(List(groups[g], mm::SeqUserAlarms + g, "SequenceNumber", 10));
    for (int s = 0; s < mm::kSequences; ++s)
        for (int step = 0; step < mm::kSequenceSteps; ++step)
            add(List("cbbxSequence" + std::to_string(s + 1) + "_" + std::to_string(step + 1),
                     mm::SequenceStepAddr(s, step), "CallSequence", 10));
    num("edtRepeatSequence", mm::RepeatSequence);
    num("edtMaxNoCallAttempts", mm::MaxCallAttempts);

    // Ruftypen
    for (int d = 0; d < mm::kDestinations; ++d)
        add(Make(std::string("edtTelephoneNo") + mm::kDestinationLetters[d], mm::PhoneAddr(d),
                 C::Telephone));
    for (int d = 0; d < mm::kDestinations; ++d)
        add(Make(std::string("edtAlarmCode") + mm::kDestinationLetters[d], mm::AlarmCodeAddr(d),
                 C::AlarmCode));
    for (int d = 0; d < mm::kDestinations; ++d) // a protocol without an item is not reported
        add(List(std::string("cbbxProtocol") + mm::kDestinationLetters[d], mm::ProtocolA + d,
                 "Protocol", 20, false));
    for (int d = 0; d < mm::kDestinations; ++d)
        num((std::string("edtCallAttempts") + mm::kDestinationLetters[d]).c_str(),
            mm::CallAttemptsA + d);

    // Zeiten und Signale
    add(Make("edtPassiveAlarmInterval", mm::PassiveInterval, C::Capped));
    add(Make("edtTimeToReminder", mm::ReminderDelay, C::Capped));
    num("edtMaxReminder", mm::MaxReminderAlarms);
    num("edtTimeToMainsFailure", mm::MainsFailureDelay);
    Binding test = Make("edtTestAlarmInterval", mm::TestAlarmInterval, C::Number);
    test.reported = true; // 0 is not a valid interval
    test.rule = ValueRule::TestAlarmInterval;
    add(test);
    num("edtBlockHomeCarePhone", mm::DementiaBlockTime);
    num("edtBatteryCheckInterval", mm::BatteryCheckInterval);
    num("edtMaxTimeInPresence", mm::MaxPresenceTime);
    num("edtTimeBetweenInterferenceAlarm", mm::MinInterferenceGap);
    add(YesNo("cbbxResetTestAlarmTimer", mm::ResetTestAlarmTimer));
    num("edtRadioTestAlarmPeriod", mm::RadioTestPeriod);
    add(List("cbbxWarningFunctions", mm::WarningFunctions, "WarningFunction", 10));
    add(List("cbbxSignalLevel", mm::SignalLevel, "LoudspeakerVolume", 10));
    add(List("cbbxConversationLevel", mm::ConversationLevel, "LoudspeakerVolume", 10));
    add(List("cbbxPrecallSignalType", mm::PrecallSignalType, "PrecallType", 10));
    num("edtPrecallSignalDelay", mm::PrecallSignalDelay);
    add(YesNo("cbbxRingingSignalInSpeaker", mm::RingingInSpeaker));
    add(YesNo("cbbxDiallingInSpeaker", mm::DiallingInSpeaker));
    add(YesNo("cbbxIndicationInBatteryMode", mm::BatteryModeIndication));
    add(YesBit("cbbxAlarmButtonIllumination", mm::ButtonIllumination, 0x80));

    // Rufparameter
    add(List("cbbxDiallingMode", mm::DiallingMode, "DiallingMode", 10));
    add(YesNo("cbbxDialToneDetection", mm::DialToneDetection));
    add(Make("edtWaitTimeNoDialToneDetector", mm::NoDialToneWait, C::Tenths));
    num("edtTimeToWaitForAnswer", mm::AnswerWaitTime);
    num("edtTonesToWaitForAnswer", mm::AnswerWaitTones);
    num("edtMaxTonesInSpeech", mm::MaxTonesInSpeech);
    num("edtTimeBetweenCalls", mm::TimeBetweenCalls);
    add(Make("edtMaxConversationTime", mm::MaxConversationTime, C::Tens));
    add(YesNo("cbbxPolarityChangeDetection", mm::PolarityChange));
    num("edtMaxOrdinaryCallTime", mm::MaxHangUpWait);
    add(YesNo("cbbxRequireDisconnection", mm::DemandDisconnection));
    Binding autoAnswer = Make("edtAutoAnswerDuration", mm::RadioTestSupervision, C::Tens);
    autoAnswer.onlyWhenShown = true; // shares 0xB0 with the test boxes, stored after them
    add(autoAnswer);
    add(YesNo("cbbxTransmitterAnswer", mm::TransmitterAnswer));
    num("edtAutoAnswerProgramming", mm::AutoAnswerProgramming);
    num("edtAutoAnswerHomephone", mm::AutoAnswerHomePhone);
    add(YesNo("cbbxReplaceLastDigit", mm::ReplaceDigit));
    num("edtUserDefinedAlarmTypeID", mm::UserDefinedAlarmTypeId);
    add(YesBit("cbbxCallerIDTestAlarm", mm::SingleCallerTestAlarm, 6));
    add(YesNo("cbbxAnswerRadioMessageWithAck", mm::RadioAck));

    // Erweiterte Funktionen
    add(YesNo("cbbxTransmitterBeepDuringConversation", mm::TransmitterBeep));
    add(YesNo("cbbxPassiveAlarmOnceOnly", mm::PassiveOnceOnly));
    add(List("cbbxDigitAfterUnsuccesfulDialTone", mm::DigitAfterNoDialTone, "DigitAfterNoDialTone",
             20));
    add(List(kServiceCallList, mm::ServiceCallType, "", 7));
    num("edtServiceCallInterval", mm::ServiceCallInterval);
    add(Make("edtProductModel", mm::ProductModel, C::ShowNumber));
    add(Make("edtCountry", mm::Country, C::ShowNumber));
    add(Make("edtProductionDate", mm::ProductionYear, C::ShowDate));
    add(Make("edtSerialNumber", mm::SerialNumber, C::ShowSerial));
    add(Make("edtFirmwareVersion", mm::FirmwareMajor, C::ShowFirmware));

    // Erweitert: the grid is stored after every other page and before the line volumes, so a
    // row overrides another page's control and the line-volume lists override a row.
    add(Make("sgAdvanced", 0, C::Grid));
    const char* volumes[] = {"cbbxLineVolume1", "cbbxLineVolume2", "cbbxLineVolume3",
                             "cbbxLineVolumeExtra", "cbbxLineVolumeDialingPhase"};
    for (unsigned v = 0; v < 5; ++v) add(List(volumes[v], mm::LineVolume1 + v, "LineVolume", 20));
    add(Make("edtRadioCalibration", mm::RadioCalibration, C::ShowNumber));
    return t;
}

// A grid row's address, or -1 for a row that names no address inside the image.
int GridAddress(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 3)
        return -1;
    int a = std::atoi(text.c_str());
    return a < static_cast<int>(mm::kImageBuffer) ? a : -1;
}

} // namespace

ControlKind KindOf(Conversion conversion) {
    switch (conversion) {
    case Conversion::List:
    case Conversion::YesBit:
        return ControlKind::List;
    case Conversion::OnBit:
    case Conversion::TestBit:
        return ControlKind::Check;
    case Conversion::ShowNumber:
    case Conversion::ShowDate:
    case Conversion::ShowSerial:
    case Conversion::ShowFirmware:
        return ControlKind::Shown;
    case Conversion::Grid:
        return ControlKind::Grid;
    default:
        return ControlKind::Edit;
    }
}

namespace conv {

std::optional<double> ReadDecimal(const std::string& text, char separator) {
    std::string normal;
    int separators = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            normal += c;
        else if ((c == separator || c == '.') && ++separators == 1)
            normal += '.';
        else if (c == '-' && normal.empty())
            normal += c;
        else
            return std::nullopt;
    }
    if (normal.empty() || normal == "." || normal == "-" || normal.size() > 16) return std::nullopt;
    return std::strtod(normal.c_str(), nullptr);
}

long ReadNumber(const std::string& text) {
    if (text.empty() || text.size() > 18) return 0;
    std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size() || text.find_first_not_of("0123456789", i) != std::string::npos) return 0;
    return std::strtol(text.c_str(), nullptr, 10);
}

std::uint8_t StoreNumber(const std::string& text) {
    return static_cast<std::uint8_t>(ReadNumber(text) & 0xFF);
}

std::uint8_t StoreCapped(const std::string& text) {
    std::uint8_t v = StoreNumber(text);
    return v == 255 ? 254 : v;
}

std::string ShowTens(std::uint8_t value) {
    return value == 0 ? std::string("0") : std::to_string(value) + "0";
}

std::uint8_t StoreTens(const std::string& text) {
    return static_cast<std::uint8_t>((ReadNumber(text) / 10) & 0xFF);
}

std::string ShowTenths(std::uint8_t value, char separator) {
    std::string s = std::to_string(value / 10);
    if (value % 10) s += std::string(1, separator) + std::to_string(value % 10);
    return s;
}

bool StoreTenths(const std::string& text, char separator, std::uint8_t& value) {
    // Digits with at most one separator; anything else, a sign too, is not a number here and
    // stores nothing.
    if (text.size() > 12 || text.find('-') != std::string::npos) return false;
    const std::optional<double> number = ReadDecimal(text, separator);
    if (!number) return false;
    const double v = *number * 10.0;
    value = static_cast<std::uint8_t>(static_cast<long>(std::floor(v + 1e-9)) & 0xFF);
    return true;
}

bool ProductionDate(const Image& image, int& year, int& month, int& day) {
    year = 2000 + static_cast<int>(BcdToNumber(image[mm::ProductionYear]));
    month = static_cast<int>(BcdToNumber(image[mm::ProductionMonth]));
    day = static_cast<int>(BcdToNumber(image[mm::ProductionDay]));
    if (month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}

} // namespace conv

const std::vector<Binding>& BindingTable() {
    // Built once and never changed: constant data, not state.
    static const std::vector<Binding> table = BuildTable();
    return table;
}

const Binding* FindBinding(const std::string& control) {
    for (const Binding& b : BindingTable())
        if (b.control == control) return &b;
    return nullptr;
}

int ImageToControls(const Image& image, ControlAccess& c) {
    int failing = -1;
    for (const Binding& b : BindingTable()) {
        const std::string& name = b.control;
        const std::uint8_t byte = image[b.addr];
        switch (b.conversion) {
        case Conversion::List: {
            int index = IndexOfValue(c.Values(name), byte);
            c.Select(name, index);
            if (index < 0 && b.reported) failing = static_cast<int>(b.addr);
            break;
        }
        case Conversion::YesBit:
            c.Select(name, IndexOfValue(c.Values(name), byte ? 1 : 0));
            break;
        case Conversion::OnBit:
            c.SetChecked(name, byte & 0x80);
            break;
        case Conversion::TestBit:
            c.SetChecked(name, (byte >> b.bit) & 1);
            break;
        case Conversion::Number:
        case Conversion::Capped:
        case Conversion::ShowNumber:
            c.SetText(name, std::to_string(byte));
            if (b.reported && byte == 0) failing = static_cast<int>(b.addr);
            break;
        case Conversion::Tens:
            if (!b.onlyWhenShown || c.Shown(name)) c.SetText(name, conv::ShowTens(byte));
            break;
        case Conversion::Tenths:
            c.SetText(name, conv::ShowTenths(byte, c.DecimalSeparator()));
            break;
        case Conversion::RadioCode:
            c.SetText(name, RadioCodeToText(&image[b.addr]));
            break;
        case Conversion::Telephone:
            c.SetText(name, PhoneToText(&image[b.addr]));
            break;
        case Conversion::AlarmCode:
            c.SetText(name, AlarmCodeToText(&image[b.addr]));
            break;
        case Conversion::ShowDate: {
            int y, m, d;
            c.SetText(name, conv::ProductionDate(image, y, m, d) ? c.DateText(y, m, d) : "---");
            break;
        }
        case Conversion::ShowSerial:
            c.SetText(name, std::to_string(SerialNumberOf(image)));
            break;
        case Conversion::ShowFirmware:
            c.SetText(name, FirmwareText(image));
            break;
        case Conversion::Grid:
            for (int row = 1; row <= c.GridRows(); ++row) {
                int addr = GridAddress(c.GridCell(row, 0));
                if (addr >= 0) c.SetGridCell(row, 2, std::to_string(image[addr]));
            }
            break;
        }
    }
    return failing;
}

void ControlsToImage(Image& image, ControlAccess& c) {
    for (const Binding& b : BindingTable()) {
        const std::string& name = b.control;
        std::uint8_t& byte = image[b.addr];
        switch (b.conversion) {
        case Conversion::List: {
            int value = ValueAtIndex(c.Values(name), c.Selected(name));
            if (value >= 0 && value <= 255) byte = static_cast<std::uint8_t>(value);
            break;
        }
        case Conversion::YesBit: {
            int value = ValueAtIndex(c.Values(name), c.Selected(name));
            if (value >= 0) byte = value == 0 ? 0 : b.yesByte;
            break;
        }
        case Conversion::OnBit:
            byte = static_cast<std::uint8_t>(c.Checked(name) ? byte | 0x80 : byte & 0x7F);
            break;
        case Conversion::TestBit:
            if (b.bit == 0) byte = 0; // the first box starts the byte afresh
            if (c.Checked(name)) byte = static_cast<std::uint8_t>(byte | (1u << b.bit));
            break;
        case Conversion::Number:
            byte = conv::StoreNumber(c.Text(name));
            break;
        case Conversion::Capped:
            byte = conv::StoreCapped(c.Text(name));
            break;
        case Conversion::Tens:
            if (!b.onlyWhenShown || c.Shown(name)) byte = conv::StoreTens(c.Text(name));
            break;
        case Conversion::Tenths:
            conv::StoreTenths(c.Text(name), c.DecimalSeparator(), byte);
            break;
        case Conversion::RadioCode:
            TextToRadioCode(c.Text(name), &byte);
            break;
        case Conversion::Telephone:
            TextToPhone(c.Text(name), &byte);
            break;
        case Conversion::AlarmCode:
            TextToAlarmCode(c.Text(name), &byte);
            break;
        case Conversion::ShowNumber:
        case Conversion::ShowDate:
        case Conversion::ShowSerial:
        case Conversion::ShowFirmware:
            break;
        case Conversion::Grid:
            for (int row = 1; row <= c.GridRows(); ++row) {
                int addr = GridAddress(c.GridCell(row, 0));
                if (addr < 0) continue;
                std::string text = Trim(c.GridCell(row, 2));
                long value = text.empty() ? 0 : conv::ReadNumber(text);
                image[addr] = value < 0 || value > 255 ? 0 : static_cast<std::uint8_t>(value);
            }
            break;
        }
    }
}

void ExportFieldsFromControls(ControlAccess& controls, ExportInput& in) {
    for (std::size_t n = 0; n < mm::kTransmitters; ++n)
        in.fields.radio[n] = controls.Text("edtRadioPos" + std::to_string(n + 1));
    for (std::size_t d = 0; d < mm::kDestinations; ++d) {
        in.fields.phone[d] =
            controls.Text(std::string("edtTelephoneNo") + mm::kDestinationLetters[d]);
        in.fields.alarmCode[d] =
            controls.Text(std::string("edtAlarmCode") + mm::kDestinationLetters[d]);
    }
    if (controls.Shown("lblRadioTestAlarm"))
        in.b0 = B0Line::RadioTestAlarm;
    else if (controls.Shown("lblAutoAnswerDuration"))
        in.b0 = B0Line::AutoAnswerDuration;
    else
        in.b0 = B0Line::Reserved;
}

std::vector<FilledList> FillEditorLists(const KivoIni& ini) {
    std::vector<FilledList> lists;
    for (const Binding& b : BindingTable()) {
        if (b.conversion != Conversion::List && b.conversion != Conversion::YesBit) continue;
        FilledList f;
        f.control = b.control;
        f.values = {kSentinel};
        if (f.control == kServiceCallList) {
            // Value 0 reads as the YesNo "no" text, 1..6 as the destinations.
            AddItem(f.items, ini.ReadValue("YesNo", "0"), f.values, 0);
            for (int v = 1; v <= 6; ++v)
                AddItem(f.items, ini.ReadValue("CallSequence", std::to_string(v)), f.values, v);
        } else {
            ini.FillFromSection(f.items, b.section, f.values, b.capacity, b.keepSeparators);
        }
        lists.push_back(std::move(f));
    }
    return lists;
}

} // namespace kivo
