#include "transport/choose.h"

#include "sim/simkobu.h"
#include "sim/simtransport.h"
#include "transport/ftdi.h"
#include "transport/serial.h"

#include <cstdlib>

namespace kivo {

std::string KobuChoice(const std::string& commandLineChoice) {
    if (!commandLineChoice.empty()) return commandLineChoice;
    const char* env = std::getenv("KIVO_KOBU");
    return env && *env ? std::string(env) : std::string("ftdi");
}

TransportFactory ChooseKobu(const std::string& choice, const std::string& /*templateFolder*/,
                            std::string& error) {
    if (choice == "ftdi") return [] { return MakeFtdiTransport(); };
    if (!choice.empty() && choice[0] == '/')
        return [choice] { return MakeSerialTransport(choice); };
    if (choice == "sim" || choice.compare(0, 4, "sim:") == 0) {
        // One simulated unit for the whole process: its memory outlives every link that is
        // opened and closed on it, as a real unit's does.
        auto device = sim::SimKobu::Create(choice.size() > 4 ? choice.substr(4) : "", error);
        if (!device) {
            error = "--kobu " + choice + ": " + error;
            return {};
        }
        auto clock = std::make_shared<SteadyClock>();
        return [device, clock] { return sim::MakeSimTransport(device, *clock); };
    }
    error = "unknown Kobu '" + choice + "': use ftdi, a device path such as /dev/ttyUSB0, or sim";
    return {};
}

std::shared_ptr<LinkTrace> ChooseTrace(const std::string& commandLineFile) {
    std::string file = commandLineFile;
    if (file.empty()) {
        const char* env = std::getenv("KIVO_TRACE");
        if (env) file = env;
    }
    return file.empty() ? nullptr : LinkTrace::Open(file);
}

} // namespace kivo
