// What text extraction cannot show: the grey bands, the logo and where the heading sits.
#include "pdftools.h"

#include "data/kivoini.h"
#include "kivoctl_run.h"

#include <gtest/gtest.h>

namespace kivo::test {
namespace {

constexpr int kDpi = 50;

QPoint AtMm(double x, double y) {
    return QPoint(static_cast<int>(x * kDpi / 25.4), static_cast<int>(y * kDpi / 25.4));
}

bool Grey(QRgb c) {
    return std::abs(qRed(c) - 0xC0) <= 6 && std::abs(qGreen(c) - 0xC0) <= 6 &&
           std::abs(qBlue(c) - 0xC0) <= 6;
}

// The leftmost column (mm) between x0 and x1 with a dark pixel in the rows y0..y1; -1 if none.
double LeftmostInk(const QImage& page, double x0, double x1, double y0, double y1) {
    const QPoint from = AtMm(x0, y0), to = AtMm(x1, y1);
    for (int x = from.x(); x <= to.x(); ++x)
        for (int y = from.y(); y <= to.y(); ++y)
            if (qGray(page.pixel(x, y)) < 100) return x * 25.4 / kDpi;
    return -1;
}

class PageImage : public ::testing::Test {
protected:
    QImage FirstPage() {
        const CliResult r = RunKivoctl(dir, "print " + Quoted(file) + " --pdf " + Quoted(pdf));
        EXPECT_EQ(r.exit, 0) << r.err;
        return kivo::test::PageImage(dir, pdf, 1, kDpi);
    }

    TempDir dir;
    const std::string file = WriteConfig(dir, "unit.Kivo", ShippedDefault().image);
    const std::string pdf = dir.file("unit.pdf");
};

TEST_F(PageImage, BandsAreGreyAndTheLogoIsDrawn) {
    const QImage page = FirstPage();
    ASSERT_FALSE(page.isNull());
    EXPECT_TRUE(Grey(page.pixel(AtMm(30, 277)))); // footer band, beside the page number
    EXPECT_TRUE(Grey(page.pixel(AtMm(185, 60)))); // information box, right of its texts
    EXPECT_EQ(page.pixel(AtMm(185, 150)), qRgb(255, 255, 255)); // inside the body frame

    // The logo's rectangle, 20..42 mm by 15..37 mm, is mostly the logo's blue.
    int blue = 0, all = 0;
    for (double x = 21; x < 41; x += 1)
        for (double y = 16; y < 36; y += 1, ++all) {
            const QRgb c = page.pixel(AtMm(x, y));
            blue += qBlue(c) > qRed(c) + 60;
        }
    EXPECT_GT(blue, all / 2);
}

TEST_F(PageImage, TheHeadingMovesToItsLeftEdge) {
    // Centred on 105 mm the heading starts well right of the logo.
    const double centred = LeftmostInk(FirstPage(), 45, 200, 24, 30);
    EXPECT_GT(centred, 60);

    ASSERT_EQ(RunKivoctl(dir, "folders").exit, 0);
    KivoIni ini;
    ini.SetFileName(ProgramFolder(dir) + "Values.ini");
    ASSERT_TRUE(ini.WriteValue("Print", "HeaderPosX", "50"));
    const double left = LeftmostInk(FirstPage(), 45, 200, 24, 30);
    EXPECT_GE(left, 49.5);
    EXPECT_LE(left, 52);
}

} // namespace
} // namespace kivo::test
