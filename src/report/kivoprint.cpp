#include "report/kivoprint.h"

#include "print/reportlayout.h"
#include "print/reportmodel.h"
#include "print/reporttext.h"
#include "report/pdfreport.h"
#include "report/reportpainter.h"

#include <QDate>
#include <QImage>
#include <QPrinter>

namespace kivo {

KivoPrint::KivoPrint(const std::string& programFolder, const std::string& templateFolder)
    : templateFolder_(templateFolder) {
    ini_.SetFileName(programFolder + "Values.ini");
}

std::string KivoPrint::LogoPath() const {
    return report::ChooseLogoPath(templateFolder_, ini_);
}

PrintOutcome KivoPrint::Print(unsigned imageSize, KivoData data, QPrinter& printer) const {
    report::ReportInput in;
    in.image = data.image;
    in.imageSize = imageSize;
    in.subscriberText = subscriberText;
    in.fileLine = fileLine;
    in.fileDateText = fileDateText;
    const QDate today = QDate::currentDate();
    in.printDateText = report::ShortDateText(today.year(), today.month(), today.day());
    const report::Report report = report::BuildReport(in, ini_);

    QImage logo;
    if (std::string path = LogoPath(); !path.empty()) logo.load(QString::fromStdString(path));

    printer.setDocName(QString::fromStdString(jobTitle));
    printer.setCopyCount(std::max(1, copies));
    printer.setPageOrientation(QPageLayout::Portrait);
    // Where the platform cannot make the copies, the job carries them itself.
    const int drawn = printer.supportsMultipleCopies() ? 1 : std::max(1, copies);
    PrintOutcome outcome;
    outcome.file = printer.outputFileName().toStdString();
    if (outcome.file.empty()) {
        outcome.drawn = PaintReport(report, logo, printer, drawn);
        return outcome;
    }
    std::string pdf;
    outcome.drawn = RenderPdf(
        [&](QPagedPaintDevice& device) { return PaintReport(report, logo, device, drawn); },
        printer, pdf);
    if (outcome.drawn) outcome.written = WriteFileAtomic(outcome.file, pdf);
    return outcome;
}

} // namespace kivo
