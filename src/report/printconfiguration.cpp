#include "report/printconfiguration.h"

#include "print/reportfields.h"
#include "print/reporttext.h"
#include "report/kivoprint.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPrinter>

namespace kivo {

namespace {

PrintOutcome PrintWith(const report::ReportFields& f, const KivoData& data, unsigned size,
                       const PrintFolders& folders, QPrinter& printer) {
    KivoPrint print(folders.programFolder, folders.templateFolder);
    print.jobTitle = f.jobTitle;
    print.subscriberText = f.subscriberText;
    print.fileLine = f.fileLine;
    print.fileDateText = f.fileDateText;
    print.copies = printer.copyCount();
    return print.Print(size, data, printer);
}

} // namespace

std::string FileDateText(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (path.empty() || !info.exists()) return std::string();
    const QDate d = info.lastModified().date();
    return report::ShortDateText(d.year(), d.month(), d.day());
}

PrintOutcome PrintConfiguration(const KivoData& data, const PrintFolders& folders,
                                QPrinter& printer) {
    const auto fields = report::EditorReportFields(data, FileDateText(data.fileName));
    return PrintWith(fields, data, data.imageSize, folders, printer);
}

PrintOutcome PrintReadConfiguration(const KivoData& data, unsigned probedSize,
                                    const PrintFolders& folders, QPrinter& printer) {
    return PrintWith(report::ReadAndPrintFields(data), data, probedSize, folders, printer);
}

} // namespace kivo
