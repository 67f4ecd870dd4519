// The simulator's option text ("size=256,firmware=06.32,drop=0.05,..."), as KIVO_KOBU=sim:...
// and kobu-sim take it. A text that parses makes a simulator; one that does not leaves the
// options as they were and says why.
#include "sim/simkobu.h"
#include "sim/simoptions.h"

#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace kivo::sim;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SimOptions options;
    options.version = "untouched";
    std::string error;
    if (!ParseSimOptions(text, options, error)) {
        kivo::fuzz::Require(!error.empty(), "a refusal says why");
        kivo::fuzz::Require(options.version == "untouched", "a refusal changes nothing");
        return 0;
    }
    kivo::fuzz::Require(options.size == 256 || options.size == 512, "size");
    kivo::fuzz::Require(options.version.size() >= 1 && options.version.size() <= 80,
                        "version text");
    for (const FaultSetting& f : options.faults)
        kivo::fuzz::Require(f.rate >= 0.0 && f.rate <= 1.0 && f.count >= 0, "fault setting");
    // Files named by the text are left alone; everything else makes a simulator.
    if (options.memoryPath.empty() && options.imagePath.empty()) {
        auto kobu = SimKobu::Create(options, error);
        kivo::fuzz::Require(kobu != nullptr, "parsed options make a simulator");
    }
    return 0;
}
