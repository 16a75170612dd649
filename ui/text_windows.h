#pragma once
// The information and tutorial text windows. Both show a small text file
// (lines joined into paragraphs, optional preformatted blocks, an optional
// leading more-tag naming a further file) in a yellow box sized to the text,
// with their buttons below it.
//
// The caller creates a window, shows it and keeps the pointer. Closing only
// hides the window and records the result; the caller reads closed() and the
// result flags afterwards and then destroys the window. Because a window is
// closed from inside its own button and mouse handlers, destroy it with
// deleteLater() (or from a timer), never from inside a call that it made.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/surface_window.h"

namespace orvane {

class textButton;

/// Text kept from one text file: more than this is dropped, so a huge or
/// binary file cannot stall the layout (a screen shows less than this).
inline constexpr std::size_t kMaxInfoText = 16 * 1024;

/// The prepared text of an information or tutorial file: lines read in
/// pieces of at most 99 characters, joined into paragraphs ("\r\n\r\n"
/// between them), "<PRE>" ... "</PRE>" blocks keeping their lines. An empty
/// text when the file cannot be read.
std::string readInfoText(const std::string& path);
/// The same preparation of text already in memory.
std::string prepareInfoText(std::string_view content);

/// Takes a leading more-tag (`<more "NAME">`, any case) out of `text` and
/// returns NAME (at most 16 characters); empty when there is none. A tag
/// without a quoted name, or without its closing ">", stays in the text.
std::string extractMoreTag(std::string& text);

/// Where a text window's parts go, worked out from its text, its font
/// height h and average character width a (of the system font), and the
/// screen. Coordinates of textBox are the window's client coordinates;
/// windowBox is on the screen.
struct TextWindowLayout {
    bool largeFont = true;  ///< bold at 1.5 h, else bold at h
    int fontHeight = 0;
    Rect textBox;
    Rect windowBox;
    int buttonHeight = 0;
    int buttonWidth = 0;
};

/// Fits `text` to a 4:3 box (5:3 for a tutorial window), falling back to
/// the normal font when the large one does not fit the screen, and places
/// the window (tutorial: top right; information: centred). `buttons` is the
/// number of buttons in the bottom row, to keep the window wide enough.
TextWindowLayout layOutTextWindow(std::string_view text, bool tutorial, Size screen, int buttons);

/// trunc(h x settings.buttonHeight), the height of the buttons of a window
/// whose letters are h high; kept within 1 .. 10000 pixels whatever the
/// settings file says.
int buttonPixelHeight(int h);

/// The face both windows write their text in.
inline constexpr const char* kTextWindowFace = "MS Sans Serif";

class myHelpBase : public SurfaceWindow {
  public:
    /// `tutorial`: 0 information window, 1 guided, 2 browse tutorial. Reads
    /// the text ("File PATH not found" when there is no such file).
    myHelpBase(QWidget* parent, const std::string& path, int tutorial);

    bool closed() const { return closed_; }
    int tutorial() const { return tutorial_; }
    const std::string& text() const { return text_; }
    const std::string& moreName() const { return moreName_; }
    const Rect& textBox() const { return layout_.textBox; }
    const Rect& windowBox() const { return layout_.windowBox; }
    const TextWindowLayout& layout() const { return layout_; }

    /// Hides the window (the caller's "close it"); the result stays.
    void closeWindow();

  protected:
    void paint(DrawingContext& dc, const Rect& area) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    /// A left or right click anywhere outside the buttons.
    virtual void onClick(bool right) = 0;

    /// Sizes and places the window for its text and a bottom row of
    /// `buttons` buttons; the derived constructor calls it once.
    void arrange(int buttons);
    void setClosed() { closed_ = true; }
    /// Top of the bottom row of buttons, 10 pixels above the bottom.
    int bottomRowY(int buttonHeight) const;

  private:
    bool closed_ = false;
    int tutorial_ = 0;
    std::string text_;
    std::string moreName_;
    TextWindowLayout layout_;
};

/// Information window: "Back", and "More..." when the text names a further
/// file, which opens in a further window of the same kind.
class myHelp : public myHelpBase {
  public:
    myHelp(QWidget* parent, const std::string& path);
    ~myHelp() override;

    void command(int id) override;
    /// The window opened by "More...", or null.
    myHelp* furtherWindow() const { return further_; }
    /// The path the further window is opened on.
    std::string morePath() const;

  protected:
    void onClick(bool right) override;

  private:
    void back();

    std::string path_;
    textButton* backButton_ = nullptr;
    textButton* moreButton_ = nullptr;
    myHelp* further_ = nullptr;
};

/// Tutorial window of one tutorial step.
class myInfo : public myHelpBase {
  public:
    enum Mode { kGuided = 1, kBrowse = 2 };
    enum Position { kFirst = 0, kMiddle = 1, kLast = 2 };

    myInfo(QWidget* parent, const std::string& path, int mode, int position = kMiddle);

    void command(int id) override;

    int mode() const { return mode_; }
    int position() const { return position_; }
    bool continuePressed() const { return continuePressed_; }
    bool nextPressed() const { return nextPressed_; }
    bool previousPressed() const { return previousPressed_; }
    bool cancelPressed() const { return cancelPressed_; }

  protected:
    void paint(DrawingContext& dc, const Rect& area) override;
    void onClick(bool right) override;

  private:
    int mode_;
    int position_;
    bool continuePressed_ = false;
    bool nextPressed_ = false;
    bool previousPressed_ = false;
    bool cancelPressed_ = false;
};

}  // namespace orvane
