#include "gui/guided/printdialog.h"

#include "gui/app/messages.h"

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

void PrintDialog::ReportFailure(QWidget* parent, const QPrinter& printer) {
    const QString target = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                         : printer.printerName();
    Messages::ShowText(
        parent, MsgKind::Error,
        QStringLiteral("Der Druckauftrag konnte nicht gestartet werden: %1").arg(target));
}

void PrintDialog::Install(StandIn standIn) {
    Installed() = std::move(standIn);
}

} // namespace kivo::gui
