// Key filters of the windows' fields: a key the field's test refuses is dropped before the
// field sees it; telephone fields take their letters in upper case. Editing and navigation
// keys always pass, and the arrow keys step a field's spinner.
#pragma once

#include "editor/keyrules.h"

#include <QObject>

#include <unordered_map>

class QLineEdit;

namespace kivo::gui {

class UpDown;

using kivo::KeyRule;

class KeyFilter : public QObject {
    Q_OBJECT
public:
    explicit KeyFilter(QObject* parent) : QObject(parent) {}
    void Attach(QLineEdit* field, KeyRule rule, UpDown* spinner = nullptr);

    // Whether a field of that rule takes the character (besides the control keys).
    static bool Admits(KeyRule rule, char key, char decimalSeparator);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        KeyRule rule;
        UpDown* spinner;
    };
    std::unordered_map<QObject*, Entry> fields_;
    bool resending_ = false;
};

} // namespace kivo::gui
