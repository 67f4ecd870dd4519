// Commands that talk to the Kobu and the unit behind it.
#include "cli.h"

#include "app/strtable.h"
#include "data/basicimage.h"
#include "data/codec.h"
#include "data/compare.h"
#include "data/kivodata.h"
#include "data/kivoini.h"
#include "interrupt.h"
#include "json.h"
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
        const std::string choice = KobuChoice(ctx.Option("--kobu"));
        Fail(16017, {choice});
        // The simulator's options are a developer's: its own detail says which one is wrong.
        if (choice.rfind("sim", 0) == 0) std::fprintf(stderr, "kivoctl: %s\n", error.c_str());
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

bool LoadConfiguration(const std::string& argument, KivoData& data) {
    const std::string path = InputFile(argument);
    if (path.empty()) return false;
    if (!data.LoadImageFile(path)) {
        Fail(15010);
        return false;
    }
    data.fileName = argument == "-" ? path : argument;
    data.imageSource = SourceOpened;
    return true;
}

// The byte differences of the ranges a write covers, as JSON objects: address, the export's
// name, the file's byte and the unit's.
std::string DifferencesJson(const std::vector<Difference>& differences) {
    std::vector<std::string> items;
    for (const Difference& d : differences) {
        char address[16];
        std::snprintf(address, sizeof address, "0x%03X", d.addr);
        items.push_back(Json()
                            .Field("address", address)
                            .Field("name", d.name)
                            .Field("file", static_cast<int>(d.first))
                            .Field("unit", static_cast<int>(d.second))
                            .Text());
    }
    return Json::Array(items);
}

const char* OutcomeName(WriteOutcome o) {
    switch (o) {
    case WriteOutcome::Verified:
        return "verified";
    case WriteOutcome::NoKobu:
        return "no_kobu";
    case WriteOutcome::NoUnit:
        return "no_unit";
    case WriteOutcome::Refused:
        return "refused";
    case WriteOutcome::BackupFailed:
        return "backup_failed";
    case WriteOutcome::WriteFailed:
        return "write_failed";
    case WriteOutcome::VerifyFailed:
        return "verify_failed";
    }
    return "";
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
    const bool kobu = ReadKobuVersion(*link, version) == LinkResult::Ok;
    const bool unit = CheckUnit(*link) == LinkResult::Ok;
    const unsigned size = unit ? ProbeImageSize(*link) : 0;
    // The serial number (0xFD..0xFF) and, on a 512-byte unit, the firmware (0x100..0x102).
    Image bytes{};
    const bool serial = size != 0 && ReadRange(*link, bytes, mm::SerialNumber,
                                               mm::SerialNumber + 2) == LinkResult::Ok;
    const bool firmware =
        size == mm::kLargeImage &&
        ReadRange(*link, bytes, mm::FirmwareMajor, mm::FirmwareVariant) == LinkResult::Ok;
    if (ctx.Has("--json")) {
        Json json;
        // Whatever the Kobu answers reaches the terminal only as visible characters.
        if (kobu)
            json.Field("kobu_version", PrintableText(version));
        else
            json.Null("kobu_version");
        json.Field("unit", unit).Field("size", size);
        if (firmware)
            json.Field("firmware", FirmwareText(bytes));
        else
            json.Null("firmware");
        if (serial)
            json.Field("serial", static_cast<long long>(SerialNumberOf(bytes)));
        else
            json.Null("serial");
        std::printf("%s\n", json.Text().c_str());
    } else {
        std::printf("%s\n", FormatText(Str(16323), {kobu ? PrintableText(version) : "?"}).c_str());
        if (unit) std::printf("%s\n", FormatText(Str(16324), {std::to_string(size)}).c_str());
        if (firmware) std::printf("%s\n", FormatText(Str(16325), {FirmwareText(bytes)}).c_str());
        if (serial)
            std::printf("%s\n",
                        FormatText(Str(16326), {std::to_string(SerialNumberOf(bytes))}).c_str());
    }
    if (!unit) Fail(15008);
    return unit && size ? ExitOk : ExitUnreachable;
}

int CmdRead(Context& ctx) {
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    InterruptGuard guard(InterruptGuard::Mode::Stop);
    link->SetCancel(InterruptGuard::Interrupted);
    KivoData data;
    ConsoleUi ui(InterruptGuard::Interrupted, ctx.StdoutTaken());
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
    const unsigned length = size == mm::kSmallImage ? mm::kSmallImage : mm::kLargeImage;
    const std::string& target = ctx.args[0];
    if (target == "-") {
        // The image itself on stdout, for a pipe.
        if (std::fwrite(data.image.data(), 1, length, stdout) != length || std::fflush(stdout)) {
            Fail(16322);
            return ExitFile;
        }
        return ExitOk;
    }
    if (const WriteStatus saved = data.SaveImageFile(target, length); !saved.ok()) {
        FailSave(saved, target);
        return ExitFile;
    }
    if (ctx.Has("--json"))
        std::printf("%s\n",
                    Json()
                        .Field("file", target)
                        .Field("size", length)
                        .Field("serial", static_cast<long long>(SerialNumberOf(data.image)))
                        .Field("firmware",
                               length == mm::kLargeImage ? FirmwareText(data.image) : std::string())
                        .Text()
                        .c_str());
    return ExitOk;
}

int CmdWrite(Context& ctx) {
    KivoData data;
    if (!LoadConfiguration(ctx.args[0], data)) return ExitFile;
    WriteOptions options = WriteOptions::Editor();
    if (ctx.Has("--id")) {
        const std::string id = ctx.Option("--id");
        if (id.empty() || id.size() > 16) return CommandUsage("write", 16309);
        for (char c : id)
            if (!IsAlarmCodeKey(c) || c < ' ')
                return CommandUsage("write", 16310, {PrintableText(std::string(1, c))});
        const std::string radio = ctx.Has("--radio") ? ctx.Option("--radio") : "clear-2-8";
        const RadioName* choice = nullptr;
        for (const auto& r : kRadioNames)
            if (radio == r.name) choice = &r;
        if (!choice) return CommandUsage("write", 16311);
        const unsigned first = PrepareBasicImage(data.image, id, choice->option);
        options = WriteOptions::Basic(first, data.imageSize);
    } else if (ctx.Has("--radio")) {
        return CommandUsage("write", 16312);
    }
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    std::string backup;
    if (!ctx.Has("--no-backup")) {
        options.backupFolder = BackupFolderSetting(ctx.folders.programFolder);
        std::FILE* to = ResultStream(ctx);
        options.backupWritten = [&backup, to](const std::string& path) {
            backup = path;
            std::fprintf(to, "%s\n", FormatText(Str(16005), {path}).c_str());
        };
    }
    unsigned size = 0;
    options.unitSize = &size;
    // The user's key never leaves the unit half-written: the write and its read-back run to
    // their end, and the result is reported as usual.
    InterruptGuard guard(InterruptGuard::Mode::FinishFirst);
    WriteOutcome outcome;
    {
        ConsoleUi ui(nullptr, ctx.StdoutTaken());
        outcome = WriteUnit(*link, data, ui, options);
    }
    if (ctx.Has("--json")) {
        // What the read-back found, where there was one.
        std::vector<Difference> differences;
        if (outcome == WriteOutcome::VerifyFailed && size != 0) {
            const auto ranges = WrittenRanges(size, options.firstAddress);
            for (const Difference& d : CompareImages(data.image, data.receive, size))
                for (const auto& r : ranges)
                    if (d.addr >= r.first && d.addr <= r.second) differences.push_back(d);
        }
        Json json;
        json.Field("verified", outcome == WriteOutcome::Verified)
            .Field("outcome", OutcomeName(outcome))
            .Field("size", size)
            .Raw("differences", DifferencesJson(differences));
        if (!backup.empty()) json.Field("backup", backup);
        std::printf("%s\n", json.Text().c_str());
    }
    return ExitFor(outcome);
}

int CmdVerify(Context& ctx) {
    KivoData data;
    if (!LoadConfiguration(ctx.args[0], data)) return ExitFile;
    std::unique_ptr<KobuLink> link;
    if (!MakeLink(ctx, link)) return ExitUsage;
    InterruptGuard guard(InterruptGuard::Mode::Stop);
    link->SetCancel(InterruptGuard::Interrupted);
    std::vector<Difference> differences;
    VerifyOutcome outcome;
    {
        ConsoleUi ui(InterruptGuard::Interrupted, ctx.StdoutTaken());
        outcome = VerifyUnit(*link, data, ui, differences);
    }
    if (InterruptGuard::Interrupted()) return Stopped(16054);
    if (ctx.Has("--json")) {
        std::printf("%s\n", Json()
                                .Field("verified", outcome == VerifyOutcome::Equal)
                                .Raw("differences", DifferencesJson(differences))
                                .Text()
                                .c_str());
    } else {
        for (const Difference& d : differences) std::printf("%s\n", DescribeDifference(d).c_str());
    }
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
    if (pos.size() != 1 || pos[0] < '1' || pos[0] > '8') return CommandUsage("learn", 16313);
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
