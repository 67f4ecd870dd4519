// Whether a PDF document was written to its end: a PDF whose end is missing opens in no
// viewer, so such a file must never replace a good one.
#pragma once

#include <string>

namespace kivo {

// The header, and at the very end the trailer: "startxref", the offset of a cross-reference
// section that really starts there (a table followed by its "trailer", or a stream object),
// and the end-of-file marker.
bool IsCompletePdf(const std::string& bytes);

} // namespace kivo
