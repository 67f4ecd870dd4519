// The editor's File > Print and its Tools entry to basic programming.
#include "gui/editor/enterdata.h"

#include "gui/common/printdialog.h"
#include "report/printconfiguration.h"

#include <QPrinter>

namespace kivo::gui {

void TfrmEnterData::mnuFilePrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    if (!PrintDialog::Run(this, printer)) return;
    // The report shows what the editor shows; whether that differs from the configuration as
    // loaded, read or saved decides the brackets around the file line.
    ControlsToImage();
    // The report's page count follows the editor's own size (a read sets it, Save may
    // change it), not the size of the file last loaded.
    KivoData printed = doc_.data;
    printed.imageSize = doc_.imageSize;
    if (!PrintDialog::OutputIsNotInput(this, printer, doc_.data.fileName)) return;
    PrintDialog::ReportOutcome(
        this, printer,
        PrintConfiguration(printed, {ctx_.folders.programFolder, ctx_.templateFolder}, printer));
}

void TfrmEnterData::mnuToolsBasicClick() {
    ctx_.windows.Exec(Role::BasicProgramming);
}

} // namespace kivo::gui
