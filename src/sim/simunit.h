// The Kivo's configuration memory as the simulated unit holds it: 256 or 512 bytes, the
// read-only bytes that the unit fills itself, and the optional file the memory lives in.
#pragma once

#include "data/kivodata.h"
#include "sim/simoptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kivo::sim {

// The memory of a freshly set up unit: one transmitter learned, a centre's number and an ID.
Image StartImage();

class SimUnit {
public:
    // Loads or creates the memory as the options say; false and `error` when a file cannot
    // be read, has the wrong length or cannot be created.
    bool Init(const SimOptions& options, std::string& error);

    unsigned Size() const { return unsigned(memory_.size()); }

    // count bytes from address; false when any of them lies past the memory.
    bool Read(unsigned address, unsigned count, std::vector<std::uint8_t>& out) const;
    // Stores the bytes except the read-only ones; false (nothing stored) when any lies past
    // the memory. Saves the file when there is one.
    bool Write(unsigned address, const std::vector<std::uint8_t>& data);

    // The memory in a 512-byte buffer, zeros past Size().
    Image Memory() const;
    // Every byte up to Size(), the read-only ones included (tests plant odd units this way).
    void SetMemory(const Image& image);

    // The last failure to save the memory file; empty when every save worked.
    const std::string& SaveError() const { return saveError_; }

private:
    void Save();

    std::vector<std::uint8_t> memory_;
    std::string path_;
    std::string saveError_;
};

} // namespace kivo::sim
