// A widget with the object name the binding, the tests and the access levels know it by.
#pragma once

#include <QString>

namespace kivo::gui {

template <class W> W* Named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

template <class W> W* Named(W* widget, const char* name) {
    return Named(widget, QString::fromLatin1(name));
}

} // namespace kivo::gui
