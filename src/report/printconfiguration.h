// The two commands that print a configuration report, as one call each for their windows.
#pragma once

#include "data/kivodata.h"
#include "report/kivoprint.h"

#include <string>

class QPrinter;

namespace kivo {

// Where the report finds Values.ini (program folder) and the logo (template folder), each with
// its trailing '/'.
struct PrintFolders {
    std::string programFolder;
    std::string templateFolder;
};

// The editor's File > Print once its print dialog was accepted and its controls were stored
// into the working image: copies as chosen on `printer`, subscriber and job title from alarm
// code A, the file line by image source (bracketed when the image differs from the reference
// copy), the file's date for an opened or saved file; then the report of the editor's image
// size.
PrintOutcome PrintConfiguration(const KivoData& data, const PrintFolders& folders,
                                QPrinter& printer);

// Basic programming's "read and print" after a successful read: the image as read, the size
// the probe found, "aus KIVO ausgelesen" and no file date.
PrintOutcome PrintReadConfiguration(const KivoData& data, unsigned probedSize,
                                    const PrintFolders& folders, QPrinter& printer);

// The last modification date of a file in the edition's short date form; empty when the file
// cannot be found.
std::string FileDateText(const std::string& path);

} // namespace kivo
