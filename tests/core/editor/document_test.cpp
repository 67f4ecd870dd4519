#include "editor/document.h"

#include "app/strtable.h"
#include "data/memorymap.h"
#include "editor/controlmodel.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(EditorDocument, TitleSourceFollowsWhereTheImageCameFrom) {
    struct Case {
        std::uint32_t source;
        std::string fileName;
        std::string expected;
    } cases[] = {
        {SourceDefault, "/cfg/kunde.Kivo", Str(15020)},
        {SourceOpened, "/cfg/kunde.Kivo", "kunde.Kivo"},
        {SourceSaved, "relative/neu.Kivo", "neu.Kivo"},
        {SourceSaved, "ohneordner.Kivo", "ohneordner.Kivo"},
        {SourceUnit, "/cfg/kunde.Kivo", Str(13909)},
    };
    for (const Case& c : cases) {
        EditorDocument doc;
        doc.data.imageSource = c.source;
        doc.data.fileName = c.fileName;
        EXPECT_EQ(doc.TitleSource(), c.expected) << c.source << " " << c.fileName;
    }
}

TEST(EditorDocument, ChangesCountAgainstWhatTheControlsStoredWhenShown) {
    KivoIni ini;
    ini.SetFileName(std::string(KIVO_BIN_DIR) + "/Values.i");
    ControlModel controls(ini);
    EditorDocument doc;
    ASSERT_TRUE(doc.data.LoadImageFile(std::string(KIVO_BIN_DIR) + "/Default.b"));
    // Shown and stored back unchanged, the controls hold nothing new.
    doc.data.image[mm::RepeatSequence] = 7;
    ImageToControls(doc.data.image, controls);
    doc.Shown(controls);
    EXPECT_FALSE(doc.Changed(controls));

    controls.SetText("edtRepeatSequence", "8");
    EXPECT_TRUE(doc.Changed(controls));
    controls.SetText("edtRepeatSequence", "7");
    EXPECT_FALSE(doc.Changed(controls));

    // A change made straight to the image (not through a control) counts too.
    doc.data.image[mm::FlagAway] ^= 0x01;
    EXPECT_TRUE(doc.Changed(controls));
    doc.Saved();
    EXPECT_FALSE(doc.Changed(controls));
}

} // namespace
} // namespace kivo
