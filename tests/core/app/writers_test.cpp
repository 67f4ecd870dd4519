// Every writer of the core, tried on the same traps: a write-protected file is refused and
// stays as it was, and a link is written through to its target and stays a link.
#include "access/kivopassword.h"
#include "app/startup.h"
#include "data/fileio.h"
#include "data/kivodata.h"
#include "data/kivoini.h"
#include "data/textexport.h"
#include "link/trace.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace kivo {
namespace {

namespace fs = std::filesystem;

struct Writer {
    const char* name;
    std::string before; // what the file holds to begin with
    std::function<bool(const test::TempDir& dir, const std::string& path)> write;
};

const Image kImage{};

const Writer kWriters[] = {
    {"configuration", std::string(512, 'o'),
     [](const test::TempDir&, const std::string& path) {
         KivoData d;
         return d.SaveImageFile(path, 512).ok();
     }},
    {"text export", "old text",
     [](const test::TempDir&, const std::string& path) {
         ExportInput in;
         in.image = &kImage;
         return WriteTextExport(in, path).ok();
     }},
    {"Values.ini", "[Setup]\r\nA=1\r\n",
     [](const test::TempDir&, const std::string& path) {
         KivoIni ini;
         ini.SetFileName(path);
         return ini.WriteValue("Setup", "A", "2");
     }},
    {"password store", std::string(KivoPassword::kFileSize, 'p'),
     [](const test::TempDir&, const std::string& path) {
         return KivoPassword(path).WritePassword(2, "neu").ok();
     }},
    {"installed template", "old template",
     [](const test::TempDir& dir, const std::string& path) {
         dir.Write("templates/Values.i", "new template");
         return InstallFile(dir.file("templates/"), "Values.i", fs::path(path).filename(),
                            fs::path(path).parent_path().string() + "/");
     }},
    {"wire trace", "old lines\n",
     [](const test::TempDir&, const std::string& path) {
         auto trace = LinkTrace::Open(path);
         if (!trace) return false;
         trace->Note(1, "open");
         return trace->Save().ok();
     }},
};

TEST(Writers, AWriteProtectedFileIsRefusedAndKept) {
    for (const Writer& w : kWriters) {
        test::TempDir dir;
        const std::string path = dir.Write("target", w.before);
        ::chmod(path.c_str(), 0444);
        EXPECT_FALSE(w.write(dir, path)) << w.name;
        EXPECT_EQ(dir.ReadText("target"), w.before) << w.name;
    }
}

TEST(Writers, ALinkIsWrittenThroughAndKept) {
    for (const Writer& w : kWriters) {
        test::TempDir dir;
        dir.Write("real/target", w.before);
        fs::create_symlink("real/target", dir.file("link"));
        EXPECT_TRUE(w.write(dir, dir.file("link"))) << w.name;
        EXPECT_TRUE(fs::is_symlink(dir.file("link"))) << w.name;
        EXPECT_NE(dir.ReadText("real/target"), w.before) << w.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("real")), {}), 1) << w.name;
    }
}

} // namespace
} // namespace kivo
