// The about box: the unit's picture, the program's description and version, the attached
// Kobu's version text, and the extra lines an installation puts into about.ini.
#pragma once

#include "gui/common/appcontext.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kivo::gui {

class SvgPicture;

// The lines that follow the version lines: from [AboutInfo] of the INI file at `path` (the
// extra lines, or the company line when there are none), then WWW and MAIL.
std::vector<std::string> AboutIniLines(const std::string& path);

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmAbout() override;

    QFrame* Panel1 = nullptr;
    SvgPicture* ProgramIcon = nullptr;
    QLabel* lblKobuVersion = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QPlainTextEdit* mmoInfo = nullptr;
    QPushButton* btnOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void ShowKobuVersion();

    AppContext& ctx_;
    std::unique_ptr<KobuLink> link_; // the box's own link for its one exchange
};

} // namespace kivo::gui
