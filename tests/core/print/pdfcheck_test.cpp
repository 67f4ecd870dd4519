// A PDF counts as written only when it ends with its trailer.
#include "print/pdfcheck.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

// A small document as a PDF writer ends it: objects, a cross-reference table, its trailer.
std::string Document() {
    std::string pdf = "%PDF-1.4\n";
    pdf += "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    pdf += "2 0 obj\n<< /Type /Pages /Kids [] /Count 0 >>\nendobj\n";
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 3\n0000000000 65535 f \n0000000009 00000 n \n0000000058 00000 n \n";
    pdf += "trailer\n<< /Size 3 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// The same with a cross-reference stream instead of a table.
std::string StreamDocument() {
    std::string pdf = "%PDF-1.5\n1 0 obj\n<< /Type /Catalog >>\nendobj\n";
    const std::size_t xref = pdf.size();
    pdf += "2 0 obj\n<< /Type /XRef /Size 3 /Root 1 0 R >>\nstream\nxx\nendstream\nendobj\n";
    pdf += "startxref\n" + std::to_string(xref) + "\n%%EOF";
    return pdf;
}

TEST(PdfCheck, OnlyADocumentWithItsTrailerIsComplete) {
    const std::string doc = Document();
    const std::size_t trailer = doc.find("trailer");
    struct Case {
        const char* name;
        std::string bytes;
        bool complete;
    };
    const Case cases[] = {
        {"whole", doc, true},
        {"whole, with a cross-reference stream", StreamDocument(), true},
        {"cut in its objects (the first 4096 bytes of a larger one)", doc.substr(0, 60), false},
        {"cut before the trailer", doc.substr(0, trailer), false},
        {"cut before the end marker", doc.substr(0, doc.size() - 6), false},
        {"the end marker alone", "%PDF-1.4\n%%EOF\n", false},
        {"an offset past its start", "%PDF-1.4\nstartxref\n999\n%%EOF\n", false},
        {"an offset to nothing", "%PDF-1.4\nfoo bar\nstartxref\n9\n%%EOF\n", false},
        {"no header", doc.substr(1), false},
        {"empty", "", false},
        {"zeros where the disk ran full", doc.substr(0, 80) + std::string(200, '\0'), false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsCompletePdf(c.bytes), c.complete) << c.name;
}

} // namespace
} // namespace kivo
