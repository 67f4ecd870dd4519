// Commands on folders and configuration files.
#include "cli.h"

#include "app/strtable.h"
#include "data/compare.h"
#include "data/kivodata.h"
#include "data/textexport.h"
#include "editor/controlmodel.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace kivo::cli {

namespace {

// The full path, as the open dialog would hand it over.
std::string FullPath(const std::string& path) {
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : path;
}

} // namespace

int CmdDiff(Context& ctx) {
    KivoData a, b;
    if (!a.LoadImageFile(ctx.args[0]) || !b.LoadImageFile(ctx.args[1])) {
        Fail(15010);
        return ExitFile;
    }
    // Bytes past a 256-byte file's end are zero and compare like any other.
    const auto differences = CompareImages(a.image, b.image, std::max(a.imageSize, b.imageSize));
    if (differences.empty()) {
        std::printf("%s\n", Str(16006).c_str());
        return ExitOk;
    }
    std::printf("%s\n", FormatText(Str(16007), {ctx.args[1]}).c_str());
    for (const auto& d : differences) std::printf("%s\n", DescribeDifference(d).c_str());
    return ExitOk;
}

int CmdFolders(Context& ctx) {
    std::printf("%s\n%s\n%s\n", ctx.folders.programFolder.c_str(), ctx.folders.configFolder.c_str(),
                ctx.folders.standardConfigFolder.c_str());
    return ExitOk;
}

std::optional<OpenedFile> OpenAsEditor(const Context& ctx) {
    KivoData data;
    const std::string file = FullPath(ctx.args[0]);
    if (!data.LoadImageFile(file)) {
        Fail(15010);
        return std::nullopt;
    }
    data.fileName = file;
    data.imageSource = SourceOpened;
    data.reference = data.image;
    // Seen as the editor sees it: shown in the controls, then stored back from them.
    KivoIni ini;
    ini.SetFileName(ctx.folders.programFolder + "Values.ini");
    ControlModel controls(ini);
    ImageToControls(data.image, controls);
    ControlsToImage(data.image, controls);
    return OpenedFile{std::move(data), std::move(controls)};
}

int CmdExport(Context& ctx) {
    std::optional<OpenedFile> opened = OpenAsEditor(ctx);
    if (!opened) return ExitFile;
    KivoData& data = opened->data;
    ControlModel& controls = opened->controls;

    ExportInput in;
    in.image = &data.image;
    in.imageSource = data.imageSource;
    in.fileName = data.fileName;
    in.programFolder = ctx.folders.programFolder;
    ExportFieldsFromControls(controls, in);
    in.sequenceLetters = Str(15034);

    std::string out = ctx.args.size() > 1 ? ctx.args[1] : ExportFileName(in);
    if (!OutputIsNotInput(out, data.fileName)) return ExitUsage;
    if (const WriteStatus saved = WriteTextExport(in, out); !saved.ok()) {
        FailSave(saved, out);
        return ExitFile;
    }
    std::printf("%s\n", (Str(15021) + out).c_str());
    return ExitOk;
}

} // namespace kivo::cli
