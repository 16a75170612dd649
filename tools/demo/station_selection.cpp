#include "tools/demo/station_selection.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace orvane {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kMinimumDistance = 10.0;
constexpr double kMaximumDistance = 170.0;

double angleBetween(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

// Separation of two recordings as a student sees it: 20 degrees of distance
// count as much as 45 degrees of azimuth.
double separation(const SelectedStation& a, const SelectedStation& b) {
    double dd = (a.distance - b.distance) / 20.0;
    double da = angleBetween(a.azimuth, b.azimuth) / 45.0;
    return std::sqrt(dd * dd + da * da);
}

}  // namespace

double arcDegrees(double latitude1, double longitude1, double latitude2, double longitude2) {
    // Haversine form: accurate for small and large arcs alike.
    double p1 = latitude1 * kRadians, p2 = latitude2 * kRadians;
    double dp = p2 - p1, dl = (longitude2 - longitude1) * kRadians;
    double h = std::sin(dp / 2) * std::sin(dp / 2) + std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
    return 2.0 * std::asin(std::min(1.0, std::sqrt(h))) / kRadians;
}

double azimuthDegrees(double latitude1, double longitude1, double latitude2, double longitude2) {
    double p1 = latitude1 * kRadians, p2 = latitude2 * kRadians;
    double dl = (longitude2 - longitude1) * kRadians;
    double y = std::sin(dl) * std::cos(p2);
    double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    double azimuth = std::atan2(y, x) / kRadians;
    return azimuth < 0 ? azimuth + 360.0 : azimuth;
}

std::vector<SelectedStation> selectStations(double latitude, double longitude, std::size_t count) {
    std::vector<SelectedStation> candidates;
    for (const GlobalStation& station : globalStations()) {
        SelectedStation s;
        s.station = &station;
        s.distance = arcDegrees(latitude, longitude, station.latitude, station.longitude);
        s.azimuth = azimuthDegrees(latitude, longitude, station.latitude, station.longitude);
        s.backAzimuth = azimuthDegrees(station.latitude, station.longitude, latitude, longitude);
        if (s.distance >= kMinimumDistance && s.distance <= kMaximumDistance) candidates.push_back(s);
    }
    std::vector<SelectedStation> chosen;
    if (candidates.empty() || count == 0) return chosen;
    // Start with the nearest station, then always add the candidate farthest
    // from every station chosen so far.
    auto nearest = std::min_element(candidates.begin(), candidates.end(),
                                    [](const auto& a, const auto& b) { return a.distance < b.distance; });
    chosen.push_back(*nearest);
    candidates.erase(nearest);
    while (chosen.size() < count && !candidates.empty()) {
        auto best = candidates.end();
        double bestScore = -1;
        for (auto it = candidates.begin(); it != candidates.end(); ++it) {
            double score = std::numeric_limits<double>::max();
            for (const auto& c : chosen) score = std::min(score, separation(*it, c));
            if (score > bestScore) {
                bestScore = score;
                best = it;
            }
        }
        chosen.push_back(*best);
        candidates.erase(best);
    }
    std::sort(chosen.begin(), chosen.end(), [](const auto& a, const auto& b) { return a.distance < b.distance; });
    return chosen;
}

std::vector<std::size_t> spreadIndexes(std::size_t size, std::size_t count) {
    std::vector<std::size_t> indexes;
    if (size == 0 || count == 0) return indexes;
    if (count >= size) {
        for (std::size_t i = 0; i < size; ++i) indexes.push_back(i);
        return indexes;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t index = count == 1 ? 0 : (i * (size - 1) + (count - 1) / 2) / (count - 1);
        if (indexes.empty() || indexes.back() != index) indexes.push_back(index);
    }
    return indexes;
}

}  // namespace orvane
