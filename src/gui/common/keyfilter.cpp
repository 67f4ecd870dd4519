#include "gui/common/keyfilter.h"

#include "gui/common/updown.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace kivo::gui {

namespace {

// Keys that never reach a field's character handling: navigation and editing commands.
bool PassesAlways(const QKeyEvent* k) {
    switch (k->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
        return true;
    default:
        break;
    }
    // The platform's editing shortcuts: select all and type must replace, not append. What
    // a paste brings in is answered by the field's value check.
    return k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) ||
           k->matches(QKeySequence::Cut) || k->matches(QKeySequence::SelectAll) ||
           k->matches(QKeySequence::Undo) || k->matches(QKeySequence::Redo) || k->text().isEmpty();
}

} // namespace

bool KeyFilter::Admits(KeyRule rule, char key, char decimalSeparator) {
    return AdmitsKey(rule, key, decimalSeparator);
}

void KeyFilter::Attach(QLineEdit* field, KeyRule rule, UpDown* spinner) {
    fields_[field] = {rule, spinner};
    // Composed input would bypass the key test.
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || resending_) return false;
    auto it = fields_.find(watched);
    if (it == fields_.end()) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    const Entry& entry = it->second;
    if (entry.spinner && (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down)) {
        entry.spinner->Step(k->key() == Qt::Key_Up ? 1 : -1);
        return true;
    }
    if (PassesAlways(k)) return false;

    const char separator = kDecimalSeparator;
    const QString text = k->text();
    for (QChar c : text)
        if (c.unicode() >= 128 || !Admits(entry.rule, static_cast<char>(c.unicode()), separator))
            return true; // dropped
    if (entry.rule == KeyRule::Telephone && text != text.toUpper()) {
        QKeyEvent upper(k->type(), k->key(), k->modifiers(), text.toUpper(), k->isAutoRepeat(),
                        static_cast<ushort>(k->count()));
        resending_ = true;
        QCoreApplication::sendEvent(watched, &upper);
        resending_ = false;
        return true;
    }
    return false;
}

} // namespace kivo::gui
