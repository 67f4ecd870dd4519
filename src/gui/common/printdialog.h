// The platform's print dialog for the two commands that print a report (the editor's File >
// Print and basic programming's "read and print"). A stand-in can take its place, so tests
// print into a PDF file without a dialog.
#pragma once

#include "report/kivoprint.h"

#include <functional>

class QPrinter;
class QWidget;

namespace kivo::gui {

class PrintDialog {
public:
    // Sets up `printer` (printer, copies) with the user; false when the dialog was cancelled.
    static bool Run(QWidget* parent, QPrinter& printer);

    // While installed, Run calls the stand-in instead of showing a dialog; null removes it.
    using StandIn = std::function<bool(QWidget* parent, QPrinter& printer)>;
    static void Install(StandIn standIn);

    // The error box for a print that did not happen: a job the printer would not start, a
    // report that could not be drawn, or a PDF file that could not be written. Nothing for a
    // print that did.
    static void ReportOutcome(QWidget* parent, const QPrinter& printer,
                              const PrintOutcome& outcome);

    // Refuses (with its box) a PDF file that is the configuration being printed.
    static bool OutputIsNotInput(QWidget* parent, const QPrinter& printer,
                                 const std::string& input);
};

} // namespace kivo::gui
