// The password prompt in front of the detailed editor, and the gate that turns the typed
// password into an access level and opens the editor with it.
#pragma once

#include "access/kivopassword.h"
#include "gui/common/appcontext.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kivo::gui {

class TfrmPassword : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget* parent = nullptr);

    void ClearPassword();
    QString GetPassword() const;

    QLabel* lblEnterPassword = nullptr;
    QLineEdit* edtPassword = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetTexts();
};

// A password field that echoes '*' for every character, as every password field here does.
void MakePasswordField(QLineEdit* field);

// The store of the running program (program folder + "KivoLng.tbl").
KivoPassword PasswordStore(const AppContext& ctx);

// The editor as the gate drives it: hand it the access level, then run it modally.
using EditorRun = std::function<void(int level)>;

// Behind the start window's detailed-programming button: prompt, access level, and the editor
// with that level while the start window is hidden. A cancelled prompt does nothing; a
// refused password says so and leaves the start window up.
void OpenEditorWithPassword(TfrmPassword& prompt, const KivoPassword& store, QWidget* startWindow,
                            const EditorRun& runEditor);

} // namespace kivo::gui
