// Changing the passwords of the three levels a user can set (shown as "Level 1", "Level 1+2"
// and "Level 1,2+3"), opened from the editor's Tools menu.
#pragma once

#include "gui/common/appcontext.h"

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kivo::gui {

class TfrmChangePasswords : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChangePasswords(AppContext& ctx, QWidget* parent = nullptr);

    QGroupBox* gbChangePasswords = nullptr;
    QLabel* lblInfoPass2 = nullptr;
    QLabel* lblInfoPass2b = nullptr;
    QPushButton* btnChangePass2 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* lblInfoPass3 = nullptr;
    QLabel* lblInfoPass3b = nullptr;
    QPushButton* btnChangePass3 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* lblInfoPass5 = nullptr;
    QLabel* lblInfoPass5b = nullptr;
    QPushButton* btnChangePass5 = nullptr;
    QPushButton* btnOk = nullptr;

public slots:
    // One handler for the three buttons; the sender says which level.
    void btnChangePassClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetTexts();
    void ChangePassword(int level);

    AppContext& ctx_;
};

} // namespace kivo::gui
