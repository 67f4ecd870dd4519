#include "sim/simunit.h"

#include "data/fileio.h"
#include "data/filewriter.h"

#include <algorithm>

namespace kivo::sim {

namespace {

bool ReadOnly(unsigned address) {
    return address >= mm::ReadOnlyFirst && address <= mm::ReadOnlyLast;
}

// The bytes a unit fills itself: calibration, product data, serial and (512-byte units only)
// the firmware version.
void StampProductData(const SimOptions& o, std::vector<std::uint8_t>& m) {
    const std::uint8_t product[] = {0x5C, 0x07, 0x31, 0x21, 0x03, 0x17};
    std::copy(std::begin(product), std::end(product), m.begin() + mm::RadioCalibration);
    m[mm::SerialNumber] = std::uint8_t(o.serial >> 16);
    m[mm::SerialNumber + 1] = std::uint8_t(o.serial >> 8);
    m[mm::SerialNumber + 2] = std::uint8_t(o.serial);
    if (m.size() > mm::FirmwareVariant) {
        m[mm::FirmwareMajor] = o.firmwareMajor;
        m[mm::FirmwareMinor] = o.firmwareMinor;
        m[mm::FirmwareVariant] = o.variant;
    }
}

} // namespace

bool SimUnit::Init(const SimOptions& options, std::string& error) {
    const unsigned size = options.size == 256 ? 256 : 512;
    path_ = options.memoryPath;
    memory_.assign(size, 0);

    if (!path_.empty() && FileExists(path_)) {
        auto bytes = ReadFileBytes(path_, 4096);
        if (!bytes) {
            error = "cannot read the memory file " + path_;
            return false;
        }
        if (bytes->size() != size) {
            error = "the memory file " + path_ + " holds " + std::to_string(bytes->size()) +
                    " bytes, the unit has " + std::to_string(size);
            return false;
        }
        memory_ = *bytes;
        // The unit's own bytes come from the options, whatever the file says.
        StampProductData(options, memory_);
        return true;
    }

    if (!options.imagePath.empty()) {
        auto bytes = ReadFileBytes(options.imagePath, 512);
        if (!bytes || (bytes->size() != 256 && bytes->size() != 512)) {
            error = "the image file " + options.imagePath +
                    " cannot be read or is not 256 or 512 bytes long";
            return false;
        }
        std::copy_n(bytes->begin(), std::min<std::size_t>(size, bytes->size()), memory_.begin());
    } else {
        Image start = StartImage();
        std::copy_n(start.begin(), size, memory_.begin());
    }
    StampProductData(options, memory_);

    if (!path_.empty() && !WriteFileAtomic(path_, memory_).ok()) {
        error = "cannot create the memory file " + path_;
        return false;
    }
    return true;
}

bool SimUnit::Read(unsigned address, unsigned count, std::vector<std::uint8_t>& out) const {
    if (address >= memory_.size() || count > memory_.size() - address) return false;
    out.assign(memory_.begin() + address, memory_.begin() + address + count);
    return true;
}

bool SimUnit::Write(unsigned address, const std::vector<std::uint8_t>& data) {
    if (address >= memory_.size() || data.size() > memory_.size() - address) return false;
    for (std::size_t i = 0; i < data.size(); ++i)
        if (!ReadOnly(unsigned(address + i))) memory_[address + i] = data[i];
    Save();
    return true;
}

Image SimUnit::Memory() const {
    Image image{};
    std::copy(memory_.begin(), memory_.end(), image.begin());
    return image;
}

void SimUnit::SetMemory(const Image& image) {
    std::copy_n(image.begin(), memory_.size(), memory_.begin());
    Save();
}

void SimUnit::Save() {
    if (path_.empty()) return;
    if (WriteFileAtomic(path_, memory_).ok())
        saveError_.clear();
    else
        saveError_ = "cannot write the memory file " + path_;
}

} // namespace kivo::sim
