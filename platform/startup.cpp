#include "platform/startup.h"

#include <cstdlib>

#include "platform/fonts.h"
#include "platform/system.h"

namespace orvane {

void useOffscreenPlatform() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void initialiseWindowing() {
    registerFontSubstitutions();
    installInputWatch();
}

}  // namespace orvane
