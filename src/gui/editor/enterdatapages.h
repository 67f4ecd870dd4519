// The editor's seven pages: every control created, named as the binding knows it, captioned
// from the string table and laid out. Behaviour is wired by the editor afterwards.
#pragma once

#include <QIcon>

class QTabWidget;
class QWidget;

namespace kivo::gui {

// Builds the page control `pgcntrlMain` with its pages, captions, hints, edition switches and
// always-hidden controls. The lists and the advanced grid are left empty.
QTabWidget* BuildEditorPages(QWidget* parent);

// The picture of the transmitter info buttons.
QIcon InfoButtonIcon();

} // namespace kivo::gui
