// The access dialogs' tests run in a test's own folders with start-up done, so the store
// holds the default passwords.
#pragma once

#include "support/guitest.h"

#include "access/kivopassword.h"
#include "app/startup.h"
#include "gui/common/appcontext.h"

namespace kivo::gui::test {

class AccessTest : public ::testing::Test {
protected:
    AccessTest() {
        ctx.folders = RunStartup(PlatformEnvironment(std::string(KIVO_BIN_DIR) + "/kivotool", {}));
    }
    KivoPassword Store() const { return KivoPassword(ctx.folders.programFolder + "KivoLng.tbl"); }

    Folders folders;
    AppContext ctx;
};

} // namespace kivo::gui::test
