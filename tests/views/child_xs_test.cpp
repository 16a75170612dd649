// The cross-section view drawn offscreen: the static picture, the wavefronts
// of a tick, the phase filter, the surface-wave band, the opening pulse and
// the view's buttons, checked on the pixels.
#include "views/child_xs.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QObject>
#include <cmath>
#include <fstream>

#include "../platform/pixel_probe.h"
#include "data/event_loading.h"
#include "data/files.h"
#include "data/sac.h"
#include "model/ak135.h"
#include "model/table_writers.h"
#include "model/wavefronts.h"
#include "platform/command_ids.h"
#include "platform/window.h"
#include "tests/support/temp_dir.h"
#include "ui/buttons.h"
#include "ui/kit.h"

namespace orvane {
namespace {

using namespace colours;
using test::Box;
using test::boxOf;
using test::colourAt;

constexpr int kSize = 400;  // radius 168, centre (200, 200)
constexpr int kCentre = kSize / 2;
constexpr int kRadius = 168;

void writeTables(const std::filesystem::path& dir, const std::string& stem,
                 const std::vector<WavefrontStep>& steps) {
    EncodedWavefronts encoded = encodeWavefronts(steps);
    std::ofstream((dir / (stem + ".INX")).string(), std::ios::binary) << encoded.index;
    std::ofstream((dir / (stem + ".BIN")).string(), std::ios::binary) << encoded.data;
}

FrontRecord record(std::string phase, std::uint16_t type, int along, int fromAcross, int count) {
    FrontRecord r{std::move(phase), type, {}};
    for (int i = 0; i < count; ++i)
        r.points.push_back({std::int16_t(along), std::int16_t(fromAcross + 1000 * i)});
    return r;
}

/// Time step 10 s: nothing at 0, the given records at 10 s, nothing at 20 s.
std::vector<WavefrontStep> stepsWith(std::vector<FrontRecord> records) {
    return {{0, {}}, {10, std::move(records)}, {20, {}}};
}

// Vertical fronts (latitude 0: along is the horizontal axis, leftwards):
// a P front through the centre, an S front 79 px left of it, a front of
// another wave type 79 px right of it, each reaching 131 px up and down.
std::vector<FrontRecord> threeFronts() {
    return {record("P", kWaveTypeP, 0, 0, 6), record("S", kWaveTypeS, 3000, 0, 6),
            record("X", 9, -3000, 0, 6)};
}

class CommandRecorder : public QObject, public CommandTarget {
  public:
    void command(int id) override { ids.push_back(id); }
    std::vector<int> ids;
};

class ChildXsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedSettings = settings;
        settings = Settings{};
        LoadedEvent& e = loadedEvent();
        savedLatitude = e.latitude;
        savedLongitude = e.longitude;
        savedDepth = e.depth;
        e.latitude = 0;
        e.longitude = 0;
        e.depth = 200;  // the shallow table pair, no surface waves
        releaseTraces(e);
        savedReady = viewsReady;
    }
    void TearDown() override {
        settings = savedSettings;
        LoadedEvent& e = loadedEvent();
        e.latitude = savedLatitude;
        e.longitude = savedLongitude;
        e.depth = savedDepth;
        releaseTraces(e);
        viewsReady = savedReady;
    }

    /// A view of kSize with its surfaces, bitmaps and background.
    std::unique_ptr<childXS> makeView(int size = kSize) {
        auto view = std::make_unique<childXS>();
        view->resize(size, size);
        view->setUpSurfaces();
        EXPECT_TRUE(view->createBitmaps());
        view->drawBackground();
        return view;
    }

    void useTables(std::vector<FrontRecord> records, const std::string& stem = "OV0") {
        writeTables(dir.path(), stem, stepsWith(std::move(records)));
    }

    /// Draws tick t on a fresh frame buffer and returns it (client coordinates).
    QImage tick(childXS& view, int t, bool* changed = nullptr) {
        view.reset();
        bool drawn = view.drawWaves(t);
        if (changed) *changed = drawn;
        view.present();
        return view.picture().copy();
    }

    /// Adds a trace of `code` at `arc` degrees (negative: undefined, with the
    /// station at (0, stationLongitude)).
    void addTrace(const std::string& code, float arc, float stationLongitude = 0) {
        SacTrace t;
        t.station = code;
        t.component = "BHZ";
        t.stationLatitude = 0;
        t.stationLongitude = stationLongitude;
        t.samples.assign(10, 0.0f);
        std::string path = dir.file(code + std::to_string(loadedEvent().traceList.size()) + ".sac");
        ASSERT_TRUE(writeSac(path, t));
        auto trace = std::make_unique<KSAC>(path, false);
        ASSERT_GT(trace->npts(), 0);
        trace->setFloatWord(sac::GCARC, arc < 0 ? sac::kUndefinedFloat : arc);
        loadedEvent().traceList.push_back(std::move(trace));
    }

    TempDir dir;
    ScopedCurrentDir inDir{dir.path()};
    Settings savedSettings;
    float savedLatitude = 0, savedLongitude = 0, savedDepth = 0;
    bool savedReady = false;
};

Colour at(const QImage& image, int x, int y) { return colourAt(image, x, y); }
bool any(const QImage& image, Colour c, Rect area) { return !boxOf(image, c, area).empty(); }
Rect around(int x, int y, int d) { return {x - d, y - d, x + d + 1, y + d + 1}; }
// Inside the disc, clear of the legend, the title and the Info button.
constexpr Rect kDiscArea{32, 60, 368, 345};

// --- the static picture ----------------------------------------------------

TEST_F(ChildXsTest, BackgroundShowsDiscCoresFocusAndLegend) {
    loadedEvent().depth = 2000;
    auto view = makeView();
    const QImage& w = view->picture();
    const int m = 91, t = 34;  // trunc(168 x 0.545126), trunc(91 x 0.374316)

    EXPECT_EQ(at(w, kCentre + 130, kCentre + 30), kGrey);       // mantle
    EXPECT_EQ(at(w, kCentre + 60, kCentre + 20), kGrey);        // outer core
    EXPECT_EQ(at(w, kCentre + 380 / 2, 30 + kCentre), kBlack);  // outside the disc
    // The rim is white, the core outlines black, along a row below the labels.
    const int row = 28;
    Box rim = boxOf(w, kWhite, {kCentre + 150, kCentre + row, kCentre + 190, kCentre + row + 1});
    ASSERT_FALSE(rim.empty());
    EXPECT_NEAR(rim.right, kCentre + std::lround(std::sqrt(167.0 * 167 - row * row)), 2);
    Box cores = boxOf(w, kBlack, {kCentre + 1, kCentre + row, kCentre + 150, kCentre + row + 1});
    ASSERT_FALSE(cores.empty());
    EXPECT_NEAR(cores.left, kCentre + std::lround(std::sqrt(t * t - row * row)), 3);
    EXPECT_NEAR(cores.right, kCentre + std::lround(std::sqrt(m * m - row * row)), 3);
    // The labels sit on the vertical axis.
    EXPECT_TRUE(any(w, kWhite, around(kCentre, kCentre - (kRadius + m) / 2, 6)));  // Mantle
    EXPECT_TRUE(any(w, kWhite, around(kCentre, kCentre - (t + m) / 2, 6)));        // Outer Core
    // The focus 2000 km deep on the left-hand radius: 115 px from the centre.
    EXPECT_TRUE(any(w, kWhite, {kCentre - 120, kCentre - 20, kCentre - 110, kCentre + 3}));
    EXPECT_FALSE(any(w, kWhite, {kCentre - 100, kCentre - 20, kCentre - 60, kCentre + 3}));

    // Legend rows at y = cy, 2 cy, 3 cy in the legend font.
    DrawingContext measure;
    measure.selectFont(Font::create("Arial Bold", kSize / 30));
    Size n = measure.textExtent("N");
    for (auto [row, colour] : {std::pair{1, kYellow}, {2, kRed}, {3, kCyan}}) {
        Box line = boxOf(w, colour, {n.width, 0, 3 * n.width, kSize / 2});
        ASSERT_FALSE(line.empty()) << row;
        EXPECT_NEAR(line.top, row * n.height, 1) << row;
        EXPECT_TRUE(
            any(w, colour, {4 * n.width, row * n.height - n.height, kSize / 2, row * n.height + 1}))
            << row;
    }
    // The title centred at the bottom.
    Box title = boxOf(w, kWhite, {0, kCentre + kRadius + 2, kSize, kSize - 4});
    ASSERT_FALSE(title.empty());
    EXPECT_NEAR((title.left + title.right) / 2, kCentre, 3);

    // Frame buffer and background buffer hold the same picture (inside the bevel).
    for (Point p :
         {Point{kCentre - 115, kCentre}, Point{kCentre + 100, kCentre + 100}, Point{20, 20}}) {
        Point b = p - Point{childView::kBevel, childView::kBevel};
        EXPECT_EQ(colourAt(view->backgroundBuffer().bitmap(), b.x, b.y), at(w, p.x, p.y));
        EXPECT_EQ(colourAt(view->frameBuffer().bitmap(), b.x, b.y), at(w, p.x, p.y));
    }
}

TEST_F(ChildXsTest, InfoButtonAndFrameExportLegend) {
    auto view = makeView();
    ASSERT_NE(view->infoButton(), nullptr);
    Rect r = view->infoButton()->storedRect();
    EXPECT_EQ(r.right, kSize - (r.right - r.left) / 7);
    EXPECT_EQ(r.bottom, kSize - (r.right - r.left) / 7);
    EXPECT_TRUE(any(view->picture(), kRed, r));  // its caption is painted in
    textButton* first = view->infoButton();
    view->drawBackground();
    EXPECT_EQ(view->infoButton(), first);  // made once per view

    settings.scienceOnASphere = true;
    auto exported = makeView();
    EXPECT_EQ(exported->infoButton(), nullptr);
    DrawingContext measure;
    measure.selectFont(Font::create("Arial Bold", kSize / 20));
    Size n = measure.textExtent("N");
    Box line = boxOf(exported->picture(), kYellow, {n.width, 0, 3 * n.width, kSize / 2});
    ASSERT_FALSE(line.empty());
    EXPECT_NEAR(line.top, n.height, 1);
}

TEST_F(ChildXsTest, InfoCommandAndRightButtonGoToTheFrame) {
    CommandRecorder frame;
    QObject* savedMain = mainWindow();
    setMainWindow(&frame);
    auto view = makeView();
    sendCommand(view.get(), kCmdViewInfoButton);

    QPointF p(10, 10);
    QMouseEvent right(QEvent::MouseButtonPress, p, p, p, Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &right);
    settings.rightButtonRestart = true;
    QMouseEvent again(QEvent::MouseButtonPress, p, p, p, Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &again);
    QCoreApplication::processEvents();  // the Map command is posted
    setMainWindow(savedMain);
    EXPECT_EQ(frame.ids, (std::vector<int>{kCmdCrossSectionInfo, kCmdMap}));
}

// --- stations on the rim ---------------------------------------------------

/// A mark point moved 2 px towards the centre: white on a mark, grey on the
/// bare rim.
Colour markAt(const QImage& w, float arc, int side) {
    PixelPoint p = sectionStationPoint(arc, side, 0, kRadius);
    double d = std::hypot(p.x, p.y);
    int x = kCentre + int(std::lround(p.x - 2 * p.x / d));
    int y = kCentre + int(std::lround(p.y - 2 * p.y / d));
    return at(w, x, y);
}

TEST_F(ChildXsTest, StationsAlternateSidesAndRepeatsAreMarkedOnce) {
    addTrace("AAA", 30);
    addTrace("AAA", 30);  // the same station's second component
    addTrace("BBB", 60);
    addTrace("CCC", 100);
    addTrace("AAA", 140);  // not adjacent to the first: marked again
    auto view = makeView();
    const QImage& w = view->picture();
    EXPECT_EQ(markAt(w, 30, 1), kWhite);
    EXPECT_EQ(markAt(w, 30, 2), kGrey);
    EXPECT_EQ(markAt(w, 60, 2), kWhite);
    EXPECT_EQ(markAt(w, 60, 1), kGrey);
    EXPECT_EQ(markAt(w, 100, 1), kWhite);
    EXPECT_EQ(markAt(w, 100, 2), kGrey);
    EXPECT_EQ(markAt(w, 140, 2), kWhite);
    // Labels run to the right of the mark.
    PixelPoint p = sectionStationPoint(30, 1, 0, kRadius);
    EXPECT_TRUE(any(
        w, kWhite, {kCentre + p.x + 8, kCentre + p.y - 12, kCentre + p.x + 40, kCentre + p.y + 2}));
}

TEST_F(ChildXsTest, UndefinedArcIsComputedFromTheCoordinatesAndKept) {
    addTrace("FAR", -1, 45);
    addTrace("NAN", std::nanf(""), -70);
    auto view = makeView();
    EXPECT_NEAR(loadedEvent().traceList[0]->floatWord(sac::GCARC), 45, 0.01);
    EXPECT_NEAR(loadedEvent().traceList[1]->floatWord(sac::GCARC), 70, 0.01);
    EXPECT_EQ(markAt(view->picture(), 45, 1), kWhite);
    EXPECT_EQ(markAt(view->picture(), 70, 2), kWhite);
}

// --- wavefronts --------------------------------------------------------------

TEST_F(ChildXsTest, FrontsAreDrawnInTheirColoursAndMirrored) {
    useTables(threeFronts());
    auto view = makeView();
    ASSERT_TRUE(view->loadTravelTimeTables());
    bool changed = false;
    QImage w = tick(*view, 15, &changed);
    EXPECT_TRUE(changed);
    for (int dy : {100, -100}) {  // across 3790 km and its mirror image
        EXPECT_TRUE(any(w, kRed, around(kCentre, kCentre + dy, 1))) << dy;
        EXPECT_TRUE(any(w, kCyan, around(kCentre - 79, kCentre + dy, 1))) << dy;
        EXPECT_TRUE(any(w, kBlack, around(kCentre + 79, kCentre + dy, 1))) << dy;
    }
    // Nowhere else: the fronts end 131 px from the axis.
    EXPECT_FALSE(any(w, kRed, {kCentre - 10, kCentre + 140, kCentre + 10, kCentre + 160}));
    EXPECT_FALSE(any(w, kCyan, {kCentre - 60, kDiscArea.top, kDiscArea.right, kDiscArea.bottom}));

    // The step before and the step after have no fronts.
    for (int t : {9, 25}) {
        QImage empty = tick(*view, t, &changed);
        EXPECT_TRUE(changed) << t;
        EXPECT_FALSE(any(empty, kRed, {kCentre - 2, kCentre - 140, kCentre + 3, kCentre + 140}))
            << t;
    }
    // Far beyond the table, and before the clock starts.
    EXPECT_FALSE(any(tick(*view, 30000, &changed), kCyan, kDiscArea));
    EXPECT_TRUE(changed);
    tick(*view, 0, &changed);
    EXPECT_FALSE(changed);
    tick(*view, -5, &changed);
    EXPECT_FALSE(changed);
}

TEST_F(ChildXsTest, LatitudeTurnsTheSection) {
    // At 90 degrees north the axis points up: along runs vertically.
    loadedEvent().latitude = 90;
    useTables({record("P", kWaveTypeP, 3000, 0, 6)});
    auto view = makeView();
    view->loadTravelTimeTables();
    QImage w = tick(*view, 10);
    // along 3000 km is 79 px above the centre; across runs to either side.
    EXPECT_TRUE(any(w, kRed, around(kCentre + 100, kCentre - 79, 1)));
    EXPECT_TRUE(any(w, kRed, around(kCentre - 100, kCentre - 79, 1)));
    EXPECT_FALSE(any(w, kRed, around(kCentre - 79, kCentre + 100, 3)));
}

TEST_F(ChildXsTest, PhaseSettingsChooseTheFronts) {
    useTables(threeFronts());
    auto view = makeView();
    view->loadTravelTimeTables();
    struct Case {
        const char* what;
        void (*set)(Settings&);
        bool p, s, other;
    };
    const Case cases[] = {
        {"none set", [](Settings&) {}, true, true, true},
        {"all", [](Settings& s) { s.allPhasesOnCrossSection = s.pPhasesOnCrossSection = true; },
         true, true, true},
        {"P* and S*", [](Settings& s) { s.pPhasesOnCrossSection = s.sPhasesOnCrossSection = true; },
         true, false, false},
        {"S*", [](Settings& s) { s.sPhasesOnCrossSection = true; }, false, true, false},
        {"specified",
         [](Settings& s) {
             s.specifiedPhasesOnCrossSection = true;
             s.phases = {"S*", "X"};
         },
         false, true, true},
        {"specified, none match",
         [](Settings& s) {
             s.specifiedPhasesOnCrossSection = true;
             s.phases = {"PKP"};
         },
         false, false, false},
    };
    for (const Case& c : cases) {
        settings = Settings{};
        c.set(settings);
        QImage w = tick(*view, 10);
        EXPECT_EQ(any(w, kRed, around(kCentre, kCentre + 100, 1)), c.p) << c.what;
        EXPECT_EQ(any(w, kCyan, around(kCentre - 79, kCentre + 100, 1)), c.s) << c.what;
        EXPECT_EQ(any(w, kBlack, around(kCentre + 79, kCentre + 100, 1)), c.other) << c.what;
    }
}

TEST(ChildXsPhaseFilter, EntriesMatchExactlyOrByThePrefixBeforeTheStar) {
    EXPECT_TRUE(childXS::phaseEntryMatches("PKP", "PKP"));
    EXPECT_FALSE(childXS::phaseEntryMatches("PKP", "PKPPKP"));
    EXPECT_FALSE(childXS::phaseEntryMatches("PKP", "PKIKP"));
    EXPECT_TRUE(childXS::phaseEntryMatches("PK*", "PKP"));
    EXPECT_TRUE(childXS::phaseEntryMatches("PK*", "PKIKP"));
    EXPECT_FALSE(childXS::phaseEntryMatches("PK*", "P"));
    for (const char* name : {"S", "SKS", "ScS"})
        EXPECT_TRUE(childXS::phaseEntryMatches("S*", name));
    EXPECT_FALSE(childXS::phaseEntryMatches("S*", "PS"));
    EXPECT_FALSE(childXS::phaseEntryMatches("PKP*", "PK"));
    EXPECT_TRUE(childXS::phaseEntryMatches("P*K", "PcP"));  // only the text before the star
    EXPECT_TRUE(childXS::phaseEntryMatches("*", "sS"));

    Settings s;
    s.specifiedPhasesOnCrossSection = true;
    EXPECT_FALSE(childXS::wantsPhase("P", s));  // an empty list wants nothing
    s.phases = {"ScS", "PK*"};
    EXPECT_TRUE(childXS::wantsPhase("PKiKP", s));
    EXPECT_TRUE(childXS::wantsPhase("ScS", s));
    EXPECT_FALSE(childXS::wantsPhase("SKS", s));
    s.sPhasesOnCrossSection = true;  // an earlier flag decides
    EXPECT_TRUE(childXS::wantsPhase("SKS", s));
    EXPECT_FALSE(childXS::wantsPhase("PKiKP", s));
}

// Label pixels: the phase colour (text is smoothed, so nearly) well to the
// right of the vertical front starting at x.
bool labelled(const QImage& w, Colour colour, int x = kCentre) {
    auto near = [colour](Colour c) {
        return std::abs(c.red - colour.red) < 70 && std::abs(c.green - colour.green) < 70 &&
               std::abs(c.blue - colour.blue) < 70;
    };
    return !test::boxWhere(w, near, {x + 5, kCentre + 128, x + 40, kCentre + 160}).empty();
}

TEST_F(ChildXsTest, LabelsNeedSixPointsAndRoom) {
    // Fronts start 131 px below the centre (across 5000 km) and run upwards.
    auto downFrom = [](std::string name, std::uint16_t type, int along, int count) {
        FrontRecord r{std::move(name), type, {}};
        for (int i = 0; i < count; ++i)
            r.points.push_back({std::int16_t(along), std::int16_t(5000 - 1000 * i)});
        return r;
    };
    settings.labelPhasesOnCrossSection = true;

    useTables({downFrom("PKIKP", kWaveTypeP, 0, 5)});
    auto view = makeView();
    view->loadTravelTimeTables();
    EXPECT_FALSE(labelled(tick(*view, 10), kRed)) << "five points";

    useTables({downFrom("PKIKP", kWaveTypeP, 0, 6)});
    view->loadTravelTimeTables();
    EXPECT_TRUE(labelled(tick(*view, 10), kRed)) << "six points";
    settings.labelPhasesOnCrossSection = false;
    EXPECT_FALSE(labelled(tick(*view, 10), kRed)) << "labelling off";
    settings.labelPhasesOnCrossSection = true;

    // Same start: the second label would overlap the first and is left out.
    useTables({downFrom("PKIKP", kWaveTypeP, 0, 6), downFrom("SKIKS", kWaveTypeS, 0, 6)});
    view->loadTravelTimeTables();
    QImage both = tick(*view, 10);
    EXPECT_TRUE(labelled(both, kRed));
    EXPECT_FALSE(labelled(both, kCyan));
    EXPECT_TRUE(any(both, kCyan, around(kCentre, kCentre + 100, 1)));  // the front is drawn

    // Apart, both get theirs.
    useTables({downFrom("PKIKP", kWaveTypeP, 0, 6), downFrom("SKIKS", kWaveTypeS, -2000, 6)});
    view->loadTravelTimeTables();
    QImage apart = tick(*view, 10);
    EXPECT_TRUE(labelled(apart, kRed));
    EXPECT_TRUE(labelled(apart, kCyan, kCentre + 52));
}

// --- the surface-wave band ---------------------------------------------------

TEST_F(ChildXsTest, SurfaceBandOnlyForShallowEventsAfterAMinute) {
    auto view = makeView();
    auto band = [&](float depth, int t) {
        loadedEvent().depth = depth;
        return any(tick(*view, t), kYellow, {0, kSize / 4, kCentre, kSize});
    };
    EXPECT_TRUE(band(99, 61));
    EXPECT_FALSE(band(100, 61));
    EXPECT_FALSE(band(99, 60));
    EXPECT_FALSE(band(std::nanf(""), 600));
}

TEST_F(ChildXsTest, SurfaceBandCoversTheRimBetweenTheTwoFronts) {
    loadedEvent().depth = 10;
    auto view = makeView();
    QImage w = tick(*view, 1000);  // fronts at 30.58 and 34.18 degrees
    for (int side : {1, 2}) {
        PixelPoint in = sectionSurfacePoint(32.4f, side, 0, kRadius - 2);
        PixelPoint out = sectionSurfacePoint(45.0f, side, 0, kRadius - 2);
        PixelPoint before = sectionSurfacePoint(20.0f, side, 0, kRadius - 2);
        EXPECT_EQ(at(w, kCentre + in.x, kCentre + in.y), kYellow) << side;
        EXPECT_NE(at(w, kCentre + out.x, kCentre + out.y), kYellow) << side;
        EXPECT_NE(at(w, kCentre + before.x, kCentre + before.y), kYellow) << side;
    }
    EXPECT_FALSE(any(w, kYellow, {kCentre, 0, kSize, kSize}));  // the far half stays bare
}

TEST_F(ChildXsTest, BandNarrowerThanAPixelIsNotAWholeRing) {
    // Radius 100 at 61 s: both fronts truncate to the same rim pixel; an arc
    // between equal points would be the whole circle.
    loadedEvent().depth = 10;
    auto view = makeView(240);
    ASSERT_EQ(sectionSurfacePoint(0.03058f * 61, 1, 0, 100),
              sectionSurfacePoint(0.03418f * 61, 1, 0, 100));
    QImage w = tick(*view, 61);
    EXPECT_FALSE(any(w, kYellow, {120, 0, 240, 240}));
}

// --- failures ----------------------------------------------------------------

TEST_F(ChildXsTest, WithoutTablesThereAreNoFrontsButTheBandRemains) {
    loadedEvent().depth = 10;
    auto view = makeView();
    EXPECT_FALSE(view->loadTravelTimeTables());
    bool changed = false;
    QImage w = tick(*view, 600, &changed);
    EXPECT_TRUE(changed);
    EXPECT_TRUE(any(w, kYellow, {0, 0, kCentre, kSize}));
    EXPECT_FALSE(any(w, kRed, kDiscArea));
    EXPECT_FALSE(any(w, kCyan, kDiscArea));
}

TEST_F(ChildXsTest, DeepEventsReadTheDeepPairOnly) {
    useTables(threeFronts(), "OV0");
    loadedEvent().depth = 300.5f;
    auto view = makeView();
    EXPECT_FALSE(view->loadTravelTimeTables());  // no OV600 pair
    EXPECT_FALSE(any(tick(*view, 10), kRed, kDiscArea));
    useTables({record("P", kWaveTypeP, 0, 0, 6)}, "ov600");  // any case of the name serves
    EXPECT_TRUE(view->loadTravelTimeTables());
    EXPECT_TRUE(any(tick(*view, 10), kRed, around(kCentre, kCentre + 100, 1)));
}

TEST_F(ChildXsTest, DamagedTablesDrawWhatIsThereAndNoMore) {
    useTables(threeFronts());
    // Cut the data file inside the second record's points.
    std::string bin = dir.file("OV0.BIN");
    std::filesystem::resize_file(bin, std::filesystem::file_size(bin) - 40);
    auto view = makeView();
    ASSERT_TRUE(view->loadTravelTimeTables());
    QImage w = tick(*view, 10);
    EXPECT_TRUE(any(w, kRed, around(kCentre, kCentre + 100, 1)));
    // A header naming 65535 points and nothing after it, and an index of junk.
    std::ofstream(dir.file("OV0.INX"), std::ios::binary)
        << std::string("\xff\xff\xff\x7f\0\0\0\0", 8);
    view->loadTravelTimeTables();
    for (int t : {1, 10, 100, 32767}) tick(*view, t);
    std::filesystem::resize_file(bin, 0);
    EXPECT_FALSE(view->loadTravelTimeTables());
    EXPECT_TRUE(view->drawWaves(10));
}

TEST_F(ChildXsTest, ViewWithoutRoomReportsNoBitmapsAndDrawsNothing) {
    useTables(threeFronts());
    childXS view;
    view.resize(8, 8);  // all bevel
    view.setUpSurfaces();
    EXPECT_FALSE(view.createBitmaps());
    view.drawBackground();
    EXPECT_TRUE(view.loadTravelTimeTables());
    EXPECT_TRUE(view.drawWaves(10));
    view.drawFocusPulse(3);
    view.erasePulse();
    view.present();
}

// --- the opening pulse -----------------------------------------------------------

TEST_F(ChildXsTest, PulseCircleAroundTheFocusIsErasedAgain) {
    loadedEvent().depth = 2000;
    auto view = makeView();
    FloatPoint u = view->focusPulseCentre();
    EXPECT_NEAR(u.x, -(1 - 2000.0 / 6371), 1e-6);
    EXPECT_NEAR(u.y, 0, 1e-6);
    const int fx = kCentre - 115, fy = kCentre;  // the focus, as the star marks it

    view->drawFocusPulse(2.0f);  // radius 20
    const QImage& w = view->picture();
    EXPECT_EQ(view->pulseRect(), (Rect{-115 - 20, -20, -115 + 20, 20}));
    EXPECT_EQ(at(w, fx + 15, fy + 5), kWhite);
    EXPECT_EQ(at(w, fx - 5, fy + 15), kWhite);
    EXPECT_NE(at(w, fx + 25, fy + 5), kWhite);

    view->drawFocusPulse(1.0f);  // shrinks: the bigger circle is gone
    EXPECT_NE(at(view->picture(), fx + 15, fy + 5), kWhite);
    EXPECT_EQ(at(view->picture(), fx + 5, fy + 5), kWhite);
    view->erasePulse();
    EXPECT_EQ(at(view->picture(), fx + 5, fy + 5), kGrey);

    // Huge pulses stay inside the bevel; nothing is drawn for no size at all.
    view->drawPulse(0, 0, 1e9f, kRed);
    EXPECT_EQ(at(view->picture(), kCentre, kCentre), kRed);
    EXPECT_NE(at(view->picture(), 3, kCentre), kRed);
    view->erasePulse();
    EXPECT_NE(at(view->picture(), kCentre + 100, kCentre + 100), kRed);
    for (float size : {0.0f, -3.0f, std::nanf("")}) {
        view->drawPulse(u.x, u.y, size, kRed);
        EXPECT_TRUE(view->pulseRect().empty()) << size;
    }
    EXPECT_FALSE(any(view->picture(), kRed, kDiscArea));
}

// --- real fronts, saved for looking at --------------------------------------------

TEST_F(ChildXsTest, Ak135FrontsSpreadFromTheFocusOverTime) {
    WavefrontOptions options;
    options.lastTime = 1200;
    writeTables(dir.path(), "OV0", computeWavefronts(ak135Model(), 33.0, options));
    LoadedEvent& e = loadedEvent();
    e.latitude = 38.3f;
    e.longitude = 142.4f;
    e.depth = 33;
    addTrace("MAJO", 3.4f);
    addTrace("INU", 7.9f);
    addTrace("ANMO", 78.5f);
    addTrace("KONO", 77.1f);
    addTrace("PAB", 98.9f);
    settings.labelPhasesOnCrossSection = true;
    auto view = makeView(500);
    ASSERT_TRUE(view->loadTravelTimeTables());
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");

    PixelPoint focus =
        hypocentrePoint(33, std::sin(38.3 * M_PI / 180), std::cos(38.3 * M_PI / 180), 210);
    double previous = 0;
    for (int t : {120, 400, 800, 1200}) {
        QImage w = tick(*view, t);
        w.save(QString(ORVANE_BINARY_DIR "/gallery/xs-%1s.png").arg(t), "PNG");
        // The furthest P-front pixel from the focus inside the disc.
        double furthest = 0;
        for (int y = 40; y < 460; ++y)
            for (int x = 40; x < 460; ++x)
                if (colourAt(w, x, y) == kRed && std::hypot(x - 250, y - 250) < 205)
                    furthest = std::max(furthest, std::hypot(x - 250 - focus.x, y - 250 - focus.y));
        EXPECT_GT(furthest, previous) << t;
        previous = furthest;
        if (t == 120) {
            // P at 2 minutes has gone about 700-800 km: 23-27 px at 0.033 px/km.
            EXPECT_GT(furthest, 18) << t;
            EXPECT_LT(furthest, 40) << t;
            EXPECT_TRUE(any(w, kCyan, {40, 40, 460, 460})) << t;
        }
    }
}

// The events of a demonstration working directory (orvane-demo OUTDIR), with
// their own tables and traces, when ORVANE_DEMO_DIR names one.
TEST_F(ChildXsTest, DemoEventsShowFrontsAndStations) {
    const char* demo = std::getenv("ORVANE_DEMO_DIR");
    if (!demo || !std::filesystem::exists(demo)) GTEST_SKIP() << "ORVANE_DEMO_DIR not set";
    ScopedCurrentDir cd(demo);
    settings.labelPhasesOnCrossSection = true;
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    for (const auto& entry : listDirectory(".", "*.evt").value_or(std::vector<std::string>{})) {
        ASSERT_TRUE(loadEvent(entry));
        auto view = makeView(500);
        ASSERT_TRUE(view->loadTravelTimeTables()) << entry;
        QImage w = tick(*view, 900);
        w.save(QString::fromStdString(std::string(ORVANE_BINARY_DIR "/gallery/xs-") +
                                      entry.substr(0, entry.find('.')) + ".png"),
               "PNG");
        EXPECT_TRUE(any(w, kRed, {40, 60, 460, 440})) << entry;
        PixelPoint focus = hypocentrePoint(loadedEvent().depth, view->sinLatitude(),
                                           view->cosLatitude(), view->radius());
        EXPECT_TRUE(any(w, kWhite, around(250 + focus.x, 250 + focus.y - 6, 8))) << entry;
    }
}

}  // namespace
}  // namespace orvane
