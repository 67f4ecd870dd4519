// editorbench: how long the editor takes to show an image in all its controls and to store the
// controls back, on the real window (offscreen). Each run shows one of two images that differ
// in every number, tick box and radio code, so every control really changes, then stores.
//
// Usage: editorbench [RUNS]   (default 400). Prints the median, the fastest and the slowest
// run in milliseconds. A benchmark, run by hand; ctest never runs it.
#include "app/startup.h"
#include "editor/binding.h"
#include "gui/common/appcontext.h"
#include "gui/editor/enterdata.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The second image: the first with every number, tick and radio code changed and still valid.
kivo::Image Changed(const kivo::Image& base) {
    kivo::Image image = base;
    for (const kivo::Binding& b : kivo::BindingTable()) {
        switch (b.conversion) {
        case kivo::Conversion::Number:
        case kivo::Conversion::Capped:
            image[b.addr] = static_cast<std::uint8_t>(base[b.addr] % 200 + 1);
            break;
        case kivo::Conversion::OnBit:
            image[b.addr] ^= 0x80;
            break;
        case kivo::Conversion::TestBit:
            image[b.addr] = static_cast<std::uint8_t>(~base[b.addr]);
            break;
        case kivo::Conversion::RadioCode:
            image[b.addr] = 0x4C;
            image[b.addr + 1] = static_cast<std::uint8_t>(0x30 + b.addr);
            break;
        default:
            break;
        }
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char folder[] = "/tmp/editorbench-XXXXXX";
    if (!::mkdtemp(folder)) {
        std::perror("editorbench: mkdtemp");
        return 1;
    }
    ::setenv("KIVO_APPDATA_DIR", (std::string(folder) + "/appdata").c_str(), 1);
    ::setenv("KIVO_DOCUMENTS_DIR", (std::string(folder) + "/docs").c_str(), 1);
    std::filesystem::create_directories(std::string(folder) + "/appdata");
    std::filesystem::create_directories(std::string(folder) + "/docs");

    QApplication app(argc, argv);
    std::vector<double> ms;
    {
        kivo::gui::AppContext ctx;
        const kivo::StartupEnvironment env = kivo::PlatformEnvironment(argv[0], {});
        ctx.folders = kivo::RunStartup(env);
        ctx.templateFolder = env.templateFolder;
        kivo::gui::TfrmEnterData editor(ctx);
        editor.show();
        QApplication::processEvents();

        const kivo::Image images[2] = {editor.Data().image, Changed(editor.Data().image)};
        for (int run = 0; run < runs; ++run) {
            editor.Data().image = images[run % 2];
            const auto start = std::chrono::steady_clock::now();
            editor.ImageToControls();
            editor.ControlsToImage();
            const auto stop = std::chrono::steady_clock::now();
            ms.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
            if (editor.Data().image != images[run % 2]) {
                std::fprintf(stderr, "editorbench: run %d did not store the image it showed\n",
                             run);
                return 1;
            }
        }
    }
    std::filesystem::remove_all(folder);

    std::sort(ms.begin(), ms.end());
    std::printf("ImageToControls + ControlsToImage, %d runs: median %.3f ms  fastest %.3f ms  "
                "slowest %.3f ms  (goal < 5 ms)\n",
                runs, ms[ms.size() / 2], ms.front(), ms.back());
    return 0;
}
