#pragma once
// The cross-section view: a slice through the Earth along the meridian of the
// epicentre. The static picture (disc, cores, stations on the rim, focus,
// legend) is painted once per run into the background buffer; each tick
// draws only the surface-wave band and the wavefronts of the clock into the
// frame buffer, which the run controller has reset from the background.
//
// What the main frame calls, in order:
//   event start:  setUpSurfaces(); createBitmaps() (false: "Unable to create
//                 bitmaps"); drawBackground(); then repaint.
//   opening pulse: drawFocusPulse(size) each step (or erasePulse() and
//                 drawPulse() with focusPulseCentre()).
//   first tick:   present(); loadTravelTimeTables().
//   each tick:    if (drawWaves(int(clock))) { present(); reset(); }
//   restart:      clear().

#include <QMouseEvent>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "data/settings.h"
#include "model/geometry.h"
#include "model/travel_time_table.h"
#include "views/child_view.h"

namespace orvane {

class textButton;

class childXS : public childView {
  public:
    explicit childXS(QWidget* parent = nullptr);
    ~childXS() override;

    /// Gives the frame buffer and the background buffer their bitmaps (the
    /// inner rectangle's size). False when the view is too small to have
    /// any, which event start reports.
    bool createBitmaps();

    /// Paints the static picture into the window surface and copies it into
    /// the background buffer and the frame buffer. At run start and after
    /// layout changes, after setUpSurfaces() and createBitmaps().
    void drawBackground();

    /// (Re)opens the wavefront table pair for the loaded event's depth from
    /// the working directory. False when it is unavailable: the view then
    /// shows no wavefronts.
    bool loadTravelTimeTables();

    /// Draws the surface-wave band and the wavefronts for the whole-second
    /// clock `t` into the frame buffer. False only when t < 1 (nothing drawn,
    /// nothing to present).
    bool drawWaves(int t);

    /// Where the focus lies as a fraction of the disc radius:
    /// (-e cos lat, -e sin lat) with e = 1 - depth / 6371.
    FloatPoint focusPulseCentre() const;
    /// One step of the opening pulse: erases the previous circle and draws a
    /// white one of `size` around the focus.
    void drawFocusPulse(float size);

    /// Whether the phase settings want records of the phase `name`.
    static bool wantsPhase(std::string_view name, const Settings& s);
    /// Whether a specified-phases entry matches `name`: equal, or, when the
    /// entry holds "*", `name` begins with the entry's text before it.
    static bool phaseEntryMatches(std::string_view entry, std::string_view name);

    const TravelTimeTable& table() const { return table_; }
    /// The "Info" button (none before the first background paint or in
    /// frame-export mode).
    textButton* infoButton() const { return info_; }
    double sinLatitude() const { return sinLatitude_; }
    double cosLatitude() const { return cosLatitude_; }

  protected:
    /// The Info button's command goes on to the frame as the cross-section's
    /// information command.
    void command(int id) override;
    /// The right button returns to the map when the settings ask for it.
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void drawLegend(DrawingContext& dc);
    void drawStations(DrawingContext& dc, int markRadius);
    void drawInfoButton(DrawingContext& dc);
    void drawSurfaceWaves(DrawingContext& dc, int t);
    void drawWavefronts(DrawingContext& dc, int t);

    double sinLatitude_ = 0;
    double cosLatitude_ = 1;
    TravelTimeTable table_;
    textButton* info_ = nullptr;  // a child widget: owned by the view
};

}  // namespace orvane
