#pragma once
// System services: the tick count, the screen size, the waiting-input test
// and waiting while events are handled.

#include <cstdint>

#include "platform/draw_types.h"

namespace orvane {

/// Milliseconds from a steady clock, wrapping at 32 bits.
std::uint32_t tickCount();

/// Size of the primary screen in pixels (0 x 0 without a screen).
Size screenSize();

/// Starts noting mouse-button and key events of the whole application.
/// Safe to call more than once; needs the application object.
void installInputWatch();
/// Whether a mouse-button, wheel or key event arrived since the last
/// markInputTick() (or since the watch was installed).
bool inputWaiting();
/// Starts a new period for inputWaiting(); the run controller calls it once
/// per tick.
void markInputTick();

/// Waits `ms` milliseconds while the event loop keeps handling events.
void waitDispatching(int ms);

}  // namespace orvane
