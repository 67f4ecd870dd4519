// Commands that talk to the Kobu and the unit behind it.
#include "cli.h"

#include "app/strtable.h"
#include "data/codec.h"
#include "data/kivodata.h"
#include "data/kivoini.h"
#include "link/commands.h"
#include "transport/choose.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace kivo::cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
void OnInterrupt(int) {
    gInterrupted = 1;
}

// The link to the chosen Kobu, with the wire trace when one is asked for; false after a
// usage message when the choice is not understood.
bool MakeLink(Context& ctx, std::unique_ptr<KobuLink>& link) {
    std::string error;
    TransportFactory factory =
        ChooseKobu(KobuChoice(ctx.Option("--kobu")), ctx.templateFolder, error);
    if (!factory) {
        std::fprintf(stderr, "kivoctl: %s\n", error.c_str());
        return false;
    }
    link = std::make_unique<KobuLink>(factory);
    link->SetTrace(ChooseTrace(ctx.Option("--trace")));
    return true;
}

int ExitFor(WriteOutcome outcome) {
    switch (outcome) {
    case WriteOutcome::Verified:
        return ExitOk;
    case WriteOutcome::NoKobu:
    case WriteOutcome::NoUnit:
        return ExitUnreachable;
    case WriteOutcome::Refused:
        return ExitRefused;
    case WriteOutcome::WriteFailed:
    case WriteOutcome::VerifyFailed:
    case WriteOutcome::BackupFailed:
        return ExitTransfer;
    }
    return ExitTransfer;
}

bool LoadConfiguration(const std::string& path, KivoData& data) {
    if (!data.LoadImageFile(path)) {
        Fail(15010);
        return false;
    }
    data.fileName = path;
    data.imageSource = SourceOpened;
    return true;
}

// First address written by basic programming for each radio choice, and what it clears.
struct RadioChoice {
    const char* name;
    unsigned firstAddress;
    unsigned clearFrom; // radio bytes cleared from here to 0x0F
};
const RadioChoice kRadioChoices[] = {
    {"keep", 0x10, 0x10},
    {"clear-2-8", 0x02, 0x02},
    {"clear-all", 0x00, 0x00},
};

} // namespace

int CmdInfo(Context& ctx) {
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    if (link->OpenLink() != 0) {
        link->CloseLink();
        Fail(15009);
        return ExitUnreachable;
    }
    std::string version;
    if (ReadKobuVersion(*link, version) == ResultOk)
        std::printf("Kobu: %s\n", version.c_str());
    else
        std::printf("Kobu: ?\n");
    if (CheckUnit(*link) != ResultOk) {
        link->CloseLink();
        Fail(15008);
        return ExitUnreachable;
    }
    unsigned size = ProbeImageSize(*link);
    std::printf("Image size: %u\n", size);
    if (size == mm::kLargeImage) {
        Image firmware{};
        if (ReadRange(*link, firmware, mm::FirmwareMajor, mm::FirmwareVariant) == ResultOk)
            std::printf("Firmware: %s\n", FirmwareText(firmware).c_str());
    }
    link->CloseLink();
    return size ? ExitOk : ExitUnreachable;
}

int CmdRead(Context& ctx) {
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    KivoData data;
    ConsoleUi ui;
    unsigned size = 0;
    switch (ReadUnit(*link, data, ui, size)) {
    case ReadOutcome::Read:
        break;
    case ReadOutcome::NoKobu:
    case ReadOutcome::NoUnit:
        return ExitUnreachable;
    case ReadOutcome::ReadFailed:
        return ExitTransfer;
    }
    // A unit without the extended area gives a 256-byte file, as it would have given one.
    unsigned length = size == mm::kSmallImage ? mm::kSmallImage : mm::kLargeImage;
    if (!data.SaveImageFile(ctx.args[0], length)) {
        Fail(15012);
        return ExitFile;
    }
    return ExitOk;
}

int CmdWrite(Context& ctx) {
    KivoData data;
    if (!LoadConfiguration(ctx.args[0], data)) return ExitFile;
    WriteOptions options = WriteOptions::Editor();
    if (ctx.Has("--id")) {
        const std::string id = ctx.Option("--id");
        if (id.empty() || id.size() > 16) {
            std::fprintf(stderr, "kivoctl: --id takes 1 to 16 characters\n");
            return ExitUsage;
        }
        for (char c : id) {
            if (!IsAlarmCodeKey(c) || c < ' ') {
                std::fprintf(stderr, "kivoctl: --id: '%c' cannot be part of an ID number\n", c);
                return ExitUsage;
            }
        }
        std::string radio = ctx.Has("--radio") ? ctx.Option("--radio") : "clear-2-8";
        const RadioChoice* choice = nullptr;
        for (const auto& c : kRadioChoices)
            if (radio == c.name) choice = &c;
        if (!choice) {
            std::fprintf(stderr, "kivoctl: --radio takes keep, clear-2-8 or clear-all\n");
            return ExitUsage;
        }
        for (int d = 0; d < mm::kDestinations; ++d)
            TextToAlarmCode(id, &data.image[mm::AlarmCodeAddr(d)]);
        for (unsigned a = choice->clearFrom; a < mm::PhoneA; ++a) data.image[a] = 0;
        options = WriteOptions::Basic(choice->firstAddress, data.imageSize);
    } else if (ctx.Has("--radio")) {
        std::fprintf(stderr, "kivoctl: --radio goes with --id\n");
        return ExitUsage;
    }
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    if (!ctx.Has("--no-backup")) {
        options.backupFolder = BackupFolderSetting(ctx.folders.programFolder);
        options.backupWritten = [](const std::string& path) {
            std::printf("%s\n", FormatText(Str(16005), {path}).c_str());
        };
    }
    ConsoleUi ui;
    return ExitFor(WriteUnit(*link, data, ui, options));
}

int CmdVerify(Context& ctx) {
    KivoData data;
    if (!LoadConfiguration(ctx.args[0], data)) return ExitFile;
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    ConsoleUi ui;
    int exit = ExitOk;
    if (link->OpenLink() != 0) {
        Fail(15009);
        exit = ExitUnreachable;
    } else if (CheckUnit(*link) != ResultOk) {
        Fail(15008);
        exit = ExitUnreachable;
    } else {
        unsigned size = ProbeImageSize(*link);
        if (size == 0) {
            Fail(15008);
            exit = ExitUnreachable;
        } else if (unsigned found = 0;
                   ReadWholeImage(
                       *link, data.receive, [&ui](int d, int t) { ui.Progress(d, t); }, &found) !=
                       ResultOk ||
                   found != size) {
            Fail(15005);
            exit = ExitTransfer;
        } else {
            for (const auto& r : WrittenRanges(size, 0)) {
                for (unsigned a = r.first; a <= r.second; ++a) {
                    if (data.image[a] == data.receive[a]) continue;
                    std::fprintf(stderr, "0x%03X: file %u, unit %u\n", a, data.image[a],
                                 data.receive[a]);
                    exit = ExitTransfer;
                }
            }
            if (exit == ExitOk)
                ui.Status(Str(15003));
            else
                Fail(15005);
        }
    }
    link->CloseLink();
    return exit;
}

int CmdLearn(Context& ctx) {
    const std::string& pos = ctx.args[0];
    if (pos.size() != 1 || pos[0] < '1' || pos[0] > '8') {
        std::fprintf(stderr, "kivoctl: POSITION is 1 to 8\n");
        return ExitUsage;
    }
    const int position = pos[0] - '0';
    KivoData data;
    if (!LoadConfiguration(ctx.args[1], data)) return ExitFile;
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;

    if (link->OpenLink() != 0 || StartLearning(*link) != ResultOk) {
        link->CloseLink();
        Fail(15009);
        return ExitUnreachable;
    }
    std::printf("%s\n", FormatText(Str(13818), {std::to_string(position)}).c_str());
    std::fflush(stdout);
    gInterrupted = 0;
    auto old = std::signal(SIGINT, OnInterrupt);
    std::string code;
    SteadyClock clock;
    while (!gInterrupted && link->IsOpen()) {
        std::int64_t tick = clock.NowMs() + 500;
        std::string heard;
        if (PollLearnedCode(*link, heard) == ResultOk && heard != "0000") {
            code = heard;
            break;
        }
        // Short sleeps, so Ctrl+C is answered at once.
        while (!gInterrupted && clock.NowMs() < tick) clock.SleepUntilMs(clock.NowMs() + 20);
    }
    std::signal(SIGINT, old);
    const bool lost = !link->IsOpen(); // the adapter went away while we waited
    StopLearning(*link);               // whatever happened, the Kobu stops listening
    link->CloseLink();
    if (lost) {
        Fail(15009);
        return ExitUnreachable;
    }
    if (code.empty()) return ExitTransfer;

    TextToRadioCode(code, &data.image[mm::RadioCodeAddr(position)]);
    if (!data.SaveImageFile(data.fileName, data.imageSize)) {
        Fail(15012);
        return ExitFile;
    }
    std::printf("%d: %s\n", position,
                RadioCodeToText(&data.image[mm::RadioCodeAddr(position)]).c_str());
    return ExitOk;
}

} // namespace kivo::cli
