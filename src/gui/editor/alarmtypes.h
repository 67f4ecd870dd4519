// All eight bits of the 27 alarm type definition bytes as tick boxes, written back as whole
// bytes. The editor's main page shows only the "on" bit of 17 of them; OK brings those along.
#pragma once

#include "gui/common/appcontext.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kivo::gui {

class TfrmAlarmTypes : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAlarmTypes(AppContext& ctx, QWidget* parent = nullptr);

    // The tick box of bit `mask` of the definition byte at `addr` (cb90_80 ... cbDF_01);
    // nullptr for a byte or mask the dialog does not show.
    QCheckBox* Box(unsigned addr, unsigned mask) const;

    QGroupBox* gbxAlarmTypes = nullptr;
    QFrame* pnlSeparator = nullptr;
    QPlainTextEdit* mmExplanationLeft = nullptr;
    QPlainTextEdit* mmExplanationRight = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    AppContext& ctx_;
};

} // namespace kivo::gui
