#include "guitest.h"

#include "gui/shell/application.h"

#include <QDir>
#include <QTest>
#include <cstdlib>

namespace kivo::gui::test {

namespace {

MessageRecorder* gRecorder = nullptr;

// Gives every test a fresh recorder.
class RecorderListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        delete gRecorder;
        gRecorder = new MessageRecorder;
        Messages::Install(gRecorder);
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        Messages::Install(nullptr);
        delete gRecorder;
        gRecorder = nullptr;
    }
};

} // namespace

MessageRecorder& Recorded() {
    return *gRecorder;
}

void WhenModal(std::function<void(QWidget*)> action, int ms) {
    // Polls until a modal widget is active, then acts on it once.
    auto* timer = new QTimer;
    timer->setInterval(5);
    int waited = 0;
    QObject::connect(timer, &QTimer::timeout, [timer, action, ms, waited]() mutable {
        waited += 5;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && waited < ms + 2000) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

void TypeKeys(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        // Latin-1 letters have the key code of their capital, as on a real keyboard.
        const QChar capital = c.toUpper();
        const Qt::Key key =
            capital.unicode() <= 0xFF ? Qt::Key(capital.unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

Folders::Folders() {
    ::setenv("KIVO_APPDATA_DIR", dir_.file("appdata").c_str(), 1);
    ::setenv("KIVO_DOCUMENTS_DIR", dir_.file("docs").c_str(), 1);
    QDir().mkpath(QString::fromStdString(dir_.file("appdata")));
    QDir().mkpath(QString::fromStdString(dir_.file("docs")));
}

Folders::~Folders() {
    ::unsetenv("KIVO_APPDATA_DIR");
    ::unsetenv("KIVO_DOCUMENTS_DIR");
}

} // namespace kivo::gui::test

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("KIVO_KOBU", "sim", 0);
    // The windows' texts asserted here are the German edition's, whatever the machine's locale.
    ::setenv("KIVO_EDITION", "de", 1);
    // The program's own application object, so events reach the widgets as in the program.
    kivo::gui::KivoApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new kivo::gui::test::RecorderListener);
    return RUN_ALL_TESTS();
}
