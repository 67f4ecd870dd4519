#include "radiofixture.h"

#include "app/startup.h"
#include "link/kobulink.h"
#include "sim/simtransport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <map>

namespace kivo::gui::test {

namespace {

// The simulator's transport, noting each command frame written and each open and close.
class RecordingTransport : public Transport {
public:
    RecordingTransport(std::unique_ptr<Transport> inner, std::shared_ptr<Wire> wire)
        : inner_(std::move(inner)), wire_(std::move(wire)) {}
    ~RecordingTransport() override { Close(); }

    OpenResult Open() override {
        Close();
        const OpenResult result = inner_->Open();
        if (result != OpenResult::Failed) {
            isOpen_ = true;
            ++wire_->open;
            ++wire_->opened;
        }
        return result;
    }
    void Close() override {
        if (isOpen_) --wire_->open;
        isOpen_ = false;
        inner_->Close();
    }
    void Purge(bool receive, bool transmit) override { inner_->Purge(receive, transmit); }
    std::size_t Write(const std::uint8_t* data, std::size_t size) override {
        // STX, the command, two checksum digits, ETX: one frame per write.
        if (size >= 4 && data[0] == STX && data[size - 1] == ETX)
            wire_->sent.emplace_back(reinterpret_cast<const char*>(data) + 1, size - 4);
        return inner_->Write(data, size);
    }
    bool WaitReadable(int timeoutMs) override { return inner_->WaitReadable(timeoutMs); }
    std::size_t ReadAvailable(std::uint8_t* buffer, std::size_t max) override {
        return inner_->ReadAvailable(buffer, max);
    }
    bool Lost() const override { return inner_->Lost(); }
    Clock& Time() override { return inner_->Time(); }
    std::string Name() const override { return "recorded " + inner_->Name(); }

private:
    std::unique_ptr<Transport> inner_;
    std::shared_ptr<Wire> wire_;
    bool isOpen_ = false;
};

} // namespace

class RadioTest::ShowCounter : public QObject {
public:
    std::map<QObject*, int> shows;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows[watched];
        return false;
    }
};

void RadioTest::SetUp() {
    StartupEnvironment env = PlatformEnvironment(std::string(KIVO_BIN_DIR) + "/kivotool", {});
    ctx.folders = RunStartup(env);
    ctx.templateFolder = env.templateFolder;
    UseKobu();
    // In the program's order: the editor, the waiting window, the info dialog.
    editor = std::make_unique<TfrmEnterData>(ctx);
    ctx.windows.Register(Role::Editor, editor.get());
    waiting = std::make_unique<TfrmReceiveRadio>();
    ctx.windows.Register(Role::ReceiveRadio, waiting.get());
    info = std::make_unique<TfrmInfoRadio>(ctx);
    ctx.windows.Register(Role::InfoRadio, info.get());
    shows_ = std::make_shared<ShowCounter>();
    waiting->installEventFilter(shows_.get());
    info->installEventFilter(shows_.get());
    editor->show();
    Recorded().shown.clear();
}

void RadioTest::TearDown() {
    info.reset();
    waiting.reset();
    editor.reset();
    ctx.windows.Clear();
}

void RadioTest::UseKobu(const std::string& options) {
    std::string error;
    sim = sim::SimKobu::Create(
        "learndelay=100,infodelay=100" + (options.empty() ? std::string() : "," + options), error);
    ASSERT_TRUE(sim) << error;
    auto clock = std::make_shared<SteadyClock>();
    ctx.kobu = [device = sim, clock, wire = wire] {
        return std::make_unique<RecordingTransport>(sim::MakeSimTransport(device, *clock), wire);
    };
}

QLineEdit* RadioTest::RadioField(int n) const {
    auto* field = editor->findChild<QLineEdit*>("edtRadioPos" + QString::number(n));
    EXPECT_NE(field, nullptr);
    return field;
}

void RadioTest::ClickReceive(int n) const {
    editor->findChild<QAbstractButton*>("btnReceive" + QString::number(n))->click();
}

void RadioTest::ClickInfo(int n) const {
    editor->findChild<QAbstractButton*>("bbtnInfoRadioPos" + QString::number(n))->click();
}

void RadioTest::WhenUp(QWidget* window, std::function<void()> action, int delayMs) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    // Real time: a poll tick can hold the loop for half a second.
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    auto upSince = std::make_shared<QElapsedTimer>();
    QObject::connect(timer, &QTimer::timeout, [=] {
        const bool up = QApplication::activeModalWidget() == window;
        if (up && !upSince->isValid()) upSince->start();
        const bool ready = up && upSince->elapsed() >= delayMs;
        if (!ready && since->elapsed() < 5000 + delayMs) return;
        timer->stop();
        timer->deleteLater();
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != window) {
            // Something else waits for the user: close it, or the test would never end.
            ADD_FAILURE() << "waited for " << window->objectName().toStdString() << ", but "
                          << modal->objectName().toStdString() << " is up";
            modal->close();
            return;
        }
        action();
    });
    timer->start();
}

int RadioTest::Shows(QWidget* window) const {
    auto it = shows_->shows.find(window);
    return it == shows_->shows.end() ? 0 : it->second;
}

std::vector<int> RadioTest::Boxes() const {
    std::vector<int> ids;
    for (const MessageRecord& r : Recorded().shown) ids.push_back(r.textId);
    return ids;
}

int RadioTest::CountSent(const std::string& command) const {
    return static_cast<int>(std::count(wire->sent.begin(), wire->sent.end(), command));
}

} // namespace kivo::gui::test
