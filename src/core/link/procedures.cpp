#include "link/procedures.h"

#include "app/filemessages.h"
#include "app/strtable.h"
#include "data/fileio.h"
#include "data/kivoini.h"
#include "data/text.h"
#include "link/commands.h"

#include <cctype>
#include <ctime>

#include <optional>

namespace kivo {

namespace {

constexpr std::int64_t kWriteBudgetMs = 45000;

// A failure told twice: in the status line and in an error box.
void Fail(ProcedureUi& ui, int textId) {
    ui.Status(Str(textId));
    ui.Box(BoxKind::Error, textId);
}

// Progress over several ranges as one transfer.
class PhaseProgress {
public:
    PhaseProgress(ProcedureUi& ui, int total) : ui_(ui), total_(total) {}
    ChunkProgress Next(int chunksOfRange) {
        int offset = offset_;
        offset_ += chunksOfRange;
        return [this, offset](int done, int) { ui_.Progress(offset + done, total_); };
    }

private:
    ProcedureUi& ui_;
    int total_;
    int offset_ = 0;
};

struct Firmware {
    unsigned number;  // FirmwareNumber of the bytes 0x100 and 0x101
    unsigned variant; // byte 0x102
};

std::optional<Firmware> ReadFirmware(KobuLink& link) {
    Image bytes{};
    if (ReadRange(link, bytes, mm::FirmwareMajor, mm::FirmwareVariant) != LinkResult::Ok)
        return std::nullopt;
    return Firmware{FirmwareNumber(bytes), bytes[mm::FirmwareVariant]};
}

bool IsAnyOf(unsigned v, std::initializer_list<unsigned> set) {
    for (unsigned x : set)
        if (v == x) return true;
    return false;
}

bool Protocol17Supported(unsigned variant, unsigned firmware) {
    return (variant == 10 && firmware >= 0x650) || IsAnyOf(variant, {25, 29, 34});
}

bool Protocol21Supported(unsigned variant, unsigned firmware) {
    return (variant == 10 && firmware >= 0x700) || IsAnyOf(variant, {25, 29, 34}) ||
           (variant == 22 && firmware >= 0x633);
}

// Which alarm type codes a unit refuses: the AlarmTypeInUse selector, or nullopt when it
// accepts them all.
std::optional<int> RefusedAlarmTypes(unsigned variant, unsigned firmware) {
    if (variant == 10) {
        if (firmware <= 0x700) return -1;
        if (firmware <= 0x70F) return std::nullopt;
        if (firmware <= 0x730) return 30;
        if (firmware <= 0x73F) return std::nullopt;
        return 48;
    }
    if (variant == 25) return std::nullopt;
    if (variant == 29 || variant == 34) return 48;
    return -1;
}

} // namespace

WriteOptions WriteOptions::Editor() {
    return WriteOptions{};
}

WriteOptions WriteOptions::Wizard() {
    WriteOptions o;
    o.sizeCheck = false;
    o.compatibility = false;
    o.openFailureStatus = false;
    o.twoPartBoxFor256 = false;
    return o;
}

WriteOptions WriteOptions::Basic(unsigned firstAddress, unsigned fileSize) {
    WriteOptions o;
    o.firstAddress = firstAddress;
    o.openFailureStatus = false;
    o.failureBoxText = 15007;
    o.twoPartBoxFor256 = false;
    o.fileSize = fileSize;
    o.olderFileNote = true;
    return o;
}

std::string BackupFolderSetting(const std::string& programFolder) {
    KivoIni ini;
    ini.SetFileName(programFolder + "Values.ini");
    return Lower(ini.ReadValue("Setup", "BackupBeforeWrite")) == "false"
               ? std::string()
               : programFolder + "Backup/";
}

std::string BackupName(std::uint32_t serial, std::int64_t unixTime) {
    std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm local{};
    localtime_r(&t, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return "Kivo_" + std::to_string(serial) + "_" + stamp + ".Kivo";
}

namespace {

// Two writes into one unit within a second would otherwise give the second backup the first
// one's name, and the unit's original image would be overwritten by the one just written.
std::string FreeBackupPath(const std::string& folder, const std::string& name) {
    std::string path = folder + name;
    const std::string stem = name.substr(0, name.rfind('.'));
    const std::string ext = name.substr(stem.size());
    for (int n = 2; FileExists(path) && n < 1000; ++n)
        path = folder + stem + "_" + std::to_string(n) + ext;
    return path;
}

} // namespace

std::vector<std::pair<unsigned, unsigned>> WrittenRanges(unsigned unitSize, unsigned first) {
    std::vector<std::pair<unsigned, unsigned>> ranges;
    if (first <= mm::LowWritableLast) ranges.emplace_back(first, mm::LowWritableLast);
    if (unitSize == mm::kLargeImage) ranges.emplace_back(mm::ExtendedWritableFirst, mm::ImageLast);
    return ranges;
}

ReadOutcome ReadUnit(KobuLink& link, KivoData& data, ProcedureUi& ui, unsigned& unitSize,
                     const std::function<int()>& imageToControls, const ReadOptions& options) {
    ReadOutcome outcome = ReadOutcome::ReadFailed;
    ui.WaitCursor(true);
    LinkSession session(link);
    if (!session.Open()) {
        Fail(ui, 15009);
        outcome = ReadOutcome::NoKobu;
    } else if (CheckUnit(link) != LinkResult::Ok) {
        Fail(ui, 15008);
        outcome = ReadOutcome::NoUnit;
    } else {
        ui.Status(Str(13804));
        ui.Repaint();
        // One probe, inside the whole-image read: the size is the one the read went by.
        unitSize = 0;
        if (ReadWholeImage(
                link, data.receive, [&ui](int d, int t) { ui.Progress(d, t); }, &unitSize) !=
            LinkResult::Ok) {
            Fail(ui, 13806);
        } else {
            data.image = data.receive;
            if (options.becomesConfiguration) data.reference = data.image;
            int failing = imageToControls ? imageToControls() : -1;
            if (failing >= 0 && failing < static_cast<int>(mm::kImageBuffer))
                ui.Box(BoxKind::Error, 15023,
                       {std::to_string(data.image[failing]), std::to_string(failing)});
            ui.Status(Str(13805));
            if (options.successBox) ui.Box(BoxKind::Information, 13805);
            if (options.becomesConfiguration) data.imageSource = SourceUnit;
            outcome = ReadOutcome::Read;
        }
    }
    session.Close();
    ui.WaitCursor(false);
    return outcome;
}

Compatibility CheckCompatibility(KobuLink& link, KivoData& data, unsigned unitSize,
                                 ProcedureUi& ui) {
    const bool large = unitSize == mm::kLargeImage;
    bool notSupported = false;

    // The unit's firmware bytes, read once when a rule first needs them.
    std::optional<Firmware> firmware;
    bool firmwareTried = false;
    auto readFirmware = [&]() -> const std::optional<Firmware>& {
        if (!firmwareTried) firmware = ReadFirmware(link);
        firmwareTried = true;
        return firmware;
    };

    struct ProtocolRule {
        int code;
        bool (*supported)(unsigned variant, unsigned firmware);
    };
    bool protocolRefused = false;
    for (const ProtocolRule& rule :
         {ProtocolRule{17, Protocol17Supported}, ProtocolRule{21, Protocol21Supported}}) {
        if (!ProtocolInUse(data.image, rule.code)) continue;
        if (!large) {
            protocolRefused = true; // a unit without the extended area knows neither
            continue;
        }
        if (!readFirmware()) {
            link.CloseLink();
            ui.WaitCursor(false);
            Fail(ui, 15008);
            return Compatibility::NoFirmwareAnswer;
        }
        if (!rule.supported(firmware->variant, firmware->number)) protocolRefused = true;
    }
    if (protocolRefused) {
        ui.WaitCursor(false);
        ui.Box(BoxKind::Error, 15101);
        notSupported = true;
    }

    std::optional<int> selector = -1;
    if (large && readFirmware()) selector = RefusedAlarmTypes(firmware->variant, firmware->number);
    if (selector && AlarmTypeInUse(data.image, *selector)) {
        ui.WaitCursor(false);
        ui.Box(BoxKind::Error, 15102);
        notSupported = true;
    }
    return notSupported ? Compatibility::NotSupported : Compatibility::Supported;
}

WriteOutcome WriteUnit(KobuLink& link, KivoData& data, ProcedureUi& ui,
                       const WriteOptions& options) {
    ui.WaitCursor(true);
    LinkSession session(link);
    auto finish = [&](WriteOutcome outcome) {
        session.Close();
        ui.WaitCursor(false);
        return outcome;
    };
    if (!session.Open()) {
        if (options.openFailureStatus) ui.Status(Str(15009));
        ui.Box(BoxKind::Error, 15009);
        return finish(WriteOutcome::NoKobu);
    }
    if (CheckUnit(link) != LinkResult::Ok) {
        Fail(ui, 15008);
        return finish(WriteOutcome::NoUnit);
    }
    unsigned size = ProbeImageSize(link);
    if (options.unitSize) *options.unitSize = size;
    if (size != mm::kSmallImage && size != mm::kLargeImage) {
        if (options.sizeCheck) {
            finish(WriteOutcome::NoUnit);
            Fail(ui, 15008);
            return WriteOutcome::NoUnit;
        }
        size = 0; // written and compared like a unit without the extended area
    }
    if (options.olderFileNote && size == mm::kLargeImage && options.fileSize == mm::kSmallImage)
        ui.Box(BoxKind::Information, 15035);
    if (options.compatibility) {
        switch (CheckCompatibility(link, data, size, ui)) {
        case Compatibility::NoFirmwareAnswer:
            return WriteOutcome::NoUnit;
        case Compatibility::NotSupported:
            return finish(WriteOutcome::Refused);
        case Compatibility::Supported:
            break;
        }
    }

    if (!options.backupFolder.empty()) {
        // What the unit held is kept before anything of it is overwritten.
        ui.Status(Str(13804));
        ui.Repaint();
        KivoData backup;
        // The size the write found, so that the backup holds every byte the write may change.
        unsigned backupSize = size;
        if (ReadWholeImage(
                link, backup.image, [&ui](int d, int t) { ui.Progress(d, t); }, &backupSize) !=
                LinkResult::Ok ||
            (size != 0 && backupSize != size)) {
            Fail(ui, 13806);
            return finish(WriteOutcome::BackupFailed);
        }
        MakeFolder(options.backupFolder);
        const std::string path = FreeBackupPath(
            options.backupFolder, BackupName(SerialNumberOf(backup.image),
                                             static_cast<std::int64_t>(std::time(nullptr))));
        if (const WriteStatus saved = backup.SaveImageFile(path, backupSize); !saved.ok()) {
            const std::vector<std::string> args{path, WriteFailureReason(saved)};
            ui.Status(FormatText(Str(16002), args));
            ui.Box(BoxKind::Error, 16002, args);
            return finish(WriteOutcome::BackupFailed);
        }
        if (options.backupWritten) options.backupWritten(path);
    }

    const auto ranges = WrittenRanges(size, options.firstAddress);
    int chunks = 0;
    for (const auto& r : ranges) chunks += ChunkCount(r.first, r.second);

    ui.Status(Str(15001));
    ui.Repaint();
    PhaseProgress writing(ui, chunks);
    bool writeFailed = false;
    {
        // However the line behaves, the writing ends by then; the read-back tells what it left.
        LinkBudget budget(link, kWriteBudgetMs);
        for (const auto& r : ranges) // the second range is written even after the first failed
            if (WriteRange(link, data.image, r.first, r.second,
                           writing.Next(ChunkCount(r.first, r.second))) != LinkResult::Ok)
                writeFailed = true;
    }
    if (writeFailed) {
        ui.Status(Str(15006));
        ui.Box(BoxKind::Error, options.failureBoxText);
        return finish(WriteOutcome::WriteFailed);
    }

    ui.Status(Str(15002));
    ui.Repaint();
    unsigned readBackSize = size;
    if (ReadWholeImage(
            link, data.receive, [&ui](int d, int t) { ui.Progress(d, t); }, &readBackSize) !=
        LinkResult::Ok) {
        Fail(ui, 15005);
        return finish(WriteOutcome::VerifyFailed);
    }
    for (const auto& r : ranges) {
        if (!data.RangesEqual(r.first, r.second)) {
            Fail(ui, 15005);
            return finish(WriteOutcome::VerifyFailed);
        }
    }
    ui.Status(Str(15003));
    if (size == mm::kSmallImage && options.twoPartBoxFor256)
        ui.TwoPartBox(15004, 15033);
    else
        ui.Box(BoxKind::Information, 15004);
    return finish(WriteOutcome::Verified);
}

VerifyOutcome VerifyUnit(KobuLink& link, KivoData& data, ProcedureUi& ui,
                         std::vector<Difference>& differences) {
    differences.clear();
    VerifyOutcome outcome = VerifyOutcome::ReadFailed;
    ui.WaitCursor(true);
    unsigned size = 0;
    LinkSession session(link);
    if (!session.Open()) {
        Fail(ui, 15009);
        outcome = VerifyOutcome::NoKobu;
    } else if (CheckUnit(link) != LinkResult::Ok) {
        Fail(ui, 15008);
        outcome = VerifyOutcome::NoUnit;
    } else {
        ui.Status(Str(15002));
        ui.Repaint();
        const LinkResult read = ReadWholeImage(
            link, data.receive, [&ui](int d, int t) { ui.Progress(d, t); }, &size);
        if (size == 0) {
            Fail(ui, 15008);
            outcome = VerifyOutcome::NoUnit;
        } else if (read != LinkResult::Ok) {
            Fail(ui, 15005);
        } else {
            const auto ranges = WrittenRanges(size, 0);
            for (const Difference& d : CompareImages(data.image, data.receive, size))
                for (const auto& r : ranges)
                    if (d.addr >= r.first && d.addr <= r.second) differences.push_back(d);
            outcome = differences.empty() ? VerifyOutcome::Equal : VerifyOutcome::Differs;
            if (outcome == VerifyOutcome::Equal) {
                ui.Status(Str(16052));
                ui.Box(BoxKind::Information, 16052);
            } else {
                Fail(ui, 15005);
            }
        }
    }
    session.Close();
    ui.WaitCursor(false);
    return outcome;
}

} // namespace kivo
