// The four ready-made settings of the white extra button as a day button: the user picks one,
// the editor writes it into the image.
#pragma once

#include "gui/common/appcontext.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kivo::gui {

class TfrmSelectHomeAway : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelectHomeAway(AppContext& ctx, QWidget* parent = nullptr);

    // The chosen item 0..3; -1 leaves (or means) no item chosen.
    void SetSelection(int index);
    int GetSelection() const;

    QGroupBox* rgSelectHomeAway = nullptr;
    std::array<QRadioButton*, 4> rbItems{};
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    void rgSelectHomeAwayClick();
    void btnOkClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    AppContext& ctx_;
    QButtonGroup* items_ = nullptr;
};

} // namespace kivo::gui
