#include "model/earth_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

double lerp(double a, double b, double f) { return a + (b - a) * f; }

// Velocity at a depth inside the node interval [a, b].
double between(const ModelNode& a, const ModelNode& b, double depth, Wave w) {
    double f = (depth - a.depth) / (b.depth - a.depth);
    return w == Wave::P ? lerp(a.vp, b.vp, f) : lerp(a.vs, b.vs, f);
}

void setPowerLaw(Shell& s, Wave w) {
    int i = index(w);
    constexpr double inf = std::numeric_limits<double>::infinity();
    if (!s.carries(w)) {
        s.etaTop[i] = s.etaBottom[i] = inf;
        s.k[i] = 1.0;
        return;
    }
    if (s.rBottom <= 0.0) {
        // The centre: constant velocity, so the ray is a chord.
        s.vBottom[i] = s.vTop[i];
    }
    s.etaTop[i] = s.rTop / s.vTop[i];
    s.etaBottom[i] = s.rBottom / s.vBottom[i];
    double k = 1.0;
    if (s.vTop[i] != s.vBottom[i]) {
        double b = std::log(s.vTop[i] / s.vBottom[i]) / std::log(s.rTop / s.rBottom);
        k = 1.0 - b;
    }
    // eta constant across the shell would make the integrals singular; no
    // real layer comes near, so nudge it.
    if (std::abs(k) < 1e-6) k = k < 0 ? -1e-6 : 1e-6;
    s.k[i] = k;
}

}  // namespace

EarthModel::EarthModel(std::vector<ModelNode> nodes, double radius, double cmbDepth,
                       double icbDepth, double maxShellKm)
    : nodes_(std::move(nodes)),
      radius_(radius),
      cmbDepth_(cmbDepth),
      icbDepth_(icbDepth),
      maxShellKm_(maxShellKm > 0 ? maxShellKm : 25.0) {
    build();
}

void EarthModel::build() {
    shells_.clear();
    for (std::size_t n = 0; n + 1 < nodes_.size(); ++n) {
        const ModelNode& a = nodes_[n];
        const ModelNode& b = nodes_[n + 1];
        double thickness = b.depth - a.depth;
        if (!(thickness > 0)) continue;
        int pieces = std::max(1, static_cast<int>(std::ceil(thickness / maxShellKm_ - 1e-9)));
        for (int j = 0; j < pieces; ++j) {
            double d0 = a.depth + thickness * j / pieces;
            double d1 = j + 1 == pieces ? b.depth : a.depth + thickness * (j + 1) / pieces;
            Shell s;
            s.rTop = radius_ - d0;
            s.rBottom = std::max(0.0, radius_ - d1);
            double mid = 0.5 * (d0 + d1);
            s.region = mid < cmbDepth_   ? Region::Mantle
                       : mid < icbDepth_ ? Region::OuterCore
                                         : Region::InnerCore;
            for (Wave w : {Wave::P, Wave::S}) {
                s.vTop[index(w)] = between(a, b, d0, w);
                s.vBottom[index(w)] = between(a, b, d1, w);
                setPowerLaw(s, w);
            }
            shells_.push_back(s);
        }
    }
    regionBegin_ = {0, 0, 0, shells_.size()};
    for (int r = 1; r < 3; ++r) {
        std::size_t i = regionBegin_[r - 1];
        while (i < shells_.size() && static_cast<int>(shells_[i].region) < r) ++i;
        regionBegin_[r] = i;
    }
}

double EarthModel::velocity(Wave w, double depth) const {
    for (const Shell& s : shells_) {
        if (radius_ - depth > s.rBottom || &s == &shells_.back()) {
            double f = s.rTop > s.rBottom ? (s.rTop - (radius_ - depth)) / (s.rTop - s.rBottom) : 0;
            f = std::clamp(f, 0.0, 1.0);
            return lerp(s.vTop[index(w)], s.vBottom[index(w)], f);
        }
    }
    return 0.0;
}

EarthModel EarthModel::withBoundaryAt(double depth) const {
    EarthModel copy = *this;
    for (std::size_t n = 0; n + 1 < nodes_.size(); ++n) {
        const ModelNode& a = nodes_[n];
        const ModelNode& b = nodes_[n + 1];
        if (depth == a.depth || depth == b.depth) return copy;
        if (depth > a.depth && depth < b.depth) {
            ModelNode mid{depth, between(a, b, depth, Wave::P), between(a, b, depth, Wave::S)};
            copy.nodes_.insert(copy.nodes_.begin() + static_cast<std::ptrdiff_t>(n) + 1, mid);
            copy.build();
            return copy;
        }
    }
    return copy;
}

std::size_t EarthModel::shellAtDepth(double depth) const {
    double r = radius_ - depth;
    std::size_t best = 0;
    double bestGap = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i <= shells_.size(); ++i) {
        double top = i < shells_.size() ? shells_[i].rTop : 0.0;
        double gap = std::abs(top - r);
        if (gap < bestGap) {
            bestGap = gap;
            best = i;
        }
    }
    return best;
}

EarthModel uniformEarth(double vp, double vs, double radius, double cmbDepth, double icbDepth) {
    std::vector<ModelNode> nodes = {
        {0.0, vp, vs}, {cmbDepth, vp, vs}, {icbDepth, vp, vs}, {radius, vp, vs}};
    return EarthModel(std::move(nodes), radius, cmbDepth, icbDepth);
}

}  // namespace orvane
