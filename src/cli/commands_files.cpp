// Commands on folders and configuration files.
#include "cli.h"

#include "app/strtable.h"
#include "data/compare.h"
#include "data/kivodata.h"
#include "data/textexport.h"
#include "editor/controlmodel.h"
#include "json.h"

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
    const std::string first = InputFile(ctx.args[0]), second = InputFile(ctx.args[1]);
    if (first.empty() || second.empty()) return ExitFile;
    if (!a.LoadImageFile(first) || !b.LoadImageFile(second)) {
        Fail(15010);
        return ExitFile;
    }
    // Bytes past a 256-byte file's end are zero and compare like any other.
    const auto differences = CompareImages(a.image, b.image, std::max(a.imageSize, b.imageSize));
    if (ctx.Has("--json")) {
        std::vector<std::string> items;
        for (const Difference& d : differences) {
            char address[16];
            std::snprintf(address, sizeof address, "0x%03X", d.addr);
            items.push_back(Json()
                                .Field("address", address)
                                .Field("name", d.name)
                                .Field("a", static_cast<int>(d.first))
                                .Field("b", static_cast<int>(d.second))
                                .Field("read_only", d.readOnly)
                                .Field("extended", d.extended)
                                .Text());
        }
        std::printf("%s\n", Json()
                                .Field("equal", differences.empty())
                                .Raw("differences", Json::Array(items))
                                .Text()
                                .c_str());
    } else if (differences.empty()) {
        std::printf("%s\n", Str(16006).c_str());
    } else {
        std::printf("%s\n", FormatText(Str(16007), {ctx.args[1]}).c_str());
        for (const auto& d : differences) std::printf("%s\n", DescribeDifference(d).c_str());
    }
    // As diff(1) says it: 0 equal, 1 different.
    return differences.empty() ? ExitOk : ExitDiffer;
}

int CmdFolders(Context& ctx) {
    std::printf("%s\n%s\n%s\n", ctx.folders.programFolder.c_str(), ctx.folders.configFolder.c_str(),
                ctx.folders.standardConfigFolder.c_str());
    return ExitOk;
}

std::optional<OpenedFile> OpenAsEditor(const Context& ctx) {
    KivoData data;
    const std::string input = InputFile(ctx.args[0]);
    if (input.empty()) return std::nullopt;
    const std::string file = FullPath(input);
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
    // The text's name follows the configuration's; one from the standard input has none.
    if (ctx.args[0] == "-" && ctx.args.size() < 2) return CommandUsage("export", 16321);
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
