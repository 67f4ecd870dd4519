// The programming wizard without its window: the answers, the order of the pages, what each
// page shows and stores, the checks made when a page is left, and the bytes the answers put
// into the working image. The window only moves values between its controls and PageValues
// and shows the boxes an Outcome names.
#pragma once

#include "data/kivodata.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kivo::wizard {

constexpr int kTypes = 6;     // transmitter kinds
constexpr int kLists = 4;     // receiver lists
constexpr int kAttempts = 4;  // call attempts per list
constexpr int kGroups = 10;   // alarm groups, those of the sequence bytes 0x80..0x89
constexpr int kPositions = 8; // radio positions
constexpr int kPictures = 21; // page pictures
constexpr int kSheets = 12;   // tab sheets tbs0..tbs11
constexpr unsigned kAllGroups = (1u << kGroups) - 1;

enum Action { ActionShow = 1, ActionNext = 2, ActionBack = 4 };

// Page states.
enum State {
    StateStart = 0,
    StateFirstType = 11,
    StateLastType = 16,
    StateTestAlarm = 20,
    StateFirstInternal = 21,
    StateExtraButton = 29,
    StateLastInternal = 32,
    StatePrecall = 33,
    StateChooseLists = 40,
    StateFirstGroups = 50,
    StateLastGroups = 53,
    StateFirstList = 55,
    StateLastList = 58,
    StateOneList = 60,
    StateNightMode = 70,
    StateSave = 80,
    StateLearn = 90,
    StateProgram = 100,
};

// The alarm type code each transmitter kind sends, and the counts offered at first.
extern const std::array<int, kTypes> kTypeAlarmCodes;
extern const std::array<int, kTypes> kDefaultCounts;

// One receiver list: per call attempt a telephone text, a protocol code, a call-attempt count
// and the destination (1..4, 0 none) that BuildDestinations gives it.
struct ListRecord {
    std::array<std::string, kAttempts> phone;
    std::array<int, kAttempts> protocol{1, 1, 1, 1};
    std::array<int, kAttempts> attempts{5, 5, 5, 5};
    std::array<int, kAttempts> destination{};
};

struct Destination {
    std::string phone;
    int protocol = 1;
    int attempts = 5;
};

struct Answers {
    int state = StateStart;
    int step = 0;
    std::array<int, kTypes> defaultCounts = kDefaultCounts;
    std::array<int, kTypes> counts = kDefaultCounts;
    // Bit g-1 stands for alarm group g.
    std::array<unsigned, kLists> groupMask{kAllGroups, 0, 0, 0};
    std::array<unsigned, kLists> availableMask{kAllGroups, kAllGroups, kAllGroups, kAllGroups};
    std::array<ListRecord, kLists> lists;
    std::array<Destination, kLists> destinations;
    int lastList = 1;
    int lastGroupPage = StateFirstGroups;
    // What the choice and the save controls hold; they start afresh with the answers.
    bool severalLists = false;
    bool saveConfig = true;
    std::string saveName;
};

// What the controls of a page hold. Only the fields of the page being shown or left count.
// Choice lists are given by the value of their item; -1 when nothing is chosen.
struct PageValues {
    std::string count;      // tbs1
    bool testAlarm = false; // tbs2
    std::string testValue;
    bool testInDays = false;
    bool internalTick = false; // tbs3
    std::string internalTime;
    int extraButtonType = -1;
    int precallType = -1; // tbs4
    std::string precallDuration;
    bool severalLists = false;                // tbs5
    unsigned groups = 0;                      // tbs6: ticked boxes
    unsigned available = 0;                   //       enabled boxes (shown only)
    std::array<std::string, kAttempts> phone; // tbs7
    std::array<int, kAttempts> protocol{-1, -1, -1, -1};
    std::array<std::string, kAttempts> attempts;
    bool rowsEnabled = true;                 //       (shown only)
    std::vector<std::string> listGroupNames; //       (shown only)
    bool nightMode = false;                  // tbs8
    std::string nightPhone;
    int nightProtocol = -1;
    std::string nightAttempts;
    bool saveConfig = true; // tbs9
    std::string saveName;
    std::array<std::string, kPositions> radioCode; // tbs10
};

// A message box the window is to show, in order.
struct Box {
    int textId = 0;
    bool error = false; // error kind; information otherwise
    std::vector<std::string> args;
};

struct Outcome {
    bool moved = false;
    std::vector<Box> boxes;
};

// The internal-alarm page of a state 21..32: its texts start at textBase (title), then memo,
// question box, tick box (or the extra button's label), message.
struct InternalAlarmPage {
    int textBase = 0;
    int flag = -1;        // flag byte whose bit 7 the tick is; -1 none
    int byteTick = -1;    // byte set to 1/0 by the tick; -1 none
    int timeAddress = -1; // -1: the page has no time field
    int unitText = 0;     // "Std" or "Min"
    int largest = 0;      // largest time accepted
    bool extraButton = false;
};
InternalAlarmPage InternalAlarmOf(int state);

// Sheet index (0..11) and picture index (0..20) of a state; -1 for a state that is none.
int SheetOf(int state);
int PictureOf(int state);
bool IsState(int state);

// Names from the string table: transmitter kind t (1..6), alarm group g (1..10).
std::string TypeName(int t);
std::string GroupName(int g);
// The name of radio position n (1..8) by the counts; empty beyond their sum.
std::string TransmitterName(const Answers& answers, int n);

// Resets the answers and loads the default configuration of the program folder into the
// working image. False when it cannot be loaded: the image then stays as it was.
void InitAnswers(Answers& answers);
bool InitAnswers(Answers& answers, KivoData& data, const std::string& programFolder);

// The values the current page (answers.state) shows, from the answers and the working image.
// Showing a group page makes it the last group page; showing a list page first finds the
// last list that has groups.
PageValues Show(Answers& answers, const Image& image);

// Leaving the current page (answers.state) with Next or Back: stores what the page stores on
// that way, runs its checks, and on success sets the new state and step. `values` may be
// corrected (an empty count becomes "0", an unticked night mode empties its number). Saving
// on page 80 asks `overwrite` whether an existing file may be replaced.
struct Environment {
    std::string configFolder;
    std::function<bool()> overwrite;
};
Outcome Leave(Answers& answers, KivoData& data, PageValues& values, Action action,
              const Environment& env = {});

// The state Next (without checks) and Back lead to from `state`.
int NextState(const Answers& answers, int state);
int BackState(const Answers& answers, int state);

// Numbers as the wizard's fields hold them: -1 when the text is empty or not a number,
// values above 99999 count as 99999.
long FieldNumber(const std::string& text);

// Transmitter alarm types from the counts (only when a count exceeds its default).
void StoreTransmitterTypes(const Answers& answers, Image& image);
// The destination table from the list records; false when more than four are needed.
bool BuildDestinations(Answers& answers);
// BuildDestinations, then call sequences, sequence numbers and destinations A..D.
bool BuildReceiverLists(Answers& answers, Image& image);
// The ID number into alarm codes A, B, C, D and N; R keeps its value.
void SetIdNumber(Image& image, const std::string& id);
// The file page 80 saves to, or "" for a name the file system would not take.
std::string ConfigurationPath(const std::string& configFolder, const std::string& name);

} // namespace kivo::wizard
