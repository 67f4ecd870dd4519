#include "gui/common/formbuilder.h"

#include "gui/common/messages.h"
#include "gui/common/named.h"
#include "gui/common/placement.h"
#include "gui/common/updown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kivo::gui {

namespace {

// Columns of a roomy group: label, field, unit, and the room left over.
constexpr int kRoomyColumns = 4;

FieldSpec SpecOfRow(const Row& r, const FieldSpecOf& specOf) {
    if (r.buttonText) return {FieldKind::Button};
    return specOf ? specOf(r.field) : FieldSpec{};
}

QWidget* MakeUnit(const Row& r) {
    if (r.unitIsButton) return MakeButton(r.unit, r.unitText);
    return MakeLabel(r.unit, r.unitText);
}

} // namespace

QLabel* MakeLabel(const QString& name, int text) {
    return Named(new QLabel(QStr(text)), name);
}

QLineEdit* MakeEdit(const QString& name, int digits, int maxLength) {
    auto* e = Named(new QLineEdit, name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    const int width = e->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0')));
    e->setFixedWidth(width + 14);
    return e;
}

QComboBox* MakeList(const QString& name) {
    auto* c = Named(new QComboBox, name);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QCheckBox* MakeCheck(const QString& name, int text) {
    return Named(new QCheckBox(QStr(text)), name);
}

QPushButton* MakeButton(const QString& name, int text) {
    auto* b = Named(new QPushButton(QStr(text)), name);
    b->setAutoDefault(false);
    return b;
}

QGroupBox* MakeGroup(const QString& name, int caption) {
    return Named(new QGroupBox(QStr(caption)), name);
}

void SetHint(QWidget* w, int text) {
    // The tool tip keeps the line break; the status bar shows one line.
    QString hint = QStr(text);
    hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    w->setToolTip(hint);
    w->setStatusTip(QString(hint).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

QWidget* MakeField(const Row& r, QWidget* page, const FieldSpecOf& specOf, Density density) {
    const FieldSpec spec = SpecOfRow(r, specOf);
    QLineEdit* edit = nullptr;
    switch (spec.kind) {
    case FieldKind::List:
        // A roomy list keeps the width it first takes.
        return density == Density::Compact ? MakeList(r.field) : Named(new QComboBox, r.field);
    case FieldKind::Button:
        return MakeButton(r.field, r.buttonText);
    case FieldKind::ReadOnly:
        // The fields that only show what the unit reports.
        edit = MakeEdit(r.field, spec.digits, 0);
        edit->setReadOnly(true);
        edit->setEnabled(false);
        LegibleWhenDisabled(edit);
        return edit;
    case FieldKind::Edit:
        break;
    }
    if (spec.width > 0) {
        edit = Named(new QLineEdit, r.field);
        if (spec.maxLength > 0) edit->setMaxLength(spec.maxLength);
        edit->setFixedWidth(spec.width);
    } else {
        edit = MakeEdit(r.field, spec.digits, spec.maxLength);
    }
    if (r.hint) SetHint(edit, r.hint);
    if (!r.spinner) return edit;
    auto* box = new QWidget(page);
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(edit);
    h->addWidget(Named(new UpDown(edit, 0, 255), r.spinner));
    h->addStretch();
    return box;
}

QGroupBox* BuildGroup(const Group& g, QWidget* page, const FieldSpecOf& specOf, Density density) {
    QGroupBox* box = MakeGroup(g.name, g.caption);
    auto* grid = new QGridLayout(box);
    const bool compact = density == Density::Compact;
    if (compact) Tight(grid);
    const int columns = compact ? 2 : kRoomyColumns;
    int line = 0;
    for (const Row& r : g.rows) {
        QLabel* label = MakeLabel(r.label, r.text);
        if (!r.field) {
            label->setWordWrap(true);
            grid->addWidget(label, line++, 0, 1, columns);
            continue;
        }
        QWidget* field = MakeField(r, page, specOf, density);
        if (r.hint && SpecOfRow(r, specOf).kind == FieldKind::List) SetHint(field, r.hint);
        if (g.stacked) {
            grid->addWidget(label, line++, 0);
            grid->addWidget(field, line++, 0, Qt::AlignLeft);
            continue;
        }
        grid->addWidget(label, line, 0);
        if (!compact) {
            if (r.unit) {
                grid->addWidget(field, line, 1);
                grid->addWidget(MakeUnit(r), line, 2);
            } else {
                grid->addWidget(field, line, 1, 1, 2);
            }
        } else if (r.unit) {
            auto* h = new QHBoxLayout;
            h->setSpacing(kCompactSpacing + 1);
            h->addWidget(field);
            h->addWidget(MakeUnit(r));
            h->addStretch();
            grid->addLayout(h, line, 1);
        } else {
            grid->addWidget(field, line, 1, Qt::AlignLeft);
        }
        ++line;
    }
    grid->setColumnStretch(g.stacked ? 0 : (compact ? 1 : kRoomyColumns - 1), 1);
    return box;
}

QGroupBox* CheckGroup(const char* name, int caption,
                      std::initializer_list<std::pair<const char*, int>> boxes, int columns) {
    QGroupBox* box = MakeGroup(name, caption);
    auto* grid = Tight(new QGridLayout(box));
    grid->setHorizontalSpacing(10);
    int i = 0;
    for (const auto& [n, text] : boxes) {
        grid->addWidget(MakeCheck(n, text), i / columns, i % columns);
        ++i;
    }
    return box;
}

} // namespace kivo::gui
