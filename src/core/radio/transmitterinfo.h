// The settings a radio transmitter keeps itself, as the Kobu reads and writes them:
// registers 27 (test alarm interval, h), 28 (test alarms without acknowledgement before power
// saving), 29 (mode), 2A/2B (user alarm count) and 2F (program version).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kivo {

constexpr const char* kInfoRegisters = "2728292A2B2F";
constexpr std::size_t kInfoReplyLength = 28;

struct TransmitterInfo {
    int interval = 0;
    int limit = 0;
    int mode = 0;
    int userAlarms = 0;
    std::string version; // two characters
};

// Takes apart a complete read reply (28 characters); nullopt for any other length.
std::optional<TransmitterInfo> ParseInfoReply(const std::string& reply);

// The tick boxes for a mode 00..03; nullopt for another value (the boxes stay as they are).
struct ModeBoxes {
    bool testAlarm;
    bool powerSave;
};
std::optional<ModeBoxes> BoxesForMode(int mode);
int ModeFromBoxes(bool testAlarm, bool powerSave);

// "FF" shows as "2.0", any other c1 c2 as "c1.c2".
std::string VersionText(const std::string& version);
// The power-save mode exists from program version 2.2 on.
bool PowerSaveShown(const std::string& version);

// What the write request carries: "27" interval "28" limit "29" mode, upper-case hex.
std::string InfoWriteData(int interval, int limit, int mode);

// The boxes a write is refused with: 13816 (interval not 1..255), 13817 (limit above 255).
// Empty fields count as 0.
std::vector<int> CheckInfoFields(const std::string& interval, const std::string& limit);

// How a poll reply ends the wait.
enum class InfoPoll { Waiting, Done, Failed };
InfoPoll ReadPollResult(const std::string& reply);  // "04" failed, 8+ characters done
InfoPoll WritePollResult(const std::string& reply); // "03" done, "04" failed

} // namespace kivo
