// Choosing which of the alternative configurations in the program folder becomes the default
// configuration (the starting image of File > New and of every new editor session).
#pragma once

#include "gui/common/appcontext.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kivo::gui {

class TfrmViewDefault : public QDialog {
    Q_OBJECT
public:
    explicit TfrmViewDefault(AppContext& ctx, QWidget* parent = nullptr);

    // The number of alternative configurations in the program folder.
    int CountDefaultConfigs() const;
    // The file name of the chosen list item; empty when the list names no file.
    std::string SelectedConfig() const;

    QGroupBox* gbxSelectNewConfiguration = nullptr;
    QComboBox* cmbDefaultConfig = nullptr;
    QLabel* lblConfigInfo = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    AppContext& ctx_;
    std::vector<std::string> names_; // the files the list shows, in its order
};

} // namespace kivo::gui
