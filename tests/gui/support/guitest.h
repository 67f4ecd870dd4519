// Window tests: GoogleTest on a QApplication with the offscreen platform, the Messages
// recorder installed, and the program's folders inside a fresh test folder.
#pragma once

#include "gui/common/messages.h"
#include "support/tempdir.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kivo::gui::test {

// The recorder for the running test; every test starts with an empty one.
MessageRecorder& Recorded();

// Runs `action` as soon as a modal dialog is up (or after `ms`), e.g. to press its buttons:
// call it right before the code that opens the dialog with exec().
void WhenModal(std::function<void(QWidget* modal)> action, int ms = 0);

// Types `text` into `widget` key by key, as a keyboard would: also characters beyond ASCII
// (umlauts, "ß"), which QTest::keyClicks cannot type.
void TypeKeys(QWidget* widget, const QString& text);

// KIVO_APPDATA_DIR and KIVO_DOCUMENTS_DIR pointing into a fresh folder for the test's
// lifetime, with the folders created.
class Folders {
public:
    Folders();
    ~Folders();
    const kivo::test::TempDir& dir() const { return dir_; }

private:
    kivo::test::TempDir dir_;
};

} // namespace kivo::gui::test
