// The transmitter-info reply as the Kobu hands it over, and what the dialog makes of it: the
// register values, the version text, whether the power-save box shows, the poll results and
// the checks of the two number fields.
#include "radio/transmitterinfo.h"

#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace kivo;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);

    const auto info = ParseInfoReply(reply);
    fuzz::Require(info.has_value() == (reply.size() == kInfoReplyLength),
                  "only 28 characters parse");
    if (info) {
        fuzz::Require(info->interval >= 0 && info->interval <= 255, "interval is a byte");
        fuzz::Require(info->limit >= 0 && info->limit <= 255, "limit is a byte");
        fuzz::Require(info->mode >= 0 && info->mode <= 255, "mode is a byte");
        fuzz::Require(info->userAlarms >= 0 && info->userAlarms <= 0xFFFF, "count is two bytes");
        fuzz::Require(info->version.size() == 2, "version of two characters");
        const auto boxes = BoxesForMode(info->mode);
        fuzz::Require(boxes.has_value() == (info->mode <= 3), "modes 00 to 03 set the boxes");
        if (boxes)
            fuzz::Require(ModeFromBoxes(boxes->testAlarm, boxes->powerSave) == info->mode, "mode");
        const std::string shown = VersionText(info->version);
        fuzz::Require(shown.size() == 3, "version shown as c.c");
        if (PowerSaveShown(info->version)) fuzz::Require(info->version != "FF", "FF hides the box");
        const std::string write = InfoWriteData(info->interval, info->limit, info->mode & 3);
        fuzz::Require(write.size() == 12, "write data of three registers");
    }
    VersionText(reply);
    PowerSaveShown(reply);
    ReadPollResult(reply);
    WritePollResult(reply);

    const std::size_t cut = reply.find('\n');
    const std::string interval = reply.substr(0, cut);
    const std::string limit = cut == std::string::npos ? std::string() : reply.substr(cut + 1);
    for (int box : CheckInfoFields(interval, limit))
        fuzz::Require(box == 13816 || box == 13817, "the two field boxes");
    return 0;
}
