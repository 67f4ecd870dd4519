#include "data/kivodata.h"

#include "data/fileio.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kivo {
namespace {

using test::TempDir;

Image WithFirmware(std::uint8_t major, std::uint8_t minor, std::uint8_t variant = 0) {
    Image img{};
    img[mm::FirmwareMajor] = major;
    img[mm::FirmwareMinor] = minor;
    img[mm::FirmwareVariant] = variant;
    return img;
}

Bytes Pattern(std::size_t n, std::uint8_t seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}

TEST(ImageQueries, FirmwareNumberTreatsSingleDigitMinorAsTens) {
    struct Case {
        std::uint8_t major, minor;
        unsigned number;
    } cases[] = {{0x07, 0x30, 0x730}, {0x06, 0x05, 0x650}, {0x07, 0x05, 0x750},
                 {0x07, 0x10, 0x710}, {0x06, 0x32, 0x632}, {0x00, 0x00, 0},
                 {0x07, 0x0F, 0x7F0}, {0xFF, 0xFF, 0xFFFF}};
    for (const auto& c : cases)
        EXPECT_EQ(FirmwareNumber(WithFirmware(c.major, c.minor)), c.number)
            << int(c.major) << "." << int(c.minor);
}

TEST(ImageQueries, FirmwareText) {
    EXPECT_EQ(FirmwareText(WithFirmware(0x07, 0x30, 10)), "07.30-10");
    EXPECT_EQ(FirmwareText(WithFirmware(0x02, 0x1A, 3)), "02.1A-3");
    EXPECT_EQ(FirmwareText(Image{}), "00.00-0");
}

TEST(ImageQueries, ProtocolInUseLooksAtTheSixDestinations) {
    Image img{};
    img[mm::ProtocolLast] = 21;
    EXPECT_TRUE(ProtocolInUse(img, 21));
    EXPECT_FALSE(ProtocolInUse(img, 17));
    img[mm::ProtocolLast + 1] = 17; // the byte after the protocols is not one of them
    EXPECT_FALSE(ProtocolInUse(img, 17));
}

TEST(ImageQueries, AlarmTypeInUse) {
    Image img{};
    img[0xA8] = 29;
    img[0xA9] = 31;
    img[0xAA] = 43;
    img[0xB2] = 49;
    img[0xB1] = 44; // not an alarm type byte
    EXPECT_FALSE(AlarmTypeInUse(img, -1));
    EXPECT_TRUE(AlarmTypeInUse(img, 49));
    EXPECT_FALSE(AlarmTypeInUse(img, 44));
    img[0xAF] = 44;
    EXPECT_TRUE(AlarmTypeInUse(img, -1));
    img[0xAF] = 0;
    img[0xB2] = 30;
    EXPECT_TRUE(AlarmTypeInUse(img, -1));
    img[0xB2] = 48;
    EXPECT_TRUE(AlarmTypeInUse(img, -1));
}

TEST(ImageQueries, SerialNumberIsBigEndian) {
    Image img{};
    img[0xFD] = 0x01;
    img[0xFE] = 0x02;
    img[0xFF] = 0x03;
    EXPECT_EQ(SerialNumberOf(img), 66051u);
}

TEST(KivoDataTest, RangesEqualComparesExactlyTheRange) {
    KivoData d;
    d.image.fill(0x11);
    d.receive.fill(0x11);
    d.receive[0xF7] = 0x22;
    EXPECT_TRUE(d.RangesEqual(0x000, 0x0F6)); // 247 bytes, the first differing one is outside
    EXPECT_FALSE(d.RangesEqual(0x000, 0x0F7));
    EXPECT_FALSE(d.RangesEqual(0x0F7, 0x0F7));
    EXPECT_TRUE(d.RangesEqual(0x0F8, 0x1FF));
    d.receive[0x000] = 0;
    EXPECT_FALSE(d.RangesEqual(0x000, 0x0F6));
    EXPECT_FALSE(d.RangesEqual(0x1F0, 0x200)); // past the buffer: never equal
}

TEST(ImageFiles, LoadAcceptsOnly256Or512BytesOrMore) {
    TempDir dir;
    struct Case {
        std::size_t length;
        bool accepted;
        std::uint32_t size;
    } cases[] = {{256, true, 256}, {512, true, 512}, {600, true, 512}, {300, false, 0},
                 {0, false, 0},    {255, false, 0},  {511, false, 0}};
    for (const auto& c : cases) {
        Bytes content = Pattern(c.length, 3);
        std::string path = dir.Write("f" + std::to_string(c.length), content);
        KivoData d;
        d.image.fill(0xEE);
        d.imageSize = 777; // a marker: a refused file leaves it alone
        EXPECT_EQ(d.LoadImageFile(path), c.accepted) << c.length;
        if (!c.accepted) {
            EXPECT_EQ(d.imageSize, 777u);
            EXPECT_EQ(d.image[0], 0xEE);
            continue;
        }
        EXPECT_EQ(d.imageSize, c.size);
        EXPECT_TRUE(std::equal(d.image.begin(), d.image.begin() + c.size, content.begin()));
        for (std::size_t a = c.size; a < mm::kImageBuffer; ++a) ASSERT_EQ(d.image[a], 0) << a;
    }
}

TEST(ImageFiles, LoadRefusesMissingFilesAndFolders) {
    TempDir dir;
    KivoData d;
    EXPECT_FALSE(d.LoadImageFile(dir.file("missing.Kivo")));
    EXPECT_FALSE(d.LoadImageFile(dir.path()));
    EXPECT_EQ(FileLength(dir.file("missing.Kivo")), 0u);
    EXPECT_EQ(FileLength(dir.Write("x", Pattern(300, 0))), 300u);
}

TEST(ImageFiles, SaveWritesTheRequestedLengthAndReplacesWhole) {
    TempDir dir;
    KivoData d;
    Bytes content = Pattern(512, 9);
    std::copy(content.begin(), content.end(), d.image.begin());
    std::string path = dir.Write("unit.Kivo", Pattern(900, 1)); // an older, longer file
    ASSERT_TRUE(d.SaveImageFile(path, 256).ok());
    EXPECT_EQ(dir.Read("unit.Kivo"), Bytes(content.begin(), content.begin() + 256));
    ASSERT_TRUE(d.SaveImage512(path).ok());
    EXPECT_EQ(dir.Read("unit.Kivo"), content);
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ImageFiles, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    KivoData d;
    d.image.fill(0x42);
    std::string path = dir.Write("unit.Kivo", Pattern(512, 5));
    EXPECT_FALSE(d.SaveImageFile(path, 300).ok()); // not an image length
    EXPECT_EQ(d.SaveImageFile(dir.file("no-such-folder/unit.Kivo"), 512).error,
              FileError::NoFolder);
    EXPECT_EQ(d.SaveImageFile(dir.path(), 512).error, FileError::NotAFile);
    EXPECT_EQ(dir.Read("unit.Kivo"), Pattern(512, 5));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
}

} // namespace
} // namespace kivo
