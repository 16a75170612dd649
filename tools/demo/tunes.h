#pragma once
// The two tunes of the viewer: "OV.MID", a short opening tune played with the
// welcome screen, and "EQ.MID", the rumble of the opening pulse. General MIDI
// programs only, so any GM synthesizer plays them.

#include <string>

namespace orvane {

/// The opening tune (about ten seconds).
std::string openingTune();

/// The earthquake rumble (about three seconds: the opening pulse of a great
/// earthquake lasts magnitude / 0.5 steps of 100 ms).
std::string earthquakeRumble();

}  // namespace orvane
