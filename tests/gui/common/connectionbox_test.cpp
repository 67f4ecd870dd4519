// The boxes that say the Kobu or the unit cannot be reached offer the connection diagnosis:
// a second line and a button that opens it over the window that showed the box.
#include "support/apptest.h"

#include "app/strtable.h"
#include "gui/common/diagnosisdialog.h"
#include "transport/choose.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace kivo::gui::test {
namespace {

// The diagnosis as the program installs it, counting where it was opened.
struct DiagnosisSpy {
    std::vector<QWidget*> openedOver;
    DiagnosisSpy() {
        Messages::SetDiagnosis([this](QWidget* parent) { openedOver.push_back(parent); });
    }
    ~DiagnosisSpy() { Messages::SetDiagnosis({}); }
};

TEST(ConnectionBox, OnlyTheTwoConnectionFailuresOfferTheDiagnosis) {
    DiagnosisSpy spy;
    struct Case {
        int textId;
        MsgKind kind;
        bool offered;
    };
    const Case cases[] = {{15009, MsgKind::Error, true},
                          {15008, MsgKind::Error, true},
                          {13806, MsgKind::Error, false},
                          {15009, MsgKind::Information, false}};
    for (const Case& c : cases) Messages::Show(nullptr, c.kind, c.textId);
    ASSERT_EQ(Recorded().shown.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(Recorded().shown[i].diagnosisOffered, cases[i].offered) << cases[i].textId;
    EXPECT_TRUE(spy.openedOver.empty());

    // The button opens it over the box's window, and the box counts as read.
    QWidget window;
    Recorded().answers = {BtnDiagnosis};
    EXPECT_EQ(Messages::Show(&window, MsgKind::Error, 15009), BtnOk);
    EXPECT_EQ(spy.openedOver, std::vector<QWidget*>{&window});
}

TEST(ConnectionBox, WithoutADiagnosisToOpenNothingIsOffered) {
    Messages::Show(nullptr, MsgKind::Error, 15009);
    EXPECT_FALSE(Recorded().shown.back().diagnosisOffered);
}

TEST(ConnectionBox, TheRealBoxShowsTheHintAndItsButtonOpensTheDiagnosis) {
    AppContext ctx;
    std::string error;
    ctx.kobu = ChooseKobu("sim:unit=0", "", error);
    ASSERT_TRUE(ctx.kobu) << error;
    ScopedEnv kobu("KIVO_KOBU", std::string("sim:unit=0"));
    Messages::SetDiagnosis([&ctx](QWidget* parent) { DiagnosisDialog::Show(parent, ctx); });
    Messages::Install(nullptr); // real modal boxes from here on

    QWidget window;
    window.show();
    QString text, hint, button;
    bool clipped = true;
    bool diagnosisShown = false;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        hint = box->informativeText();
        auto* diagnose = box->findChild<QPushButton*>(QStringLiteral("btnDiagnosis"));
        ASSERT_NE(diagnose, nullptr);
        button = diagnose->text();
        // Every label has the room its text needs: its lines' height when it wraps, the width
        // of its text when it does not.
        clipped = false;
        for (QLabel* label : box->findChildren<QLabel*>())
            if (label->isVisible() &&
                (label->wordWrap() ? label->height() < label->heightForWidth(label->width())
                                   : label->width() < label->sizeHint().width()))
                clipped = true;
        // The diagnosis comes up once the box has gone.
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, &diagnosisShown] {
            auto* dialog = qobject_cast<DiagnosisDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            poll->stop();
            poll->deleteLater();
            diagnosisShown = true;
            dialog->btnClose->click();
        });
        poll->start(5);
        diagnose->click();
    });
    const int answer = Messages::Show(&window, MsgKind::Error, 15009);
    Messages::SetDiagnosis({});

    EXPECT_EQ(answer, BtnOk);
    EXPECT_EQ(text, QString::fromStdString(Str(15009)));
    EXPECT_EQ(hint, QString::fromStdString(Str(16101)));
    EXPECT_EQ(button, QStringLiteral("Verbindungsdiagnose..."));
    EXPECT_FALSE(clipped);
    EXPECT_TRUE(diagnosisShown);
}

TEST(ConnectionBox, EscapeClosesTheRealBoxWithoutTheDiagnosis) {
    int opened = 0;
    Messages::SetDiagnosis([&opened](QWidget*) { ++opened; });
    Messages::Install(nullptr);
    bool closed = false;
    WhenModal([&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        QTest::keyClick(modal, Qt::Key_Escape);
        closed = !modal->isVisible();
        // Should Escape not close it, the test ends it rather than hang.
        if (!closed) qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(Messages::Show(nullptr, MsgKind::Error, 15008), BtnOk);
    Messages::SetDiagnosis({});
    EXPECT_TRUE(closed);
    EXPECT_EQ(opened, 0);
}

} // namespace
} // namespace kivo::gui::test
