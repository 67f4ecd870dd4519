// "Verbindungsdiagnose": the connection diagnosis of kivoctl doctor in a window, with the
// findings as a list and a button that copies the report as text (for an e-mail to support).
#pragma once

#include "gui/common/appcontext.h"
#include "transport/doctor.h"

#include <QDialog>
#include <QString>

class QPushButton;
class QTextEdit;

namespace kivo::gui {

class DiagnosisDialog : public QDialog {
    Q_OBJECT
public:
    // Runs the diagnosis on the Kobu `ctx` talks to (chosen by KIVO_KOBU), with the wait
    // cursor up while it asks the Kobu, and shows the report modally over `parent`.
    static void Show(QWidget* parent, const AppContext& ctx);

    // The diagnosis alone, as Show runs it.
    static DoctorReport Diagnose(const AppContext& ctx);

    // The window for a report made already.
    explicit DiagnosisDialog(const DoctorReport& report, QWidget* parent = nullptr);

    // The report as kivoctl doctor prints it; what "Kopieren" puts on the clipboard.
    const QString& PlainText() const { return plain_; }

    QTextEdit* mmoReport = nullptr;
    QPushButton* btnCopy = nullptr;
    QPushButton* btnClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnCopyClick();

    QString plain_;
    QWidget* owner_ = nullptr; // the window it was shown over (Show)
};

} // namespace kivo::gui
