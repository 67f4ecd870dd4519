// Commands that talk to the Kobu and the unit behind it.
#include "cli.h"

#include "app/strtable.h"
#include "data/basicimage.h"
#include "data/codec.h"
#include "data/kivodata.h"
#include "data/kivoini.h"
#include "interrupt.h"
#include "link/commands.h"
#include "radio/learnedcode.h"
#include "transport/choose.h"

#include <cstdio>
#include <cstdlib>

namespace kivo::cli {

namespace {

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
    link->SetTrace(OpenTrace(ctx));
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

// The radio options of basic programming by their names on the command line.
struct RadioName {
    const char* name;
    RadioOption option;
};
const RadioName kRadioNames[] = {
    {"keep", RadioOption::KeepAll},
    {"clear-2-8", RadioOption::ClearTwoToEight},
    {"clear-all", RadioOption::ClearAll},
};

// A read or a verification the user stopped: nothing more of the procedure is printed, and
// the command ends with a word of its own.
int Stopped(int textId) {
    std::fprintf(stderr, "\nkivoctl: %s\n", Str(textId).c_str());
    return kExitInterrupted;
}

} // namespace

int CmdInfo(Context& ctx) {
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    LinkSession session(*link);
    if (!session.Open()) {
        Fail(15009);
        return ExitUnreachable;
    }
    std::string version;
    // Whatever the Kobu answers reaches the terminal only as visible characters.
    if (ReadKobuVersion(*link, version) == LinkResult::Ok)
        std::printf("Kobu: %s\n", PrintableText(version).c_str());
    else
        std::printf("Kobu: ?\n");
    if (CheckUnit(*link) != LinkResult::Ok) {
        Fail(15008);
        return ExitUnreachable;
    }
    unsigned size = ProbeImageSize(*link);
    std::printf("Image size: %u\n", size);
    if (size == mm::kLargeImage) {
        Image firmware{};
        if (ReadRange(*link, firmware, mm::FirmwareMajor, mm::FirmwareVariant) == LinkResult::Ok)
            std::printf("Firmware: %s\n", FirmwareText(firmware).c_str());
    }
    return size ? ExitOk : ExitUnreachable;
}

int CmdRead(Context& ctx) {
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    InterruptGuard guard(InterruptGuard::Mode::Stop);
    link->SetCancel(InterruptGuard::Interrupted);
    KivoData data;
    ConsoleUi ui(InterruptGuard::Interrupted);
    unsigned size = 0;
    const ReadOutcome outcome = ReadUnit(*link, data, ui, size);
    if (InterruptGuard::Interrupted()) return Stopped(16054);
    switch (outcome) {
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
    if (const WriteStatus saved = data.SaveImageFile(ctx.args[0], length); !saved.ok()) {
        FailSave(saved, ctx.args[0]);
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
        const std::string radio = ctx.Has("--radio") ? ctx.Option("--radio") : "clear-2-8";
        const RadioName* choice = nullptr;
        for (const auto& r : kRadioNames)
            if (radio == r.name) choice = &r;
        if (!choice) {
            std::fprintf(stderr, "kivoctl: --radio takes keep, clear-2-8 or clear-all\n");
            return ExitUsage;
        }
        const unsigned first = PrepareBasicImage(data.image, id, choice->option);
        options = WriteOptions::Basic(first, data.imageSize);
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
    // The user's key never leaves the unit half-written: the write and its read-back run to
    // their end, and the result is reported as usual.
    InterruptGuard guard(InterruptGuard::Mode::FinishFirst);
    ConsoleUi ui;
    return ExitFor(WriteUnit(*link, data, ui, options));
}

int CmdVerify(Context& ctx) {
    KivoData data;
    if (!LoadConfiguration(ctx.args[0], data)) return ExitFile;
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    InterruptGuard guard(InterruptGuard::Mode::Stop);
    link->SetCancel(InterruptGuard::Interrupted);
    ConsoleUi ui(InterruptGuard::Interrupted);
    std::vector<Difference> differences;
    const VerifyOutcome outcome = VerifyUnit(*link, data, ui, differences);
    if (InterruptGuard::Interrupted()) return Stopped(16054);
    for (const Difference& d : differences)
        std::fprintf(stderr, "0x%03X: file %u, unit %u\n", d.addr, d.first, d.second);
    switch (outcome) {
    case VerifyOutcome::Equal:
        return ExitOk;
    case VerifyOutcome::NoKobu:
    case VerifyOutcome::NoUnit:
        return ExitUnreachable;
    case VerifyOutcome::Differs:
    case VerifyOutcome::ReadFailed:
        return ExitTransfer;
    }
    return ExitTransfer;
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

    LinkSession session(*link);
    if (!session.Open() || StartLearning(*link) != LinkResult::Ok) {
        session.Close();
        Fail(15009);
        return ExitUnreachable;
    }
    std::printf("%s\n", FormatText(Str(13818), {std::to_string(position)}).c_str());
    std::fflush(stdout);
    // The link itself is not cancelled: the Kobu must still be told to stop listening.
    InterruptGuard guard(InterruptGuard::Mode::Stop);
    std::string code;
    Heard heard = Heard::Nothing;
    SteadyClock clock;
    while (!InterruptGuard::Interrupted() && link->IsOpen()) {
        std::int64_t tick = clock.NowMs() + 500;
        std::string polled;
        if (PollLearnedCode(*link, polled) == LinkResult::Ok) {
            heard = ClassifyHeard(polled);
            if (heard != Heard::Nothing) {
                code = polled;
                break;
            }
        }
        // Short sleeps, so Ctrl+C is answered at once.
        while (!InterruptGuard::Interrupted() && clock.NowMs() < tick)
            clock.SleepUntilMs(clock.NowMs() + 20);
    }
    const bool lost = !link->IsOpen(); // the adapter went away while we waited
    StopLearning(*link);               // whatever happened, the Kobu stops listening
    session.Close();
    if (lost) {
        Fail(15009);
        return ExitUnreachable;
    }
    if (heard == Heard::Malformed) {
        // Not a code: taken as one it would become 0000 and free the position.
        Fail(15023, {PrintableText(code), std::to_string(mm::RadioCodeAddr(position))});
        return ExitTransfer;
    }
    if (code.empty()) return Stopped(16055);

    TextToRadioCode(code, &data.image[mm::RadioCodeAddr(position)]);
    if (const WriteStatus saved = data.SaveImageFile(data.fileName, data.imageSize); !saved.ok()) {
        FailSave(saved, data.fileName);
        return ExitFile;
    }
    std::printf("%d: %s\n", position,
                RadioCodeToText(&data.image[mm::RadioCodeAddr(position)]).c_str());
    return ExitOk;
}

} // namespace kivo::cli
