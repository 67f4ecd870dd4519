// "Verbindungsdiagnose": the report of kivoctl doctor in a window, copied as text on request.
#include "support/apptest.h"

#include "gui/common/diagnosisdialog.h"
#include "transport/choose.h"

#include <QClipboard>
#include <QPushButton>
#include <QTextEdit>

namespace kivo::gui::test {
namespace {

TEST(DiagnosisDialog, ShowsTheReportOfTheChosenKobuAndCopiesIt) {
    ScopedEnv kobu("KIVO_KOBU", std::string("sim:unit=0"));
    AppContext ctx;
    std::string error;
    ctx.kobu = ChooseKobu("sim:unit=0", "", error);
    ASSERT_TRUE(ctx.kobu) << error;
    QWidget owner;
    owner.show();

    QString title, shown, copied, expected;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<DiagnosisDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        shown = dialog->mmoReport->toPlainText();
        expected = dialog->PlainText();
        EXPECT_TRUE(dialog->mmoReport->isReadOnly());
        EXPECT_EQ(dialog->btnCopy->text(), QStringLiteral("&Kopieren"));
        QApplication::clipboard()->clear();
        dialog->btnCopy->click();
        copied = QApplication::clipboard()->text();
        dialog->btnClose->click();
    });
    DiagnosisDialog::Show(&owner, ctx);

    EXPECT_EQ(title, QStringLiteral("Verbindungsdiagnose"));
    for (const char* text : {"Die KOBU ist als „sim:unit=0“ gewählt; die USB-Prüfungen entfallen.",
                             "Die KOBU antwortet: Version 11-1 SIM1.0.", "Kein KIVO antwortet.",
                             "Prüfen Sie, ob das KIVO eingeschaltet ist"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(text))) << text << "\n" << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Problem")));
    // The clipboard gets what kivoctl doctor prints.
    EXPECT_EQ(copied, expected);
    EXPECT_TRUE(copied.contains(QStringLiteral("Problem  Kein KIVO antwortet.\n")))
        << copied.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(DiagnosisDialog, OutsideTextsAreShownAsWritten) {
    DoctorReport report;
    report.findings.push_back({FindingState::Warning, 0, "Gerät „<b>FT232R</b> & Co“", 0, ""});
    DiagnosisDialog dialog(report);
    EXPECT_TRUE(
        dialog.mmoReport->toPlainText().contains(QStringLiteral("Gerät „<b>FT232R</b> & Co“")))
        << dialog.mmoReport->toPlainText().toStdString();
}

} // namespace
} // namespace kivo::gui::test
