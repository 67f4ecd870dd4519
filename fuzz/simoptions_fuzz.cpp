// The simulator's option text ("size=256,firmware=06.32,drop=0.05,..."), as KIVO_KOBU=sim:...
// and kobu-sim take it. A text that parses makes a simulator; one that does not leaves the
// options as they were and says why.
#include "sim/simkobu.h"
#include "sim/simoptions.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace kivo::sim;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SimOptions options;
    options.version = "untouched";
    std::string error;
    if (!ParseSimOptions(text, options, error)) {
        Require(!error.empty(), "a refusal says why");
        Require(options.version == "untouched", "a refusal changes nothing");
        return 0;
    }
    Require(options.size == 256 || options.size == 512, "size");
    Require(options.version.size() >= 1 && options.version.size() <= 80, "version text");
    for (const FaultSetting& f : options.faults)
        Require(f.rate >= 0.0 && f.rate <= 1.0 && f.count >= 0, "fault setting");
    // Files named by the text are left alone; everything else makes a simulator.
    if (options.memoryPath.empty() && options.imagePath.empty()) {
        auto kobu = SimKobu::Create(options, error);
        Require(kobu != nullptr, "parsed options make a simulator");
    }
    return 0;
}
