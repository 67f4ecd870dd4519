// Where the windows appear and how large they are: every window centres itself when it is
// shown, and takes its designed size unless its texts need more room.
#pragma once

#include <QSize>
#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace kivo::gui {

// The platform library's captions of the confirm and cancel buttons in this edition.
QString OkCaption();
QString CancelCaption();

// A dialog's confirm and cancel buttons, right-aligned in a row: `ok` is the default button,
// `cancel` never takes Return. The caller connects their clicks and places the row.
QHBoxLayout* OkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel,
                         const char* okName = "btnOK");

// Centres the window on its screen; halves are truncated.
void CentreOnScreen(QWidget* window);
// Centres the window over `over` (outer sizes, halves truncated); on the screen when `over` is
// missing or not shown.
void CentreOver(QWidget* window, QWidget* over);

// Keeps `dialog` above `owner` on the screen (the window system's "transient for") without
// making it the owner's child: the editor's dialogs are not part of the editor's widget tree,
// where they would mix with the editor's own named controls.
void StayAbove(QWidget* dialog, QWidget* owner);

// A field that only shows what the unit or the Kobu reported: it takes no input, but its text
// keeps the normal colour instead of the pale grey of a switched-off control.
void LegibleWhenDisabled(QWidget* field);

// Fixes the window's size at `designed`, or larger where its layout needs more room for its
// texts: word-wrapped labels make it taller, never wider than the layout asks.
void FitFixedSize(QWidget* window, QSize designed);

} // namespace kivo::gui
