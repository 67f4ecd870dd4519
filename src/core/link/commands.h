// The commands the Kobu understands, the memory transfer in 16-byte chunks, the image-size
// probe, the whole-image read and the Kobu version check. Nothing here shows anything; every
// operation returns one of the result codes.
#pragma once

#include "data/kivodata.h"
#include "link/kobulink.h"

#include <functional>
#include <string>
#include <vector>

namespace kivo {

enum class LinkResult {
    Ok = 0,
    NoAnswer = 2,   // no valid answer, or a refusal, to a short command
    ReadFailed = 4, // a memory read failed
    WriteFailed = 5,
    OldKobu = 7, // the Kobu's firmware is older than required, or of another variant
};

constexpr unsigned kChunk = 16;
constexpr int kAttempts = 3;

// Called after every chunk with the chunks done so far and the total of the range.
using ChunkProgress = std::function<void(int done, int total)>;

// The lengths of a range's chunks, taken in turn.
using ChunkCycle = std::vector<unsigned>;
struct Chunk {
    unsigned address;
    unsigned count;
};
// The chunks of first..last with lengths from `cycle` (1..16 each); with two lengths or more in
// the cycle, neighbouring chunks never have the same length.
std::vector<Chunk> Chunks(unsigned first, unsigned last, const ChunkCycle& cycle);
// Chunks of 16 bytes, one more than first..last needs, each sharing at least one byte with a
// neighbour: a reply taken for the wrong chunk shows where the two disagree.
std::vector<Chunk> OverlappingChunks(unsigned first, unsigned last);

LinkResult CheckUnit(KobuLink& link);
// Stops early, with 4, once two chunks have failed on every attempt.
LinkResult ReadRange(KobuLink& link, Image& buffer, unsigned first, unsigned last,
                     const ChunkProgress& progress = {});
// Stops early once two chunks have gone unanswered on every attempt; the read-back that
// follows every write reports what was not written.
LinkResult WriteRange(KobuLink& link, const Image& buffer, unsigned first, unsigned last,
                      const ChunkProgress& progress = {});
// 512, 256 or 0 (unknown). 256 only when the unit answers 0x0FF but refuses two addresses of
// the extended area (0x1FF and 0x100) on every attempt, both with NAK or both with silence.
unsigned ProbeImageSize(KobuLink& link);
// Reads a whole unit: *foundSize bytes when it is 256 or 512 already, else the size probed
// first (and put there; 0 when unknown); zeros behind a 256-byte unit. A read that met any
// trouble on the line is reported only when a further pass with other chunk boundaries, run
// on a quiet line, brought the same bytes. Ends within 25 s whatever the line does.
LinkResult ReadWholeImage(KobuLink& link, Image& target, const ChunkProgress& progress = {},
                          unsigned* foundSize = nullptr);
LinkResult CheckKobuVersion(KobuLink& link, const std::string& required);
LinkResult ReadKobuVersion(KobuLink& link, std::string& version);

LinkResult StartLearning(KobuLink& link);
LinkResult StopLearning(KobuLink& link);
// 0 and the first four characters of the 8-character reply, else 2.
LinkResult PollLearnedCode(KobuLink& link, std::string& code);

LinkResult RequestInfo(KobuLink& link, const std::string& code, const std::string& registers);
// Always 0: the payload of a valid frame, one byte if one came, else the empty text.
LinkResult PollInfo(KobuLink& link, std::string& reply);
LinkResult WriteInfo(KobuLink& link, const std::string& code, const std::string& data);
// 0 and the two characters ("03" written, "04" failed), else 2.
LinkResult PollWrite(KobuLink& link, std::string& reply);

// Number of chunks a range takes.
int ChunkCount(unsigned first, unsigned last);

} // namespace kivo
