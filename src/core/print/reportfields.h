// The texts a caller hands the report: job title, subscriber, file line and file date, filled
// as the editor's print command and basic programming's "read and print" fill them.
#pragma once

#include "data/kivodata.h"

#include <string>

namespace kivo::report {

struct ReportFields {
    std::string jobTitle;
    std::string subscriberText;
    std::string fileLine;
    std::string fileDateText;
};

// "KIVO Programmierdaten (subscriber)", or the bare heading for an empty subscriber.
std::string JobTitle(const std::string& subscriber);

// The editor's print command, called after the controls were stored into the working image.
// The file line follows the image source (default, file name, read from the unit) and is
// bracketed when the working image differs from the reference copy; `fileDateText` (the
// file's modification date) is used for an opened or saved file only.
ReportFields EditorReportFields(const KivoData& data, const std::string& fileDateText);

// Read and print: the unit's alarm code A, "aus KIVO ausgelesen" without brackets, no date.
ReportFields ReadAndPrintFields(const KivoData& data);

} // namespace kivo::report
