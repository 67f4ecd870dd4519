// The detailed editor: every parameter of a configuration on seven pages, with the file,
// communication and tool menus.
#pragma once

#include "gui/app/appcontext.h"

#include <QDialog>

namespace kivo::gui {

class TfrmEnterData : public QDialog {
    Q_OBJECT
public:
    TfrmEnterData(AppContext& ctx, QWidget* parent = nullptr);
    ~TfrmEnterData() override;

    // Shows or hides the functions of an access level (2..5); other values change nothing.
    void SetAccessLevel(int level);

private:
    AppContext& ctx_;
};

} // namespace kivo::gui
