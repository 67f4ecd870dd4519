// Draws laid-out report pages with a QPainter: the same code for a printer and a PDF file.
#pragma once

#include "print/reportflow.h"
#include "print/reportmodel.h"

#include <QFont>
#include <QImage>
#include <QPagedPaintDevice>

namespace kivo {

// The report's typeface at a size and weight.
QFont ReportQFont(const report::ReportFont& font);

// Paints `copies` times every page of `report` on `device` (its printable area is the page),
// the logo stretched into its rectangle when `logo` is not null. False when the device does
// not start painting (a PDF file that cannot be written, a printer that refuses the job).
bool PaintReport(const report::Report& report, const QImage& logo, QPagedPaintDevice& device,
                 int copies);

} // namespace kivo
