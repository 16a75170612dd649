#pragma once
// The arrangement of one event's views: all three views with the station
// names and the control panel, the globe alone, or the cross-section alone.
// The rectangles are computed in plain code from the screen and layout size.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/rect.h"
#include "platform/draw_types.h"
#include "platform/surface_window.h"
#include "platform/window.h"

namespace orvane {

class childSlider;
class sidePanel;

/// Where each child of a layout goes; empty rectangles for absent children.
struct LayoutRects {
    Rect globe;
    Rect crossSection;
    Rect slider;
    Rect station;
    Rect seismograms;
    Rect leftPanel;
    Rect rightPanel;
};

/// Left margin of the all-views layout in percent of the layout width.
int allViewsMargin(Size screen);
/// Left margin of a single-view layout in percent (negative on a tall screen).
int singleViewMargin(Size screen);
/// Size of each square view of the all-views layout in percent of the
/// layout width, for a panel `panelWidth` wide beside a client `clientHeight` high.
int computeViewPercent(int panelWidth, int clientHeight, Size screen);
/// The speed slider's place in the panel (the panel moves its top).
Rect computeSliderRect(Size panel, Size letter);
/// The children's rectangles of layout `view` (0 all, 1 globe, 2 cross-section)
/// in a layout of size `layout`.
LayoutRects computeLayout(std::int32_t view, Size layout, Size screen, int panelWidth,
                          int viewPercent);

/// The column of station names beside the seismograms.
class childStation : public SurfaceWindow {
  public:
    explicit childStation(QWidget* parent = nullptr);
    /// Names and the y of their trace's zero line.
    void setNames(std::vector<std::pair<std::string, int>> names);

  protected:
    void paint(DrawingContext& dc, const Rect& area) override;

  private:
    std::vector<std::pair<std::string, int>> names_;
};

class myLayoutWindow : public Window {
  public:
    /// Builds the children of layout `view` for a client of `size`.
    myLayoutWindow(QWidget* parent, std::int32_t view, Size size);
    ~myLayoutWindow() override;

    std::int32_t view() const { return view_; }
    const LayoutRects& rects() const { return rects_; }

    childSlider* slider() const { return slider_; }
    childStation* station() const { return station_; }
    sidePanel* leftPanel() const { return leftPanel_; }
    sidePanel* rightPanel() const { return rightPanel_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void arrange(Size size);

    std::int32_t view_;
    LayoutRects rects_;
    childSlider* slider_ = nullptr;
    childStation* station_ = nullptr;
    sidePanel* leftPanel_ = nullptr;
    sidePanel* rightPanel_ = nullptr;
};

}  // namespace orvane
