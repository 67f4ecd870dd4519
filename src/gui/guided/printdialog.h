// The platform's print dialog for the two commands that print a report (the editor's File >
// Print and basic programming's "read and print"). A stand-in can take its place, so tests
// print into a PDF file without a dialog.
#pragma once

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

    // The error box for a job that the printer (or the PDF file) would not start. The
    // report has no text of its own for that; the platform's words stand in for it.
    static void ReportFailure(QWidget* parent, const QPrinter& printer);
};

} // namespace kivo::gui
