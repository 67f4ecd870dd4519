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

bool ValidRange(unsigned first, unsigned last) {
    return first <= last && last < mm::kImageBuffer;
}

} // namespace

int ChunkCount(unsigned first, unsigned last) {
    return first <= last ? static_cast<int>((last - first) / kChunk + 1) : 0;
}

int CheckUnit(KobuLink& link) {
    return ShortCommand(link, "O");
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
            ok = DecodeChunk(link.Transact(MemoryCommand('R', a, n), 2), n, bytes);
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
    Image scratch{};
    if (ReadRange(link, scratch, 0x1FF, 0x1FF) == ResultOk) return mm::kLargeImage;
    if (ReadRange(link, scratch, 0x0FF, 0x0FF) == ResultOk) return mm::kSmallImage;
    return 0;
}

int ReadWholeImage(KobuLink& link, Image& target, const ChunkProgress& progress) {
    Image scratch{};
    int result;
    if (ReadRange(link, scratch, 0x1FF, 0x1FF) == ResultOk) {
        result = ReadRange(link, scratch, 0x000, 0x1FF, progress);
    } else if (ReadRange(link, scratch, 0x0FF, 0x0FF) != ResultOk) {
        scratch.fill(0);
        result = ResultReadFailed;
    } else {
        std::fill(scratch.begin() + 0x100, scratch.end(), 0);
        result = ReadRange(link, scratch, 0x000, 0x0FF, progress);
    }
    target = scratch;
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
