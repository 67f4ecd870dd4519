// Basic programming on freshly installed program folders, talking to the in-process
// simulator whose memory lives in a file, and printing into PDF files instead of a printer.
#pragma once

#include "gui/common/appcontext.h"
#include "gui/guided/basicprogplus.h"
#include "support/guitest.h"
#include "support/tempdir.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace kivo::gui::test {

// What the print dialog stand-in did: how often it was asked, and the PDF file it chose.
struct PrintRecord {
    int asked = 0;
    bool accept = true;
    QString pdf;
    QString target; // the file to choose; empty: a fresh one per print
};

class GuidedTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Chooses the Kobu ("sim...", or "" for none).
    void UseKobu(const std::string& choice);
    // A simulated unit of `size` bytes starting from `start` (its first `size` bytes), its
    // memory kept in a file of its own; `options` are further simulator options.
    void Unit(const Image& start, unsigned size = 512, const std::string& options = "");
    std::vector<std::uint8_t> UnitMemory() const { return dir.Read(unitFile); }

    // A configuration file in the configuration folder: the first `size` bytes of `image`.
    std::string PutConfiguration(const std::string& name, const Image& image,
                                 std::size_t size = 512) const;

    // Shows the window and lets its first queued steps run.
    void Show() const;
    QString Status() const;
    std::vector<int> Boxes() const;
    void ClearBoxes() const { Recorded().shown.clear(); }

    // Pages of a PDF file (0 when it is missing or unreadable) and its text, by the PDF tools
    // of poppler-utils.
    static int PdfPages(const QString& path);
    static QString PdfText(const QString& path);

    Folders folders;
    AppContext ctx;
    kivo::test::TempDir dir;
    std::string unitFile;
    Image defaults{}; // the installed default image
    PrintRecord printed;
    std::unique_ptr<TfrmBasicProgPlus> window;

private:
    int units_ = 0;
};

} // namespace kivo::gui::test
