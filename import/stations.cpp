#include "import/stations.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <numbers>
#include <set>

#include "data/station.h"
#include "import/time_text.h"

namespace orvane::import {

namespace {

constexpr double kViewerRate = 20;
constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kVerticalDip = 85;    // |dip| at least this: vertical
constexpr double kHorizontalDip = 5;   // |dip| at most this: horizontal
constexpr double kAlignedAzimuth = 0.5;  // degrees off north or east still taken as aligned

struct Channel {
    Recording recording;
    const ChannelMetadata* meta;
};

double wrap360(double angle) {
    angle = std::fmod(angle, 360.0);
    return angle < 0 ? angle + 360.0 : angle;
}

// Distance of `azimuth` from `target` on the circle, degrees 0..180.
double azimuthOff(double azimuth, double target) {
    double d = std::fabs(wrap360(azimuth - target));
    return std::min(d, 360.0 - d);
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

Component componentOf(const Channel& c, char letter, std::string stream, double sign) {
    Component out;
    out.letter = letter;
    out.channel = stream + letter;
    out.start = c.recording.start;
    out.sampleRate = c.recording.sampleRate;
    out.samples = c.recording.samples;
    if (sign < 0)
        for (float& v : out.samples) v = -v;
    out.sources.push_back(c.recording.id.text());
    return out;
}

// Two horizontals at any azimuths (not near parallel) turned to north and
// east over the time both cover.
bool rotatePair(const Channel& a, const Channel& b, const std::string& stream, Component& north, Component& east,
                std::string& problem) {
    double a1 = a.meta->azimuth * kRadians, a2 = b.meta->azimuth * kRadians;
    double det = std::sin(a2 - a1);
    if (std::fabs(det) < 0.5) {
        problem = "horizontals " + a.recording.id.channel + " and " + b.recording.id.channel + " at azimuths " +
                  fixed(a.meta->azimuth, 1) + " and " + fixed(b.meta->azimuth, 1) +
                  " are too close to parallel to turn to north and east";
        return false;
    }
    double rate = a.recording.sampleRate;
    if (!(std::fabs(1.0 - b.recording.sampleRate / rate) < 1e-4)) {
        problem = "horizontals " + a.recording.id.channel + " and " + b.recording.id.channel +
                  " have different sample rates";
        return false;
    }
    double start = std::max(a.recording.start, b.recording.start);
    double end = std::min(a.recording.end(), b.recording.end());
    auto offA = static_cast<std::size_t>(std::llround((start - a.recording.start) * rate));
    auto offB = static_cast<std::size_t>(std::llround((start - b.recording.start) * rate));
    long long count = std::llround((end - start) * rate);
    count = std::min<long long>(count, static_cast<long long>(a.recording.samples.size() - std::min(offA, a.recording.samples.size())));
    count = std::min<long long>(count, static_cast<long long>(b.recording.samples.size() - std::min(offB, b.recording.samples.size())));
    if (count <= 0) {
        problem = "horizontals " + a.recording.id.channel + " and " + b.recording.id.channel +
                  " do not cover a common time";
        return false;
    }
    north = componentOf(a, 'N', stream, 1);
    east = componentOf(b, 'E', stream, 1);
    north.sources = east.sources = {a.recording.id.text(), b.recording.id.text()};
    north.start = east.start = a.recording.start + static_cast<double>(offA) / rate;
    north.samples.assign(static_cast<std::size_t>(count), 0.0f);
    east.samples.assign(static_cast<std::size_t>(count), 0.0f);
    double s1 = std::sin(a1), c1 = std::cos(a1), s2 = std::sin(a2), c2 = std::cos(a2);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        double x1 = a.recording.samples[offA + i], x2 = b.recording.samples[offB + i];
        north.samples[i] = static_cast<float>((x1 * s2 - x2 * s1) / det);
        east.samples[i] = static_cast<float>((x2 * c1 - x1 * c2) / det);
    }
    return true;
}

// Lower is better: the band codes the viewer's 20 samples a second suit first.
int streamRank(const std::string& stream) {
    static const char* const kOrder[] = {"BH", "HH", "SH", "EH", "MH", "LH"};
    for (int i = 0; i < 6; ++i)
        if (stream == kOrder[i]) return i;
    return 6;
}

}  // namespace

bool ImportStation::has(char letter) const {
    return std::any_of(components.begin(), components.end(), [&](const Component& c) { return c.letter == letter; });
}

std::vector<float> resample(const std::vector<float>& samples, double rate, double targetRate) {
    if (samples.empty() || !(rate > 0) || !(targetRate > 0)) return {};
    double ratio = rate / targetRate;
    std::vector<double> taps{1.0};
    if (ratio > 1) {
        // Windowed sinc cut at 80 % of the new Nyquist frequency.
        double cutoff = 0.4 * targetRate / rate;  // cycles per input sample
        int half = static_cast<int>(std::ceil(4 * ratio)) + 2;
        taps.assign(static_cast<std::size_t>(2 * half + 1), 0.0);
        double sum = 0;
        for (int j = -half; j <= half; ++j) {
            double x = 2 * std::numbers::pi * cutoff * j;
            double sinc = j == 0 ? 1.0 : std::sin(x) / x;
            double window = 0.54 + 0.46 * std::cos(std::numbers::pi * j / (half + 1));
            taps[static_cast<std::size_t>(j + half)] = 2 * cutoff * sinc * window;
            sum += taps[static_cast<std::size_t>(j + half)];
        }
        for (double& t : taps) t /= sum;
    }
    const long long n = static_cast<long long>(samples.size());
    const int half = static_cast<int>(taps.size() / 2);
    auto filtered = [&](long long i) {
        double v = 0;
        for (int j = -half; j <= half; ++j) {
            long long k = std::clamp(i + j, 0LL, n - 1);
            v += taps[static_cast<std::size_t>(j + half)] * samples[static_cast<std::size_t>(k)];
        }
        return v;
    };
    auto outCount = static_cast<std::size_t>(std::floor(static_cast<double>(n - 1) / ratio)) + 1;
    std::vector<float> out(outCount);
    for (std::size_t k = 0; k < outCount; ++k) {
        double x = static_cast<double>(k) * ratio;
        auto i = static_cast<long long>(std::floor(x));
        double f = x - static_cast<double>(i);
        double v = filtered(i);
        if (f > 1e-9 && i + 1 < n) v += f * (filtered(i + 1) - v);
        out[k] = static_cast<float>(v);
    }
    return out;
}

Assembly assembleStations(std::vector<Recording> recordings, const Metadata& metadata, double origin,
                          double eventLatitude, double eventLongitude, bool decimate) {
    Assembly result;
    // Channels grouped by station, location and stream.
    std::map<std::tuple<std::string, std::string, std::string, std::string>, std::vector<Channel>> groups;
    for (Recording& r : recordings) {
        const ChannelMetadata* meta = metadata.find(r.id, origin);
        if (!meta) {
            result.leftOut.push_back(r.id.text() + ": no metadata for the time of the event");
            continue;
        }
        if (r.id.channel.size() != 3) {
            result.leftOut.push_back(r.id.text() + ": not a SEED channel code");
            continue;
        }
        if (decimate && r.sampleRate > kViewerRate * 1.0001) {
            r.samples = resample(r.samples, r.sampleRate, kViewerRate);
            result.notes.push_back(r.id.text() + ": " + fixed(r.sampleRate, 1) + " samples a second filtered and resampled to 20");
            r.sampleRate = kViewerRate;
        }
        groups[{r.id.network, r.id.station, r.id.location, r.id.channel.substr(0, 2)}].push_back({std::move(r), meta});
    }

    std::map<std::pair<std::string, std::string>, std::vector<ImportStation>> byStation;
    for (auto& [key, channels] : groups) {
        const auto& [net, sta, loc, stream] = key;
        ImportStation s;
        s.network = net;
        s.station = sta;
        s.location = loc;
        s.stream = stream;
        const Channel* vertical = nullptr;
        std::vector<const Channel*> horizontals;
        for (const Channel& c : channels) {
            double dip = std::fabs(c.meta->dip);
            if (dip >= kVerticalDip) {
                if (!vertical || c.recording.id.channel.back() == 'Z') vertical = &c;
            } else if (dip <= kHorizontalDip) {
                horizontals.push_back(&c);
            } else {
                result.leftOut.push_back(c.recording.id.text() + ": dip " + fixed(c.meta->dip, 1) +
                                         " is neither vertical nor horizontal");
            }
        }
        const Channel* first = vertical ? vertical : horizontals.empty() ? nullptr : horizontals.front();
        if (!first) continue;
        s.latitude = first->meta->latitude;
        s.longitude = first->meta->longitude;
        s.siteName = metadata.siteName(net, sta);
        if (vertical) {
            // A sensor pointing down records the ground moving up as negative.
            s.components.push_back(componentOf(*vertical, 'Z', stream, vertical->meta->dip > 0 ? -1 : 1));
            if (vertical->meta->dip > 0)
                result.notes.push_back(vertical->recording.id.text() + ": points down; sign turned");
        }
        // Horizontals in azimuth order, preferring channels named N and E.
        std::stable_sort(horizontals.begin(), horizontals.end(), [](const Channel* x, const Channel* y) {
            return wrap360(x->meta->azimuth) < wrap360(y->meta->azimuth);
        });
        if (horizontals.size() > 2) {
            for (std::size_t i = 2; i < horizontals.size(); ++i)
                result.leftOut.push_back(horizontals[i]->recording.id.text() + ": a third horizontal is not needed");
            horizontals.resize(2);
        }
        auto aligned = [](const Channel* c, char& letter, double& sign) {
            double az = c->meta->azimuth;
            const std::pair<double, std::pair<char, double>> targets[] = {
                {0, {'N', 1}}, {90, {'E', 1}}, {180, {'N', -1}}, {270, {'E', -1}}};
            for (const auto& [target, what] : targets)
                if (azimuthOff(az, target) <= kAlignedAzimuth) {
                    letter = what.first;
                    sign = what.second;
                    return true;
                }
            return false;
        };
        char l1 = 0, l2 = 0;
        double g1 = 1, g2 = 1;
        bool ok1 = !horizontals.empty() && aligned(horizontals[0], l1, g1);
        bool ok2 = horizontals.size() > 1 && aligned(horizontals[1], l2, g2);
        if (horizontals.size() == 2 && !(ok1 && ok2 && l1 != l2)) {
            Component north, east;
            std::string problem;
            if (rotatePair(*horizontals[0], *horizontals[1], stream, north, east, problem)) {
                result.notes.push_back(net + "." + sta + "." + loc + ": " + horizontals[0]->recording.id.channel + "/" +
                                       horizontals[1]->recording.id.channel + " at azimuths " +
                                       fixed(horizontals[0]->meta->azimuth, 1) + " and " +
                                       fixed(horizontals[1]->meta->azimuth, 1) + " turned to north and east");
                s.components.push_back(std::move(north));
                s.components.push_back(std::move(east));
            } else {
                result.leftOut.push_back(net + "." + sta + "." + loc + ": " + problem);
            }
        } else {
            const std::pair<bool, std::pair<char, double>> each[] = {{ok1, {l1, g1}}, {ok2, {l2, g2}}};
            for (std::size_t i = 0; i < horizontals.size(); ++i) {
                if (each[i].first) {
                    s.components.push_back(componentOf(*horizontals[i], each[i].second.first, stream, each[i].second.second));
                } else {
                    result.leftOut.push_back(horizontals[i]->recording.id.text() + ": a single horizontal at azimuth " +
                                             fixed(horizontals[i]->meta->azimuth, 1) +
                                             " cannot be turned to north or east");
                }
            }
        }
        std::stable_sort(s.components.begin(), s.components.end(), [](const Component& x, const Component& y) {
            auto rank = [](char c) { return c == 'Z' ? 0 : c == 'N' ? 1 : 2; };
            return rank(x.letter) < rank(y.letter);
        });
        if (s.components.empty()) continue;
        GreatCircle arc = greatCircle(static_cast<float>(eventLatitude), static_cast<float>(eventLongitude),
                                      static_cast<float>(s.latitude), static_cast<float>(s.longitude));
        s.distance = arc.arc;
        s.azimuth = arc.backAzimuth;
        byStation[{net, sta}].push_back(std::move(s));
    }

    // One stream per station: the most complete, then the preferred band,
    // then the first location. A station code met in two networks is kept
    // once, since the viewer knows a station by its code alone.
    std::map<std::string, std::string> codeOwner;
    for (auto& [key, streams] : byStation) {
        std::stable_sort(streams.begin(), streams.end(), [](const ImportStation& x, const ImportStation& y) {
            if (x.components.size() != y.components.size()) return x.components.size() > y.components.size();
            if (streamRank(x.stream) != streamRank(y.stream)) return streamRank(x.stream) < streamRank(y.stream);
            return x.location < y.location;
        });
        for (std::size_t i = 1; i < streams.size(); ++i)
            result.leftOut.push_back(key.first + "." + key.second + "." + streams[i].location + "." + streams[i].stream +
                                     "?: another stream of the station is used");
        std::string code = upper(key.second);
        auto [owner, fresh] = codeOwner.emplace(code, key.first);
        if (!fresh) {
            result.leftOut.push_back(key.first + "." + key.second + ": the code " + code + " is already used by " +
                                     owner->second + "." + key.second);
            continue;
        }
        result.stations.push_back(std::move(streams.front()));
    }
    std::stable_sort(result.stations.begin(), result.stations.end(),
                     [](const ImportStation& x, const ImportStation& y) { return x.distance < y.distance; });
    return result;
}

bool parseStationChoice(const std::string& text, StationChoice& choice) {
    if (text == "all" || text == "ALL") {
        choice.kind = StationChoice::Kind::All;
        return true;
    }
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        if (text.size() > 6) return false;
        choice.kind = StationChoice::Kind::Spread;
        choice.count = std::stoul(text);
        return choice.count > 0;
    }
    choice.kind = StationChoice::Kind::Named;
    choice.names.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        std::string name = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!name.empty()) choice.names.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return !choice.names.empty();
}

std::vector<std::size_t> spreadOrder(const std::vector<ImportStation>& stations) {
    auto tier = [](const ImportStation& s) {
        bool inRange = s.distance >= 10 && s.distance <= 170;
        return inRange && s.complete() ? 0 : inRange ? 1 : 2;
    };
    std::vector<std::size_t> order;
    for (int t = 0; t < 3; ++t) {
        std::vector<std::size_t> group;
        for (std::size_t i = 0; i < stations.size(); ++i)
            if (tier(stations[i]) == t) group.push_back(i);
        std::vector<std::size_t> taken;
        std::vector<bool> used(group.size(), false);
        for (std::size_t round = 0; round < group.size(); ++round) {
            std::size_t best = 0;
            double bestScore = -1;
            for (std::size_t g = 0; g < group.size(); ++g) {
                if (used[g]) continue;
                const ImportStation& s = stations[group[g]];
                // The first pick is the nearest; then the one farthest from
                // every pick so far, in distance first, azimuth second.
                double score = taken.empty() ? -s.distance : 1e9;
                for (std::size_t t2 : taken) {
                    const ImportStation& o = stations[t2];
                    double dd = std::fabs(s.distance - o.distance);
                    double da = azimuthOff(s.azimuth, o.azimuth);
                    score = std::min(score, dd + da / 36.0);
                }
                if (score > bestScore) {
                    bestScore = score;
                    best = g;
                }
            }
            used[best] = true;
            taken.push_back(group[best]);
        }
        order.insert(order.end(), taken.begin(), taken.end());
    }
    return order;
}

bool chooseStations(const std::vector<ImportStation>& stations, const StationChoice& choice,
                    std::vector<std::size_t>& chosen, std::string& error) {
    chosen.clear();
    switch (choice.kind) {
        case StationChoice::Kind::All:
            for (std::size_t i = 0; i < stations.size(); ++i) chosen.push_back(i);
            break;
        case StationChoice::Kind::Spread: {
            std::vector<std::size_t> order = spreadOrder(stations);
            chosen.assign(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(std::min(choice.count, order.size())));
            break;
        }
        case StationChoice::Kind::Named:
            for (const std::string& name : choice.names) {
                std::string wanted = upper(name);
                auto found = std::find_if(stations.begin(), stations.end(), [&](const ImportStation& s) {
                    return upper(s.station) == wanted || upper(s.network + "." + s.station) == wanted;
                });
                if (found == stations.end()) {
                    error = "station " + name + " is not among the recordings that could be used";
                    return false;
                }
                auto index = static_cast<std::size_t>(found - stations.begin());
                if (std::find(chosen.begin(), chosen.end(), index) == chosen.end()) chosen.push_back(index);
            }
            break;
    }
    std::sort(chosen.begin(), chosen.end(), [&](std::size_t a, std::size_t b) {
        return stations[a].distance < stations[b].distance;
    });
    return true;
}

}  // namespace orvane::import
