// Information and tutorial windows: the text format, the more-tag, the
// window's size and place, the buttons and the results the caller reads.
#include "ui/text_windows.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <chrono>
#include <fstream>
#include <random>

#include "../platform/pixel_probe.h"
#include "../support/temp_dir.h"
#include "data/settings.h"
#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/buttons.h"

namespace orvane {
namespace {

using namespace colours;

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// ------------------------------------------------------------ text format ---

TEST(InfoTextTest, LinesJoinWithOneBlankOrTwoAfterASentence) {
    EXPECT_EQ(prepareInfoText("It shook.\nThe ground moved\n\n"),
              "It shook.  The ground moved\r\n\r\n");
    EXPECT_EQ(prepareInfoText("one line\nand another\n"), "one line and another");
    EXPECT_EQ(prepareInfoText("Really?\nYes!\nok"), "Really?  Yes!  ok");
    // Lines from Windows lose their carriage return too.
    EXPECT_EQ(prepareInfoText("first\r\nsecond\r\n\r\nthird\r\n"), "first second\r\n\r\nthird");
}

TEST(InfoTextTest, LongLineIsReadInPiecesJoinedWithoutBlanks) {
    std::string x(150, 'x');
    std::string text = prepareInfoText("Before.\n" + x + "\nafter\n");
    // The 99-character piece clears the joiner: it sticks to the sentence
    // before it, and the 51 characters stick to it.
    EXPECT_EQ(text, "Before." + x + " after");
}

TEST(InfoTextTest, LineOfExactlyNinetyNineCharactersIsOneLine) {
    std::string y(99, 'y');
    // Its line end is not a further empty line (no paragraph break), and the
    // next line is joined as after any line.
    EXPECT_EQ(prepareInfoText(y + "\nnext\n"), y + " next");
    EXPECT_EQ(prepareInfoText(y + "\r\nnext\r\n"), y + " next");
    std::string z(98, 'z');
    EXPECT_EQ(prepareInfoText(z + "\r\nnext\r\n"), z + " next");
}

TEST(InfoTextTest, PreformattedBlockKeepsItsLines) {
    std::string text =
        prepareInfoText("Colours:\n<PRE>\n  red   P\n  cyan  S\n</PRE>\nThat is all.\n");
    EXPECT_EQ(text, "Colours:\r\n  red   P\r\n  cyan  S\r\nThat is all.");
    // Tags in any case, wherever the first "<" of the line stands.
    EXPECT_EQ(prepareInfoText("a\n  <pre>\nb  c\nd\n x </Pre>\ne"), "a\r\nb  c\r\nd\r\ne");
    // An empty line inside the block stays an empty line, not a paragraph.
    EXPECT_EQ(prepareInfoText("<PRE>\n1\n\n2\n</PRE>\n"), "\r\n1\r\n\r\n2\r\n");
}

TEST(InfoTextTest, HostileInputGivesABoundedText) {
    TempDir dir;
    EXPECT_EQ(readInfoText(dir.file("missing.inf")), "");
    EXPECT_EQ(readInfoText(dir.path().string()), "");  // a directory is no file

    // One line of ten megabytes: read quickly, cut at the limit.
    std::string huge(10 * 1024 * 1024, 'w');
    writeFile(dir.file("huge.inf"), huge);
    auto begin = std::chrono::steady_clock::now();
    std::string text = readInfoText(dir.file("huge.inf"));
    EXPECT_LE(text.size(), kMaxInfoText);
    EXPECT_GT(text.size(), kMaxInfoText / 2);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));

    // Binary junk: no NUL reaches the text, nothing breaks.
    std::mt19937 random(7);
    std::string junk(200000, '\0');
    for (char& c : junk) c = char(random() & 0xFF);
    writeFile(dir.file("junk.inf"), junk);
    text = readInfoText(dir.file("junk.inf"));
    EXPECT_LE(text.size(), kMaxInfoText);
    EXPECT_EQ(text.find('\0'), std::string::npos);

    // Thousands of empty lines cannot grow the text past the limit either.
    EXPECT_LE(prepareInfoText(std::string(1000000, '\n')).size(), kMaxInfoText);
}

TEST(InfoTextTest, FileIsFoundWithoutRegardToCase) {
    TempDir dir;
    writeFile(dir.file("XS.INF"), "Cross\nsection\n");
    EXPECT_EQ(readInfoText(dir.file("xs.inf")), "Cross section");
}

// -------------------------------------------------------------- more-tag ---

TEST(MoreTagTest, LeadingMoreTagNamesTheFurtherFile) {
    std::string text = "<more \"XS_MORE.INF\">The cut.";
    EXPECT_EQ(extractMoreTag(text), "XS_MORE.INF");
    EXPECT_EQ(text, "The cut.");

    text = "Body.\r\n\r\n<MORE \"a.inf\">";
    EXPECT_EQ(extractMoreTag(text), "a.inf");
    EXPECT_EQ(text, "Body.\r\n\r\n");

    text = "<More \"ABCDEFGHIJKLMNOPQRSTUVWXYZ\"> x";
    EXPECT_EQ(extractMoreTag(text), "ABCDEFGHIJKLMNOP");  // 16 characters kept
    EXPECT_EQ(text, "x");
}

TEST(MoreTagTest, OtherTagsAndBrokenTagsStay) {
    std::string text = "a <b> <more \"x.inf\">";
    EXPECT_EQ(extractMoreTag(text), "");  // the first tag is not a more-tag
    EXPECT_EQ(text, "a <b> <more \"x.inf\">");

    text = "<more x.inf> text";
    EXPECT_EQ(extractMoreTag(text), "");  // no quotes: the tag stays
    EXPECT_EQ(text, "<more x.inf> text");

    text = "<more \"x.inf\" and no end";
    EXPECT_EQ(extractMoreTag(text), "");
    EXPECT_EQ(text, "<more \"x.inf\" and no end");

    text = "<mo";
    EXPECT_EQ(extractMoreTag(text), "");
    EXPECT_EQ(text, "<mo");
}

// ---------------------------------------------------------------- layout ---

std::string words(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += (i ? " " : "") + std::string("seismic");
    return text;
}

TEST(TextWindowLayoutTest, TextBoxTendsToFourByThreeAndWindowIsCentred) {
    Size screen{1920, 1080};
    TextWindowLayout l = layOutTextWindow(words(40), false, screen, 1);
    EXPECT_TRUE(l.largeFont);
    Rect text = shrink(l.textBox, 8);
    EXPECT_GE(width(text), 4 * height(text) / 3);  // wide enough at last
    EXPECT_LT(width(text), 2 * height(text));      // but no wider than needed
    EXPECT_EQ(l.textBox.left, 10);
    EXPECT_EQ(l.textBox.top, 10);
    int w = width(l.windowBox);
    EXPECT_EQ(w, width(l.textBox) + 20);
    EXPECT_EQ(l.windowBox.left, (screen.width - w) / 2);
    // Below the text: the row of buttons.
    int h = DrawingContext().textMetrics().height;
    EXPECT_EQ(height(l.windowBox), height(l.textBox) + 20 + buttonPixelHeight(h) + 10);
    EXPECT_EQ(l.buttonWidth, 10 * DrawingContext().textMetrics().averageCharWidth);
}

TEST(TextWindowLayoutTest, TutorialWindowStandsTopRightWithItsTitleBand) {
    Size screen{1920, 1080};
    TextWindowLayout info = layOutTextWindow(words(60), false, screen, 2);
    TextWindowLayout tut = layOutTextWindow(words(60), true, screen, 2);
    int h = DrawingContext().textMetrics().height;
    EXPECT_EQ(tut.windowBox.right, screen.width - 10);
    EXPECT_EQ(tut.windowBox.top, 10);
    EXPECT_EQ(tut.textBox.top, 10 + 2 * h);
    EXPECT_EQ(tut.buttonHeight, 2 * h);
    EXPECT_EQ(tut.buttonWidth, 12 * DrawingContext().textMetrics().averageCharWidth);
    // 5:3 is wider than 4:3.
    EXPECT_GE(width(tut.textBox) * height(info.textBox), width(info.textBox) * height(tut.textBox));
}

TEST(TextWindowLayoutTest, LongTextOnSmallScreenUsesTheNormalFontAndStaysOnScreen) {
    int h = DrawingContext().textMetrics().height;
    TextWindowLayout big = layOutTextWindow(words(150), false, {1920, 1080}, 1);
    EXPECT_TRUE(big.largeFont);
    TextWindowLayout small = layOutTextWindow(words(150), false, {640, 480}, 1);
    EXPECT_FALSE(small.largeFont);
    EXPECT_EQ(small.fontHeight, h);

    // Far more than any screen holds: the whole window, buttons included,
    // stays on the screen; the text box is cut instead.
    for (bool tutorial : {false, true}) {
        TextWindowLayout l = layOutTextWindow(words(2000), tutorial, {640, 480}, 3);
        SCOPED_TRACE(tutorial);
        EXPECT_GE(l.windowBox.top, 10);
        EXPECT_LE(l.windowBox.bottom, 480);
        EXPECT_GE(l.windowBox.left, 0);
        EXPECT_LE(width(l.windowBox), 640);
        EXPECT_LE(l.textBox.bottom, height(l.windowBox));
    }
}

TEST(TextWindowLayoutTest, ShortTextLeavesRoomForEveryButton) {
    TextWindowLayout l = layOutTextWindow("Hi", true, {1920, 1080}, 3);
    EXPECT_GE(width(l.windowBox), 10 + 3 * (l.buttonWidth + 10));
    l = layOutTextWindow("", false, {1920, 1080}, 2);
    EXPECT_GE(width(l.windowBox), 10 + 2 * (l.buttonWidth + 10));
}

// ---------------------------------------------------------------- windows ---

void clickAt(QWidget* w, QPoint p, Qt::MouseButton button) {
    QPointF g = w->mapToGlobal(QPointF(p));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), g, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), g, button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}

void clickButton(QWidget* w) { clickAt(w, {w->width() / 2, w->height() / 2}, Qt::LeftButton); }

struct Frame : Window {
    std::vector<int> commands;
    void command(int id) override { commands.push_back(id); }
};

// Counts clicks and keeps a recording main window for the test's length.
class TextWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setMainWindow(&frame);
        clickHook = [this] { ++clicks; };
        saved = settings;
    }
    void TearDown() override {
        clickHook = nullptr;
        setMainWindow(nullptr);
        settings = saved;
    }
    std::vector<textButton*> buttonsOf(QWidget* w) {
        std::vector<textButton*> list;
        for (textButton* b : w->findChildren<textButton*>(Qt::FindDirectChildrenOnly))
            list.push_back(b);
        std::sort(list.begin(), list.end(),
                  [](textButton* a, textButton* b) { return a->x() < b->x(); });
        return list;
    }
    std::vector<std::string> captions(QWidget* w) {
        std::vector<std::string> list;
        for (textButton* b : buttonsOf(w)) list.push_back(b->caption());
        return list;
    }
    Frame frame;
    int clicks = 0;
    Settings saved;
    TempDir dir;
};

TEST_F(TextWindowTest, MissingFileSaysSo) {
    std::string path = dir.file("NOPE.INF");
    myHelp w(nullptr, path);
    EXPECT_EQ(w.text(), "File " + path + " not found");
    EXPECT_EQ(captions(&w), std::vector<std::string>{"Back"});
    // A directory of that name is no text either.
    myInfo d(nullptr, dir.path().string(), myInfo::kGuided);
    EXPECT_EQ(d.text(), "File " + dir.path().string() + " not found");
}

TEST_F(TextWindowTest, HugeJunkFileStillGivesAWindowOnTheScreen) {
    std::string junk;
    for (unsigned i = 0; i < 400000; ++i) junk += char(i * 7919u % 251 + 1);
    writeFile(dir.file("JUNK.INF"), junk);
    myInfo w(nullptr, dir.file("JUNK.INF"), myInfo::kGuided);
    Size screen = screenSize();
    EXPECT_LE(w.text().size(), kMaxInfoText);
    EXPECT_GE(w.windowBox().top, 10);
    EXPECT_LE(w.windowBox().bottom, screen.height);
    EXPECT_LE(w.windowBox().right, screen.width);
    EXPECT_EQ(captions(&w), (std::vector<std::string>{"Cancel", "Continue"}));

    // One word longer than any screen is wide.
    writeFile(dir.file("WORD.INF"), std::string(20000, 'w'));
    myHelp word(nullptr, dir.file("WORD.INF"));
    EXPECT_LE(word.windowBox().right, screen.width);
    EXPECT_LE(word.width(), screen.width);
}

TEST_F(TextWindowTest, MoreOpensTheFurtherFileAndBackClosesBoth) {
    writeFile(dir.file("A.INF"), "First text.\n\n<more \"b.inf\">\n");
    writeFile(dir.file("B.INF"), "Second text.\n");
    myHelp w(nullptr, dir.file("A.INF"));
    w.show();
    EXPECT_EQ(w.moreName(), "b.inf");
    ASSERT_EQ(captions(&w), (std::vector<std::string>{"Back", "More..."}));
    std::vector<textButton*> b = buttonsOf(&w);
    EXPECT_EQ(b[0]->x(), 10);
    EXPECT_EQ(b[1]->x() + b[1]->width(), w.width() - 10);
    EXPECT_EQ(b[0]->y() + b[0]->height(), w.height() - 10);

    clickButton(b[1]);
    ASSERT_NE(w.furtherWindow(), nullptr);
    myHelp* further = w.furtherWindow();
    EXPECT_EQ(further->text(), "Second text.");  // found beside the first file
    EXPECT_TRUE(further->isVisible());
    EXPECT_FALSE(w.closed());

    clickButton(b[0]);
    EXPECT_TRUE(w.closed());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.furtherWindow(), nullptr);
    EXPECT_FALSE(further->isVisible());
    EXPECT_EQ(clicks, 2);
}

TEST_F(TextWindowTest, ClickAnywhereActsAsBackAndRightClickAsksForTheMap) {
    writeFile(dir.file("T.INF"), "Text\n");
    {
        myHelp w(nullptr, dir.file("T.INF"));
        w.show();
        clickAt(&w, {w.textBox().left + 5, w.textBox().top + 5}, Qt::LeftButton);
        EXPECT_TRUE(w.closed());
        EXPECT_FALSE(w.isVisible());
    }
    for (bool restart : {false, true}) {
        settings.rightButtonRestart = restart;
        frame.commands.clear();
        myHelp w(nullptr, dir.file("T.INF"));
        w.show();
        clickAt(&w, {w.textBox().left + 5, w.textBox().top + 5}, Qt::RightButton);
        EXPECT_TRUE(w.closed());
        QCoreApplication::processEvents();  // the map command is posted
        EXPECT_EQ(frame.commands, restart ? std::vector<int>{kCmdMap} : std::vector<int>{});
    }
}

TEST_F(TextWindowTest, TutorialButtonsFollowModeAndPosition) {
    writeFile(dir.file("TUT.INF"), "A step.\n");
    using V = std::vector<std::string>;
    struct Case {
        int mode, position;
        V buttons;
    } cases[] = {
        {myInfo::kGuided, myInfo::kMiddle, V{"Cancel", "Continue"}},
        {myInfo::kBrowse, myInfo::kFirst, V{"Cancel", "Next"}},
        {myInfo::kBrowse, myInfo::kMiddle, V{"Previous", "Cancel", "Next"}},
        {myInfo::kBrowse, myInfo::kLast, V{"Previous", "Cancel"}},
    };
    for (const Case& c : cases) {
        myInfo w(nullptr, dir.file("TUT.INF"), c.mode, c.position);
        EXPECT_EQ(captions(&w), c.buttons) << c.mode << " " << c.position;
        std::vector<textButton*> b = buttonsOf(&w);
        const TextWindowLayout& l = w.layout();
        EXPECT_EQ(b[0]->x(), 10);
        for (textButton* button : b) {
            EXPECT_EQ(button->width(), l.buttonWidth);
            EXPECT_EQ(button->y() + button->height(), w.height() - 10);
        }
        if (b.back()->caption() != "Cancel") {
            EXPECT_EQ(b.back()->x() + l.buttonWidth, w.width() - 10);
        }
        if (c.buttons.size() == 3 || c.buttons == V{"Previous", "Cancel"}) {
            EXPECT_EQ(b[1]->x(), 10 + l.buttonWidth + 10);
        }
    }
}

TEST_F(TextWindowTest, EachTutorialButtonSetsClosedAndItsOwnFlag) {
    writeFile(dir.file("TUT.INF"), "A step.\n");
    struct Case {
        int mode;
        std::string caption;
    } cases[] = {{myInfo::kGuided, "Continue"},
                 {myInfo::kGuided, "Cancel"},
                 {myInfo::kBrowse, "Next"},
                 {myInfo::kBrowse, "Previous"},
                 {myInfo::kBrowse, "Cancel"}};
    for (const Case& c : cases) {
        myInfo w(nullptr, dir.file("TUT.INF"), c.mode, myInfo::kMiddle);
        w.show();
        EXPECT_FALSE(w.closed());
        for (textButton* b : buttonsOf(&w))
            if (b->caption() == c.caption) clickButton(b);
        EXPECT_TRUE(w.closed()) << c.caption;
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.continuePressed(), c.caption == "Continue");
        EXPECT_EQ(w.nextPressed(), c.caption == "Next");
        EXPECT_EQ(w.previousPressed(), c.caption == "Previous");
        EXPECT_EQ(w.cancelPressed(), c.caption == "Cancel");
    }
    EXPECT_EQ(clicks, 5);
}

TEST_F(TextWindowTest, ClickInTutorialWindowClosesItWithoutAResult) {
    writeFile(dir.file("TUT.INF"), "A step.\n");
    for (bool restart : {false, true}) {
        settings.rightButtonRestart = restart;
        frame.commands.clear();
        myInfo w(nullptr, dir.file("TUT.INF"), myInfo::kGuided);
        w.show();
        clickAt(&w, {w.textBox().left + 3, w.textBox().top + 3},
                restart ? Qt::RightButton : Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(w.closed());
        EXPECT_FALSE(w.continuePressed() || w.cancelPressed());
        QCoreApplication::processEvents();
        EXPECT_EQ(frame.commands, restart ? std::vector<int>{kCmdMap} : std::vector<int>{});
    }
}

// ---------------------------------------------------------------- pictures ---

std::string galleryPath(const std::string& name) {
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    return std::string(ORVANE_BINARY_DIR "/gallery/") + name;
}

// A directory of real texts when ORVANE_DEMO_DIR names one; else a text of
// the same kind written here.
std::string sampleText(const TempDir& dir, const std::string& name) {
    if (const char* demo = std::getenv("ORVANE_DEMO_DIR")) return std::string(demo) + "/" + name;
    writeFile(dir.file(name),
              "The globe\n\nThis view shows the Earth from space. The star marks the\n"
              "epicentre.\n\n<PRE>\n  red     P  - the first wave\n  cyan    S  - the "
              "shear wave\n</PRE>\n\nWhen a circle reaches a station, the seismogram shows "
              "it.\n\n<more \"MORE.INF\">\n");
    return dir.file(name);
}

TEST_F(TextWindowTest, PicturesShowTheTextOnYellowWithButtons) {
    myHelp info(nullptr, sampleText(dir, "3D.INF"));
    info.show();
    info.paintPending();
    QImage picture = windowPicture(&info);
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(QString::fromStdString(galleryPath("info-window.png"))));
    const Rect& box = info.textBox();
    // Yellow inside the box, black text on it, the sunken frame around it.
    EXPECT_EQ(test::colourAt(picture, box.left + 4, box.bottom - 4), kYellow);
    EXPECT_FALSE(test::boxOf(picture, kBlack, shrink(box, 4)).empty());
    EXPECT_EQ(test::colourAt(picture, box.left, box.top + 10), kBlack);
    EXPECT_EQ(test::colourAt(picture, box.right - 1, box.bottom - 10), kWhite);
    // Red button captions below the box.
    EXPECT_FALSE(
        test::boxOf(picture, kRed, {0, box.bottom, picture.width(), picture.height()}).empty());

    myInfo tutorial(nullptr, sampleText(dir, "TUT_P.INF"), myInfo::kBrowse, myInfo::kMiddle);
    tutorial.show();
    tutorial.paintPending();
    picture = windowPicture(&tutorial);
    EXPECT_TRUE(picture.save(QString::fromStdString(galleryPath("tutorial-window.png"))));
    // The title band above the text box: light grey with black "Tutorial".
    Rect band{9, 6, tutorial.width() - 7, tutorial.textBox().top};
    EXPECT_FALSE(test::boxOf(picture, kBlack, shrink(band, 3)).empty());
    EXPECT_EQ(test::colourAt(picture, 12, 9), kLightGrey);
}

}  // namespace
}  // namespace orvane
