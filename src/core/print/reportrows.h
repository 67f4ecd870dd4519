// The report's rows: which label prints with which byte in which format, section by section.
#pragma once

#include "data/memorymap.h"
#include "print/reporttext.h"

#include <vector>

namespace kivo::report {

struct ValueRow {
    int label; // string-table number of the editor's label
    mm::Addr addr;
    Format format;
    const char* section = nullptr; // Values.ini section of Format::List
};

struct BoxRow {
    int label;
    mm::Addr addr; // alarm type flag byte: ticked when bit 7 is set
};

const std::vector<ValueRow>& SequenceGroupRows(); // page 1, left column, number at 80
const std::vector<ValueRow>& TimeRows();          // page 1 "Zeiten"
const std::vector<ValueRow>& SignalRows();        // page 2 "Signailisierungen"
const std::vector<ValueRow>& CallParameterRows(); // page 2 "Rufparameter"
const std::vector<BoxRow>& AlarmTypeRowsLeft();   // page 2 alarm types, left column
const std::vector<BoxRow>& AlarmTypeRowsRight();  // page 2 alarm types, right column
const std::vector<ValueRow>& FunctionRows();      // page 3 "Funktionen" (512-byte images)

} // namespace kivo::report
