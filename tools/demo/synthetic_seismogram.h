#pragma once
// Synthetic three-component seismograms for teaching: body-wave pulses at
// given arrival times, dispersed Rayleigh and Love waves, background noise,
// rotated from radial/transverse to north/east by the back azimuth.
//
// The shapes are simplified; the times are whatever the caller's Earth
// model gives. Everything is deterministic for a given seed.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

/// How a phase moves the ground at the station.
enum class WaveKind {
    compressional,  ///< last leg P: vertical and radial
    shear,          ///< last leg S: radial (SV), transverse (SH), a little vertical
    shearRadial,    ///< SKS-like: S converted in the core, radial only
};

struct PhaseArrival {
    std::string phase;
    double time = 0;       ///< seconds after the origin
    double amplitude = 0;  ///< peak of the pulse before the component split
    WaveKind kind = WaveKind::compressional;
    double incidence = 20; ///< angle from the vertical at the station, degrees
};

struct SeismogramRequest {
    double distance = 30;      ///< arc from the epicentre, degrees
    double backAzimuth = 0;    ///< from the station towards the epicentre, degrees
    double depth = 10;         ///< focal depth, km
    double magnitude = 7;
    double begin = -60;        ///< first sample, seconds after the origin
    double duration = 3600;    ///< seconds
    double delta = 0.05;       ///< sample interval, seconds
    std::vector<PhaseArrival> arrivals;
    bool surfaceWaves = true;
    double noise = 1.0;        ///< RMS of the background noise
    std::uint64_t seed = 1;
};

struct ThreeComponents {
    std::vector<float> vertical, north, east;
};

/// Dominant period of the body-wave pulses, seconds: longer for larger
/// earthquakes (a larger fault takes longer to break).
double bodyWavePeriod(double magnitude);

/// Size of the surface waves 90 degrees away from a shallow focus, in the
/// units of the noise (whose RMS is 1).
double surfaceWaveScale(double magnitude);

/// Group velocities of the fundamental-mode surface waves, km/s, for a
/// period in seconds: rising with period (longer waves reach deeper, faster
/// rock), Rayleigh from 3.0 to about 4.0, Love from 3.4 to about 4.4.
double rayleighGroupVelocity(double period);
double loveGroupVelocity(double period);

/// Shortest and longest surface-wave periods synthesized, seconds.
inline constexpr double kShortestSurfacePeriod = 12.0;
inline constexpr double kLongestSurfacePeriod = 100.0;

/// Kilometres per degree of arc on a 6371 km Earth.
inline constexpr double kKilometresPerDegree = 111.19492664455873;

ThreeComponents synthesize(const SeismogramRequest& request);

/// Radial (positive away from the event) and transverse (positive 90 degrees
/// clockwise from radial) motion turned into north and east.
void rotateToNorthEast(double radial, double transverse, double backAzimuth, double& north, double& east);

}  // namespace orvane
