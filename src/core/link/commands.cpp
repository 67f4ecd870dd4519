#include "link/commands.h"

#include <cstdio>

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

int ShortCommand(KobuLink& link, const std::string& command) {
    return link.Transact(command, 1).IsByte(ACK) ? ResultOk : ResultNoAnswer;
}

// Replies come back in the order of their commands. Once "O" is answered with ACK, every reply
// to an earlier command has arrived (and the next frame's purge drops it), so none can pass
// for the answer to the next read.
bool SettleLine(KobuLink& link) {
    if (!link.Unsettled()) return true;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (link.Transact("O", 1).IsByte(ACK)) {
            link.MarkSettled();
            return true;
        }
    }
    return false;
}

// One read of n bytes at `address` on a settled line; a reply that is not those bytes leaves
// the line unsettled, since the real one may still come.
bool ReadChunk(KobuLink& link, unsigned address, unsigned n, std::uint8_t* out,
               Reply* reply = nullptr) {
    if (!SettleLine(link)) return false;
    const Reply r = link.Transact(MemoryCommand('R', address, n), 2);
    if (reply) *reply = r;
    if (DecodeChunk(r, n, out)) return true;
    link.MarkUnsettled();
    return false;
}

enum class Probe { Answered, Refused, Unclear };

// One byte at `address` with the usual attempts: whether it came, or every attempt was
// refused with NAK, or neither (silence or garbage).
Probe ProbeAddress(KobuLink& link, unsigned address) {
    bool refused = true;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Reply r;
        std::uint8_t byte = 0;
        if (ReadChunk(link, address, 1, &byte, &r)) return Probe::Answered;
        if (!r.IsByte(NAK)) refused = false;
    }
    return refused ? Probe::Refused : Probe::Unclear;
}

bool ValidRange(unsigned first, unsigned last) {
    return first <= last && last < mm::kImageBuffer;
}

} // namespace

int ChunkCount(unsigned first, unsigned last) {
    return first <= last ? static_cast<int>((last - first) / kChunk + 1) : 0;
}

int CheckUnit(KobuLink& link) {
    const int result = ShortCommand(link, "O");
    if (result == ResultOk) link.MarkSettled();
    return result;
}

int ReadRange(KobuLink& link, Image& buffer, unsigned first, unsigned last,
              const ChunkProgress& progress) {
    if (!ValidRange(first, last)) return ResultReadFailed;
    const int total = ChunkCount(first, last);
    int done = 0;
    bool failed = false;
    for (unsigned a = first; a <= last; a += kChunk) {
        const unsigned n = std::min(kChunk, last - a + 1);
        std::uint8_t bytes[kChunk];
        bool ok = false;
        for (int attempt = 0; attempt < kAttempts && !ok; ++attempt)
            ok = ReadChunk(link, a, n, bytes);
        // Every chunk that never brought its bytes counts as failed, whatever came instead:
        // a read must not report success for bytes that did not arrive.
        if (ok)
            std::copy(bytes, bytes + n, buffer.begin() + a);
        else
            failed = true;
        if (progress) progress(++done, total);
    }
    return failed ? ResultReadFailed : ResultOk;
}

int WriteRange(KobuLink& link, const Image& buffer, unsigned first, unsigned last,
               const ChunkProgress& progress) {
    if (!ValidRange(first, last)) return ResultWriteFailed;
    static constexpr char kHex[] = "0123456789ABCDEF";
    const int total = ChunkCount(first, last);
    int done = 0;
    bool failed = false;
    for (unsigned a = first; a <= last; a += kChunk) {
        const unsigned n = std::min(kChunk, last - a + 1);
        std::string command = MemoryCommand('W', a, n);
        for (unsigned i = 0; i < n; ++i) {
            command += kHex[buffer[a + i] >> 4];
            command += kHex[buffer[a + i] & 0xF];
        }
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            Reply r = link.Transact(command, 1);
            if (r.IsByte(ACK)) break;
            // Only a refusal on the last attempt counts; a silent chunk is caught by the
            // read-back that follows every write.
            if (attempt == kAttempts && r.IsByte(NAK)) failed = true;
        }
        if (progress) progress(++done, total);
    }
    return failed ? ResultWriteFailed : ResultOk;
}

unsigned ProbeImageSize(KobuLink& link) {
    const Probe top = ProbeAddress(link, 0x1FF);
    if (top == Probe::Answered) return mm::kLargeImage;
    Image scratch{};
    if (ReadRange(link, scratch, 0x0FF, 0x0FF) != ResultOk) return 0;
    // Only a unit that refuses the extended area lacks it: a 0x1FF lost to the line says
    // nothing, and taking such a unit for a 256-byte one would lose its extended area.
    if (top != Probe::Refused) return 0;
    // A troubled line can refuse three times by chance; it is far less likely to refuse
    // another address of the area three times as well.
    switch (ProbeAddress(link, 0x100)) {
    case Probe::Answered:
        return mm::kLargeImage;
    case Probe::Refused:
        return mm::kSmallImage;
    case Probe::Unclear:
        break;
    }
    return 0;
}

int ReadWholeImage(KobuLink& link, Image& target, const ChunkProgress& progress,
                   unsigned* foundSize) {
    Image scratch{};
    const unsigned size = ProbeImageSize(link);
    int result = ResultReadFailed;
    if (size == mm::kLargeImage)
        result = ReadRange(link, scratch, 0x000, 0x1FF, progress);
    else if (size == mm::kSmallImage)
        result = ReadRange(link, scratch, 0x000, 0x0FF, progress); // 0x100-0x1FF stay zero
    target = scratch;
    if (foundSize) *foundSize = size;
    return result;
}

int ReadKobuVersion(KobuLink& link, std::string& version) {
    Reply r = link.Transact("v", 2);
    if (r.count != 11) {
        version.clear();
        return ResultNoAnswer;
    }
    version = r.text;
    return ResultOk;
}

int CheckKobuVersion(KobuLink& link, const std::string& required) {
    std::string version;
    if (ReadKobuVersion(link, version) != ResultOk || required.size() < 4) return ResultNoAnswer;
    if (version[3] != required[3]) return ResultOldKobu; // another variant
    if (version.compare(0, 2, required, 0, 2) < 0) return ResultOldKobu;
    return ResultOk;
}

int StartLearning(KobuLink& link) {
    return ShortCommand(link, "s1");
}
int StopLearning(KobuLink& link) {
    return ShortCommand(link, "s0");
}

int PollLearnedCode(KobuLink& link, std::string& code) {
    Reply r = link.Transact("c1", 2);
    if (r.count != 8) return ResultNoAnswer;
    code = r.text.substr(0, 4);
    return ResultOk;
}

int RequestInfo(KobuLink& link, const std::string& code, const std::string& registers) {
    return ShortCommand(link, "a" + code + registers);
}

int PollInfo(KobuLink& link, std::string& reply) {
    reply = link.Transact("A", 2).text;
    return ResultOk;
}

int WriteInfo(KobuLink& link, const std::string& code, const std::string& data) {
    return ShortCommand(link, "f" + code + data);
}

int PollWrite(KobuLink& link, std::string& reply) {
    Reply r = link.Transact("F", 2);
    if (r.count != 2) return ResultNoAnswer;
    reply = r.text;
    return ResultOk;
}

} // namespace kivo
