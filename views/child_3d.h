#pragma once
// The globe view: a prepared picture of the Earth seen from above the
// equator, the event details, the stations and the epicentre, and per tick
// the circles the P, PP, S and SS waves and the surface waves have reached.
//
// Use by the frame for one event: setUpSurfaces(), globePictureName() and
// loadGlobePicture(name) (a false result means the picture is missing),
// then drawBackground(). In frame-export mode also prepareExportBuffer() and
// drawExportStations(). Per tick: drawWaves(t), present(), reset(), then
// exportFrame(t) in frame-export mode or drawWaves(t) again otherwise.
// Opening pulse: drawEpicentrePulse(size) each step; clear() at a restart.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/geometry.h"
#include "views/child_view.h"

namespace orvane {

class KSAC;
struct LoadedEvent;
class FrameExport;
class textButton;

/// One circle around the epicentre: its angular radius, colour, pen width
/// and label (empty for none).
struct WaveCircle {
    float delta = 0;
    Colour colour;
    int width = 1;
    std::string_view label;
};

/// The circles the waves of `event` have reached at clock `t` (seconds):
/// P, PP, S and SS where their curves reach (PP and SS beyond 15 degrees),
/// then, for events shallower than 100 km, the surface-wave band as a middle
/// circle and pairs of circles every 1.5 degrees whose width falls off
/// towards the band's edges. `penWidth` is the width of a wave line.
std::vector<WaveCircle> waveCircles(const LoadedEvent& event, float t, int penWidth);

/// A station's label: two blanks and the trace's KSTNM header text (its 8
/// stored characters, cut at a NUL byte).
std::string stationMarkLabel(const KSAC& trace);

/// The globe picture for a view angle: the angle snapped down to a multiple
/// of 45 degrees in 0..315 (towards zero, as integer division does).
int snapViewAngle(int viewAngle);

class child3D : public childView {
  public:
    explicit child3D(QWidget* parent = nullptr);
    ~child3D() override;

    /// Snaps the loaded event's view angle to the picture set, stores it
    /// back (every projection of the run uses it) and returns the picture's
    /// file name, "earth%d.bmp".
    std::string globePictureName();
    /// Makes the frame buffer and background buffer from the picture,
    /// stretched over the disc. False when the picture cannot be read.
    bool loadGlobePicture(const std::string& name);
    /// The static picture on the window surface (event details, stations,
    /// epicentre, Info button), copied into both buffers.
    void drawBackground();
    /// The wave circles for clock `t` into the frame buffer.
    void drawWaves(float t);

    /// The epicentre's position on the unit disc; (0, 0) when hidden.
    FloatPoint epicentrePosition() const;
    /// One step of the opening pulse: erases the previous circle and draws a
    /// white one of `size` around the epicentre; none when either coordinate
    /// of its position is 0 (hidden or on an axis).
    void drawEpicentrePulse(float size);

    /// Width of the wave lines, set by drawBackground().
    int wavePenWidth() const { return penWidth_; }
    textButton* infoButton() const { return info_; }

    // Frame export for a spherical display (frame-export mode only).
    /// Creates and clears the export buffer.
    void prepareExportBuffer();
    /// Station and epicentre marks into the export buffer.
    void drawExportStations();
    /// Renders the frame for clock `t` and hands it to the writer, which
    /// writes it as "%06d.png" under the event's "sos/earth" directory and
    /// reports a frame it cannot write. False without an export buffer.
    bool exportFrame(float t);
    /// Waits for the frames still being written (the view's end waits too).
    void finishExport();
    /// The export buffer; null before prepareExportBuffer().
    FrameExport* frameExport() const { return export_.get(); }

  protected:
    void command(int id) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void drawCircle(const WaveCircle& circle);
    void makeInfoButton();

    int penWidth_ = 1;
    textButton* info_ = nullptr;
    std::unique_ptr<FrameExport> export_;
};

}  // namespace orvane
