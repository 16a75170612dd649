#include "model/seismic_phase.h"

namespace orvane {

namespace {

bool isMantle(char c) { return c == 'P' || c == 'S'; }
bool isInner(char c) { return c == 'I' || c == 'J'; }

}  // namespace

std::optional<SeismicPhase> SeismicPhase::parse(std::string_view name) {
    if (name.empty()) return std::nullopt;
    SeismicPhase phase;
    phase.name = std::string(name);
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        char prev = i > 0 ? name[i - 1] : '\0';
        char next = i + 1 < name.size() ? name[i + 1] : '\0';
        if (i == 0 && (c == 'p' || c == 's')) {
            // Up-going leg from the focus, alone or followed by a surface bounce.
            if (next != '\0' && !isMantle(next)) return std::nullopt;
            phase.upTakeoff = true;
            phase.legs.push_back({c == 'p' ? Wave::P : Wave::S, Region::Mantle, LegKind::Up});
        } else if (isMantle(c)) {
            Wave w = c == 'P' ? Wave::P : Wave::S;
            LegKind kind;
            if (prev == 'K' || prev == 'c') {
                kind = LegKind::Up;
                if (next != '\0' && !isMantle(next)) return std::nullopt;
            } else if (next == 'K' || next == 'c') {
                kind = LegKind::Down;
            } else if (next == '\0' || isMantle(next)) {
                kind = LegKind::Turn;
            } else {
                return std::nullopt;
            }
            phase.legs.push_back({w, Region::Mantle, kind});
        } else if (c == 'K') {
            if (!(prev == 'K' || isMantle(prev) || isInner(prev) || prev == 'i'))
                return std::nullopt;
            LegKind kind;
            if (isInner(prev) || prev == 'i') {
                kind = LegKind::Up;
                if (!isMantle(next) && next != 'K') return std::nullopt;
            } else if (isInner(next) || next == 'i') {
                kind = LegKind::Down;
            } else if (isMantle(next) || next == 'K') {
                kind = LegKind::Turn;
            } else {
                return std::nullopt;
            }
            phase.legs.push_back({Wave::P, Region::OuterCore, kind});
        } else if (isInner(c)) {
            if (prev != 'K' || next != 'K') return std::nullopt;
            phase.legs.push_back({c == 'I' ? Wave::P : Wave::S, Region::InnerCore, LegKind::Turn});
        } else if (c == 'c') {
            if (!isMantle(prev) || !isMantle(next)) return std::nullopt;
        } else if (c == 'i') {
            if (prev != 'K' || next != 'K') return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    // A ray ends at the surface: the last leg must be in the mantle going up.
    const Leg& last = phase.legs.back();
    if (last.region != Region::Mantle || (last.kind == LegKind::Down)) return std::nullopt;
    return phase;
}

}  // namespace orvane
