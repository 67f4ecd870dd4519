// kivoctl print: the configuration report of a file, on a printer queue or into a PDF file,
// with the fields the editor sets for an opened file.
#include "cli.h"

#include "app/strtable.h"

#include "app/filemessages.h"
#include "report/printconfiguration.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace kivo::cli {

namespace {

bool Set(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// Qt needs a platform even to lay out text; without a display that is the offscreen one.
void StartQt() {
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
}

// --copies: 1..999.
bool ReadCopies(const std::string& text, int& copies) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    copies = std::atoi(text.c_str());
    return copies >= 1;
}

std::string Queues() {
    std::string list;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        list += (list.empty() ? "" : ", ") + name.toStdString();
    return list.empty() ? Str(16319) : list;
}

} // namespace

int CmdPrint(Context& ctx) {
    const bool toPdf = ctx.Has("--pdf"), toPrinter = ctx.Has("--printer");
    if (toPdf == toPrinter) return CommandUsage("print", 16314);
    int copies = 1;
    if (ctx.Has("--copies")) {
        if (!toPrinter) return CommandUsage("print", 16315);
        if (!ReadCopies(ctx.Option("--copies"), copies)) return CommandUsage("print", 16316);
    }
    const std::string target = toPdf ? ctx.Option("--pdf") : ctx.Option("--printer");
    if (target.empty()) return CommandUsage("print", 16305, {toPdf ? "--pdf" : "--printer"});

    // The file as the editor opens it, and its image as the editor stores it before printing.
    const std::optional<OpenedFile> opened = OpenAsEditor(ctx);
    if (!opened) return ExitFile;
    const KivoData& data = opened->data;
    if (toPdf && !OutputIsNotInput(target, data.fileName)) return ExitUsage;

    StartQt();
    static int argc = 1;
    static char name[] = "kivoctl";
    static char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    QPrinter printer(QPrinter::HighResolution);
    if (toPdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(target));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    } else {
        if (QPrinterInfo::printerInfo(QString::fromStdString(target)).isNull()) {
            Fail(16317, {target, Queues()});
            return ExitPrint;
        }
        printer.setPrinterName(QString::fromStdString(target));
        printer.setCopyCount(copies);
    }

    const PrintFolders folders{ctx.folders.programFolder, ctx.templateFolder};
    const PrintOutcome outcome = PrintConfiguration(data, folders, printer);
    if (toPdf) {
        if (!outcome.drawn) {
            Fail(16212, {target});
            return ExitFile;
        }
        if (!outcome.written.ok()) {
            const FileMessage m = WriteFailureMessage(outcome.written, target);
            Fail(m.textId, m.args);
            return ExitFile;
        }
        std::printf("%s\n", target.c_str());
        return ExitOk;
    }
    if (!outcome.drawn || printer.printerState() == QPrinter::Error) {
        Fail(16318, {target});
        return ExitPrint;
    }
    return ExitOk;
}

} // namespace kivo::cli
