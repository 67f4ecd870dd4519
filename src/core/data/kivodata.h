// One configuration: its file name, where it came from, and the three image buffers.
#pragma once

#include "data/filewriter.h"
#include "data/memorymap.h"

#include <array>
#include <cstdint>
#include <string>

namespace kivo {

using Image = std::array<std::uint8_t, mm::kImageBuffer>;

enum ImageSource : std::uint32_t {
    SourceDefault = 0, // Default.bin
    SourceOpened = 1,  // opened from a file
    SourceSaved = 2,   // saved under a chosen name
    SourceUnit = 3,    // read from a unit
};

// Image queries; they take a full 512-byte image and change nothing.
unsigned FirmwareNumber(const Image& image);
bool ProtocolInUse(const Image& image, int code);
// selector -1: any alarm type byte holds 30 or 44..48; 0..255: any holds that code.
bool AlarmTypeInUse(const Image& image, int selector);
// Display form of the firmware version, e.g. "07.30-10".
std::string FirmwareText(const Image& image);
// 24-bit serial number, most significant byte first.
std::uint32_t SerialNumberOf(const Image& image);

class KivoData {
public:
    std::string fileName;
    std::uint32_t imageSource = SourceDefault;
    Image image{};     // working image: edited, saved, written
    Image receive{};   // filled by reads from the unit
    Image reference{}; // taken when loaded, read or saved; the report compares against it
    std::uint32_t imageSize = mm::kLargeImage;

    // Working image and receive buffer hold the same bytes at first..last inclusive.
    bool RangesEqual(unsigned first, unsigned last) const;

    // Accepts files of exactly 256 or 512 bytes (or longer, taking the first 512); on
    // refusal the working image and the image size stay as they were.
    bool LoadImageFile(const std::string& path);
    // Writes the first `length` (256 or 512) bytes of the working image. The old file is
    // replaced only once every byte has been written, so a failure leaves it intact.
    WriteStatus SaveImageFile(const std::string& path, unsigned length) const;
    WriteStatus SaveImage512(const std::string& path) const { return SaveImageFile(path, 512); }
};

} // namespace kivo
