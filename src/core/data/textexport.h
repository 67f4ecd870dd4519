// The annotated parameter text file: every parameter on a line of its own with its address,
// an English name and its value. Fixed English text whatever the interface language; written
// in Windows-1252 with CR LF line ends.
#pragma once

#include "data/kivodata.h"

#include <array>
#include <string>

namespace kivo {

// The texts of the editor's transmitter, telephone and alarm-code fields, as shown.
struct ExportFields {
    std::array<std::string, mm::kTransmitters> radio;
    std::array<std::string, mm::kDestinations> phone;
    std::array<std::string, mm::kDestinations> alarmCode;
};

// What the editor's fields show for an image right after it was put into them.
ExportFields FieldsFromImage(const Image& image);

// Which heading the editor shows above the radio-test column decides the 0xB0 line.
enum class B0Line { RadioTestAlarm, AutoAnswerDuration, Reserved };

struct ExportInput {
    const Image* image = nullptr; // working image after the controls were stored into it
    std::uint32_t imageSource = SourceDefault;
    std::string fileName;      // the configuration's file name (may be empty)
    std::string programFolder; // trailing '/'
    ExportFields fields;
    B0Line b0 = B0Line::RadioTestAlarm;
    std::string sequenceLetters; // text 15034, one letter per destination code
};

// The file's full name by image source: Default.txt in the program folder, the configuration
// file's name + ".txt", or for a read from the unit its name + "(alarm code A).txt".
std::string ExportFileName(const ExportInput& in);

// The whole file content, UTF-8 (only the file name in the heading can be non-ASCII).
std::string ExportText(const ExportInput& in);

// The export's English name of the parameter at an address ("Battery check interval",
// "Telephone number A"), or "" for a byte without one.
std::string ParameterName(unsigned addr);

// Writes the file at `path` (normally ExportFileName) in Windows-1252, whole or not at all.
WriteStatus WriteTextExport(const ExportInput& in, const std::string& path);

} // namespace kivo
