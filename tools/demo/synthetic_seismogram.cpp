#include "tools/demo/synthetic_seismogram.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

// SplitMix64: small, fast and the same on every platform (the standard
// library's distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return (next() >> 11) * (1.0 / 9007199254740992.0); }
    double gaussian() {
        double u = std::max(uniform(), 1e-300), v = uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
    }

private:
    std::uint64_t state_;
};

// A two-pole resonator driven by white noise: narrow-band noise around a
// period, normalised to unit RMS.
class Resonator {
public:
    Resonator(double period, double delta, double bandwidth) {
        double w = 2.0 * std::numbers::pi * delta / period;
        double r = std::exp(-std::numbers::pi * bandwidth * delta / period);
        a1_ = 2.0 * r * std::cos(w);
        a2_ = -r * r;
        // Gain for unit output variance of an AR(2) process.
        double variance = (1.0 - a2_) / ((1.0 + a2_) * ((1.0 - a2_) * (1.0 - a2_) - a1_ * a1_));
        gain_ = 1.0 / std::sqrt(variance);
    }
    double step(double input) {
        double y = a1_ * y1_ + a2_ * y2_ + input;
        y2_ = y1_;
        y1_ = y;
        return y * gain_;
    }

private:
    double a1_ = 0, a2_ = 0, gain_ = 1, y1_ = 0, y2_ = 0;
};

// One-sided pulse starting at tau = 0 with a sharp onset: the first half
// cycle of a sine of the given period rising within a fraction of a second,
// then ringing down over a couple of cycles.
double pulse(double tau, double period) {
    if (tau < 0 || tau > 4.0 * period) return 0;
    double onset = 1.0 - std::exp(-tau / (0.04 * period));
    return onset * std::sin(2.0 * std::numbers::pi * tau / period) * std::exp(-tau / period);
}

struct Components {
    double z, r, t;
};

Components split(const PhaseArrival& a) {
    double i = a.incidence * kRadians;
    switch (a.kind) {
        case WaveKind::compressional:
            return {std::cos(i), std::sin(i), 0.0};
        case WaveKind::shear:
            return {0.25 * std::sin(i), 0.55 * std::cos(i), 0.85};
        case WaveKind::shearRadial:
            return {0.2 * std::sin(i), std::cos(i), 0.05};
    }
    return {0, 0, 0};
}

// Inverse of a group-velocity curve U(T) = base + span (1 - exp(-(T - 10) / 30)):
// the period whose energy arrives with group velocity u.
double periodForVelocity(double u, double base, double span) {
    double x = 1.0 - (u - base) / span;
    if (x <= 0) return kLongestSurfacePeriod;
    return 10.0 - 30.0 * std::log(x);
}

double groupVelocity(double period, double base, double span) {
    return base + span * (1.0 - std::exp(-(period - 10.0) / 30.0));
}

// A dispersed surface-wave train: at each time the period whose group
// velocity brings it there, with the phase integrated so the waveform is
// continuous. Returns the wave at every sample and, through `quadrature`, the
// same train shifted by a quarter cycle (for the elliptical Rayleigh motion).
void surfaceTrain(const SeismogramRequest& request, double base, double span, double amplitude,
                  std::vector<double>& wave, std::vector<double>& quadrature) {
    const std::size_t n = wave.size();
    const double distanceKm = request.distance * kKilometresPerDegree;
    const double first = distanceKm / groupVelocity(kLongestSurfacePeriod, base, span);
    const double last = distanceKm / groupVelocity(kShortestSurfacePeriod, base, span);
    // Source spectrum: flat up to the corner period of the earthquake, weaker
    // at longer periods for small earthquakes.
    const double corner = std::pow(10.0, 0.5 * (request.magnitude - 5.0));
    const double q = 180.0;  // surface-wave quality factor
    double phase = 0;
    for (std::size_t k = 0; k < n; ++k) {
        double t = request.begin + k * request.delta;
        if (t <= first || t >= last) continue;
        double period = std::clamp(periodForVelocity(distanceKm / t, base, span), kShortestSurfacePeriod,
                                   kLongestSurfacePeriod);
        phase += 2.0 * std::numbers::pi * request.delta / period;
        double source = 1.0 / (1.0 + (period / corner) * (period / corner));
        double attenuation = std::exp(-std::numbers::pi * t / (period * q));
        // Taper the first and last tenth of the train.
        double u = (t - first) / (last - first);
        double taper = std::min({1.0, u / 0.1, (1.0 - u) / 0.1});
        // Ground velocity is largest for periods of 20 to 30 seconds.
        double band = std::log(period / 25.0) / 0.6;
        double a = amplitude * source * attenuation * taper * std::exp(-0.5 * band * band);
        wave[k] += a * std::sin(phase);
        quadrature[k] += a * std::cos(phase);
    }
}

}  // namespace

double surfaceWaveScale(double magnitude) {
    // Body waves saturate at magnitude 8; surface waves keep growing a little
    // longer, so great earthquakes are dominated by them, as on real records.
    return 1.5 * std::pow(10.0, std::min(magnitude, 8.0) - 6.0) * std::pow(10.0, 0.5 * (std::min(magnitude, 9.2) - 7.8));
}

double bodyWavePeriod(double magnitude) { return std::clamp(2.0 + 2.0 * (magnitude - 6.0), 1.5, 8.0); }

double rayleighGroupVelocity(double period) { return groupVelocity(period, 3.0, 1.05); }
double loveGroupVelocity(double period) { return groupVelocity(period, 3.4, 1.05); }

void rotateToNorthEast(double radial, double transverse, double backAzimuth, double& north, double& east) {
    double b = backAzimuth * kRadians;
    north = -radial * std::cos(b) + transverse * std::sin(b);
    east = -radial * std::sin(b) - transverse * std::cos(b);
}

ThreeComponents synthesize(const SeismogramRequest& request) {
    ThreeComponents out;
    if (!(request.delta > 0) || !(request.duration > 0)) return out;
    const std::size_t n = static_cast<std::size_t>(request.duration / request.delta);
    std::vector<double> z(n, 0.0), r(n, 0.0), t(n, 0.0);

    Random random(request.seed);
    const double period = bodyWavePeriod(request.magnitude);
    for (const PhaseArrival& a : request.arrivals) {
        if (!(a.amplitude > 0) || !std::isfinite(a.time)) continue;
        Components c = split(a);
        // The pulse, then a coda of scattered waves decaying over a minute.
        const double codaLength = 60.0 + 10.0 * period;
        Resonator coda(period * 1.2, request.delta, 0.6);
        auto start = static_cast<std::ptrdiff_t>(std::ceil((a.time - request.begin) / request.delta));
        auto stop = static_cast<std::ptrdiff_t>((a.time + 3.0 * codaLength - request.begin) / request.delta);
        for (std::ptrdiff_t k = std::max<std::ptrdiff_t>(start, 0); k < std::min<std::ptrdiff_t>(stop, n); ++k) {
            double tau = request.begin + k * request.delta - a.time;
            double grow = 1.0 - std::exp(-tau / (2.0 * period));
            double s = a.amplitude * (pulse(tau, period) + 0.25 * grow * std::exp(-tau / codaLength) *
                                                              coda.step(random.gaussian()));
            z[k] += c.z * s;
            r[k] += c.r * s;
            t[k] += c.t * s;
        }
    }

    if (request.surfaceWaves) {
        // Surface waves weaken with depth: they are made near the surface.
        const double spreading = 1.0 / std::sqrt(std::max(std::sin(request.distance * kRadians), 0.05));
        const double amplitude = surfaceWaveScale(request.magnitude) * spreading * std::exp(-request.depth / 60.0);
        std::vector<double> rayleigh(n, 0.0), rayleighQ(n, 0.0), love(n, 0.0), loveQ(n, 0.0);
        surfaceTrain(request, 3.0, 1.05, amplitude, rayleigh, rayleighQ);
        surfaceTrain(request, 3.4, 1.05, 0.8 * amplitude, love, loveQ);
        for (std::size_t k = 0; k < n; ++k) {
            z[k] += rayleigh[k];
            r[k] += 0.7 * rayleighQ[k];  // retrograde ellipse: radial a quarter cycle apart
            t[k] += love[k];
        }
    }

    // Background noise: ocean microseisms near 6 s and a little broadband hiss.
    Resonator microseismZ(6.0, request.delta, 0.3), microseismN(6.5, request.delta, 0.3),
        microseismE(5.5, request.delta, 0.3);
    out.vertical.resize(n);
    out.north.resize(n);
    out.east.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        double north, east;
        rotateToNorthEast(r[k], t[k], request.backAzimuth, north, east);
        double nz = microseismZ.step(random.gaussian()) + 0.2 * random.gaussian();
        double nn = microseismN.step(random.gaussian()) + 0.2 * random.gaussian();
        double ne = microseismE.step(random.gaussian()) + 0.2 * random.gaussian();
        out.vertical[k] = static_cast<float>(z[k] + request.noise * nz);
        out.north[k] = static_cast<float>(north + request.noise * nn);
        out.east[k] = static_cast<float>(east + request.noise * ne);
    }
    return out;
}

}  // namespace orvane
