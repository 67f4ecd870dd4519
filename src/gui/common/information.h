// A message in two parts: the main message beside the information sign, and below it a
// highlighted band with a note that belongs to it (the editor's write uses it when a unit
// could not take every parameter).
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace kivo::gui {

class SvgPicture;

class TfrmInformation : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInformation(QWidget* parent = nullptr);

    // Puts the two messages in, centres the box over `over` and shows it modally.
    void ShowMessages(QWidget* over, const QString& first, const QString& second);
    // Only puts the two messages in (the next show places them).
    void SetMessages(const QString& first, const QString& second);

    SvgPicture* Image1 = nullptr;
    QLabel* lblMess1 = nullptr;
    QFrame* Panel1 = nullptr;
    SvgPicture* Image2 = nullptr;
    QLabel* lblMess2 = nullptr;
    QPushButton* btnOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QWidget* over_ = nullptr;
};

} // namespace kivo::gui
