// An editor with the waiting window and the transmitter info dialog, talking to the
// in-process simulator through a transport that records every command sent and whether a
// link is left open.
#pragma once

#include "gui/common/appcontext.h"
#include "gui/common/receiveradio.h"
#include "gui/editor/enterdata.h"
#include "gui/radio/inforadio.h"
#include "sim/simkobu.h"
#include "support/guitest.h"

#include <QLineEdit>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kivo::gui::test {

// What the recording transports saw.
struct Wire {
    std::vector<std::string> sent; // command texts, in order
    int open = 0;                  // transports open right now
    int opened = 0;                // how often one was opened
};

class RadioTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A simulated Kobu with these options (the text after "sim:"); quick transmitters unless
    // the options say otherwise.
    void UseKobu(const std::string& options = "");
    void NoKobu() { ctx.kobu = {}; }

    QLineEdit* RadioField(int n) const;
    void ClickReceive(int n) const;
    void ClickInfo(int n) const;

    // Runs `action` once `window` is the active modal window (or after five seconds, when
    // `window` is then handed over as it is); call it right before the code that opens it.
    void WhenUp(QWidget* window, std::function<void()> action, int delayMs = 0);
    // How often `window` has been shown since the test started.
    int Shows(QWidget* window) const;

    std::vector<int> Boxes() const;
    int CountSent(const std::string& command) const;

    Folders folders;
    AppContext ctx;
    std::shared_ptr<sim::SimKobu> sim;
    std::shared_ptr<Wire> wire = std::make_shared<Wire>();
    std::unique_ptr<TfrmEnterData> editor;
    std::unique_ptr<TfrmReceiveRadio> waiting;
    std::unique_ptr<TfrmInfoRadio> info;

private:
    class ShowCounter;
    std::shared_ptr<ShowCounter> shows_;
};

} // namespace kivo::gui::test
