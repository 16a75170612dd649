// The icon the programs show on their frames.
#include "platform/program_icon.h"

#include <gtest/gtest.h>

#include <QImage>

#include "tests/e2e/viewer_session.h"

namespace orvane {
namespace {

TEST(ProgramIconTest, EveryThemeSizeIsDrawnWithATransparentSurround) {
    const QIcon icon = programIcon();
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    const QList<QSize> expected = {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    EXPECT_EQ(sizes, expected);
    for (QSize size : expected) {
        SCOPED_TRACE(size.width());
        const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), size);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);                           // outside the globe
        EXPECT_EQ(qAlpha(image.pixel(size.width() / 2, size.height() / 2)), 255);  // the globe
    }
}

QImage at32(const QIcon& icon) { return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32); }

// The viewer as the program starts it (the maintenance frame: tests/maint).
TEST(ProgramIconTest, TheViewerFrameShowsIt) {
    e2e::ViewerSession viewer;
    viewer.settingsFile("SHOW WELCOME SCREEN: NO\n");
    viewer.start();
    EXPECT_EQ(at32(viewer.frame().windowIcon()), at32(programIcon()));
    EXPECT_EQ(viewer.frame().windowIcon().availableSizes().size(), 8);
}

}  // namespace
}  // namespace orvane
