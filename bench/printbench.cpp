// printbench: the time to render the configuration report into a PDF file, through the same
// code the editor and kivoctl print with. A benchmark, run by hand; ctest never runs it.
//   printbench [RUNS]   (default 9) prints the first (cold) run, and the median, fastest and
//                       slowest run of the three-page and the two-page report.
#include "report/kivoprint.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

double RenderMs(const kivo::KivoPrint& print, const kivo::KivoData& data, unsigned size,
                const QString& out) {
    const auto start = std::chrono::steady_clock::now();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(out);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!print.Print(size, data, printer).ok()) {
        std::fprintf(stderr, "printbench: cannot write %s\n", out.toUtf8().constData());
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Prints the runs' median, fastest and slowest; returns the median.
double Report(const char* name, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%-8s median %7.1f ms  fastest %7.1f ms  slowest %7.1f ms  (%zu runs)\n", name,
                median, ms.front(), ms.back(), ms.size());
    return median;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    // The shipped templates: Values.i stands in as the installed Values.ini.
    QTemporaryDir tmp;
    const std::string program = tmp.path().toStdString() + "/";
    std::filesystem::copy_file(KIVO_BIN_DIR "/Values.i", program + "Values.ini");
    kivo::KivoData data;
    if (!data.LoadImageFile(KIVO_BIN_DIR "/Default.b")) {
        std::fprintf(stderr, "printbench: no %s/Default.b\n", KIVO_BIN_DIR);
        return 1;
    }
    kivo::KivoPrint print(program, KIVO_BIN_DIR "/");
    print.jobTitle = "KIVO Programmierdaten";
    print.fileLine = "Default.bin";

    const QString out = tmp.filePath("report.pdf");
    const double cold = RenderMs(print, data, 512, out);
    std::vector<double> three, two;
    for (int i = 0; i < runs; ++i) three.push_back(RenderMs(print, data, 512, out));
    for (int i = 0; i < runs; ++i) two.push_back(RenderMs(print, data, 256, out));
    std::printf("cold     first 3-page report %7.1f ms (fonts and logo loaded)\n", cold);
    const double median = Report("3 pages", three);
    Report("2 pages", two);
    std::printf("goal: 3 pages under 300 ms: %s\n", median < 300 ? "met" : "missed");
    return 0;
}
