// kivoctl print --printer through a real print system: a private CUPS scheduler of the test's
// own, a queue on the cups-pdf backend, and the PDF that queue writes.
#include "pdftools.h"

#include "data/codec.h"
#include "kivoctl_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kivo::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
constexpr const char* kQueue = "kivo";

std::string Tail(const std::string& path) {
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.size() > 3000 ? text.substr(text.size() - 3000) : text;
}

class CupsQueue : public ::testing::Test {
protected:
    void SetUp() override {
        // cups-pdf writes its files only for a scheduler that runs as root, and reads its
        // settings only from the system's CUPS folder.
        if (::geteuid() != 0) GTEST_SKIP() << "needs root: the cups-pdf backend runs as root";
        for (const char* need :
             {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/lib/cups/backend/cups-pdf", kPpd})
            if (!fs::exists(need)) GTEST_SKIP() << need << " is not installed";

        // The filters run as user lp: they must reach the spool folders inside the test folder.
        fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
        for (const char* sub : {"etc", "spool", "cache", "state", "log", "out", "pdfspool"})
            fs::create_directories(dir.file(sub));
        fs::create_directories(dir.file("tmp"));
        fs::permissions(dir.file("tmp"), fs::perms::all | fs::perms::sticky_bit);
        socket = dir.file("cups.sock");
        dir.Write("etc/cups-files.conf",
                  "ServerRoot " + dir.file("etc") + "\nRequestRoot " + dir.file("spool") +
                      "\nTempDir " + dir.file("tmp") + "\nCacheDir " + dir.file("cache") +
                      "\nStateDir " + dir.file("state") + "\nErrorLog " +
                      dir.file("log/error_log") + "\nAccessLog " + dir.file("log/access_log") +
                      "\nPageLog " + dir.file("log/page_log") +
                      "\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nUser lp\nGroup lp\n"
                      "SystemGroup root\nFileDevice No\n");
        dir.Write("etc/cupsd.conf", "LogLevel debug\nListen " + socket +
                                        "\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                                        "<Location />\n  Order allow,deny\n  Allow all\n"
                                        "</Location>\n<Location /admin>\n  Order allow,deny\n"
                                        "  Allow all\n</Location>\n<Policy default>\n"
                                        "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                        "</Policy>\n");

        // cups-pdf's settings for this queue alone: a device cups-pdf:/NAME reads
        // cups-pdf-NAME.conf; the output goes into the test folder, named by the job title.
        instance = "kivotest" + fs::path(dir.path()).filename().string().substr(10);
        instanceConf = "/etc/cups/cups-pdf-" + instance + ".conf";
        std::ofstream(instanceConf)
            << "Out " << dir.file("out") << "\nAnonDirName " << dir.file("out") << "\nSpool "
            << dir.file("pdfspool") << "\nLog " << dir.file("log") << "\nGrp root\n"
            << "TitlePref 1\nLogType 7\n";
        if (!fs::exists(instanceConf)) GTEST_SKIP() << "cannot write " << instanceConf;

        const std::string conf = dir.file("etc/cupsd.conf"),
                          files = dir.file("etc/cups-files.conf");
        const char* argv[] = {"cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, dir.file("log/cupsd.out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int spawned = posix_spawn(&scheduler, "/usr/sbin/cupsd", &actions, nullptr,
                                        const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            scheduler = 0;
            GTEST_SKIP() << "cupsd could not be started: " << std::strerror(spawned);
        }
        ::setenv("CUPS_SERVER", socket.c_str(), 1);
        bool up = false;
        for (int i = 0; i < 100 && !up; ++i) {
            std::this_thread::sleep_for(100ms);
            up = fs::exists(socket) &&
                 RunTool("lpstat -r").out.find("is running") != std::string::npos;
        }
        if (!up)
            GTEST_SKIP() << "the private cupsd did not start:\n"
                         << Tail(dir.file("log/cupsd.out")) << Tail(dir.file("log/error_log"));
        const ToolResult added = RunTool(std::string("lpadmin -p ") + kQueue + " -E -v cups-pdf:/" +
                                         instance + " -P " + kPpd);
        if (added.exit != 0) GTEST_SKIP() << "lpadmin could not make the queue:\n" << added.out;
    }

    void TearDown() override {
        if (scheduler > 0) {
            ::kill(scheduler, SIGTERM);
            int status = 0;
            for (int i = 0; i < 50 && ::waitpid(scheduler, &status, WNOHANG) == 0; ++i)
                std::this_thread::sleep_for(100ms);
            if (::waitpid(scheduler, &status, WNOHANG) == 0) {
                ::kill(scheduler, SIGKILL);
                ::waitpid(scheduler, &status, 0);
            }
        }
        if (!instanceConf.empty()) fs::remove(instanceConf);
        ::unsetenv("CUPS_SERVER");
    }

    // Waits until the queue has no job left and returns the PDFs in the output folder.
    std::vector<fs::path> Printed() {
        for (int i = 0; i < 600; ++i) {
            if (RunTool(std::string("lpstat -o ") + kQueue).out.empty()) break;
            std::this_thread::sleep_for(100ms);
        }
        std::vector<fs::path> pdfs;
        for (const auto& e : fs::directory_iterator(dir.file("out")))
            if (e.path().extension() == ".pdf") pdfs.push_back(e.path());
        return pdfs;
    }

    std::string Logs() { return Tail(dir.file("log/error_log")); }

    TempDir dir;
    std::string socket, instance, instanceConf;
    pid_t scheduler = 0;
};

TEST_F(CupsQueue, TheReportGoesThroughTheQueueWithItsTitleAndCopies) {
    Image image = ShippedDefault().image;
    TextToAlarmCode("12A4", &image[mm::AlarmCodeA]);
    const std::string file = WriteConfig(dir, "unit.Kivo", image);

    const CliResult r =
        RunKivoctl(dir, "print " + Quoted(file) + " --printer " + kQueue + " --copies 2");
    ASSERT_EQ(r.exit, 0) << r.err;
    const std::vector<fs::path> pdfs = Printed();
    ASSERT_EQ(pdfs.size(), 1u) << Logs();
    const std::string pdf = pdfs[0].string();
    EXPECT_EQ(PdfPages(pdf), 6) << "three pages, two copies";
    // cups-pdf names the file after the job title and keeps it as the document's title.
    EXPECT_NE(pdfs[0].filename().string().find("KIVO_Programmierdaten"), std::string::npos)
        << pdfs[0];
    EXPECT_NE(PdfTitle(pdf).find("KIVO Programmierdaten (12A4)"), std::string::npos)
        << PdfTitle(pdf);
    fs::remove(pdfs[0]);

    // A 256-byte configuration, one copy: two pages.
    ASSERT_EQ(RunKivoctl(dir, "print " + Quoted(WriteConfig(dir, "old.Kivo", image, 256)) +
                                  " --printer " + kQueue)
                  .exit,
              0);
    const std::vector<fs::path> second = Printed();
    ASSERT_EQ(second.size(), 1u) << Logs();
    EXPECT_EQ(PdfPages(second[0].string()), 2);
}

} // namespace
} // namespace kivo::test
