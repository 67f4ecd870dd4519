// Choosing the configuration folder, in which configuration files are opened and saved.
#pragma once

#include "gui/common/appcontext.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo::gui {

class TfrmSelectDirectory : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelectDirectory(AppContext& ctx, QWidget* parent = nullptr);

    // The folder in the edit field, without a trailing path delimiter.
    void SetDirectory(const QString& path);
    QString GetDirectory() const;

    // The platform's folder browser: returns the chosen folder, or an empty text when
    // cancelled. Tests replace it.
    using FolderChooser =
        std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
    void SetFolderChooser(FolderChooser chooser) { chooser_ = std::move(chooser); }

    QGroupBox* gbxSelectDirectory = nullptr;
    QLabel* lblDirectoryInfo = nullptr;
    QLineEdit* edtActiveConfigDirectory = nullptr;
    QPushButton* btnBrowse = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    void btnBrowseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    AppContext& ctx_;
    FolderChooser chooser_;
};

} // namespace kivo::gui
