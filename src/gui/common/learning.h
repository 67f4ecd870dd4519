// Learning a transmitter's code, as the editor and the wizard do it: each with its own link,
// poll timer and field, the same wait, ticks and ending.
#pragma once

#include <QString>

#include <string>

class QLineEdit;
class QTimer;
class QWidget;

namespace kivo {
class KobuLink;
}

namespace kivo::gui {

class TfrmReceiveRadio;

// Sets the poll timer going (Tag 100, every 500 ms) and shows the waiting window modally with
// `action` as its instruction; stops the timer (Tag 0) when the window has closed. Returns the
// window's modal result.
int WaitForLearnedCode(QTimer* timer, TfrmReceiveRadio* waiting, const QString& action);

// One tick of the wait: asks the Kobu for the code it heard last. True, with `code`, when a
// valid reply came; the window then closes with OK unless the code is all zeros. A tick
// without a valid reply is passed over, unless the Kobu itself has gone (the link closes
// then): no amount of waiting would mend that, so the window closes with Abort.
bool LearningTick(KobuLink* link, TfrmReceiveRadio* waiting, std::string& code);

// After the wait: OK puts `code` into the field, Abort empties it (that is how a position is
// freed), and the Kobu stops listening. When the Kobu went away during the wait, the field
// keeps its code and the missing-Kobu message is shown over `parent`; so it does when the
// Kobu reported something that is no code, with a message naming it and the position's
// address.
void EndLearning(QWidget* parent, KobuLink& link, int result, QLineEdit* field, const QString& code,
                 int position);

} // namespace kivo::gui
