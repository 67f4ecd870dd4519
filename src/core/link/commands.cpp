// The commands the Kobu answers itself, and the unit check; the memory transfer is in
// memory.cpp.
#include "link/commands.h"

namespace kivo {

namespace {

LinkResult ShortCommand(KobuLink& link, const std::string& command) {
    const Reply r = link.Transact(command, 1);
    if (r.IsByte(ACK)) return LinkResult::Ok;
    if (r.count == 1 && !r.IsByte(NAK)) link.Suspect(); // nothing a short command is answered with
    return LinkResult::NoAnswer;
}

} // namespace

LinkResult CheckUnit(KobuLink& link) {
    return ShortCommand(link, "O");
}

LinkResult ReadKobuVersion(KobuLink& link, std::string& version) {
    Reply r = link.Transact("v", 2);
    if (r.count != 11) {
        version.clear();
        return LinkResult::NoAnswer;
    }
    version = r.text;
    return LinkResult::Ok;
}

LinkResult CheckKobuVersion(KobuLink& link, const std::string& required) {
    std::string version;
    if (ReadKobuVersion(link, version) != LinkResult::Ok || required.size() < 4)
        return LinkResult::NoAnswer;
    if (version[3] != required[3]) return LinkResult::OldKobu; // another variant
    if (version.compare(0, 2, required, 0, 2) < 0) return LinkResult::OldKobu;
    return LinkResult::Ok;
}

LinkResult StartLearning(KobuLink& link) {
    return ShortCommand(link, "s1");
}
LinkResult StopLearning(KobuLink& link) {
    return ShortCommand(link, "s0");
}

LinkResult PollLearnedCode(KobuLink& link, std::string& code) {
    Reply r = link.Transact("c1", 2);
    if (r.count != 8) return LinkResult::NoAnswer;
    code = r.text.substr(0, 4);
    return LinkResult::Ok;
}

LinkResult RequestInfo(KobuLink& link, const std::string& code, const std::string& registers) {
    return ShortCommand(link, "a" + code + registers);
}

LinkResult PollInfo(KobuLink& link, std::string& reply) {
    reply = link.Transact("A", 2).text;
    return LinkResult::Ok;
}

LinkResult WriteInfo(KobuLink& link, const std::string& code, const std::string& data) {
    return ShortCommand(link, "f" + code + data);
}

LinkResult PollWrite(KobuLink& link, std::string& reply) {
    Reply r = link.Transact("F", 2);
    if (r.count != 2) return LinkResult::NoAnswer;
    reply = r.text;
    return LinkResult::Ok;
}

} // namespace kivo
