#include "tools/demo/body_waves.h"

#include <algorithm>
#include <cmath>

#include "model/travel_time_curve.h"
#include "model/travel_times.h"

namespace orvane {
namespace {

constexpr double kRadians = 3.14159265358979323846 / 180.0;
constexpr double kSurfaceP = 5.8;   // km/s, top of the ak135 crust
constexpr double kSurfaceS = 3.46;  // km/s
constexpr double kCoreShadowEdge = 98.0;

// Falls with distance like the amplitudes of teleseismic P and S; beyond the
// edge of the core shadow only the weak diffracted wave is left.
double distanceFactor(double distance) {
    double d = std::clamp(distance, 5.0, kCoreShadowEdge);
    double f = std::pow(30.0 / d, 0.9);
    if (distance > kCoreShadowEdge) f *= std::exp(-(distance - kCoreShadowEdge) / 6.0);
    return f;
}

double incidence(double rayParameterSecondsPerDegree, double surfaceVelocity) {
    double s = rayParameterSecondsPerDegree * surfaceVelocity / kKilometresPerDegree;
    return std::asin(std::clamp(s, 0.0, 1.0)) / kRadians;
}

}  // namespace

double arrivalDepth(double catalogueDepth) {
    return tableColumnDepth(depthColumn(static_cast<float>(catalogueDepth)));
}

double bodyWaveScale(double magnitude) { return 2.0 * std::pow(10.0, std::min(magnitude, 8.0) - 6.0); }

std::vector<PhaseArrival> bodyWaveArrivals(double distance, double depth, double magnitude) {
    const double a0 = bodyWaveScale(magnitude);
    const bool deep = depth > 70.0;
    struct Rule {
        const char* phase;
        WaveKind kind;
        double amplitude;
    };
    const double p = a0 * distanceFactor(distance);
    const double s = 2.0 * p;
    double pkikp = 0;
    if (distance >= 110) pkikp = a0 * (distance < 142 ? 0.25 : distance < 160 ? 0.7 : 0.45);
    const Rule rules[] = {
        {"P", WaveKind::compressional, p},
        {"pP", WaveKind::compressional, (deep ? 0.6 : 0.4) * p},
        {"PP", WaveKind::compressional, distance >= 25 ? 0.55 * a0 * distanceFactor(distance / 2) : 0},
        {"PcP", WaveKind::compressional, distance < 80 ? 0.12 * a0 : 0},
        {"PKIKP", WaveKind::compressional, pkikp},
        {"S", WaveKind::shear, s},
        {"sS", WaveKind::shear, deep ? 0.5 * s : 0},
        {"SS", WaveKind::shear, distance >= 30 ? 1.1 * a0 * distanceFactor(distance / 2) : 0},
        {"ScS", WaveKind::shear, distance < 80 ? 0.3 * a0 : 0},
        {"SKS", WaveKind::shearRadial, distance >= 82 && distance <= 140 ? 0.6 * a0 : 0},
    };
    std::vector<PhaseArrival> arrivals;
    for (const Rule& rule : rules) {
        if (!(rule.amplitude > 0)) continue;
        auto found = travelTime(rule.phase, distance, depth);
        if (!found) continue;
        double v = rule.kind == WaveKind::compressional ? kSurfaceP : kSurfaceS;
        arrivals.push_back({rule.phase, found->time, rule.amplitude, rule.kind, incidence(found->rayParameter, v)});
    }
    return arrivals;
}

SeismogramRequest stationRequest(double distance, double backAzimuth, double depth, double magnitude,
                                 std::uint64_t seed) {
    SeismogramRequest request;
    request.distance = distance;
    request.backAzimuth = backAzimuth;
    request.depth = depth;
    request.magnitude = magnitude;
    request.begin = -60.0;
    request.delta = 0.05;
    request.duration = std::ceil((distance * kKilometresPerDegree / 2.95 + 240.0 - request.begin) / 60.0) * 60.0;
    request.arrivals = bodyWaveArrivals(distance, arrivalDepth(depth), magnitude);
    request.surfaceWaves = depth < 300.0;
    request.noise = 1.0;
    request.seed = seed;
    return request;
}

}  // namespace orvane
