// Configuration files: the input is the file. It is loaded as the editor opens it, shown in
// the editor's controls (lists from the installed Values.ini), stored back, exported as text
// and laid out as the printed report. Once the controls have stored an image, showing and
// storing it again must change nothing: otherwise every open-and-save would drift a value.
#include "data/kivodata.h"
#include "data/textexport.h"
#include "editor/binding.h"
#include "editor/controlmodel.h"
#include "fuzzsupport.h"
#include "print/reportmodel.h"

#include <cstdio>
#include <cstdlib>

namespace {

using namespace kivo;

const KivoIni& Values() {
    static const KivoIni ini = [] {
        KivoIni i;
        i.SetFileName(KIVO_VALUES_INI);
        return i;
    }();
    return ini;
}

// The editor's controls with every list filled; filled once, copied for each input.
const ControlModel& FreshControls() {
    static const ControlModel controls(Values());
    return controls;
}

ExportInput Export(const KivoData& data, ControlModel& controls) {
    ExportInput in;
    in.image = &data.image;
    in.imageSource = SourceOpened;
    in.fileName = data.fileName;
    in.programFolder = "/nonexistent/";
    ExportFieldsFromControls(controls, in);
    in.sequenceLetters = "-ABCDNR";
    return in;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    KivoData config;
    config.image.fill(0xA5);
    const Image old = config.image;
    config.fileName = fuzz::WriteScratchFile("fuzzed.Kivo", data, size);
    const bool loaded = config.LoadImageFile(config.fileName);
    fuzz::Require(loaded == (size == 256 || size >= 512), "only 256 or 512 bytes load");
    if (!loaded) {
        fuzz::Require(config.image == old, "a refused file changes nothing");
        return 0;
    }
    fuzz::Require(config.imageSize == (size == 256 ? 256u : 512u), "image size");
    for (std::size_t a = config.imageSize; a < config.image.size(); ++a)
        fuzz::Require(config.image[a] == 0, "zeros behind a 256-byte image");

    ControlModel controls = FreshControls();
    const int failing = ImageToControls(config.image, controls);
    fuzz::Require(failing >= -1 && failing < 512, "failing address inside the image");
    ControlsToImage(config.image, controls);

    // The same as a second open-and-save.
    ControlModel again = FreshControls();
    Image stored = config.image;
    ImageToControls(stored, again);
    ControlsToImage(stored, again);
    if (stored != config.image) {
        for (std::size_t a = 0; a < stored.size(); ++a)
            if (stored[a] != config.image[a])
                std::fprintf(stderr, "address 0x%03zX: %u then %u\n", a, config.image[a],
                             stored[a]);
        fuzz::Require(false, "a stored image is stable");
    }

    const ExportInput in = Export(config, controls);
    ExportFileName(in);
    ExportText(in);

    report::ReportInput report;
    report.image = config.image;
    report.imageSize = config.imageSize;
    report.subscriberText = controls.Text("edtAlarmCodeA");
    report.fileLine = "fuzzed.Kivo";
    report::BuildReport(report, Values());
    return 0;
}
