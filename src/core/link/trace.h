// A wire trace: every frame sent and every reply received, with a millisecond timestamp and a
// hex dump, so that "the unit does not answer" can be diagnosed from a file.
#pragma once

#include "data/filewriter.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kivo {

class LinkTrace {
public:
    // Appends to `path`: its lines so far stay. nullptr (with the reason in `why`) when the
    // file cannot be written.
    static std::shared_ptr<LinkTrace> Open(const std::string& path, WriteStatus* why = nullptr);
    ~LinkTrace(); // saves what is written
    LinkTrace(const LinkTrace&) = delete;
    LinkTrace& operator=(const LinkTrace&) = delete;

    // One line: time in ms, the direction ("->" sent, "<-" received, "--" an event), the
    // bytes in hex and as printable text.
    void Log(std::int64_t ms, const char* direction, const std::uint8_t* data, std::size_t size);
    void Note(std::int64_t ms, const std::string& text);
    // The first line of a run (date, time, program, command line), so that runs appended to
    // one file can be told apart: "=== " and the text, without control bytes.
    void Heading(const std::string& text);

    // Makes the file hold every line so far, whole, and goes on writing behind them. The link
    // saves at every close, so a process that dies loses at most the session it was in. After
    // a failure the trace stays silent and every later call returns that failure.
    WriteStatus Save();

    const std::string& Path() const { return path_; }

private:
    explicit LinkTrace(std::string path) : path_(std::move(path)) {}
    void Line(const std::string& line);

    std::string path_;
    FileWriter writer_;
    WriteStatus status_;
    bool unsaved_ = true; // a new trace file exists only once it is saved
};

} // namespace kivo
