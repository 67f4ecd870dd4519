// The detailed editor: every parameter of a configuration on seven pages, with the file,
// communication and tool menus.
#pragma once

#include "data/kivoini.h"
#include "editor/document.h"
#include "editor/recentfiles.h"
#include "gui/common/appcontext.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenuBar;
class QProgressBar;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace kivo::gui {

class WidgetControls;
class KeyFilter;
class TfrmReceiveRadio;

class TfrmEnterData : public QDialog {
    Q_OBJECT
public:
    TfrmEnterData(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmEnterData() override;

    // Shows or hides the functions of an access level (2..5); other values change nothing.
    void SetAccessLevel(int level);

    // The open and save dialogs. Returns the chosen path, or an empty text when cancelled.
    enum class FileDialog { Open, SaveAs };
    using FileChooser =
        std::function<QString(QWidget* parent, FileDialog kind, const QString& title,
                              const QString& folder, const QString& filter)>;
    // Replaces the platform's file dialogs (tests choose their files without a dialog).
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

    // The configuration being edited and the editor's own image size (256 or 512).
    KivoData& Data() { return doc_.data; }
    unsigned ImageSize() const { return doc_.imageSize; }
    // Off while an image is being shown: the test-radio tick boxes then tell the user nothing.
    bool TestRadioMessages() const { return testRadioMessages_; }

    // The two moves between the working image and the controls. ImageToControls returns -1,
    // or the address of the last reported byte that the controls cannot show.
    int ImageToControls();
    void ControlsToImage();
    void UpdateTitle();

    // Opens a configuration file as File > Open does once a file is chosen.
    void OpenFile(const QString& path) { OpenChosenFile(path); }

    // Menu handlers. The file commands return whether the configuration was saved.
    void mnuFileNewClick();
    void mnuFileOpenClick();
    bool mnuFileSaveClick();
    bool mnuFileSaveAsClick();
    void mnuFileExitClick();
    // Entry n (1..8) of the recently used files: opens that file as File > Open opens the
    // chosen one; a file that is gone is taken off the list.
    void mnuFileRecentClick(int n);
    // Opens one of the unit backups kept before writes, as File > Open opens a file.
    void mnuFileRestoreBackupClick();
    // Lists the parameters in which the edited configuration differs from a chosen file.
    void mnuToolsCompareClick();
    // Shows the list of differences (tests replace it to read the list).
    using CompareViewer =
        std::function<void(QWidget* parent, const QString& title, const QString& text)>;
    void SetCompareViewer(CompareViewer viewer) { compareViewer_ = std::move(viewer); }
    void mnuCommReadClick();
    void mnuCommWriteClick();
    void mnuToolsChangePasswordsClick();
    void mnuHelpAboutClick();

    // Dialogs of later work; their controls are disabled until then.
    void mnuFileSelectDefaultDirectoryClick();
    void mnuFileChangeDefaultConfigClick();
    void mnuFilePrintClick();
    void mnuToolsGuideClick();
    void mnuToolsBasicClick();
    void mnuToolsCreateTextFileClick();
    void mnuToolsConfigureHomeAwayClick();
    void btnReceiveRadioCodeClick(int n);
    void bbtnInfoRadioPosClick(int n);
    void btnAlarmTypesConfigureClick();

    // Every way of closing ends here: the exit command and the window's close button.
    void done(int result) override;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // The window's close button: with unsaved changes, the exit command's question first.
    void closeEvent(QCloseEvent* e) override;
    // One local .Kivo file may be dropped on the window; it opens as File > Open would.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormCreate();
    void BuildMenus();
    void BuildAdvancedGrid(bool haveIni);
    void WireControls();
    void FormShow();
    void FormClose();
    // Loads the default configuration into the working image; false (and 15011) when it is
    // missing or unreadable.
    bool LoadDefaultImage();
    // ImageToControls, then the invalid-value box when an address comes back.
    void ShowImageAndReport();
    bool SaveToCurrentFile();
    void OnValueChanged(const QString& control, const QString& text);
    void cbbxAlarmTypePosNSelect(int tag, int index);
    void cbbxAnswerRadioMessageWithAckChange(int index);
    QString FileFilter() const;
    QString ChooseFile(FileDialog kind, int titleId);
    QString ChooseFile(FileDialog kind, int titleId, const QString& folder);
    void OpenChosenFile(const QString& path);
    // Before a recent entry or a dropped file replaces the configuration: offers to save the
    // changes made since it was shown. False when the opening is to stop.
    bool SaveChangesFirst();
    bool HasUnsavedChanges();
    // The recently used files: the menu entries from Values.ini, and changes to the list.
    void RefreshRecentFiles();
    void RememberRecentFile(const QString& path);
    void ForgetRecentFile(const QString& path);
    // Accepts the drag (as a copy, never a move) when it carries one configuration file.
    bool AcceptDrag(QDropEvent* e);
    void OpenDroppedFile(const QString& path);
    void ShowTwoPartBox(int firstId, int secondId);

    AppContext& ctx_;
    KivoIni ini_;
    EditorDocument doc_;
    bool testRadioMessages_ = true;
    // While the program sets controls itself, list changes are not the user's.
    int programmatic_ = 0;
    // The item index each transmitter alarm-type list had after the user's last selection.
    std::array<int, 9> lastAlarmTypeIndex_{};

    QMenuBar* menu_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QStatusBar* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    std::unique_ptr<WidgetControls> controls_;
    KeyFilter* keyFilter_ = nullptr;
    FileChooser chooser_;
    std::array<QAction*, RecentFiles::kMaxFiles> recentActions_{};
    QAction* recentSeparator_ = nullptr;
    CompareViewer compareViewer_;

    // --- Radio transmitters (enterdataradio.cpp): learning a code into a position, the
    // transmitter info dialog, and the test-supervision tick boxes' reminders. ---
    void WireRadioPosition(int n);
    void cbTestRadioPosClick(int n);
    void tmrPollKobuTimer();
    TfrmReceiveRadio* ReceiveRadioWindow();
    QTimer* tmrPollKobu_ = nullptr;
    std::unique_ptr<KobuLink> radioLink_; // open for one learning click only
    std::string receivedCode_;            // the code of the last poll reply
    // A waiting window of the editor's own when it was made without the program's (tests).
    std::shared_ptr<TfrmReceiveRadio> ownReceiveRadio_;
};

// The configuration file name for a chosen name: its extension (from the last full stop after
// the last path delimiter) replaced by ".Kivo", or ".Kivo" appended when it has none.
QString WithKivoExtension(const QString& chosen);

} // namespace kivo::gui
