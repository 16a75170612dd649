#pragma once
// A loaded event for the globe and frame-export tests: travel-time curves
// with simple slopes (a phase reaches k degrees after k x slope seconds),
// stations from small SAC files, in a temporary working directory.

#include <gtest/gtest.h>

#include <string>

#include "../support/temp_dir.h"
#include "data/event_loading.h"
#include "data/sac.h"
#include "data/settings.h"

namespace orvane::test {

/// Curve indices of LoadedEvent::curves.
enum CurveIndex { kCurveP = 0, kCurveS = 1, kCurvePP = 2, kCurveSS = 3 };

class GlobeScene {
  public:
    GlobeScene() : cwd_(dir.path()), saved_(settings) {
        loadedEvent() = LoadedEvent{};
        LoadedEvent& e = loadedEvent();
        e.name = "Test Event";
        e.displayDate = "Jan. 17, 1994";
        e.originTime = "12:30:55.4";
        e.depth = 150;  // no surface waves unless a test asks for them
        e.magnitude = 6.7f;
        setCurve(kCurveP, 10);
        setCurve(kCurveS, 18);
        setCurve(kCurvePP, 12);
        setCurve(kCurveSS, 20);
        settings.labelPhasesOnEarthView = false;
        settings.scienceOnASphere = false;
    }
    ~GlobeScene() {
        releaseTraces(loadedEvent());
        settings = saved_;
    }

    /// The phase reaches k degrees after k x slope seconds; slope 0 removes it.
    static void setCurve(int index, float slope) {
        TravelTimeCurve& c = loadedEvent().curves[static_cast<std::size_t>(index)];
        c = {};
        if (slope == 0) return;
        for (int k = 0; k < kCurveEntries; ++k) c.times.push_back(static_cast<float>(k) * slope);
        c.count = kCurveEntries;
    }

    void addStation(const std::string& code, float latitude, float longitude) {
        SacTrace t;
        t.station = code;
        t.component = "BHZ";
        t.stationLatitude = latitude;
        t.stationLongitude = longitude;
        t.samples.assign(10, 0.0f);
        std::string path = dir.file(code + ".sac");
        ASSERT_TRUE(writeSac(path, t));
        auto trace = std::make_unique<KSAC>(path, false, loadedEvent().traceContext());
        ASSERT_NE(trace->npts(), 0);
        loadedEvent().traceList.push_back(std::move(trace));
    }

    TempDir dir;

  private:
    ScopedCurrentDir cwd_;
    Settings saved_;
};

}  // namespace orvane::test
