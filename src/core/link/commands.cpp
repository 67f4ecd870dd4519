// The commands the Kobu answers itself, and the unit check; the memory transfer is in
// memory.cpp.
#include "link/commands.h"

namespace kivo {

namespace {

int ShortCommand(KobuLink& link, const std::string& command) {
    const Reply r = link.Transact(command, 1);
    if (r.IsByte(ACK)) return ResultOk;
    if (r.count == 1 && !r.IsByte(NAK)) link.Suspect(); // nothing a short command is answered with
    return ResultNoAnswer;
}

} // namespace

int CheckUnit(KobuLink& link) {
    return ShortCommand(link, "O");
}

int ReadKobuVersion(KobuLink& link, std::string& version) {
    Reply r = link.Transact("v", 2);
    if (r.count != 11) {
        version.clear();
        return ResultNoAnswer;
    }
    version = r.text;
    return ResultOk;
}

int CheckKobuVersion(KobuLink& link, const std::string& required) {
    std::string version;
    if (ReadKobuVersion(link, version) != ResultOk || required.size() < 4) return ResultNoAnswer;
    if (version[3] != required[3]) return ResultOldKobu; // another variant
    if (version.compare(0, 2, required, 0, 2) < 0) return ResultOldKobu;
    return ResultOk;
}

int StartLearning(KobuLink& link) {
    return ShortCommand(link, "s1");
}
int StopLearning(KobuLink& link) {
    return ShortCommand(link, "s0");
}

int PollLearnedCode(KobuLink& link, std::string& code) {
    Reply r = link.Transact("c1", 2);
    if (r.count != 8) return ResultNoAnswer;
    code = r.text.substr(0, 4);
    return ResultOk;
}

int RequestInfo(KobuLink& link, const std::string& code, const std::string& registers) {
    return ShortCommand(link, "a" + code + registers);
}

int PollInfo(KobuLink& link, std::string& reply) {
    reply = link.Transact("A", 2).text;
    return ResultOk;
}

int WriteInfo(KobuLink& link, const std::string& code, const std::string& data) {
    return ShortCommand(link, "f" + code + data);
}

int PollWrite(KobuLink& link, std::string& reply) {
    Reply r = link.Transact("F", 2);
    if (r.count != 2) return ResultNoAnswer;
    reply = r.text;
    return ResultOk;
}

} // namespace kivo
