#include "gui/common/printdialog.h"

#include "data/filetarget.h"
#include "gui/common/messages.h"

#include <QPrintDialog>
#include <QPrinter>

namespace kivo::gui {

namespace {

PrintDialog::StandIn& Installed() {
    static PrintDialog::StandIn standIn;
    return standIn;
}

} // namespace

bool PrintDialog::Run(QWidget* parent, QPrinter& printer) {
    if (Installed()) return Installed()(parent, printer);
    QPrintDialog dialog(&printer, parent);
    // The report always prints every page: no page range, no selection.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

void PrintDialog::ReportOutcome(QWidget* parent, const QPrinter& printer,
                                const PrintOutcome& outcome) {
    if (outcome.ok()) return;
    if (!outcome.drawn) {
        const QString target =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        Messages::Show(parent, MsgKind::Error, 16212, {target.toStdString()});
        return;
    }
    ShowFileMessage(parent, WriteFailureMessage(outcome.written, outcome.file));
}

bool PrintDialog::OutputIsNotInput(QWidget* parent, const QPrinter& printer,
                                   const std::string& input) {
    const std::string output = printer.outputFileName().toStdString();
    if (!SameFile(output, input)) return true;
    Messages::Show(parent, MsgKind::Error, 16208, {output});
    return false;
}

void PrintDialog::Install(StandIn standIn) {
    Installed() = std::move(standIn);
}

} // namespace kivo::gui
