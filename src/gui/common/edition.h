// What this edition offers beyond its string table.
#pragma once

namespace kivo::gui {

// The wizard is offered only with KIVO_WIZARD=1 (service staff): its entries on the start
// window and in the editor's Tools menu stay hidden otherwise.
bool WizardOffered();

} // namespace kivo::gui
