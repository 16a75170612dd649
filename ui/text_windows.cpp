#include "ui/text_windows.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "data/files.h"
#include "data/settings.h"
#include "platform/command_ids.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/buttons.h"
#include "ui/kit.h"

namespace orvane {

namespace {

// Longest piece of a line taken in one read.
constexpr std::size_t kPiece = 99;
// Bytes of a file looked at; the text made from them is cut at kMaxInfoText.
constexpr std::size_t kMaxFileBytes = 1024 * 1024;
constexpr std::size_t kMaxMoreName = 16;

// Whether the line's first "<" is followed by `tag` (any case).
bool tagFollows(std::string_view line, std::string_view tag) {
    std::size_t lt = line.find('<');
    if (lt == std::string_view::npos) return false;
    std::string_view rest = line.substr(lt + 1);
    return rest.size() >= tag.size() && equalsNoCase(rest.substr(0, tag.size()), tag);
}

bool endsSentence(std::string_view line) {
    char last = line.back();
    return last == '.' || last == '!' || last == '?';
}

}  // namespace

std::string prepareInfoText(std::string_view content) {
    std::string text;
    int joiner = 0;  // 0 nothing, 1 one blank, 2 two blanks before the next line
    bool pre = false;
    std::size_t i = 0;
    const std::size_t n = content.size();
    while (i < n && text.size() < kMaxInfoText) {
        // One read: at most 99 characters, up to and without the line end;
        // what follows a NUL byte in the piece is lost, as with fgets.
        std::string line;
        bool ended = false, nul = false;
        std::size_t count = 0;
        while (i < n && count < kPiece) {
            char c = content[i++];
            ++count;
            if (c == '\n') {
                ended = true;
                break;
            }
            if (c == '\0')
                nul = true;
            else if (!nul)
                line.push_back(c);
        }
        // A line of exactly 99 characters ends here: its line end is not an
        // empty line of its own.
        if (!ended && count == kPiece && i < n && content[i] == '\n') {
            ++i;
            ended = true;
        } else if (!ended && count == kPiece && i + 1 < n && content[i] == '\r' &&
                   content[i + 1] == '\n') {
            i += 2;
            ended = true;
        }
        if (ended && !line.empty() && line.back() == '\r') line.pop_back();
        bool cut = !ended && count == kPiece;

        if (tagFollows(line, "PRE")) {
            pre = true;
            continue;
        }
        if (tagFollows(line, "/PRE")) {
            pre = false;
            text += "\r\n";
            joiner = 0;
            continue;
        }
        if (cut) joiner = 0;
        if (pre) {
            text += "\r\n";
            text += line;
        } else if (!line.empty()) {
            if (joiner == 1) text += ' ';
            if (joiner == 2) text += "  ";
            text += line;
            joiner = cut ? 0 : (endsSentence(line) ? 2 : 1);
        } else {
            text += "\r\n\r\n";
            joiner = 0;
        }
    }
    if (text.size() > kMaxInfoText) text.resize(kMaxInfoText);
    return text;
}

std::string readInfoText(const std::string& path) {
    std::FILE* file = openFile(path, "rb");
    if (!file) return {};
    std::string content(kMaxFileBytes, '\0');
    content.resize(std::fread(content.data(), 1, content.size(), file));
    std::fclose(file);
    return prepareInfoText(content);
}

std::string extractMoreTag(std::string& text) {
    std::size_t lt = text.find('<');
    if (lt == std::string::npos || text.size() - lt - 1 < 4 ||
        !equalsNoCase(std::string_view(text).substr(lt + 1, 4), "more"))
        return {};
    // The name must stand between quotes inside the tag.
    std::size_t gt = text.find('>', lt);
    std::size_t open = text.find('"', lt);
    if (gt == std::string::npos || open == std::string::npos || open > gt) return {};
    std::size_t close = text.find('"', open + 1);
    if (close == std::string::npos || close > gt) return {};
    std::string name = text.substr(open + 1, std::min(close - open - 1, kMaxMoreName));
    text.erase(lt, gt - lt + 1);
    // A tag that opened the text leaves no blank start behind.
    if (lt == 0) text.erase(0, std::min(text.size(), text.find_first_not_of(" \r\n")));
    return name;
}

int buttonPixelHeight(int h) {
    double v = std::trunc(h * double(settings.buttonHeight));
    if (!(v >= 1)) return 1;
    return v > 10000 ? 10000 : int(v);
}

TextWindowLayout layOutTextWindow(std::string_view text, bool tutorial, Size screen, int buttons) {
    if (screen.width <= 0 || screen.height <= 0) screen = {1024, 768};  // no screen known
    DrawingContext dc;                                                  // measures only
    TextMetrics system = dc.textMetrics();
    const int h = system.height, a = system.averageCharWidth;
    const int k = tutorial ? 5 : 4;
    const double maxWidth = screen.width * (tutorial ? 0.8 : 0.9);
    const double maxHeight = screen.height * 0.8;

    TextWindowLayout l;
    int boxWidth = 160;
    Rect fitted;
    auto measure = [&] { fitted = dc.measureTextBox({0, 0, boxWidth, 120}, text); };
    // Widen a 160 x 120 box by a tenth at a time until the text in it is
    // about k:3.
    auto fit = [&](int fontHeight) {
        l.fontHeight = fontHeight;
        dc.selectFont(Font::create(kTextWindowFace, fontHeight, 700));
        boxWidth = 160;
        for (int i = 0; i < 10; ++i) {
            boxWidth = int(boxWidth * 1.1);
            measure();
            if (orvane::width(fitted) >= k * orvane::height(fitted) / 3) break;
        }
    };
    auto tooBig = [&] {
        return orvane::width(fitted) > maxWidth || orvane::height(fitted) > maxHeight;
    };

    fit(int(1.5 * h));
    if (tooBig()) {
        l.largeFont = false;
        fit(h);
        // A long text still taller than the screen gets a wider box, as far
        // as the screen allows, rather than running off the screen.
        while (orvane::height(fitted) > maxHeight && boxWidth * 1.1 <= maxWidth) {
            boxWidth = int(boxWidth * 1.1);
            measure();
        }
    }

    // A word wider than the screen is cut at the screen's width.
    if (orvane::width(fitted) > maxWidth) fitted.right = fitted.left + int(maxWidth);

    l.textBox = offset(inflate(fitted, 8), {18, 18});
    l.windowBox = inflate(l.textBox, 10);
    if (tutorial) {
        l.windowBox.bottom += 2 * h;
        l.textBox = offset(l.textBox, {0, 2 * h});
    }
    if (tutorial) {
        l.buttonWidth = 12 * a;
        l.buttonHeight = 2 * h;
    } else {
        l.buttonWidth = 10 * a;
        l.buttonHeight = buttonPixelHeight(h);
    }
    // Wide enough for the row of buttons, so they never overlap.
    int rowWidth = 10 + buttons * (l.buttonWidth + 10);
    if (orvane::width(l.windowBox) < rowWidth) l.windowBox.right = l.windowBox.left + rowWidth;
    // Room for the buttons, then keep the window on the screen: what does
    // not fit is cut from the bottom of the text box, so the buttons stay
    // within reach.
    int row = buttonPixelHeight(h) + 10;
    int limit = screen.height - 20 - row;
    if (limit > 0 && orvane::height(l.windowBox) > limit) {
        int excess = orvane::height(l.windowBox) - limit;
        l.windowBox.bottom -= excess;
        l.textBox.bottom = std::max(l.textBox.top + 16, l.textBox.bottom - excess);
    }

    int w = orvane::width(l.windowBox), wh = orvane::height(l.windowBox);
    Point at = tutorial ? Point{screen.width - 10 - w, 0}
                        : Point{(screen.width - w) / 2, (screen.height - wh) / 2};
    // The button row grows the window downwards; it may not leave the screen.
    at.y = std::min(at.y, screen.height - 10 - (wh + row));
    at.x = std::max(at.x, 10);
    at.y = std::max(at.y, 10);
    l.windowBox = rectAt(at.x, at.y, w, wh + row);
    return l;
}

// ------------------------------------------------------------ myHelpBase ---

myHelpBase::myHelpBase(QWidget* parent, const std::string& path, int tutorial)
    : SurfaceWindow(parent), tutorial_(tutorial) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowSystemMenuHint);
    setBackground(kit::kLightGrey);
    // A file that is there but cannot be read counts as missing too.
    std::string found = resolvePath(path);
    std::error_code ec;
    std::FILE* file = std::filesystem::is_regular_file(found, ec) ? openFile(found, "rb") : nullptr;
    if (file) {
        std::fclose(file);
        text_ = readInfoText(found);
    } else {
        text_ = "File " + path + " not found";
    }
    moreName_ = extractMoreTag(text_);
}

void myHelpBase::arrange(int buttons) {
    layout_ = layOutTextWindow(text_, tutorial_ != 0, screenSize(), buttons);
    const Rect& w = layout_.windowBox;
    setGeometry(w.left, w.top, orvane::width(w), orvane::height(w));
}

int myHelpBase::bottomRowY(int buttonHeight) const { return height() - 10 - buttonHeight; }

void myHelpBase::closeWindow() { hide(); }

void myHelpBase::showEvent(QShowEvent* event) {
    // The window takes the focus, so the main frame knows the run must wait.
    SurfaceWindow::showEvent(event);
    raise();
    activateWindow();
}

void myHelpBase::paint(DrawingContext& dc, const Rect&) {
    const Rect& box = layout_.textBox;
    KeepDrawingObjects keep(dc);
    dc.fillRect(box, Brush::solid(colours::kYellow));
    // Sunken frame on the box's edge pixels: black over the top and left,
    // white along the bottom and right (a 2-pixel pen covers x and x + 1).
    int right = box.right - 2, bottom = box.bottom - 2;
    dc.selectPen(Pen::solid(kit::kBlack, 2));
    dc.moveTo({box.left, bottom});
    dc.lineTo({box.left, box.top});
    dc.lineTo({right, box.top});
    dc.selectPen(Pen::solid(kit::kWhite, 2));
    dc.lineTo({right, bottom});
    dc.lineTo({box.left, bottom});

    dc.selectFont(Font::create(kTextWindowFace, layout_.fontHeight, 700));
    dc.setTextColour(kit::kBlack);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    Rect inside{box.left + 8, box.top + 6, box.right - 8, box.bottom - 6};
    dc.drawTextBox(inside, text_, kTextBoxLeft);
}

void myHelpBase::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        onClick(false);
    else if (event->button() == Qt::RightButton)
        onClick(true);
    event->accept();
}

// ----------------------------------------------------------------- myHelp ---

myHelp::myHelp(QWidget* parent, const std::string& path)
    : myHelpBase(parent, path, 0), path_(path) {
    arrange(moreName().empty() ? 1 : 2);
    const TextWindowLayout& l = layout();
    int y = bottomRowY(l.buttonHeight);
    backButton_ = new textButton(this, kCmdHelpBack, "Back", 10, y, l.buttonWidth, l.buttonHeight);
    if (!moreName().empty())
        moreButton_ = new textButton(this, kCmdHelpMore, "More...", width() - 10 - l.buttonWidth, y,
                                     l.buttonWidth, l.buttonHeight);
}

myHelp::~myHelp() = default;

std::string myHelp::morePath() const {
    // A further file beside this one is preferred; else it is looked for
    // from the current directory.
    std::string beside = joinPath(std::filesystem::path(path_).parent_path().string(), moreName());
    std::error_code ec;
    if (std::filesystem::is_regular_file(resolvePath(beside), ec)) return beside;
    return moreName();
}

void myHelp::back() {
    if (further_) {
        further_->closeWindow();
        further_->deleteLater();
        further_ = nullptr;
    }
    setClosed();
    closeWindow();
}

void myHelp::command(int id) {
    if (id == kCmdHelpBack) {
        playClick();
        back();
    } else if (id == kCmdHelpMore) {
        playClick();
        if (moreName().empty()) return;
        if (further_) further_->deleteLater();
        further_ = new myHelp(this, morePath());
        further_->show();
    }
}

void myHelp::onClick(bool right) {
    // A click anywhere is Back, with Back's click.
    playClick();
    back();
    // Posted, so the frame acts after this handler has returned.
    if (right && settings.rightButtonRestart) postCommand(mainWindow(), kCmdMap);
}

// ----------------------------------------------------------------- myInfo ---

namespace {

struct TutorialButton {
    int id;
    const char* caption;
};

// Buttons of a tutorial window, left to right; the last one stands at the
// right edge unless it is Cancel.
std::vector<TutorialButton> tutorialButtons(int mode, int position) {
    const TutorialButton cancel{kCmdTutorialCancel, "Cancel"};
    const TutorialButton next{kCmdTutorialNext, "Next"};
    const TutorialButton previous{kCmdTutorialPrevious, "Previous"};
    if (mode == myInfo::kGuided) return {cancel, {kCmdTutorialContinue, "Continue"}};
    if (position == myInfo::kFirst) return {cancel, next};
    if (position == myInfo::kLast) return {previous, cancel};
    return {previous, cancel, next};
}

}  // namespace

myInfo::myInfo(QWidget* parent, const std::string& path, int mode, int position)
    : myHelpBase(parent, path, mode == kBrowse ? 2 : 1),
      mode_(mode == kBrowse ? kBrowse : kGuided),
      position_(std::clamp(position, int(kFirst), int(kLast))) {
    std::vector<TutorialButton> buttons = tutorialButtons(mode_, position_);
    arrange(int(buttons.size()));
    const TextWindowLayout& l = layout();
    int y = bottomRowY(l.buttonHeight);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        bool rightHand = i + 1 == buttons.size() && buttons[i].id != kCmdTutorialCancel;
        int x = rightHand ? width() - 10 - l.buttonWidth : 10 + int(i) * (l.buttonWidth + 10);
        new textButton(this, buttons[i].id, buttons[i].caption, x, y, l.buttonWidth,
                       l.buttonHeight);
    }
}

void myInfo::command(int id) {
    bool* flag = nullptr;
    switch (id) {
        case kCmdTutorialContinue:
            flag = &continuePressed_;
            break;
        case kCmdTutorialNext:
            flag = &nextPressed_;
            break;
        case kCmdTutorialPrevious:
            flag = &previousPressed_;
            break;
        case kCmdTutorialCancel:
            flag = &cancelPressed_;
            break;
        default:
            return;
    }
    playClick();
    setClosed();
    *flag = true;
    closeWindow();
}

void myInfo::paint(DrawingContext& dc, const Rect& area) {
    myHelpBase::paint(dc, area);
    int h = DrawingContext().textMetrics().height;
    dc.selectFont(Font::create(kTextWindowFace, int(1.5 * h), 700));
    Rect band{9, 6, orvane::width(area) - 7, 6 + dc.textExtent("Tutorial").height + 6};
    drawBevel(dc, band, kit::kLightGrey, true, 2, 0);
    dc.setBackgroundMode(BackgroundMode::Transparent);
    drawText(dc, {orvane::width(area) / 2, 8}, "Tutorial", kit::kBlack, kAlignCentre | kAlignTop);
}

void myInfo::onClick(bool right) {
    playClick();
    closeWindow();
    if (right && settings.rightButtonRestart) postCommand(mainWindow(), kCmdMap);
}

}  // namespace orvane
