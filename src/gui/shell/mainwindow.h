// The start window: the picture of the unit and the choice of programming method. Its
// creation runs the whole start-up, so every window created after it finds the program's
// folders, installed files and default passwords in place.
#pragma once

#include "gui/common/appcontext.h"

#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;

namespace kivo::gui {

class SvgPicture;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // `executablePath` and `arguments` (the positional command-line arguments) feed start-up;
    // the folders, the template folder and the chosen Kobu end up in `ctx`.
    TfrmMain(AppContext& ctx, const std::string& executablePath,
             const std::vector<std::string>& arguments, QWidget* parent = nullptr);

    SvgPicture* imgMain = nullptr;
    QFrame* pnlMain = nullptr;
    QLabel* lblWelcome = nullptr;
    QLabel* lblPleaseSelect = nullptr;
    QPushButton* btnProgrammingGuide = nullptr;
    QLabel* lblAStepByStep = nullptr;
    QPushButton* btnEnterData = nullptr;
    QLabel* lblEditAllParameters = nullptr;
    QPushButton* btnBasicProgramming = nullptr;
    QLabel* lblSelectAPredefined = nullptr;
    QPushButton* btnExit = nullptr;
    // The wizard's 21 page pictures (112 x 160), by index 0..20.
    QStringList ImageList;

    // The editor on `path` after the password prompt, as File > Open would open it there; a
    // cancelled or refused prompt opens nothing.
    void OpenFileWithPassword(const QString& path);

public slots:
    void btnEnterDataClick();
    void btnBasicProgrammingClick();
    void btnProgrammingGuideClick();
    void btnExitClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const std::string& executablePath, const std::vector<std::string>& arguments);
    void FormShow();
    void BuildControls();
    void Arrange();
    void SetTexts();
    void SetLabelWidths();
    // Runs the window of `role` modally while the start window is hidden.
    void RunHidden(Role role);

    AppContext& ctx_;
    QString fileArgument_; // a configuration file to open once the window is up
};

} // namespace kivo::gui
