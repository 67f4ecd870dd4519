// The waiting window shown while the Kobu listens for a transmitter: a picture of one, what
// the user is to do, and an Abort button. The opener polls the Kobu from its own timer and ends
// the window with mrOk when the transmitter has answered.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace kivo::gui {

class SvgPicture;

// Resource path of the transmitter's drawing.
inline constexpr const char* kTransmitterPicture = ":/artwork/transmitter.svg";

class TfrmReceiveRadio : public QDialog {
    Q_OBJECT
public:
    // The modal results the openers tell apart.
    static constexpr int mrOk = 1;
    static constexpr int mrAbort = 3;

    explicit TfrmReceiveRadio(QWidget* parent = nullptr);

    void SetTitle(const QString& text);
    // The instruction beside the picture; the window grows taller for a long one.
    void SetActionText(const QString& text);

    // Escape and the platform's close key end the wait as Abort does: every way out that is not
    // a transmitter's answer is the user giving up.
    void reject() override;

    QGroupBox* gbxReceiveRadio = nullptr;
    SvgPicture* imgTransmitter = nullptr;
    QLabel* lblAction = nullptr;
    QLabel* lblNote = nullptr;
    QPushButton* btbtnAbort = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void btbtnAbortClick();
    // The two texts take 0.58 of the group box's width.
    int TextWidth() const;
    void Fit();
};

} // namespace kivo::gui
