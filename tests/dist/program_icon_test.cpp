// The icon both programs show on their frame.
#include "platform/program_icon.h"

#include <gtest/gtest.h>

#include <QImage>

#include "maint/maint_frame.h"

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

TEST(ProgramIconTest, TheMaintenanceFrameShowsIt) {
    ovmFrame frame(new myWindow);
    const QImage shown = frame.windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage icon = programIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shown, icon);
    EXPECT_EQ(frame.windowIcon().availableSizes().size(), 8);
}

}  // namespace
}  // namespace orvane
