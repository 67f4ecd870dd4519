// The user guide: F1 opens it in the program's own window, its pictures are there, and every
// message a user can meet is explained in it.
#include "support/apptest.h"

#include "app/strtable.h"
#include "gui/common/guide.h"
#include "gui/shell/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTextBrowser>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace kivo::gui::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TfrmGuide* OpenGuide() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* guide = qobject_cast<TfrmGuide*>(w); guide && guide->isVisible()) return guide;
    return nullptr;
}

void CloseGuides() {
    while (TfrmGuide* guide = OpenGuide()) {
        guide->close();
        QApplication::processEvents();
    }
}

TEST(Guide, F1InTheStartWindowOpensOneGuideWindow) {
    Folders folders;
    AppContext ctx;
    TfrmMain main(ctx, TestExecutable(), {});
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    QTest::keyClick(&main, Qt::Key_F1);
    TfrmGuide* guide = OpenGuide();
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->windowTitle(), QStringLiteral("Handbuch"));
    EXPECT_TRUE(
        guide->browser->toPlainText().contains(QStringLiteral("Handbuch zur Kivo-Konfiguration")));
    // Its pictures are found from the page, as the browser resolves them.
    EXPECT_FALSE(guide->browser
                     ->loadResource(QTextDocument::ImageResource,
                                    guide->browser->source().resolved(
                                        QUrl(QStringLiteral("../../pictures/start.png"))))
                     .isNull());
    // A second F1 raises the window that is open rather than opening another.
    QTest::keyClick(&main, Qt::Key_F1);
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        open += qobject_cast<TfrmGuide*>(w) && w->isVisible();
    EXPECT_EQ(open, 1);
    EXPECT_TRUE(Recorded().shown.empty());
    CloseGuides();
}

TEST(Guide, AMissingGuideIsSaidAndNothingOpens) {
    kivo::test::TempDir empty;
    AppContext ctx;
    ctx.templateFolder = empty.path();
    QWidget window;
    AddGuideAction(&window, ctx)->trigger();
    EXPECT_EQ(OpenGuide(), nullptr);
    ASSERT_EQ(Recorded().shown.size(), 1u);
    EXPECT_EQ(Recorded().shown[0].textId, 16430);
    EXPECT_TRUE(Recorded().shown[0].text.contains(Q(GuidePath(empty.path()))));
    Recorded().shown.clear();
}

// The guide as built beside the programs, where the installed one lies too.
class GuideContents : public ::testing::Test {
protected:
    const fs::path page = GuidePath(std::string(KIVO_BIN_DIR) + "/");
    const std::string html = ReadAll(page);
};

TEST_F(GuideContents, EveryPictureItNamesIsThere) {
    ASSERT_FALSE(html.empty()) << page;
    // Plain scanning: std::regex trips a false warning of the compiler under the sanitizers.
    const std::string mark = "<img src=\"";
    int pictures = 0;
    for (auto at = html.find(mark); at != std::string::npos; at = html.find(mark, at + 1)) {
        const auto from = at + mark.size();
        const std::string src = html.substr(from, html.find('"', from) - from);
        EXPECT_TRUE(fs::is_regular_file(page.parent_path() / src)) << src;
        ++pictures;
    }
    EXPECT_GT(pictures, 0);
}

TEST_F(GuideContents, EveryMessageTheProgramUsesIsExplained) {
    // The 15xxx texts the sources name, found the way a reader would: the number as a word.
    std::set<int> used;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(KIVO_SOURCE_DIR) / "src")) {
        if (!entry.is_regular_file()) continue;
        const std::string text = ReadAll(entry.path());
        for (std::size_t i = 0; i + 5 <= text.size(); ++i) {
            // Five digits starting "15", with no digit or letter on either side.
            if (text[i] != '1' || text[i + 1] != '5') continue;
            if (i > 0 &&
                (digit(text[i - 1]) || std::isalpha(static_cast<unsigned char>(text[i - 1]))))
                continue;
            if (!std::all_of(text.begin() + i + 2, text.begin() + i + 5, digit)) continue;
            if (i + 5 < text.size() &&
                (digit(text[i + 5]) || std::isalpha(static_cast<unsigned char>(text[i + 5]))))
                continue;
            const int id = std::stoi(text.substr(i, 5));
            if (!Str(id).empty()) used.insert(id);
        }
    }
    ASSERT_FALSE(used.empty());
    for (int id : used)
        EXPECT_NE(html.find("id=\"m" + std::to_string(id) + "\""), std::string::npos)
            << id << " " << Str(id);
}

} // namespace
} // namespace kivo::gui::test
