#include "pdftools.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace kivo::test {

ToolResult RunTool(const std::string& command) {
    ToolResult r{-1, {}};
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) r.out.append(buf, n);
    const int status = ::pclose(p);
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

namespace {

std::string InfoField(const std::string& pdf, const std::string& field) {
    std::istringstream in(RunTool("pdfinfo " + Quoted(pdf)).out);
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, field.size() + 1, field + ":") == 0) {
            auto start = line.find_first_not_of(' ', field.size() + 1);
            return start == std::string::npos ? std::string() : line.substr(start);
        }
    return std::string();
}

} // namespace

int PdfPages(const std::string& pdf) {
    return std::atoi(InfoField(pdf, "Pages").c_str());
}

std::string PdfTitle(const std::string& pdf) {
    return InfoField(pdf, "Title");
}

std::string PdfText(const std::string& pdf, int page) {
    std::string range =
        page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : std::string();
    return RunTool("pdftotext -layout" + range + " " + Quoted(pdf) + " -").out;
}

std::string Squeezed(const std::string& text) {
    std::string out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::string squeezed;
        for (char c : line)
            if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' ')) squeezed += c;
        while (!squeezed.empty() && squeezed.back() == ' ') squeezed.pop_back();
        out += squeezed + "\n";
    }
    return out;
}

std::string LineWith(const std::string& text, const std::string& needle) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.find(needle) != std::string::npos) {
            std::string squeezed = Squeezed(line);
            squeezed.pop_back(); // its line end
            return squeezed;
        }
    return std::string();
}

QImage PageImage(const TempDir& dir, const std::string& pdf, int page, int dpi) {
    const std::string base = dir.file("page");
    const std::string p = std::to_string(page);
    RunTool("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + p + " -l " + p + " " +
            Quoted(pdf) + " " + Quoted(base));
    return QImage(QString::fromStdString(base + ".png"));
}

KivoData ShippedDefault() {
    KivoData d;
    d.LoadImageFile(std::string(KIVO_BIN_DIR) + "/Default.b");
    return d;
}

std::string WriteConfig(const TempDir& dir, const std::string& name, const Image& image,
                        unsigned size) {
    return dir.Write(name, std::string(image.begin(), image.begin() + size));
}

} // namespace kivo::test
