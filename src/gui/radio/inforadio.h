// The transmitter info dialog: reads the settings a radio transmitter keeps itself through the
// Kobu (the user triggers the transmitter while the waiting window is up), shows them, and
// writes the settable ones back.
#pragma once

#include "gui/common/appcontext.h"

#include <QDialog>

#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace kivo::gui {

class TfrmReceiveRadio;

class TfrmInfoRadio : public QDialog, public TransmitterInfoRole {
    Q_OBJECT
public:
    // The two polls of the timer.
    static constexpr int kTagRead = 100;
    static constexpr int kTagWrite = 200;

    explicit TfrmInfoRadio(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmInfoRadio() override;

    // The transmitter to talk to: its code (taken in upper case) and its radio position 1..8.
    void SetCode(const QString& code);
    void SetPosition(int position);
    const QString& Code() const { return code_; }
    int Position() const { return position_; }

    // Reads the transmitter's settings into the fields; whether the dialog is to be shown.
    bool ReadTransmitterInfo();

    // The editor's request: the code and position set, the settings read, and the dialog
    // shown modally when the read worked.
    void ShowTransmitter(const QString& code, int position) override;

    // Writes the settable values into the transmitter, then closes; stays open when the
    // values are refused or the write could not start.
    void btnOKClick();

    // Every way of closing ends here; the link is closed with it.
    void done(int result) override;

    QGroupBox* gbxInfoParameters = nullptr;
    QLabel* lblInfoRadioCode = nullptr;
    QLineEdit* edtInfoRadioCode = nullptr;
    QLabel* lblInfoProgramVersion = nullptr;
    QLineEdit* edtInfoProgramVersion = nullptr;
    QLabel* lblUserAlarmCount = nullptr;
    QLineEdit* edtUserAlarmCount = nullptr;
    QCheckBox* cbInfoEnableTestAlarmFunction = nullptr;
    QLabel* lblInfoTestAlarmInterval = nullptr;
    QLineEdit* edtInfoTestAlarmInterval = nullptr;
    QLabel* lblInfoMaxNoTestAlarms = nullptr;
    QLineEdit* edtInfoMaxNoTestAlarms = nullptr;
    QCheckBox* cbInfoPowerSaveMode = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QTimer* tmrPollKobuInfo = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void SetCaptions();
    void tmrPollKobuInfoTimer();
    void cbInfoEnableTestAlarmFunctionClick();
    // Shows a complete read reply in the fields.
    void ShowReply(const std::string& reply);
    void ShowVersion(const std::string& version);
    // Runs the waiting window with the poll of `tag`; returns its modal result.
    int WaitForTransmitter(int tag, int titleId, int actionId);
    TfrmReceiveRadio* Waiting();
    // Where boxes go: the dialog once it is up, before that the editor.
    QWidget* BoxParent();

    AppContext& ctx_;
    // The dialog's own link, made afresh for each read or write to the Kobu chosen then, and
    // open only during it.
    std::unique_ptr<KobuLink> link_;
    QString code_;
    int position_ = 0;
    std::string reply_; // the Kobu's latest answer to a poll
    // A waiting window of its own for a dialog made without the program's windows (tests).
    std::unique_ptr<TfrmReceiveRadio> ownWaiting_;
};

} // namespace kivo::gui
