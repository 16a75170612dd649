// The tutorial as a class meets it: the map's demonstration starts the
// tutorial event, its description is read first, then each page holds the
// clock until Continue; the Tutorial button pages back and forth.
#include <QTimer>

#include "app/layout_window.h"
#include "app/side_panel.h"
#include "map/map_window.h"
#include "tests/e2e/viewer_session.h"

namespace orvane::e2e {
namespace {

// The tutorial page on the screen, or null.
myInfo* page() { return shownWindow<myInfo>(); }

bool pageSays(int number) {
    myInfo* p = page();
    return p && p->text().find("Tutorial page " + std::to_string(number) + ".") != std::string::npos;
}

// The clock does not move for a while, as a person watching would see.
bool clockStands(const ViewerSession& s, int ms = 1200) {
    const float before = s.run().clock;
    idle(ms);
    return s.run().clock == before;
}

void pressButton(QWidget* window, const std::string& caption) {
    textButton* b = buttonNamed(window, caption);
    ASSERT_NE(b, nullptr) << "no button " << caption;
    pressMiddle(b);
}

TEST(GuidedTutorial, RunsFromTheMapThroughEachPageAndEndsOnCancel) {
    ViewerSession s;
    s.settingsFile(std::string("SHOW WELCOME SCREEN: NO\nTUTORIAL: YES\nTUTORIAL EVENT: ") +
                   ViewerSession::kEventFile + "\nSHOW EVENT INFORMATION: YES\n");
    s.addEvent();
    // Page 0 belongs to the map; the run shows pages 1 to 3 and goes back
    // to the map after 90 s.
    s.addTutorial({0, 0, 30, 60, 90});
    s.start();

    // The map's demonstration opens page 0; Continue goes on to the event.
    ASSERT_TRUE(waitUntil([] { return pageSays(0); })) << "the map's tutorial page never opened";
    pressButton(page(), "Continue");
    ASSERT_TRUE(waitUntil([&] { return s.layoutShown(); })) << "the tutorial event did not start";

    // The event's description comes first and holds the run.
    myHelp* description = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (description = shownWindow<myHelp>()); }));
    EXPECT_NE(description->text().find("The test earthquake."), std::string::npos);
    EXPECT_TRUE(clockStands(s, 800));
    EXPECT_EQ(s.run().clock, 0.0f);
    EXPECT_TRUE(settings.tutorial) << "showing the description must not end the tutorial";
    pressButton(description, "Back");

    // Page 1 opens in the first seconds and the clock stops under it.
    ASSERT_TRUE(waitUntil([] { return pageSays(1); })) << "the first page never appeared";
    const float atPage1 = s.run().clock;
    EXPECT_LT(atPage1, 30.0f);
    EXPECT_TRUE(clockStands(s));
    EXPECT_TRUE(pageSays(1)) << "the page must stay until Continue";

    // Continue: the clock runs to 30 s, where page 2 opens and holds it.
    pressButton(page(), "Continue");
    ASSERT_TRUE(waitUntil([] { return pageSays(2); })) << "the second page never appeared";
    const float atPage2 = s.run().clock;
    EXPECT_GT(atPage2, 30.0f);
    EXPECT_LT(atPage2, 60.0f);
    EXPECT_TRUE(clockStands(s));

    // Cancel ends the tutorial: the clock runs past the later pages' times
    // without a page and without going back to the map.
    pressButton(page(), "Cancel");
    ASSERT_TRUE(waitUntil([&] { return s.run().clock > 120.0f; }, 20000));
    EXPECT_EQ(page(), nullptr);
    EXPECT_FALSE(settings.tutorial);
    EXPECT_TRUE(s.layoutShown());
}

TEST(GuidedTutorial, ReturnsToTheMapAfterTheLastPage) {
    ViewerSession s;
    s.settingsFile(std::string("SHOW WELCOME SCREEN: NO\nTUTORIAL: YES\nTUTORIAL EVENT: ") +
                   ViewerSession::kEventFile + "\nSHOW EVENT INFORMATION: NO\n");
    s.addEvent();
    s.addTutorial({0, 0, 30});
    s.start();
    ASSERT_TRUE(waitUntil([] { return pageSays(0); }));
    pressButton(page(), "Continue");
    ASSERT_TRUE(waitUntil([] { return pageSays(1); }));
    pressButton(page(), "Continue");
    // Past 30 s the tutorial is over: back to the map, no page left.
    ASSERT_TRUE(waitUntil([&] { return s.mapShown(); }, 15000));
    EXPECT_EQ(page(), nullptr);
    EXPECT_FALSE(settings.tutorial);
}

TEST(BrowsedTutorial, TutorialButtonPagesForwardAndBack) {
    ViewerSession s;
    // TUTORIAL: YES offers the Tutorial button; touching the event on the
    // map ends the guided tour, so the run has none.
    s.settingsFile(
        "SHOW WELCOME SCREEN: NO\nTUTORIAL: YES\nSELECT COMPONENTS: NO\nSHOW EVENT INFORMATION: NO\n");
    s.addEvent();
    s.addTutorial({0, 0, 30, 60, 90, 120});  // browsing shows pages 1 to 3
    s.start();
    ASSERT_TRUE(waitUntil([&] { return s.mapShown() && !catalogue[0].labelBox.empty(); }));
    // The map's own demonstration page may be up already; the touch closes it.
    const Rect& box = catalogue[0].labelBox;
    press(s.frame().mapWindow(), {(box.left + box.right) / 2, (box.top + box.bottom) / 2});
    ASSERT_TRUE(waitUntil([&] { return s.layoutShown() && s.run().clock >= 10.0f; }));
    ASSERT_EQ(page(), nullptr);

    childSlider* panel = s.frame().layoutWindow()->slider();
    pressButton(panel, "Tutorial");
    ASSERT_TRUE(waitUntil([] { return pageSays(1); })) << "the Tutorial button opened no page";
    EXPECT_TRUE(clockStands(s));
    EXPECT_TRUE(pageSays(1));
    EXPECT_EQ(buttonNamed(page(), "Previous"), nullptr) << "the first page has no Previous";

    pressButton(page(), "Next");
    ASSERT_TRUE(waitUntil([] { return pageSays(2); }));
    EXPECT_NE(buttonNamed(page(), "Previous"), nullptr);
    EXPECT_NE(buttonNamed(page(), "Next"), nullptr);
    pressButton(page(), "Previous");
    ASSERT_TRUE(waitUntil([] { return pageSays(1); }));
    pressButton(page(), "Next");
    ASSERT_TRUE(waitUntil([] { return pageSays(2); }));
    pressButton(page(), "Next");
    ASSERT_TRUE(waitUntil([] { return pageSays(3); }));
    EXPECT_EQ(buttonNamed(page(), "Next"), nullptr) << "the last page has no Next";
    EXPECT_TRUE(clockStands(s, 600));

    const float before = s.run().clock;
    pressButton(page(), "Cancel");
    ASSERT_TRUE(waitUntil([&] { return s.run().clock > before + 20.0f; }));
    EXPECT_EQ(page(), nullptr);
}

}  // namespace
}  // namespace orvane::e2e
