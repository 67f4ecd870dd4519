// The memory transfer: reading and writing in chunks, the image-size probe and the whole-image
// read that takes a reply only when it can be only the answer to its own command.
#include "link/commands.h"

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <optional>

namespace kivo {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string MemoryCommand(char letter, unsigned address, unsigned count) {
    char text[16];
    std::snprintf(text, sizeof text, "%c%04X%02X", letter, address & 0xFFFF, count & 0xFF);
    return text;
}

// Decodes 2*n upper-case hex digits into out; false when the reply has another length or a
// character that is not such a digit.
bool DecodeChunk(const Reply& r, unsigned n, std::uint8_t* out) {
    if (r.count != static_cast<int>(2 * n)) return false;
    for (unsigned i = 0; i < n; ++i) {
        int high = HexValue(r.text[2 * i]), low = HexValue(r.text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        out[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return true;
}

enum class ChunkRead { Ok, Refused, Silent, Garbled };

// One read of n bytes at `address`. Anything but exactly those bytes makes the link wary: the
// real reply may still be on its way.
ChunkRead ReadChunk(KobuLink& link, unsigned address, unsigned n, std::uint8_t* out) {
    const Reply r = link.Transact(MemoryCommand('R', address, n), 2);
    if (DecodeChunk(r, n, out)) return ChunkRead::Ok;
    if (r.IsByte(NAK)) return ChunkRead::Refused;
    if (r.count > 0) link.Suspect(); // a frame of another length, or another single byte
    return r.received == 0 ? ChunkRead::Silent : ChunkRead::Garbled;
}

enum class Probe { Answered, Refused, Silent, Unclear };

// One byte at `address` with the usual attempts: whether it came (into *value), or every
// attempt was refused with NAK, or every attempt met silence, or neither. Silence counts only
// when the line then stays quiet: a reply that is merely late would show up there.
Probe ProbeAddress(KobuLink& link, unsigned address, std::uint8_t* value) {
    bool refused = true, silent = true;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const ChunkRead r = ReadChunk(link, address, 1, value);
        if (r == ChunkRead::Ok) return Probe::Answered;
        refused = refused && r == ChunkRead::Refused;
        silent = silent && r == ChunkRead::Silent && link.AwaitQuiet();
    }
    if (!link.IsOpen() || link.Stopped()) return Probe::Unclear; // gone: that proves nothing
    return refused ? Probe::Refused : silent ? Probe::Silent : Probe::Unclear;
}

bool ValidRange(unsigned first, unsigned last) {
    return first <= last && last < mm::kImageBuffer;
}

// A transfer stops once this many chunks have failed on every attempt: its result is a
// failure already, and a unit that has stopped answering would otherwise cost every chunk
// left its full time-outs.
constexpr int kGiveUpChunks = 2;

// A size probe ends by then, and a whole-image read (its probe included), whatever the line
// does.
constexpr std::int64_t kProbeBudgetMs = 10000;
constexpr std::int64_t kReadBudgetMs = 25000;

// The passes that confirm a troubled first one: other chunk boundaries, neighbours of unlike
// length, and a quiet line before every command.
const ChunkCycle kConfirmCycles[] = {{15, 16}, {13, 14}};
constexpr int kCarefulQuietMs = 100;

// The size found by a probe, and the byte it read at the top of the unit's memory (none when
// the line kept it from reading it).
struct Sized {
    unsigned size = 0;
    std::optional<std::uint8_t> top;
};

Sized ProbeSize(KobuLink& link) {
    LinkBudget budget(link, kProbeBudgetMs);
    std::uint8_t value = 0;
    Probe top = ProbeAddress(link, mm::ImageLast, &value);
    if (top == Probe::Answered) return {mm::kLargeImage, value};
    std::uint8_t low = 0;
    if (ProbeAddress(link, mm::SmallImageLast, &low) != Probe::Answered) return {};
    // Only a unit that refuses the extended area lacks it: a 0x1FF lost to the line says
    // nothing, and taking such a unit for a 256-byte one would lose its extended area. The
    // line has just answered, so 0x1FF gets one more round before the size is called unknown.
    if (top == Probe::Unclear) top = ProbeAddress(link, mm::ImageLast, &value);
    if (top == Probe::Answered) return {mm::kLargeImage, value};
    if (top == Probe::Unclear) return {};
    // A troubled line can refuse or swallow three replies by chance; it is far less likely to
    // do the same to another address of the area three times as well. Units refuse in one
    // way: NAK at both, or silence at both.
    std::uint8_t ignored = 0;
    const Probe next = ProbeAddress(link, mm::ExtendedAreaFirst, &ignored);
    if (next == Probe::Answered) return {mm::kLargeImage, std::nullopt};
    return next == top ? Sized{mm::kSmallImage, low} : Sized{};
}

// Reads `chunks` into `buffer`. Where a chunk overlaps bytes read before in this call, they
// must agree; *irregular is set when they do not and when any attempt failed.
LinkResult ReadChunks(KobuLink& link, Image& buffer, const std::vector<Chunk>& chunks,
                      const ChunkProgress& progress, bool* irregular) {
    const int total = static_cast<int>(chunks.size());
    std::bitset<mm::kImageBuffer> have;
    int done = 0, failed = 0;
    for (const Chunk& c : chunks) {
        std::uint8_t bytes[kChunk];
        bool ok = false;
        for (int attempt = 0; attempt < kAttempts && !ok; ++attempt) {
            ok = ReadChunk(link, c.address, c.count, bytes) == ChunkRead::Ok;
            if (!ok && irregular) *irregular = true;
        }
        // Every chunk that never brought its bytes counts as failed, whatever came instead:
        // a read must not report success for bytes that did not arrive.
        if (!ok) {
            if (++failed >= kGiveUpChunks || link.Stopped() || !link.IsOpen()) break;
            continue;
        }
        for (unsigned i = 0; i < c.count; ++i) {
            const unsigned a = c.address + i;
            if (have[a] && buffer[a] != bytes[i] && irregular) {
                // One of the two replies belongs to another chunk.
                *irregular = true;
                link.Suspect();
            }
            buffer[a] = bytes[i];
            have[a] = true;
        }
        if (progress) progress(++done, total);
    }
    return failed ? LinkResult::ReadFailed : LinkResult::Ok;
}

bool SameBytes(const Image& a, const Image& b, unsigned first, unsigned last) {
    return std::equal(a.begin() + first, a.begin() + last + 1, b.begin() + first);
}

// Puts the link's careful quiet back when a read ends on any path.
class CarefulScope {
public:
    explicit CarefulScope(KobuLink& link) : link_(link) {}
    ~CarefulScope() { link_.SetCarefulQuiet(0); }
    CarefulScope(const CarefulScope&) = delete;
    CarefulScope& operator=(const CarefulScope&) = delete;

private:
    KobuLink& link_;
};

// first..last, whose byte at `last` is known to be `top`. The first pass reads chunks that
// overlap their neighbours: a reply taken for the wrong chunk shows where the two disagree
// (and the last chunk against `top`). If anything was irregular, passes on a quiet line with
// other chunk boundaries must reproduce the bytes of an earlier pass before they are taken.
LinkResult ConfirmedRead(KobuLink& link, Image& target, unsigned first, unsigned last,
                         std::optional<std::uint8_t> top, const ChunkProgress& progress) {
    CarefulScope careful(link);
    const int anomalies = link.Anomalies();
    bool irregular = false;
    Image pass = target;
    if (ReadChunks(link, pass, OverlappingChunks(first, last), progress, &irregular) !=
        LinkResult::Ok) {
        target = pass; // what did arrive
        return LinkResult::ReadFailed;
    }
    target = pass;
    if (!irregular && top == pass[last] && link.Anomalies() == anomalies) return LinkResult::Ok;

    std::vector<Image> passes{pass};
    link.SetCarefulQuiet(kCarefulQuietMs);
    for (const ChunkCycle& cycle : kConfirmCycles) {
        Image next = target;
        if (ReadChunks(link, next, Chunks(first, last, cycle), progress, nullptr) != LinkResult::Ok)
            return LinkResult::ReadFailed;
        for (const Image& earlier : passes) {
            if (SameBytes(earlier, next, first, last)) {
                target = next;
                return LinkResult::Ok;
            }
        }
        passes.push_back(next);
    }
    return LinkResult::ReadFailed;
}

} // namespace

std::vector<Chunk> Chunks(unsigned first, unsigned last, const ChunkCycle& cycle) {
    std::vector<Chunk> chunks;
    if (!ValidRange(first, last) || cycle.empty()) return chunks;
    unsigned previous = 0;
    for (unsigned a = first, i = 0; a <= last; ++i) {
        unsigned n = std::min(std::clamp(cycle[i % cycle.size()], 1u, kChunk), last - a + 1);
        // Only the rest at the end can repeat its neighbour's length; one byte less keeps
        // them apart.
        if (cycle.size() > 1 && n == previous && n > 1) --n;
        chunks.push_back({a, n});
        previous = n;
        a += n;
    }
    return chunks;
}

std::vector<Chunk> OverlappingChunks(unsigned first, unsigned last) {
    std::vector<Chunk> chunks;
    if (!ValidRange(first, last)) return chunks;
    const unsigned length = last - first + 1;
    if (length <= kChunk) return {{first, length}};
    // Every chunk shares its first byte with the one before: as few chunks of at most 16 bytes
    // as that allows, every other one a byte shorter while the bytes to spare last.
    const unsigned count = (length - 1 + kChunk - 2) / (kChunk - 1);
    unsigned shorter = count * kChunk - (length + count - 1);
    unsigned a = first;
    for (unsigned i = 0; i < count; ++i) {
        unsigned n = kChunk;
        if (i % 2 == 1 && shorter > 0) {
            --n;
            --shorter;
        }
        chunks.push_back({a, n});
        a += n - 1;
    }
    return chunks;
}

int ChunkCount(unsigned first, unsigned last) {
    return first <= last ? static_cast<int>((last - first) / kChunk + 1) : 0;
}

LinkResult ReadRange(KobuLink& link, Image& buffer, unsigned first, unsigned last,
                     const ChunkProgress& progress) {
    if (!ValidRange(first, last)) return LinkResult::ReadFailed;
    return ReadChunks(link, buffer, Chunks(first, last, {kChunk}), progress, nullptr);
}

LinkResult WriteRange(KobuLink& link, const Image& buffer, unsigned first, unsigned last,
                      const ChunkProgress& progress) {
    if (!ValidRange(first, last)) return LinkResult::WriteFailed;
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::vector<Chunk> chunks = Chunks(first, last, {kChunk});
    const int total = static_cast<int>(chunks.size());
    int done = 0, dead = 0;
    bool failed = false;
    for (const Chunk& c : chunks) {
        std::string command = MemoryCommand('W', c.address, c.count);
        for (unsigned i = 0; i < c.count; ++i) {
            command += kHex[buffer[c.address + i] >> 4];
            command += kHex[buffer[c.address + i] & 0xF];
        }
        bool answered = false;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            Reply r = link.Transact(command, 1);
            if (r.IsByte(ACK)) {
                answered = true;
                break;
            }
            if (r.count == 1 && !r.IsByte(NAK)) link.Suspect();
            answered = answered || r.IsByte(NAK);
            // Only a refusal on the last attempt counts; a silent chunk is caught by the
            // read-back that follows every write.
            if (attempt == kAttempts && r.IsByte(NAK)) failed = true;
        }
        if (progress) progress(++done, total);
        if ((!answered && ++dead >= kGiveUpChunks) || link.Stopped() || !link.IsOpen()) break;
    }
    return failed ? LinkResult::WriteFailed : LinkResult::Ok;
}

unsigned ProbeImageSize(KobuLink& link) {
    return ProbeSize(link).size;
}

LinkResult ReadWholeImage(KobuLink& link, Image& target, const ChunkProgress& progress,
                          unsigned* foundSize) {
    LinkBudget budget(link, kReadBudgetMs);
    Image scratch{};
    Sized sized{foundSize ? *foundSize : 0, std::nullopt};
    if (sized.size == mm::kLargeImage || sized.size == mm::kSmallImage) {
        // The top byte first, as a probe would read it: a one-byte reply that no chunk's
        // reply can pass for, and a check of the last chunk.
        std::uint8_t value = 0;
        if (ProbeAddress(link, sized.size - 1, &value) == Probe::Answered)
            sized.top = value;
        else
            sized.size = 0;
    } else {
        sized = ProbeSize(link);
    }
    LinkResult result = LinkResult::ReadFailed;
    if (sized.size != 0) // 0x100-0x1FF stay zero for 256
        result = ConfirmedRead(link, scratch, 0, sized.size - 1, sized.top, progress);
    target = scratch;
    if (foundSize) *foundSize = sized.size;
    return result;
}

} // namespace kivo
