#include "guidedfixture.h"

#include "app/startup.h"
#include "gui/common/printdialog.h"
#include "transport/choose.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QStatusBar>

namespace kivo::gui::test {

void GuidedTest::SetUp() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    StartupEnvironment env = PlatformEnvironment(std::string(KIVO_BIN_DIR) + "/kivotool", {});
    ctx.folders = RunStartup(env);
    ctx.templateFolder = env.templateFolder;
    KivoData installed;
    ASSERT_TRUE(installed.LoadImageFile(ctx.folders.programFolder + "Default.bin"));
    defaults = installed.image;
    UseKobu("sim");
    // The print dialog's stand-in: a PDF file in the test's folder, one per print.
    PrintDialog::Install([this](QWidget*, QPrinter& printer) {
        ++printed.asked;
        if (!printed.accept) return false;
        printed.pdf = !printed.target.isEmpty()
                          ? printed.target
                          : QString::fromStdString(
                                dir.file("report" + std::to_string(printed.asked) + ".pdf"));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed.pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        return true;
    });
    window = std::make_unique<TfrmBasicProgPlus>(ctx);
}

void GuidedTest::TearDown() {
    window.reset();
    PrintDialog::Install(nullptr);
    QLocale::setDefault(QLocale::c());
}

void GuidedTest::UseKobu(const std::string& choice) {
    if (choice.empty()) {
        ctx.kobu = {};
        return;
    }
    std::string error;
    ctx.kobu = ChooseKobu(choice, ctx.templateFolder, error);
    ASSERT_TRUE(ctx.kobu) << error;
}

void GuidedTest::Unit(const Image& start, unsigned size, const std::string& options) {
    // A unit of its own each time: an existing memory file would be taken as the memory.
    const std::string n = std::to_string(++units_);
    unitFile = "unit" + n + ".bin";
    const std::string startFile = dir.Write(
        "start" + n + ".bin", std::vector<std::uint8_t>(start.begin(), start.begin() + size));
    UseKobu("sim:size=" + std::to_string(size) + ",image=" + startFile +
            ",memory=" + dir.file(unitFile) + (options.empty() ? "" : "," + options));
}

std::string GuidedTest::PutConfiguration(const std::string& name, const Image& image,
                                         std::size_t size) const {
    return dir.Write(ctx.folders.configFolder + "/" + name,
                     std::vector<std::uint8_t>(image.begin(), image.begin() + size));
}

void GuidedTest::Show() const {
    window->show();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

QString GuidedTest::Status() const {
    return window->sbStatus->currentMessage();
}

std::vector<int> GuidedTest::Boxes() const {
    std::vector<int> ids;
    for (const MessageRecord& r : Recorded().shown) ids.push_back(r.textId);
    return ids;
}

int GuidedTest::PdfPages(const QString& path) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.waitForFinished(20000)) << "pdfinfo (poppler-utils) is needed";
    if (info.exitCode() != 0) return 0;
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
    return 0;
}

QString GuidedTest::PdfText(const QString& path) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(text.waitForFinished(20000)) << "pdftotext (poppler-utils) is needed";
    if (text.exitCode() != 0) return QString();
    return QString::fromUtf8(text.readAllStandardOutput());
}

} // namespace kivo::gui::test
