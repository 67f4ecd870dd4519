// Reading a PDF back with poppler's command-line tools, and the configurations the report
// tests print.
#pragma once

#include "data/kivodata.h"
#include "support/tempdir.h"

#include <QImage>

#include <string>

namespace kivo::test {

struct ToolResult {
    int exit;
    std::string out; // stdout and stderr together
};
// Runs a shell command line.
ToolResult RunTool(const std::string& command);
// `s` in single quotes for the shell.
std::string Quoted(const std::string& s);

int PdfPages(const std::string& pdf);         // 0 when pdfinfo cannot read it
std::string PdfTitle(const std::string& pdf); // the document title
// pdftotext -layout of one page (1..n), or of all pages for 0.
std::string PdfText(const std::string& pdf, int page = 0);
// Each line of `text` without leading and trailing blanks and with every run of blanks reduced
// to one, so that columns compare as words.
std::string Squeezed(const std::string& text);
// The line of `text` that contains `needle`, squeezed; empty when there is none.
std::string LineWith(const std::string& text, const std::string& needle);
// One page rendered at `dpi` (pdftoppm -png), null when it fails.
QImage PageImage(const TempDir& dir, const std::string& pdf, int page, int dpi);

// The shipped default configuration (512 bytes).
KivoData ShippedDefault();
// Writes the first `size` bytes of the image as a configuration file in `dir`.
std::string WriteConfig(const TempDir& dir, const std::string& name, const Image& image,
                        unsigned size = 512);

} // namespace kivo::test
