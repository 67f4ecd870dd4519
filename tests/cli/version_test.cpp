// One version everywhere: the project's version in CMake, as both programs print it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string FirstLine(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen((command + " 2>&1").c_str(), "r")) {
        char buffer[256];
        if (std::fgets(buffer, sizeof buffer, p)) out = buffer;
        ::pclose(p);
    }
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

TEST(Version, BothProgramsPrintTheProjectsVersion) {
    const std::string version = KIVO_PROJECT_VERSION;
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(FirstLine(std::string("'") + KIVOCTL + "' --version"), "kivoctl " + version);
    // Answered before any display is needed.
    EXPECT_EQ(FirstLine(std::string("'") + KIVO_BIN_DIR + "/kivotool' --version"),
              "kivotool " + version);
}

} // namespace
