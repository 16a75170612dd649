// The seismogram view drawn offscreen from traces written as SAC files and
// loaded like an event: layout, axis, live drawing, page turns, erasing,
// arrival marks and the sounds that reach the view's hooks.
#include "views/child_seis.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "../platform/pixel_probe.h"
#include "../support/temp_dir.h"
#include "data/event_loading.h"
#include "data/files.h"
#include "data/settings.h"
#include "platform/command_ids.h"
#include "ui/buttons.h"
#include "ui/kit.h"

namespace orvane {
namespace {

using test::Box;
using test::boxOf;
using test::colourAt;
using test::inkBox;

struct Recorder : Window {
    std::vector<int> commands;
    void command(int id) override { commands.push_back(id); }
};

// A trace of `count` samples at `level`, its range set by a -1 and a 1 at
// the very end, so the level sits at a known height.
SacTrace levelTrace(float delta, int count, float level = 0.5f, float begin = 0) {
    SacTrace t;
    t.delta = delta;
    t.begin = begin;
    t.year = 2020;
    t.station = "A";
    t.stationLatitude = 10;
    t.stationLongitude = 0;
    t.samples.assign(std::size_t(count), level);
    if (count > 2) t.samples[std::size_t(count) - 2] = -1, t.samples.back() = 1;
    return t;
}

class ChildSeisTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedSettings_ = settings;
        savedSounds_ = seismogramSounds;
        seismogramSounds.messageBeep = [this](std::uint32_t type) { beeps.push_back(type); };
        seismogramSounds.playSamples = [this](const std::uint8_t* b, std::int32_t n) {
            plays.emplace_back(b, n);
        };
        seismogramSounds.closeWave = [this] { ++closes; };
        settings.labelPhasesOnSeismogram = true;
        settings.audio = kAudioPc;
    }
    void TearDown() override {
        settings = savedSettings_;
        seismogramSounds = savedSounds_;
        setMainWindow(nullptr);
    }

    // Writes the traces (station i at latitude 10 (i + 1), so the list keeps
    // this order) and loads them as an event with `timeWindow`.
    void load(std::vector<SacTrace> traces, int timeWindow = 600) {
        std::ofstream evt(dir_.file("ev.evt"));
        evt << "EVENT LATITUDE: 0\nEVENT LONGITUDE: 0\nEVENT DATE: 2020/01/01\n"
            << "ORIGIN TIME: 00:00:00.0\nTIME WINDOW: " << timeWindow << "\n";
        std::filesystem::create_directories(dir_.path() / "ev");
        for (std::size_t i = 0; i < traces.size(); ++i) {
            traces[i].stationLatitude = 10.0f * float(i + 1);
            std::string name = "T" + std::to_string(i) + ".BHZ";
            ASSERT_TRUE(writeSac(dir_.file("ev/" + name), traces[i]));
            evt << "STATION FILE: " << name << "\n";
        }
        evt.close();
        ASSERT_TRUE(loadEvent(event, "ev.evt"));
        ASSERT_EQ(event.traceList.size(), traces.size());
    }
    // Laid out at `t` and asked to paint, as the frame does at event start.
    void layout(float t = 0, int w = 600, int h = 400) {
        view.resize(w, h);
        view.paintPending();
        view.layoutTraces(t);
        view.invalidate();
        view.paintPending();
    }
    const QImage& picture() const { return view.picture(); }
    // Ink of the level trace of a single-trace view (row 100 for 400 rows).
    Box levelInk() const { return boxOf(picture(), colours::kBlack, {1, 95, 599, 105}); }
    int redColumns(Rect area) const {
        Box b = boxOf(picture(), colours::kRed, area);
        return b.empty() ? 0 : b.right - b.left + 1;
    }

    TempDir dir_;
    ScopedCurrentDir cd_{dir_.path()};
    LoadedEvent event;
    childSeis view{nullptr, event};
    std::vector<std::uint32_t> beeps;
    std::vector<std::pair<const std::uint8_t*, std::int32_t>> plays;
    int closes = 0;

  private:
    Settings savedSettings_;
    SeismogramSounds savedSounds_;
};

TEST_F(ChildSeisTest, LayoutFillsEveryDisplayEntryAndPlacesTheSlots) {
    SacTrace wave = levelTrace(1, 5);
    wave.samples = {-1, 0, 0.5f, 1, 1e-3f};
    SacTrace flat = levelTrace(1, 4, 0.7f);
    flat.samples.assign(4, 0.7f);
    load({wave, flat, levelTrace(1, 3)});
    // Whatever the buffers held before, layout overwrites all of it.
    for (auto& t : event.traceList) {
        std::fill(t->plotOffsets.begin(), t->plotOffsets.end(), std::int16_t(0x5555));
        std::fill(t->soundBytes.begin(), t->soundBytes.end(), std::uint8_t(0xAA));
    }
    layout(0, 600, 400);
    // Three traces in four slots of 100; the range spans two slots.
    EXPECT_EQ(view.baseline(0), 100);
    EXPECT_EQ(view.baseline(2), 300);
    const KSAC& w = *event.traceList[0];
    EXPECT_EQ(std::vector<int>(w.plotOffsets.begin(), w.plotOffsets.end()),
              (std::vector<int>{100, 0, -50, -100, 0}));
    EXPECT_EQ(std::vector<int>(w.soundBytes.begin(), w.soundBytes.end()),
              (std::vector<int>{0, 127, 191, 255, 127}));
    // DEPMAX == DEPMIN: flat on the baseline and silent.
    const KSAC& f = *event.traceList[1];
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(f.plotOffsets[k], 0);
        EXPECT_EQ(f.soundBytes[k], 0);
    }
    EXPECT_FLOAT_EQ(view.pixelsPerSecond(), 1.0f);
    EXPECT_EQ(view.windowStart(), 0);
    view.layoutTraces(650);
    EXPECT_EQ(view.windowStart(), 300);
    view.layoutTraces(250);
    EXPECT_EQ(view.windowStart(), 0);
    EXPECT_EQ(view.lastTime(), 0);
}

TEST_F(ChildSeisTest, DrawsOnlyTheStretchBetweenTheLastClockAndTheNewOne) {
    load({levelTrace(1, 1000)});
    view.resize(600, 400);
    view.paintPending();
    view.layoutTraces(0);  // no paint request: no full redraw
    QImage blank = picture();
    view.advanceTo(0);
    EXPECT_EQ(picture(), blank);
    view.advanceTo(100);
    Box ink = boxOf(picture(), colours::kBlack, {0, 95, 599, 105});
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, 98);  // steps 0..99, the last point open
    QImage at100 = picture();
    view.advanceTo(100);
    EXPECT_EQ(picture(), at100);
    view.advanceTo(200);
    EXPECT_EQ(levelInk().right, 198);
    // The new stretch joins the old one without a gap.
    EXPECT_TRUE(boxOf(picture(), colours::kBlack, {97, 95, 101, 105}).right >= 100);
}

TEST_F(ChildSeisTest, PaintRequestMakesTheNextTickRedrawFrameAxisAndLabels) {
    load({levelTrace(1, 1000)});
    event.traceList[0]->description = "Station A";
    layout();
    EXPECT_TRUE(view.needsRedraw());
    view.advanceTo(120);
    EXPECT_FALSE(view.needsRedraw());
    EXPECT_EQ(colourAt(picture(), 300, 0), colours::kBlack);  // the frame
    EXPECT_EQ(colourAt(picture(), 599, 200), colours::kBlack);
    EXPECT_EQ(levelInk().right, 118);
    // The label sits on the zero line at the left.
    Box label = inkBox(picture(), colours::kWhite, {1, 150, 200, 200});
    EXPECT_GE(label.left, 3);
    EXPECT_GE(label.bottom, 190);
    EXPECT_LE(label.bottom, 199);
    // Minute ticks every 60 pixels, 8 high.
    EXPECT_EQ(colourAt(picture(), 120, 393), colours::kBlack);
    EXPECT_EQ(colourAt(picture(), 120, 391), colours::kWhite);
    EXPECT_EQ(colourAt(picture(), 150, 393), colours::kWhite);
}

TEST_F(ChildSeisTest, AxisLabelStepFollowsTheTimeWindow) {
    // window -> (labelled minute, unlabelled minute) in a 600-pixel view.
    const std::vector<std::tuple<int, int, int>> cases = {
        {300, 4, 3}, {600, 5, 4}, {1800, 20, 15}, {3600, 45, 40}};
    for (auto [window, labelled, plain] : cases) {
        load({levelTrace(1, 10)}, window);
        layout();
        view.advanceTo(1);
        const int lh = letterSize.height;
        auto inkNear = [&](int minute) {
            int x = int(60 * minute * 600.0 / window);
            return !inkBox(picture(), colours::kWhite, {x - 2, 392 - lh + 3, x + 3, 391}).empty();
        };
        EXPECT_TRUE(inkNear(labelled)) << window;
        EXPECT_FALSE(inkNear(plain)) << window;
        // Minute 0 is written left-aligned from x 2, the last one right-aligned.
        Box zero = inkBox(picture(), colours::kWhite, {1, 392 - lh + 3, 40, 391});
        EXPECT_GE(zero.left, 2) << window;
        EXPECT_LE(zero.left, 4) << window;
    }
}

TEST_F(ChildSeisTest, PagesTurnByHalfAWindowAndErasingGoesBack) {
    load({levelTrace(1, 4000)});
    event.traceList[0]->description = "Station A";
    layout();
    for (float t : {100.f, 300.f, 500.f, 599.f}) view.advanceTo(t);
    EXPECT_EQ(view.windowStart(), 0);
    // Back from the right edge: erased up to the frame, ticks restored.
    view.advanceTo(500);
    EXPECT_EQ(levelInk().right, 499);
    EXPECT_EQ(colourAt(picture(), 599, 100), colours::kBlack);
    EXPECT_EQ(colourAt(picture(), 540, 393), colours::kBlack);
    view.advanceTo(650);
    EXPECT_EQ(view.windowStart(), 300);
    EXPECT_EQ(levelInk().right, 348);
    // No labels after the first page.
    EXPECT_TRUE(inkBox(picture(), colours::kWhite, {1, 150, 200, 200}).empty());
    view.advanceTo(600);
    EXPECT_EQ(levelInk().right, 299);
    view.advanceTo(250);  // before the window: back to the first page
    EXPECT_EQ(view.windowStart(), 0);
    EXPECT_EQ(levelInk().right, 248);
    EXPECT_FALSE(inkBox(picture(), colours::kWhite, {1, 150, 200, 200}).empty());
    // A long jump moves the window by half a window per tick.
    view.advanceTo(2000);
    EXPECT_EQ(view.windowStart(), 300);
    view.advanceTo(2010);
    EXPECT_EQ(view.windowStart(), 600);
}

TEST_F(ChildSeisTest, ArrivalMarksInTheirColoursAndSoundsWhenDrawnForward) {
    load({levelTrace(1, 1000)});
    KSAC& t = *event.traceList[0];
    t.arrivalP = 100, t.arrivalS = 200, t.arrivalPP = 300, t.arrivalSS = 400;
    layout();
    view.advanceTo(50);  // the full redraw: no arrivals yet
    view.advanceTo(99.5f);
    EXPECT_TRUE(beeps.empty());
    view.advanceTo(101);
    EXPECT_EQ(beeps, std::vector<std::uint32_t>{SeismogramSounds::kSimpleBeep});
    view.advanceTo(450);
    EXPECT_EQ(beeps.size(), 4u);
    // Slot half height 400 / 4 = 100 around the baseline 200, with a black
    // shadow one pixel right.
    EXPECT_EQ(colourAt(picture(), 100, 150), colours::kRed);
    EXPECT_EQ(colourAt(picture(), 101, 150), colours::kBlack);
    EXPECT_EQ(colourAt(picture(), 200, 250), colours::kCyan);
    EXPECT_EQ(colourAt(picture(), 300, 299), colours::kRed);
    EXPECT_EQ(colourAt(picture(), 400, 101), colours::kCyan);
    EXPECT_EQ(colourAt(picture(), 400, 99), colours::kWhite);
    // Labels left of the marks, below the zero line.
    Box p = boxOf(picture(), colours::kRed, {60, 200, 99, 240});
    EXPECT_FALSE(p.empty());
    EXPECT_LE(p.right, 96);
    // A full redraw shows the marks again without sounding them.
    view.invalidate();
    view.paintPending();
    view.advanceTo(460);
    EXPECT_EQ(beeps.size(), 4u);
    EXPECT_EQ(colourAt(picture(), 300, 150), colours::kRed);
}

TEST_F(ChildSeisTest, AudioChoicesReachTheSoundHooks) {
    SacTrace longTrace = levelTrace(0.01f, 40000);
    load({levelTrace(1, 1000), longTrace});
    for (auto& t : event.traceList) t->arrivalP = 100;
    for (int audio : {kAudioNone, kAudioPc, kAudioEq, kAudioChime}) {
        beeps.clear(), plays.clear();
        settings.audio = audio;
        layout();
        view.advanceTo(99);  // redraw
        view.advanceTo(100.5f);
        // One step of the 1 s trace and fifty of the 0.01 s one in second 100.
        switch (audio) {
            case kAudioNone:
                EXPECT_TRUE(beeps.empty() && plays.empty());
                break;
            case kAudioPc:
                EXPECT_EQ(beeps, std::vector<std::uint32_t>(51, SeismogramSounds::kSimpleBeep));
                break;
            case kAudioChime:
                EXPECT_EQ(beeps, std::vector<std::uint32_t>(51, SeismogramSounds::kAsterisk));
                break;
            case kAudioEq:
                ASSERT_EQ(plays.size(), 51u);
                EXPECT_EQ(plays[0].first, event.traceList[0]->soundBytes.data());
                EXPECT_EQ(plays[0].second, 1000);
                EXPECT_EQ(plays[1].first, event.traceList[1]->soundBytes.data());
                EXPECT_EQ(plays[1].second, 32767);  // 16-bit length
                break;
        }
    }
    // Without phase labels: no marks and no sound, whatever the choice.
    settings.labelPhasesOnSeismogram = false;
    beeps.clear();
    layout();
    view.advanceTo(99);
    view.advanceTo(101);
    EXPECT_TRUE(beeps.empty());
    EXPECT_EQ(redColumns({0, 0, 600, 400}), 0);
}

TEST_F(ChildSeisTest, EveryStepInTheArrivalSecondGetsAMark) {
    load({levelTrace(0.5f, 1000), levelTrace(4, 100)}, 600);
    event.traceList[0]->arrivalP = 125;
    event.traceList[1]->arrivalP = 125;
    layout(0, 1200, 400);
    view.advanceTo(113);  // pen down on the 4 s trace at 112
    // Steps 125.0 and 125.5 of the first trace; 125 for the second although
    // the tick's point buffer fills up exactly at that step.
    view.advanceTo(126.4f);
    EXPECT_EQ(beeps.size(), 3u);
    EXPECT_EQ(redColumns({240, 1, 260, 130}), 2);
    EXPECT_EQ(redColumns({240, 290, 260, 399}), 1);
}

TEST_F(ChildSeisTest, TracesEndWithTheirRecordAndMayBeMissing) {
    load({levelTrace(1, 300), levelTrace(1, 300, 0.5f, 100)});
    layout();
    view.advanceTo(250);
    view.advanceTo(400);  // past the end: the last stretch still drawn
    Box first = boxOf(picture(), colours::kBlack, {1, 60, 599, 70});
    EXPECT_EQ(first.right, 297);
    view.advanceTo(500);
    EXPECT_EQ(boxOf(picture(), colours::kBlack, {1, 60, 599, 70}).right, 297);
    // The later trace starts at its own start time.
    Box second = boxOf(picture(), colours::kBlack, {1, 194, 599, 204});
    EXPECT_EQ(second.left, 100);
    EXPECT_EQ(second.right, 397);

    // A list changed without a new layout is not drawn from stale buffers.
    event.traceList.pop_back();
    view.invalidate();
    view.paintPending();
    view.advanceTo(510);
    EXPECT_TRUE(boxOf(picture(), colours::kBlack, {1, 60, 598, 330}).empty());

    // No traces at all: frame and axis only.
    load({});
    layout();
    view.advanceTo(300);
    EXPECT_TRUE(boxOf(picture(), colours::kBlack, {1, 1, 599, 340}).empty());
    EXPECT_EQ(colourAt(picture(), 300, 393), colours::kBlack);
}

TEST_F(ChildSeisTest, ClocksOutOfRangeAndHostileStepsEndQuietly) {
    // Steps far finer than the clock's precision, in records said to be long.
    load({levelTrace(1, 100), levelTrace(1e-9f, 50), levelTrace(1e-20f, 50)});
    for (int i : {1, 2}) {
        event.traceList[i]->endTime = 5000;
        event.traceList[i]->arrivalP = 3;
        event.traceList[i]->arrivalS = 1000;
    }
    layout();
    view.advanceTo(std::nanf(""));
    EXPECT_EQ(view.lastTime(), 0);
    view.advanceTo(10);
    EXPECT_LE(beeps.size(), 2048u);
    view.advanceTo(1000);
    view.advanceTo(std::nextafter(1000.0f, 2000.0f));
    view.advanceTo(1e30f);
    view.advanceTo(1e30f * 3);
    view.layoutTraces(1e30f);
    view.advanceTo(20);
    EXPECT_EQ(view.lastTime(), 20);
}

TEST_F(ChildSeisTest, InfoButtonRightClickAndDestruction) {
    Recorder frame;
    setMainWindow(&frame);
    load({levelTrace(1, 10)});
    {
        childSeis seis(nullptr, event);
        seis.resize(600, 400);
        EXPECT_EQ(seis.infoButton(), nullptr);
        seis.layoutTraces(0);
        textButton* info = seis.infoButton();
        ASSERT_NE(info, nullptr);
        TextMetrics m = DrawingContext().textMetrics();
        int a = m.averageCharWidth, h = int(m.height * settings.buttonHeight);
        EXPECT_EQ(info->geometry(), QRect(600 - 8 * a, 400 - a - h, 7 * a, h));
        EXPECT_EQ(info->caption(), "Info");
        seis.layoutTraces(0);
        EXPECT_EQ(seis.infoButton(), info);  // made once

        seis.command(kCmdViewInfoButton);
        QMouseEvent right(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&seis, &right);
        settings.rightButtonRestart = true;
        QCoreApplication::sendEvent(&seis, &right);
        QCoreApplication::processEvents();  // the Map command is posted
        EXPECT_EQ(frame.commands, (std::vector<int>{kCmdSeismogramInfo, kCmdMap}));
        EXPECT_EQ(closes, 0);
    }
    EXPECT_EQ(closes, 1);  // the wave output closed with the view
    settings.scienceOnASphere = true;
    childSeis bare(nullptr, event);
    bare.layoutTraces(0);
    EXPECT_EQ(bare.infoButton(), nullptr);
}

// Pictures of the view under build/gallery: a synthetic event, and, when
// ORVANE_DEMO_DIR names a demonstration working directory, its events.
void savePicture(QWidget& w, const std::string& name) {
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    w.grab().save(QString::fromStdString(std::string(ORVANE_BINARY_DIR "/gallery/") + name));
}

TEST_F(ChildSeisTest, GalleryOfASyntheticEvent) {
    std::vector<SacTrace> traces;
    for (int i = 0; i < 4; ++i) {
        SacTrace t = levelTrace(0.5f, 4000, 0);
        for (std::size_t k = 0; k < t.samples.size(); ++k) {
            double s = k * 0.5, p = 120 + 60 * i, late = s - p;
            t.samples[k] =
                late < 0 ? 0.02f * std::sin(s) : float(std::exp(-late / 60) * std::sin(late));
        }
        traces.push_back(t);
    }
    load(traces, 1800);
    for (int i = 0; i < 4; ++i) {
        event.traceList[i]->arrivalP = 120 + 60 * i;
        event.traceList[i]->arrivalS = 220 + 110 * i;
        event.traceList[i]->description = "Station " + std::to_string(i + 1);
    }
    layout(0, 900, 420);
    for (float t = 10; t < 1000; t += 37) view.advanceTo(t);
    savePicture(view, "child_seis_synthetic.png");
    EXPECT_GT(redColumns({0, 0, 900, 420}), 0);
}

TEST(ChildSeisGallery, DemoEvents) {
    const char* demo = std::getenv("ORVANE_DEMO_DIR");
    if (!demo || !std::filesystem::exists(demo)) GTEST_SKIP() << "ORVANE_DEMO_DIR not set";
    ScopedCurrentDir cd(demo);
    Settings saved = settings;
    settings.labelPhasesOnSeismogram = true;
    settings.audio = kAudioNone;
    LoadedEvent event;
    for (const auto& entry : listDirectory(".", "*.evt").value_or(std::vector<std::string>{})) {
        ASSERT_TRUE(loadEvent(event, entry));
        childSeis view(nullptr, event);
        view.resize(1100, 420);
        view.paintPending();
        view.layoutTraces(0);
        view.invalidate();
        view.paintPending();
        std::string name = "child_seis_" + entry.substr(0, entry.find('.'));
        for (float t = 10; t <= 2700; t += 20) {
            view.advanceTo(t);
            if (t == 850) savePicture(view, name + "_first_page.png");
        }
        savePicture(view, name + ".png");
    }
    settings = saved;
}

}  // namespace
}  // namespace orvane
