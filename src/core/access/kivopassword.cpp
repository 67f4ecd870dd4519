#include "access/kivopassword.h"

#include "access/scrambletable.h"
#include "data/cp1252.h"
#include "data/fileio.h"
#include "data/filewriter.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kivo {

namespace {

// The store passes itself off as a language table.
constexpr char kHeader[] = "Language Table\r\n";
constexpr std::size_t kHeaderSize = sizeof kHeader - 1; // 16, without the terminating zero
constexpr std::size_t kFillerStart = kHeaderSize + 16;  // header, then 16 zero bytes
// A record is readable when its text and zero byte fit in the first 44 bytes of the window.
constexpr std::size_t kMaxRecordText = 43;

std::uint8_t SeedOf(int level) {
    return static_cast<std::uint8_t>(level + 16);
}

// Opens a regular file only; O_NONBLOCK keeps a FIFO at the path from blocking the caller.
int OpenRegular(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool ReadAt(int fd, std::uint8_t* data, std::size_t size, off_t offset) {
    while (size > 0) {
        ssize_t n = ::pread(fd, data, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

// The whole store; a file far larger than any store is not one and is not read.
bool ReadAll(int fd, Bytes& out) {
    constexpr std::size_t kLimit = 1 << 20;
    std::uint8_t block[4096];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        out.insert(out.end(), block, block + n);
        if (out.size() > kLimit) return false;
    }
}

// The text of a record window (Windows-1252), or nullopt when the window holds no valid record.
std::optional<std::string> DecodeWindow(const std::uint8_t* window, std::uint8_t seed) {
    const auto plain = KivoPassword::Scramble(seed, window, KivoPassword::kWindowSize);
    const std::size_t n =
        static_cast<std::size_t>(std::find(plain.begin(), plain.end(), 0) - plain.begin());
    if (n > kMaxRecordText) return std::nullopt;
    if (KivoPassword::CheckByte(window, n + 1) != window[n + 1]) return std::nullopt;
    return std::string(plain.begin(), plain.begin() + static_cast<std::ptrdiff_t>(n));
}

std::mt19937 FreshEngine() {
    try {
        std::random_device device;
        std::seed_seq seq{device(), device(), device(), device()};
        return std::mt19937(seq);
    } catch (...) {
        // No entropy source: the filler only has to look random, the clock will do.
        auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        return std::mt19937(static_cast<std::uint32_t>(ticks));
    }
}

// The contents of a new store: header, zero bytes, random filler. A window of fresh filler
// could pass the check by chance and then count as a set password that never gets its
// default; such a window is drawn again.
Bytes NewStoreImage() {
    Bytes data(KivoPassword::kFileSize, 0);
    std::memcpy(data.data(), kHeader, kHeaderSize);
    std::mt19937 engine = FreshEngine();
    std::uniform_int_distribution<int> byte(0, 255);
    auto fill = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) data[i] = static_cast<std::uint8_t>(byte(engine));
    };
    fill(kFillerStart, data.size());
    for (int level = 2; level <= 5; ++level) {
        const auto offset = static_cast<std::size_t>(KivoPassword::WindowOffset(level));
        while (DecodeWindow(data.data() + offset, SeedOf(level)))
            fill(offset, offset + KivoPassword::kWindowSize);
    }
    return data;
}

// Compares typed text with a built-in password, unscrambled only for this comparison.
bool MatchesBuiltIn(const std::string& typed, const std::uint8_t* block, std::size_t size,
                    std::uint8_t seed) {
    auto plain = KivoPassword::Scramble(seed, block, size);
    std::string text(plain.begin(), std::find(plain.begin(), plain.end(), 0));
    const bool match = !text.empty() && Cp1252ToUtf8(text) == typed;
    std::fill(text.begin(), text.end(), '\0');
    std::fill(plain.begin(), plain.end(), 0);
    return match;
}

} // namespace

long KivoPassword::WindowOffset(int level) {
    switch (level) {
    case 2:
        return 243;
    case 3:
        return 361;
    case 4:
        return 498;
    case 5:
        return 581;
    default:
        return -1;
    }
}

std::vector<std::uint8_t> KivoPassword::Scramble(std::uint8_t seed, const std::uint8_t* bytes,
                                                 std::size_t count) {
    std::vector<std::uint8_t> out(count);
    std::uint8_t k = seed;
    for (std::size_t i = 0; i < count; ++i) {
        k = scramble::kTable[k];
        out[i] = static_cast<std::uint8_t>(bytes[i] ^ k);
    }
    return out;
}

std::uint8_t KivoPassword::CheckByte(const std::uint8_t* bytes, std::size_t count) {
    std::uint8_t h = 0;
    for (std::size_t i = 0; i < count; ++i) h = scramble::kTable[h ^ bytes[i]];
    return h;
}

std::string KivoPassword::ReadPassword(int level) const {
    const long offset = WindowOffset(level);
    if (offset < 0) return {};
    const int fd = OpenRegular(path_, O_RDONLY);
    if (fd < 0) return {};
    std::uint8_t window[kWindowSize];
    const bool complete = ReadAt(fd, window, sizeof window, offset);
    ::close(fd);
    if (!complete) return {};
    auto text = DecodeWindow(window, SeedOf(level));
    return text ? Cp1252ToUtf8(*text) : std::string();
}

WriteStatus KivoPassword::WritePassword(int level, const std::string& text) const {
    const std::string password = text.empty() ? std::string(kClearedMarker) : text;
    const std::string raw = Utf8ToCp1252(password);
    // A record takes n + 2 bytes of its 50-byte window; a longer one would run into the bytes
    // behind the window, so it is refused. (The dialogs take at most 32 characters.) Texts that
    // would not read back as written (a zero byte, a character Windows-1252 cannot hold) are
    // refused as well, rather than stored as a password nobody can type.
    if (raw.size() + 2 > kWindowSize || raw.find('\0') != std::string::npos ||
        Cp1252ToUtf8(raw) != password)
        return {FileError::Other, EINVAL};

    // The store is written whole, as any file is: the record goes into a copy of the file as
    // it is, and the copy replaces the file once it is complete.
    Bytes store;
    struct stat st {};
    const bool found = ::stat(path_.c_str(), &st) == 0;
    if (!found && errno != ENOENT) return StatusFromErrno(errno);
    if (found && !S_ISREG(st.st_mode)) return {FileError::NotAFile, 0};
    if (!found) {
        store = NewStoreImage();
    } else {
        const int fd = OpenRegular(path_, O_RDONLY);
        if (fd < 0) return StatusFromErrno(errno);
        const bool read = ReadAll(fd, store);
        ::close(fd);
        if (!read) return {FileError::Other, EIO};
    }
    const long offset = WindowOffset(level);
    if (offset < 0 && found) return {}; // no window, and the file is there: nothing to store
    // A store cut short by some accident would otherwise stay without room for its records;
    // it is topped up with filler to its full length, its existing bytes untouched.
    if (store.size() < kFileSize) {
        const Bytes fresh = NewStoreImage();
        store.insert(store.end(), fresh.begin() + static_cast<std::ptrdiff_t>(store.size()),
                     fresh.end());
    }
    if (offset >= 0) {
        Bytes record(raw.begin(), raw.end());
        record.push_back(0);
        record = Scramble(SeedOf(level), record.data(), record.size());
        record.push_back(CheckByte(record.data(), record.size()));
        std::copy(record.begin(), record.end(), store.begin() + offset);
    }
    return WriteFileAtomic(path_, store);
}

bool KivoPassword::MatchesLevel(const std::string& typed, int level) const {
    const std::string stored = ReadPassword(level);
    if (!stored.empty() && stored == typed) return true;
    return typed.empty() && stored == kClearedMarker;
}

int KivoPassword::AccessLevel(const std::string& typed) const {
    if (MatchesBuiltIn(typed, scramble::kBuiltInLevel4, sizeof scramble::kBuiltInLevel4, SeedOf(4)))
        return 4;
    if (MatchesBuiltIn(typed, scramble::kBuiltInLevel5, sizeof scramble::kBuiltInLevel5, SeedOf(5)))
        return 5;
    int best = 0;
    for (int level : {2, 3, 4, 5})
        if (MatchesLevel(typed, level)) best = level;
    return best;
}

bool KivoPassword::UsedByOtherLevel(const std::string& text, int level) const {
    switch (level) {
    case 2:
        return MatchesLevel(text, 3) || MatchesLevel(text, 5);
    case 3:
        return MatchesLevel(text, 2) || MatchesLevel(text, 5);
    case 5:
        return MatchesLevel(text, 2) || MatchesLevel(text, 3);
    default:
        return false;
    }
}

void WriteDefaultPasswords(const KivoPassword& store) {
    static const struct {
        int level;
        const char* password;
    } kDefaults[] = {{2, "6747"}, {3, "7093"}, {5, "qorvu"}};
    for (const auto& d : kDefaults)
        if (store.ReadPassword(d.level).empty()) store.WritePassword(d.level, d.password);
}

} // namespace kivo
