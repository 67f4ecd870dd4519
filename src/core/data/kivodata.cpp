#include "data/kivodata.h"

#include "data/codec.h"
#include "data/fileio.h"
#include "data/filewriter.h"

#include <algorithm>
#include <cerrno>

namespace kivo {

unsigned FirmwareNumber(const Image& image) {
    unsigned major = image[mm::FirmwareMajor];
    unsigned minor = image[mm::FirmwareMinor];
    // A single-digit minor such as 0x05 stands for 0x50.
    return major * 256 + (minor > 15 ? minor : minor * 16);
}

bool ProtocolInUse(const Image& image, int code) {
    for (int d = 0; d < mm::kDestinations; ++d)
        if (image[mm::ProtocolA + d] == code) return true;
    return false;
}

bool AlarmTypeInUse(const Image& image, int selector) {
    for (mm::Addr a : mm::kAlarmTypeBytes) {
        int v = image[a];
        if (selector == -1 ? (v == 30 || (v >= 44 && v <= 48)) : v == selector) return true;
    }
    return false;
}

std::string FirmwareText(const Image& image) {
    return ByteToHex(image[mm::FirmwareMajor]) + "." + ByteToHex(image[mm::FirmwareMinor]) + "-" +
           std::to_string(image[mm::FirmwareVariant]);
}

std::uint32_t SerialNumberOf(const Image& image) {
    return std::uint32_t(image[mm::SerialNumber]) << 16 |
           std::uint32_t(image[mm::SerialNumber + 1]) << 8 | image[mm::SerialNumber + 2];
}

bool KivoData::RangesEqual(unsigned first, unsigned last) const {
    if (first > last || last >= mm::kImageBuffer) return false;
    return std::equal(image.begin() + first, image.begin() + last + 1, receive.begin() + first);
}

bool KivoData::LoadImageFile(const std::string& path) {
    // A file longer than 512 bytes delivers 512 and is taken as its first 512 bytes.
    auto data = ReadFileBytes(path, mm::kImageBuffer);
    if (!data || (data->size() != mm::kSmallImage && data->size() != mm::kLargeImage)) return false;
    image.fill(0);
    std::copy(data->begin(), data->end(), image.begin());
    imageSize = static_cast<std::uint32_t>(data->size());
    return true;
}

WriteStatus KivoData::SaveImageFile(const std::string& path, unsigned length) const {
    if (length != mm::kSmallImage && length != mm::kLargeImage) return {FileError::Other, EINVAL};
    return WriteFileAtomic(path, image.data(), length);
}

} // namespace kivo
