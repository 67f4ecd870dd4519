// What the user is told when a file cannot be written: the system's reason in the edition's
// words, and the one message a configuration file's save gives.
#pragma once

#include "data/filewriter.h"

#include <string>
#include <vector>

namespace kivo {

// The reason as a sentence of its own, e.g. "Der Datenträger ist voll."
std::string WriteFailureReason(const WriteStatus& status);

struct FileMessage {
    int textId;
    std::vector<std::string> args;
    bool refusal; // the target is write-protected: refused before anything was written
};

// For a configuration file and its text export: a write-protected target and a name the
// platform refuses keep their own messages; every other failure names the file and the reason.
FileMessage SaveFailureMessage(const WriteStatus& status, const std::string& path);

// For every other file (a PDF report, a wire trace): the file and the reason.
FileMessage WriteFailureMessage(const WriteStatus& status, const std::string& path);

} // namespace kivo
