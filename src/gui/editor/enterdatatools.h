// What the editor's tools hand to the platform, replaceable for tests.
#pragma once

#include <QUrl>

#include <functional>

namespace kivo::gui {

// Opens a document with the application the platform associates with it; false when the
// platform reports failure.
using DocumentOpener = std::function<bool(const QUrl& document)>;
// Replaces the platform's opener (an empty function restores it).
void SetDocumentOpener(DocumentOpener opener);

} // namespace kivo::gui
