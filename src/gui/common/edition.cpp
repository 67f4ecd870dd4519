#include "gui/common/edition.h"

#include <cstdlib>
#include <cstring>

namespace kivo::gui {

bool WizardOffered() {
    const char* value = std::getenv("KIVO_WIZARD");
    return value && std::strcmp(value, "1") == 0;
}

} // namespace kivo::gui
