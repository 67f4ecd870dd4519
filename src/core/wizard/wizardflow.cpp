// The wizard's pages: their order, what each shows, stores and checks when it is left.
#include "wizard/wizard.h"

#include "app/filemessages.h"
#include "data/text.h"

#include "data/codec.h"
#include "data/fileio.h"
#include "data/filetarget.h"
#include "data/memorymap.h"

#include <algorithm>
#include <cctype>

namespace kivo::wizard {

namespace {

constexpr int kUnitHours = 13196;   // "Std"
constexpr int kUnitMinutes = 13195; // "Min"
constexpr long kFieldCap = 99999;
constexpr int kByteMax = 255;

bool InRange(int state, int first, int last) {
    return state >= first && state <= last;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Fields the wizard does not limit as the editor does: a number above a byte is stored as the
// largest byte, so no field ever wraps round to a small value.
std::uint8_t ByteOf(long number) {
    return static_cast<std::uint8_t>(std::clamp<long>(number, 0, kByteMax));
}

// Call attempts: an empty (or unreadable) field counts 5.
int AttemptsOf(const std::string& text) {
    const long n = FieldNumber(text);
    return n < 0 ? 5 : ByteOf(n);
}

void SetBit7(Image& image, int address, bool on) {
    if (on)
        image[address] |= mm::FlagActive;
    else
        image[address] &= static_cast<std::uint8_t>(~mm::FlagActive);
}

bool Bit7(const Image& image, int address) {
    return (image[address] & mm::FlagActive) != 0;
}

void SetChoice(Image& image, int address, int value) {
    // Nothing chosen: the byte keeps what it holds.
    if (value >= 0) image[address] = ByteOf(value);
}

int ListOfState(int state) {
    if (InRange(state, StateFirstGroups, StateLastGroups)) return state - StateFirstGroups + 1;
    if (InRange(state, StateFirstList, StateLastList)) return state - StateFirstList + 1;
    return 0;
}

void StoreListRecord(Answers& answers, int d, const PageValues& values) {
    ListRecord& record = answers.lists[d - 1];
    for (int j = 0; j < kAttempts; ++j) {
        record.phone[j] = values.phone[j];
        if (values.protocol[j] >= 0) record.protocol[j] = ByteOf(values.protocol[j]);
        record.attempts[j] = AttemptsOf(values.attempts[j]);
    }
}

void StoreNightMode(Image& image, PageValues& values) {
    if (!values.nightMode) values.nightPhone.clear();
    TextToPhone(values.nightPhone, &image[mm::PhoneA + 8 * 4]);
    SetChoice(image, mm::ProtocolA + 4, values.nightProtocol);
    image[mm::CallAttemptsA + 4] = static_cast<std::uint8_t>(AttemptsOf(values.nightAttempts));
}

void StoreCount(Answers& answers, PageValues& values) {
    const int t = answers.state - StateFirstType;
    long n = FieldNumber(values.count);
    if (n < 0) {
        values.count = "0";
        n = 0;
    }
    answers.counts[t] = static_cast<int>(n);
}

// Tick first, then the time only when it passes the page's check; the box number on failure.
int StoreInternalAlarm(int state, Image& image, const PageValues& values) {
    const InternalAlarmPage page = InternalAlarmOf(state);
    if (page.flag >= 0) SetBit7(image, page.flag, values.internalTick);
    if (page.byteTick >= 0) image[page.byteTick] = values.internalTick ? 1 : 0;
    if (page.extraButton) SetChoice(image, mm::AlarmTypeExtraButton, values.extraButtonType);
    if (page.timeAddress < 0) return 0;
    const long n = FieldNumber(values.internalTime);
    if (n < 0 || n > page.largest) return page.textBase + 4;
    image[page.timeAddress] = static_cast<std::uint8_t>(n);
    return 0;
}

void StorePrecall(Image& image, const PageValues& values) {
    SetChoice(image, mm::PrecallSignalType, values.precallType);
    const long n = FieldNumber(values.precallDuration);
    image[mm::PrecallSignalDelay] = n < 0 ? 0 : ByteOf(n);
}

// Next on a group page: the lists are complete once list 4 is done or every group is taken.
bool LeaveGroupPage(Answers& answers, int L, Outcome& out) {
    unsigned all = 0;
    for (int i = 0; i < L; ++i) all |= answers.groupMask[i];
    if (L < kLists && all != kAllGroups) {
        if (answers.groupMask[L - 1] == 0) {
            out.boxes.push_back({11233, false, {}});
            return false;
        }
        return true;
    }
    for (int i = L; i < kLists; ++i) answers.groupMask[i] = 0;
    bool error = false;
    for (int g = 1; g <= kGroups; ++g) {
        int holders = 0;
        for (unsigned mask : answers.groupMask)
            if (mask & (1u << (g - 1))) ++holders;
        if (holders == 0) out.boxes.push_back({11231, false, {GroupName(g)}});
        if (holders > 1) {
            out.boxes.push_back({11232, false, {GroupName(g)}});
            error = true;
        }
    }
    return !error;
}

bool Save(Answers& answers, const KivoData& data, const PageValues& values, const Environment& env,
          Outcome& out) {
    answers.saveConfig = values.saveConfig;
    answers.saveName = values.saveName;
    if (!values.saveConfig) return true;
    const std::string name = Trim(values.saveName);
    if (name.empty()) {
        out.boxes.push_back({11276, false, {}});
        return false;
    }
    const std::string path = ConfigurationPath(env.configFolder, name);
    if (path.empty()) {
        out.boxes.push_back({15012, false, {}});
        return false;
    }
    // A write-protected file is refused before the user is asked to overwrite it.
    if (WriteProtected(path)) {
        out.boxes.push_back({13803, false, {}});
        return false;
    }
    if (FileExists(path) && !(env.overwrite && env.overwrite())) return false;
    if (const WriteStatus saved = data.SaveImage512(path); !saved.ok()) {
        const FileMessage m = SaveFailureMessage(saved, path);
        out.boxes.push_back({m.textId, false, m.args});
        return false;
    }
    out.boxes.push_back({11275, false, {}});
    return true;
}

bool StoreRadioCodes(Image& image, const PageValues& values, Outcome& out) {
    for (int a = 0; a < kPositions; ++a)
        for (int b = a + 1; b < kPositions; ++b)
            if (!values.radioCode[a].empty() &&
                Upper(values.radioCode[a]) == Upper(values.radioCode[b])) {
                out.boxes.push_back({11287, true, {}});
                return false;
            }
    for (int n = 0; n < kPositions; ++n)
        TextToRadioCode(values.radioCode[n], &image[mm::RadioCode1 + 2 * n]);
    return true;
}

} // namespace

bool IsState(int state) {
    return SheetOf(state) >= 0;
}

namespace {

// Every state of the wizard, one row each (or one row for a run of like states): the sheet it
// shows, its picture, and for the internal alarms what the page stands for.
struct PageRow {
    int first, last;
    int sheet;
    int picture;
    int flag = -1;        // internal alarms: the flag byte whose bit 7 the tick is
    int byteTick = -1;    // or the byte the tick sets to 1/0
    int timeAddress = -1; // and the byte of its time field
    int unitText = 0;
    int largest = 0;
    bool extraButton = false;
};

const PageRow kPages[] = {
    {StateStart, StateStart, 0, 0},
    {11, 11, 1, 1},
    {12, 12, 1, 2},
    {13, 13, 1, 3},
    {14, 14, 1, 4},
    {15, 15, 1, 5},
    {16, 16, 1, 6},
    {StateTestAlarm, StateTestAlarm, 2, 7},
    {21, 21, 3, 8, mm::FlagMainsFailure, -1, mm::MainsFailureDelay, kUnitHours, 255},
    {22, 22, 3, 8, mm::FlagMainsOk},
    {23, 23, 3, 9, mm::FlagAccumulator},
    {24, 24, 3, 10, mm::FlagReminder, -1, mm::ReminderDelay, kUnitMinutes, 254},
    {25, 25, 3, 11, mm::FlagAutoReady, -1, mm::MaxPresenceTime, kUnitHours, 255},
    {26, 26, 3, 12, mm::FlagAssistance},
    {27, 27, 3, 13, mm::FlagRadioInterference, -1, mm::MinInterferenceGap, kUnitMinutes, 255},
    {28, 28, 3, 14, mm::FlagUserAlarmButton},
    {StateExtraButton, StateExtraButton, 3, 11, -1, -1, -1, 0, 0, true},
    {30, 30, 3, 15, -1, mm::TransmitterAnswer},
    {31, 31, 3, 15, -1, mm::DiallingInSpeaker},
    {32, 32, 3, 6, mm::FlagPassive, -1, mm::PassiveInterval, kUnitHours, 254},
    {StatePrecall, StatePrecall, 4, 15},
    {StateChooseLists, StateChooseLists, 5, 16},
    {StateFirstGroups, StateLastGroups, 6, 17},
    {StateFirstList, StateLastList, 7, 16},
    {StateOneList, StateOneList, 7, 16},
    {StateNightMode, StateNightMode, 8, 18},
    {StateSave, StateSave, 9, 19},
    {StateLearn, StateLearn, 10, 17},
    {StateProgram, StateProgram, 11, 20},
};
static_assert(StateLastInternal == 32 && StateFirstInternal == 21, "the internal alarm rows");

const PageRow* PageOf(int state) {
    for (const PageRow& row : kPages)
        if (InRange(state, row.first, row.last)) return &row;
    return nullptr;
}

} // namespace

int SheetOf(int state) {
    const PageRow* row = PageOf(state);
    return row ? row->sheet : -1;
}

int PictureOf(int state) {
    const PageRow* row = PageOf(state);
    return row ? row->picture : -1;
}

InternalAlarmPage InternalAlarmOf(int state) {
    InternalAlarmPage p;
    const PageRow* row = PageOf(state);
    if (!row || !InRange(state, StateFirstInternal, StateLastInternal)) return p;
    p.textBase = 11041 + 10 * (state - StateFirstInternal);
    p.flag = row->flag;
    p.byteTick = row->byteTick;
    p.timeAddress = row->timeAddress;
    p.unitText = row->unitText;
    p.largest = row->largest;
    p.extraButton = row->extraButton;
    return p;
}

long FieldNumber(const std::string& text) {
    const std::string t = Trim(text);
    if (t.empty()) return -1;
    long n = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return -1;
        n = std::min(kFieldCap, n * 10 + (c - '0'));
    }
    return n;
}

int NextState(const Answers& answers, int state) {
    switch (state) {
    case StateStart:
        return StateFirstType;
    case StateLastType:
        return StateTestAlarm;
    case StateTestAlarm:
        return StateFirstInternal;
    case StateLastInternal:
        return StatePrecall;
    case StatePrecall:
        return StateChooseLists;
    case StateChooseLists:
        return answers.severalLists ? StateFirstGroups : StateOneList;
    case StateLastGroups:
        return StateFirstList;
    case StateLastList:
    case StateOneList:
        return StateNightMode;
    case StateNightMode:
        return StateSave;
    case StateSave:
        return StateLearn;
    case StateLearn:
    case StateProgram:
        return StateProgram;
    default:
        break;
    }
    if (InRange(state, StateFirstList, StateLastList) &&
        state - StateFirstList + 1 >= answers.lastList)
        return StateNightMode;
    return state + 1;
}

int BackState(const Answers& answers, int state) {
    switch (state) {
    case StateStart:
    case StateFirstType:
        return StateStart;
    case StateTestAlarm:
        return StateLastType;
    case StateFirstInternal:
        return StateTestAlarm;
    case StatePrecall:
        return StateLastInternal;
    case StateChooseLists:
        return StatePrecall;
    case StateFirstGroups:
    case StateOneList:
        return StateChooseLists;
    case StateFirstList:
        return answers.lastGroupPage;
    case StateNightMode:
        return answers.severalLists ? StateFirstList - 1 + answers.lastList : StateOneList;
    case StateSave:
        return StateNightMode;
    case StateLearn:
        return StateSave;
    case StateProgram:
        return StateLearn;
    default:
        return state - 1;
    }
}

PageValues Show(Answers& answers, const Image& image) {
    const int state = answers.state;
    PageValues v;
    if (InRange(state, StateFirstType, StateLastType)) {
        v.count = std::to_string(answers.counts[state - StateFirstType]);
    } else if (state == StateTestAlarm) {
        const int interval = image[mm::TestAlarmInterval];
        v.testInDays = interval > 100;
        v.testValue = std::to_string(v.testInDays ? interval - 100 : interval);
        v.testAlarm = Bit7(image, mm::FlagTestAlarm);
    } else if (InRange(state, StateFirstInternal, StateLastInternal)) {
        const InternalAlarmPage page = InternalAlarmOf(state);
        if (page.flag >= 0) v.internalTick = Bit7(image, page.flag);
        if (page.byteTick >= 0) v.internalTick = image[page.byteTick] != 0;
        if (page.timeAddress >= 0) v.internalTime = std::to_string(image[page.timeAddress]);
        v.extraButtonType = image[mm::AlarmTypeExtraButton];
    } else if (state == StatePrecall) {
        v.precallType = image[mm::PrecallSignalType];
        v.precallDuration = std::to_string(image[mm::PrecallSignalDelay]);
    } else if (state == StateChooseLists) {
        v.severalLists = answers.severalLists;
    } else if (InRange(state, StateFirstGroups, StateLastGroups)) {
        const int L = ListOfState(state);
        v.groups = answers.groupMask[L - 1];
        v.available = answers.availableMask[L - 1];
        answers.lastGroupPage = state;
    } else if (InRange(state, StateFirstList, StateLastList)) {
        answers.lastList = 1;
        for (int i = 0; i < kLists; ++i)
            if (answers.groupMask[i] != 0) answers.lastList = i + 1;
        const int d = ListOfState(state);
        const ListRecord& record = answers.lists[d - 1];
        for (int j = 0; j < kAttempts; ++j) {
            v.phone[j] = record.phone[j];
            v.protocol[j] = record.protocol[j];
            v.attempts[j] = std::to_string(record.attempts[j]);
        }
        for (int g = 1; g <= kGroups; ++g)
            if (answers.groupMask[d - 1] & (1u << (g - 1)))
                v.listGroupNames.push_back(GroupName(g));
        v.rowsEnabled = answers.groupMask[d - 1] != 0;
    } else if (state == StateOneList) {
        for (int j = 0; j < kAttempts; ++j) {
            v.phone[j] = PhoneToText(&image[mm::PhoneA + 8 * j]);
            v.protocol[j] = image[mm::ProtocolA + j];
            v.attempts[j] = std::to_string(image[mm::CallAttemptsA + j]);
        }
    } else if (state == StateNightMode) {
        v.nightPhone = PhoneToText(&image[mm::PhoneA + 8 * 4]);
        v.nightProtocol = image[mm::ProtocolA + 4];
        v.nightAttempts = std::to_string(image[mm::CallAttemptsA + 4]);
        v.nightMode = !v.nightPhone.empty();
    } else if (state == StateSave) {
        v.saveConfig = answers.saveConfig;
        v.saveName = answers.saveName;
    } else if (state == StateLearn) {
        for (int n = 0; n < kPositions; ++n)
            v.radioCode[n] = RadioCodeToText(&image[mm::RadioCode1 + 2 * n]);
    }
    return v;
}

Outcome Leave(Answers& answers, KivoData& data, PageValues& values, Action action,
              const Environment& env) {
    Outcome out;
    Image& image = data.image;
    const int state = answers.state;
    auto move = [&](int target) {
        answers.state = target;
        answers.step += action == ActionNext ? 1 : -1;
        out.moved = true;
        return out;
    };
    auto stay = [&](int box, bool error = false) {
        if (box) out.boxes.push_back({box, error, {}});
        return out;
    };
    // Controls whose state the page keeps whichever way it is left.
    if (state == StateChooseLists) answers.severalLists = values.severalLists;
    if (state == StateSave && action == ActionBack) {
        answers.saveConfig = values.saveConfig;
        answers.saveName = values.saveName;
    }

    if (action == ActionBack) {
        if (state == StateStart) return out;
        if (InRange(state, StateFirstType, StateLastType)) StoreCount(answers, values);
        if (InRange(state, StateFirstInternal, StateLastInternal))
            if (const int box = StoreInternalAlarm(state, image, values)) return stay(box);
        if (state == StatePrecall) StorePrecall(image, values);
        if (InRange(state, StateFirstGroups, StateLastGroups))
            answers.groupMask[ListOfState(state) - 1] = values.groups & kAllGroups;
        if (InRange(state, StateFirstList, StateLastList))
            StoreListRecord(answers, ListOfState(state), values);
        if (state == StateNightMode) StoreNightMode(image, values);
        return move(BackState(answers, state));
    }
    if (action != ActionNext) return out;

    if (InRange(state, StateFirstType, StateLastType)) {
        StoreCount(answers, values);
        if (state < StateLastType) return move(state + 1);
        int sum = 0;
        for (int c : answers.counts) sum += c;
        if (sum > kPositions) return stay(11343);
        StoreTransmitterTypes(answers, image);
        return move(StateTestAlarm);
    }
    switch (state) {
    case StateStart:
        return move(StateFirstType);
    case StateTestAlarm: {
        if (!values.testAlarm) {
            SetBit7(image, mm::FlagTestAlarm, false);
            return move(StateFirstInternal);
        }
        if (Trim(values.testValue).empty()) {
            // No interval given: the test alarm goes off with the unit's usual day.
            image[mm::TestAlarmInterval] = 24;
            SetBit7(image, mm::FlagTestAlarm, false);
            return out;
        }
        const long n = FieldNumber(values.testValue);
        if (!values.testInDays && (n < 1 || n > 100)) return stay(11341);
        if (values.testInDays && (n < 1 || n > 155)) return stay(11342);
        image[mm::TestAlarmInterval] = static_cast<std::uint8_t>(values.testInDays ? n + 100 : n);
        SetBit7(image, mm::FlagTestAlarm, true);
        return move(StateFirstInternal);
    }
    case StatePrecall:
        StorePrecall(image, values);
        return move(StateChooseLists);
    case StateChooseLists:
        return move(NextState(answers, state));
    case StateOneList:
        if (values.phone[0].empty()) return stay(11302);
        for (int j = 0; j < kAttempts; ++j) {
            TextToPhone(values.phone[j], &image[mm::PhoneA + 8 * j]);
            SetChoice(image, mm::ProtocolA + j, values.protocol[j]);
            image[mm::CallAttemptsA + j] =
                static_cast<std::uint8_t>(AttemptsOf(values.attempts[j]));
        }
        return move(StateNightMode);
    case StateNightMode:
        StoreNightMode(image, values);
        if (values.nightMode && values.nightPhone.empty()) return stay(11303);
        return move(StateSave);
    case StateSave:
        if (!Save(answers, data, values, env, out)) return out;
        return move(StateLearn);
    case StateLearn:
        if (!StoreRadioCodes(image, values, out)) return out;
        return move(StateProgram);
    case StateProgram:
        return out; // the last page: Next is not offered
    default:
        break;
    }
    if (InRange(state, StateFirstInternal, StateLastInternal)) {
        if (const int box = StoreInternalAlarm(state, image, values)) return stay(box);
        return move(state == StateLastInternal ? StatePrecall : state + 1);
    }
    if (InRange(state, StateFirstGroups, StateLastGroups)) {
        const int L = ListOfState(state);
        answers.groupMask[L - 1] = values.groups & kAllGroups;
        unsigned all = 0;
        for (int i = 0; i < L; ++i) all |= answers.groupMask[i];
        const bool complete = L == kLists || all == kAllGroups;
        if (!LeaveGroupPage(answers, L, out)) return out;
        return move(complete ? StateFirstList : state + 1);
    }
    if (InRange(state, StateFirstList, StateLastList)) {
        const int d = ListOfState(state);
        StoreListRecord(answers, d, values);
        if (values.phone[0].empty() && answers.groupMask[d - 1] != 0) return stay(11302);
        if (state == StateLastList || d >= answers.lastList) {
            if (!BuildReceiverLists(answers, image)) return stay(11304, true);
            return move(StateNightMode);
        }
        return move(state + 1);
    }
    return out;
}

} // namespace kivo::wizard
