// kobu-sim: the simulated Kobu, with a Kivo and radio transmitters behind it, served on a
// pseudo-terminal so that the tool (or anything else) can talk to it as to a serial device.
#include "ptyserve.h"

#include "sim/simoptions.h"

#include <cstdio>
#include <string>

namespace {

void Usage(std::FILE* to) {
    std::fprintf(to,
                 "usage: kobu-sim [OPTIONS]\n"
                 "Serves a simulated Kobu on a pseudo-terminal and prints its path on the\n"
                 "first line. SIGTERM or SIGINT ends it. OPTIONS is a comma-separated list of\n"
                 "key=value (several arguments are joined with commas), e.g.\n"
                 "  kobu-sim size=256,firmware=06.32,variant=22\n"
                 "A fault's RATE (0..1) applies to every reply it can strike; Nx (e.g. 2x)\n"
                 "strikes the next N such replies.\n\n"
                 "Options:\n%s",
                 kivo::sim::SimOptionsHelp().c_str());
}

} // namespace

int main(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        }
        text += (text.empty() ? "" : ",") + arg;
    }

    std::string error;
    kivo::sim::SimOptions options;
    if (!kivo::sim::ParseSimOptions(text, options, error)) {
        std::fprintf(stderr, "kobu-sim: %s\n(kobu-sim --help lists the options)\n", error.c_str());
        return 2;
    }
    auto device = kivo::sim::SimKobu::Create(options, error);
    if (!device) {
        std::fprintf(stderr, "kobu-sim: %s\n", error.c_str());
        return 1;
    }
    return kobusim::ServeOnPty(*device);
}
