#pragma once
// What a program (or a test program) sets up around the application object.

namespace orvane {

/// Before the application object: run on Qt's offscreen platform unless a
/// platform was chosen already (tests, headless runs).
void useOffscreenPlatform();

/// After the application object: font substitutions and the input watch.
void initialiseWindowing();

}  // namespace orvane
