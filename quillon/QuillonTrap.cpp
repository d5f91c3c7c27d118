#include "QuillonTrap.h"
#include "Platform.h"

namespace tonara::quillon {

void endWithError(const QString& description) {
    platform().messageBox(description, "Error", MessageIcon::Critical, MessageButtons::Ok);
    platform().endProgram(1);
}

} // namespace tonara::quillon
