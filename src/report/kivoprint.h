// KivoPrint: prints the configuration report of a parameter image, two A4 pages for a
// 256-byte image and three for a 512-byte one.
#pragma once

#include "data/kivodata.h"
#include "data/kivoini.h"

#include <string>

class QPrinter;

namespace kivo {

// How a print ended. For a printer: whether it took the job. For a printer set to print into
// a file (a PDF): whether the report was drawn to its end, and how writing the file went; the
// file is written only then, whole or not at all.
struct PrintOutcome {
    bool drawn = false;  // every page was drawn (for a printer: the job was started)
    std::string file;    // the file printed into; empty for a printer
    WriteStatus written; // how writing that file ended
    bool ok() const { return drawn && written.ok(); }
};

class KivoPrint {
public:
    // Values.ini is read from the program folder, the logo from the template folder (the
    // executable's folder); both with their trailing '/'.
    KivoPrint(const std::string& programFolder, const std::string& templateFolder);

    // Set by the caller before Print.
    std::string jobTitle;       // the job's name in the print queue
    std::string subscriberText; // after "Teilnehmernummer "
    std::string fileLine;       // after "Dateiname "
    std::string fileDateText;   // after "Dateidatum "
    int copies = 1;

    // Prints the working image of `data` on `printer` as the print dialog left it (or as set
    // up for a PDF file): job name, copies, portrait, every page. Returns when the job has
    // been handed over, or the file written.
    PrintOutcome Print(unsigned imageSize, KivoData data, QPrinter& printer) const;

    // The logo file the report uses, empty for none.
    std::string LogoPath() const;

private:
    KivoIni ini_;
    std::string templateFolder_;
};

} // namespace kivo
