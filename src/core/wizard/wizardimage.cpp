// The bytes the wizard's answers put into the working image: transmitter alarm types, the
// receiver lists turned into destinations and call sequences, and the ID number.
#include "wizard/wizard.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "data/defaultconfigs.h"
#include "data/memorymap.h"

#include <algorithm>

namespace kivo::wizard {

const std::array<int, kTypes> kTypeAlarmCodes{1, 12, 5, 6, 7, 4};
const std::array<int, kTypes> kDefaultCounts{3, 1, 1, 1, 1, 1};

std::string TypeName(int t) {
    return t >= 1 && t <= kTypes ? Str(11330 + t) : std::string();
}

std::string GroupName(int g) {
    return g >= 1 && g <= kGroups ? Str(11310 + g) : std::string();
}

std::string TransmitterName(const Answers& answers, int n) {
    if (n < 1) return {};
    int first = 1; // first position of the kind
    for (int t = 1; t <= kTypes; ++t) {
        const int count = std::max(0, answers.counts[t - 1]);
        if (n < first + count) {
            if (count < 2) return TypeName(t);
            return TypeName(t) + " " + std::to_string(n - first + 1);
        }
        first += count;
    }
    return {};
}

void InitAnswers(Answers& answers) {
    answers = Answers{};
}

bool InitAnswers(Answers& answers, KivoData& data, const std::string& programFolder) {
    InitAnswers(answers);
    return data.LoadImageFile(DefaultBinPath(programFolder));
}

void StoreTransmitterTypes(const Answers& answers, Image& image) {
    bool more = false;
    for (int t = 0; t < kTypes; ++t) more = more || answers.counts[t] > answers.defaultCounts[t];
    // Lowered counts leave the positions as the default configuration has them.
    if (!more) return;
    for (int n = 0; n < mm::kTransmitters; ++n) image[mm::AlarmTypePos1 + n] = 0;
    int position = 0;
    for (int t = 0; t < kTypes; ++t)
        for (int i = 0; i < answers.counts[t] && position < mm::kTransmitters; ++i)
            image[mm::AlarmTypePos1 + position++] = static_cast<std::uint8_t>(kTypeAlarmCodes[t]);
}

bool BuildDestinations(Answers& answers) {
    answers.destinations = {};
    std::array<std::string, kLists> keys;
    int n = 0;
    for (ListRecord& list : answers.lists) {
        for (int j = 0; j < kAttempts; ++j) {
            if (list.phone[j].empty()) {
                list.destination[j] = 0;
                continue;
            }
            const std::string key = list.phone[j] + "+" + std::to_string(list.protocol[j]) + "+" +
                                    std::to_string(list.attempts[j]);
            int found = 0;
            for (int c = 1; c <= std::min(n, kLists) && !found; ++c)
                if (keys[c - 1] == key) found = c;
            if (found) {
                list.destination[j] = found;
                continue;
            }
            ++n;
            list.destination[j] = n;
            if (n <= kLists) {
                keys[n - 1] = key;
                answers.destinations[n - 1] = {list.phone[j], list.protocol[j], list.attempts[j]};
            }
        }
    }
    return n <= kLists;
}

bool BuildReceiverLists(Answers& answers, Image& image) {
    if (!BuildDestinations(answers)) return false;
    for (int i = 0; i < kLists; ++i)
        for (int j = 0; j < kAttempts; ++j)
            image[mm::CallSequence1 + 4 * i + j] =
                static_cast<std::uint8_t>(answers.lists[i].destination[j]);
    for (int i = 0; i < kLists; ++i)
        for (int g = 1; g <= kGroups; ++g)
            if (answers.groupMask[i] & (1u << (g - 1)))
                image[mm::SeqUserAlarms + g - 1] = static_cast<std::uint8_t>(i + 1);
    for (int k = 0; k < kLists; ++k) {
        const Destination& d = answers.destinations[k];
        TextToPhone(d.phone, &image[mm::PhoneA + 8 * k]);
        image[mm::ProtocolA + k] = static_cast<std::uint8_t>(d.protocol);
        image[mm::CallAttemptsA + k] = static_cast<std::uint8_t>(d.attempts);
    }
    return true;
}

void SetIdNumber(Image& image, const std::string& id) {
    // A, B, C, D and N; the redirection's code (R) is not the wizard's.
    for (int d = 0; d < 5; ++d) TextToAlarmCode(id, &image[mm::AlarmCodeA + 8 * d]);
}

std::string ConfigurationPath(const std::string& configFolder, const std::string& name) {
    if (name.empty()) return {};
    // The characters Windows refuses in a file name: a name that one edition cannot save
    // must not be saved by another, and a separator would leave the configuration folder.
    for (unsigned char c : name)
        if (c < 32 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos)
            return {};
    if (name == "." || name == "..") return {};
    std::string folder = configFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + name + ".Kivo";
}

} // namespace kivo::wizard
