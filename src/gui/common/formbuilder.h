// Building a window's groups from tables: each row a label, its field and what follows the
// field (a unit, a spinner or a button), named as the code and the tests know them and
// captioned from the string table. The editor's pages and the wizard's sheets use it in their
// own density.
#pragma once

#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kivo::gui {

enum class FieldKind { Edit, ReadOnly, List, Button };

// What a row's field is; the window's own table says (the editor's binding, the wizard's list).
struct FieldSpec {
    FieldKind kind = FieldKind::Edit;
    int maxLength = 0; // characters an edit field takes; 0: any number
    int digits = 0;    // an edit field as wide as this many digits ...
    int width = 0;     // ... or this many pixels
};
using FieldSpecOf = std::function<FieldSpec(const char* field)>;

// One row of a group. A row without a field is a note: its label, word-wrapped, takes the
// whole row.
struct Row {
    int text;                      // caption of the label (0: none yet)
    const char* label;             // name of the label
    const char* field;             // name of the field
    const char* unit = nullptr;    // name of what follows the field
    int unitText = 0;              // its caption
    int hint = 0;                  // hint of the field
    const char* spinner = nullptr; // name of the spinner beside the field
    int buttonText = 0;            // a field that is a button: its caption
    bool unitIsButton = false;     // what follows the field is a button, not a unit label
};

struct Group {
    const char* name;
    int caption; // 0: none yet
    std::initializer_list<Row> rows;
    bool stacked = false; // each label above its field, for narrow groups
};

// How a group lays out its rows.
enum class Density {
    // The editor's pages, where the German captions fill a fixed window: narrow margins and
    // gaps, each unit right beside its field, fields and lists at their own width.
    Compact,
    // The wizard's sheets: the style's margins and gaps, units in a column of their own that a
    // field without one spans, fields filling their cells, the room left over after the units.
    Roomy,
};

QGroupBox* BuildGroup(const Group& group, QWidget* page, const FieldSpecOf& specOf,
                      Density density = Density::Compact);

// The pieces the groups are made of, for the rows a table does not describe.
QLabel* MakeLabel(const QString& name, int text);
// An edit field wide enough for `digits` digits; it takes at most `maxLength` characters.
QLineEdit* MakeEdit(const QString& name, int digits, int maxLength);
QComboBox* MakeList(const QString& name);
QCheckBox* MakeCheck(const QString& name, int text);
QPushButton* MakeButton(const QString& name, int text);
QGroupBox* MakeGroup(const QString& name, int caption);
// The hint as tool tip (with its line break) and as status-bar text (on one line).
void SetHint(QWidget* widget, int text);
// The field of a row, with its spinner if it has one.
QWidget* MakeField(const Row& row, QWidget* page, const FieldSpecOf& specOf,
                   Density density = Density::Compact);
// Tick boxes in a grid of `columns` columns, filled row by row.
QGroupBox* CheckGroup(const char* name, int caption,
                      std::initializer_list<std::pair<const char*, int>> boxes, int columns);

// The narrow margins and gaps of a compact group's layout.
inline constexpr int kCompactMargin = 4;
inline constexpr int kCompactSpacing = 3;
template <class L> L* Tight(L* layout) {
    layout->setContentsMargins(kCompactMargin, kCompactMargin, kCompactMargin, kCompactMargin);
    layout->setSpacing(kCompactSpacing);
    return layout;
}

} // namespace kivo::gui
