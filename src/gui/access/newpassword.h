// The new password, typed twice: only printable ASCII, and either empty (clears the level) or
// at least four characters.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo::gui {

class TfrmNewPassword : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNewPassword(QWidget* parent = nullptr);

    QString GetPassword() const;

    QGroupBox* gbSetNewPassword = nullptr;
    QLabel* lblEnterNewPassword = nullptr;
    QLineEdit* edtPassword = nullptr;
    QLabel* lblRetypeNewPassword = nullptr;
    QLineEdit* edtPasswordRetype = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

public slots:
    void btnOkClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetTexts();
    void UpdateOk();
};

} // namespace kivo::gui
