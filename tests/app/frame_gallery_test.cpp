// Pictures of the whole frame running a demonstration event, for looking at:
// set ORVANE_DEMO_DIR to a directory made by orvane-demo (and optionally
// ORVANE_GALLERY_DIR for where the pictures go).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/layout_window.h"
#include "app/my_frame.h"
#include "data/event_loading.h"
#include "data/files.h"
#include "data/settings.h"
#include "platform/bitmap.h"
#include "platform/system.h"
#include "tests/app/run_host_fake.h"
#include "tests/support/temp_dir.h"
#include "views/child_3d.h"

namespace orvane {
namespace {

TEST(FrameGallery, DemoEventRunningInEveryLayout) {
    const char* demo = std::getenv("ORVANE_DEMO_DIR");
    if (!demo || !std::filesystem::exists(demo)) GTEST_SKIP() << "ORVANE_DEMO_DIR not set";
    const char* out = std::getenv("ORVANE_GALLERY_DIR");
    const std::string gallery = out ? out : std::filesystem::temp_directory_path().string();
    ScopedCurrentDir inDemo(demo);
    test::freshProgramState();
    settings.read("OV.INI");
    settings.showEventInformation = false;
    screenWidth = 1920;
    screenHeight = 1080;
    auto events = listDirectory(".", "*.evt");
    ASSERT_TRUE(events && !events->empty());
    for (std::int32_t view : {kViewAll, kView3d, kViewXs}) {
        settings.view = view;
        myFrame frame(nullptr);
        frame.setGeometry(0, 0, 1920, 1080);
        frame.show();
        frame.startEventNamed(events->back());
        ASSERT_NE(frame.layoutWindow(), nullptr);
        for (int i = 0; i < 40 && frame.run().timerActive(kOpeningTimer); ++i)
            frame.onTimer(kOpeningTimer);
        // Let the clock run to about 20 minutes after the origin.
        // Every tick counts as the first one measured, so each adds 10 s.
        for (int i = 0; i < 400 && frame.run().clock < 1200; ++i) {
            lastTickCount = 0;
            waitDispatching(1);
            frame.onTimer(kTickTimer);
        }
        waitDispatching(20);
        QImage picture = windowPicture(&frame);
        EXPECT_FALSE(picture.isNull());
        saveBitmap(picture, gallery + "/frame-view" + std::to_string(view) + ".bmp");
        picture.save(
            QString::fromStdString(gallery + "/frame-view" + std::to_string(view) + ".png"));
    }
    test::freshProgramState();
}

}  // namespace
}  // namespace orvane
