#pragma once
// The body waves of a demonstration seismogram: which phases arrive at a
// station, when (ak135 travel times, the code that builds the viewer's
// tables), how strongly and at what angle.

#include <vector>

#include "tools/demo/synthetic_seismogram.h"

namespace orvane {

/// The focal depth the arrivals are computed for: the depth of the table
/// column the viewer reads for an event this deep, so that the arrival marks
/// it draws fall on the onsets of the traces (the catalogue depth differs by
/// less than one column, 63 km, at most a few seconds of travel time).
double arrivalDepth(double catalogueDepth);

/// P, pP, PP, PcP, PKIKP, S, sS, SS, ScS and SKS where each exists and
/// matters at `distance` degrees, with amplitudes for `magnitude` that fall
/// off with distance. Times for a focus `depth` km deep.
std::vector<PhaseArrival> bodyWaveArrivals(double distance, double depth, double magnitude);

/// Peak of the direct P pulse at 30 degrees, in the units of the noise (whose
/// RMS is 1): grows tenfold a magnitude step, up to magnitude 8 where the
/// body-wave size saturates.
double bodyWaveScale(double magnitude);

/// Everything a station records of an event, as synthesize() takes it:
/// samples from a minute before the origin until the slowest surface waves
/// have passed, 20 a second.
SeismogramRequest stationRequest(double distance, double backAzimuth, double depth, double magnitude,
                                 std::uint64_t seed);

}  // namespace orvane
