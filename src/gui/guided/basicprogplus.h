// Basic programming: one of the configuration files of the configuration folder, the ID
// number under which the unit reports and what happens to the unit's radio positions are
// written into the unit and verified. The window also reads the attached unit and prints its
// configuration.
#pragma once

#include "data/kivodata.h"
#include "gui/common/appcontext.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace kivo::gui {

class TfrmBasicProgPlus : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBasicProgPlus(AppContext& ctx, QWidget* parent = nullptr);

    QGroupBox* GroupBox1 = nullptr;
    QLabel* lblSelectConfiguration = nullptr;
    QComboBox* cmbConfiguration = nullptr;
    QLabel* lblWhatAlarmCode = nullptr;
    QLineEdit* edtAlarmCode = nullptr;
    QGroupBox* rgRadioCodes = nullptr;
    QPushButton* btnWriteToKivo = nullptr;
    QPushButton* btnReadAndPrint = nullptr;
    QPushButton* btnExit = nullptr;
    QStatusBar* sbStatus = nullptr;

    // The choice of rgRadioCodes: 0 keep every radio position of the unit, 1 clear positions
    // 2 to 8, 2 clear all; -1 for none.
    int RadioChoice() const;
    void SetRadioChoice(int index);

    // The configuration as last loaded or read, and the size of the file it came from.
    const KivoData& Data() const { return data_; }
    unsigned FileSize() const { return fileSize_; }

public slots:
    void cmbConfigurationChange();
    void btnWriteToKivoClick();
    void btnReadAndPrintClick();
    void btnExitClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void SetTexts();
    void ArrangeWidths();
    void FormShow();
    // Fills cmbConfiguration from the configuration folder; false when it holds none.
    bool ListConfigurations();
    // Loads the selected file into the working image; false (nothing shown) on failure.
    bool LoadSelected();

    AppContext& ctx_;
    KivoData data_;
    unsigned fileSize_ = 0;
    QButtonGroup* radioChoices_ = nullptr;
    QRadioButton* radioButtons_[3] = {};
    QProgressBar* progress_ = nullptr;
};

} // namespace kivo::gui
