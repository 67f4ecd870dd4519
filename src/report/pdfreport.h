// A report for a PDF file is drawn into memory first: only a document that was drawn to its
// end and carries its trailer is handed to the file writer, so a failed print never leaves a
// broken PDF where the user's file was.
#pragma once

#include <QPagedPaintDevice>

#include <functional>
#include <string>

class QPrinter;

namespace kivo {

// Draws with `paint` on a PDF document that takes the page layout, resolution, title and
// creator of `printer`; `pdf` gets the document. False when the drawing failed or the
// document is incomplete.
bool RenderPdf(const std::function<bool(QPagedPaintDevice&)>& paint, const QPrinter& printer,
               std::string& pdf);

} // namespace kivo
