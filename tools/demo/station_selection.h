#pragma once
// Chooses the stations that record a demonstration event: spread in distance
// (10 to 170 degrees) and in azimuth, so the seismograms show every part of
// the travel-time curves, the shadow zone included.

#include <cstddef>
#include <vector>

#include "tools/demo/station_table.h"

namespace orvane {

/// Great-circle arc between two points, degrees (double precision).
double arcDegrees(double latitude1, double longitude1, double latitude2, double longitude2);

/// Azimuth from point 1 towards point 2, degrees clockwise from north, 0..360.
double azimuthDegrees(double latitude1, double longitude1, double latitude2, double longitude2);

struct SelectedStation {
    const GlobalStation* station = nullptr;
    double distance = 0;     ///< arc from the epicentre, degrees
    double azimuth = 0;      ///< from the epicentre towards the station
    double backAzimuth = 0;  ///< from the station towards the epicentre
};

/// Up to `count` stations between 10 and 170 degrees from the epicentre,
/// picked one by one as the candidate farthest from those already picked in
/// (distance, azimuth); returned sorted by distance. Deterministic.
std::vector<SelectedStation> selectStations(double latitude, double longitude, std::size_t count = 16);

/// Indexes of `count` stations of a distance-sorted selection, evenly spread
/// over it from the nearest to the farthest: the ones shown at first.
std::vector<std::size_t> spreadIndexes(std::size_t size, std::size_t count);

}  // namespace orvane
