#include "report/pdfreport.h"

#include "print/pdfcheck.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>

namespace kivo {

bool RenderPdf(const std::function<bool(QPagedPaintDevice&)>& paint, const QPrinter& printer,
               std::string& pdf) {
    QBuffer buffer;
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(printer.resolution());
        if (!writer.setPageLayout(printer.pageLayout())) return false;
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        painted = paint(writer);
    }
    const QByteArray& bytes = buffer.data();
    pdf.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return painted && IsCompletePdf(pdf);
}

} // namespace kivo
