// Values.ini as the editor and the report use it: the input is the file. Every choice list and
// the advanced grid are filled from it, an image is shown in the controls and stored back, and
// the printed report takes its layout and item texts from it.
#include "data/kivoini.h"
#include "editor/binding.h"
#include "editor/controlmodel.h"
#include "fuzzsupport.h"
#include "print/reportmodel.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace kivo;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    KivoIni ini;
    ini.SetFileName(fuzz::WriteScratchFile("Values.ini", data, size));

    ControlModel controls(ini);
    for (const auto& [name, list] : controls.lists)
        fuzz::Require(!list.values.empty() && list.values.back() == kSentinel &&
                          list.values.size() == list.items.items.size() + 1,
                      "every list ends in its sentinel");
    Image image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
    const int failing = ImageToControls(image, controls);
    fuzz::Require(failing >= -1 && failing < 512, "failing address inside the image");
    ControlsToImage(image, controls);

    report::ReportInput in;
    in.image = image;
    for (const auto& page : report::BuildReport(in, ini).pages) report::PageTexts(page);
    return 0;
}
