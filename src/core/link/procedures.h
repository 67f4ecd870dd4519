// Reading a whole image from a unit, and writing an image into one with the compatibility
// check and read-back verification. The editor, basic programming, the wizard and kivoctl all
// run these; they speak to their window only through ProcedureUi.
#pragma once

#include "data/compare.h"
#include "data/kivodata.h"
#include "link/kobulink.h"

#include <functional>
#include <string>
#include <vector>

namespace kivo {

enum class BoxKind { Error, Information };

class ProcedureUi {
public:
    virtual ~ProcedureUi() = default;
    // The window's status bar or label.
    virtual void Status(const std::string& text) = 0;
    // A modal box with an OK button showing string-table text `textId` with its arguments.
    virtual void Box(BoxKind kind, int textId, const std::vector<std::string>& args = {}) = 0;
    // The two-part information box: two string-table texts one below the other.
    virtual void TwoPartBox(int firstId, int secondId) = 0;
    // Let pending window messages be processed so the status text appears.
    virtual void Repaint() = 0;
    // Chunks of the current transfer phase done out of chunks to do.
    virtual void Progress(int done, int total) = 0;
    // May be called again with the state it already has; only changes count.
    virtual void WaitCursor(bool on) = 0;
};

// How a caller's write differs from the editor's.
struct WriteOptions {
    unsigned firstAddress = 0;     // first address written and compared
    bool sizeCheck = true;         // refuse a unit whose size is neither 256 nor 512
    bool compatibility = true;     // run CheckCompatibility
    bool openFailureStatus = true; // 15009 also in the status line (editor only)
    int failureBoxText = 15006;    // box after a failed write (basic programming: 15007)
    bool twoPartBoxFor256 = true;  // success on a 256-byte unit: 15004 with 15033 (editor)
    unsigned fileSize = 512;       // size of the configuration file being written
    bool olderFileNote = false;    // 15035 when a 256-byte file goes into a 512-byte unit
    // Before writing, the unit's own image is read and kept in this folder as a dated file
    // (empty: no backup). A failed backup stops the write.
    std::string backupFolder;
    std::function<void(const std::string& path)> backupWritten; // told the backup's path
    unsigned* unitSize = nullptr; // gets the size the write found (0: unknown)

    static WriteOptions Editor();
    static WriteOptions Wizard();
    static WriteOptions Basic(unsigned firstAddress, unsigned fileSize);
};

enum class WriteOutcome {
    Verified,
    NoKobu,       // the link could not be opened (15009)
    NoUnit,       // no unit answers, its size or firmware cannot be read (15008)
    Refused,      // the compatibility check refused the image (15101/15102); nothing written
    BackupFailed, // the unit's image could not be read or kept (13806/16002); nothing written
    WriteFailed,  // a range write failed (15006 or 15007)
    VerifyFailed, // the read-back failed or differs (15005)
};

enum class ReadOutcome {
    Read,
    NoKobu,     // the link could not be opened (15009)
    NoUnit,     // no unit answers (15008)
    ReadFailed, // the whole-image read failed (13806)
};

enum class Compatibility { Supported, NotSupported, NoFirmwareAnswer };

// How a caller's read differs from the editor's.
struct ReadOptions {
    bool successBox = true; // 13805 in a box as well as in the status line
    // The read becomes the configuration: reference copy, image source 3 (the editor). Basic
    // programming's read-and-print only fills the working image.
    bool becomesConfiguration = true;

    static ReadOptions Editor() { return {}; }
    static ReadOptions ReadAndPrint() { return {false, false}; }
};

// Reads the unit into `data` (receive buffer, then working image and, for the editor,
// reference copy and image source 3). `unitSize` gets the probed size. `imageToControls`
// shows the image and returns the failing address or -1; null when there are no controls.
ReadOutcome ReadUnit(KobuLink& link, KivoData& data, ProcedureUi& ui, unsigned& unitSize,
                     const std::function<int()>& imageToControls = {},
                     const ReadOptions& options = ReadOptions::Editor());

enum class VerifyOutcome {
    Equal,
    Differs,    // the unit holds other bytes somewhere in the ranges a write covers (15005)
    NoKobu,     // 15009
    NoUnit,     // no unit answers, or its size cannot be found (15008)
    ReadFailed, // the unit could not be read (15005)
};

// Reads the unit back and compares it with the working image of `data` over the ranges a
// write covers (for the unit's size, from 0x000): each difference has the file's byte first
// and the unit's second. The receive buffer holds what was read.
VerifyOutcome VerifyUnit(KobuLink& link, KivoData& data, ProcedureUi& ui,
                         std::vector<Difference>& differences);

// Writes the working image of `data` and verifies it. The working image, reference copy and
// image source stay as they are; the receive buffer holds the read-back.
WriteOutcome WriteUnit(KobuLink& link, KivoData& data, ProcedureUi& ui,
                       const WriteOptions& options = WriteOptions::Editor());

// On a failure to read the firmware bytes it has already closed the link and said 15008.
Compatibility CheckCompatibility(KobuLink& link, KivoData& data, unsigned unitSize,
                                 ProcedureUi& ui);

// Where a write keeps the unit's own image first: the program folder's "Backup/", or "" when
// [Setup] BackupBeforeWrite of its Values.ini is "false" (any letter case).
std::string BackupFolderSetting(const std::string& programFolder);

// The name of a backup of a unit: its serial number and the local time, e.g.
// "Kivo_210417_20261210-031500.Kivo".
std::string BackupName(std::uint32_t serial, std::int64_t unixTime);

// The ranges a write covers for a unit size, from `first`: {first..0xF6} and, for a 512-byte
// unit, {0x103..0x1FF}.
std::vector<std::pair<unsigned, unsigned>> WrittenRanges(unsigned unitSize, unsigned first);

} // namespace kivo
