// The maintenance frame shows the programs' icon.
#include <gtest/gtest.h>

#include <QImage>

#include "maint/maint_frame.h"
#include "platform/program_icon.h"

namespace orvane {
namespace {

QImage at32(const QIcon& icon) { return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32); }

TEST(MaintFrameIconTest, IsTheProgramIconAtEverySize) {
    ovmFrame frame(new myWindow);
    EXPECT_EQ(at32(frame.windowIcon()), at32(programIcon()));
    EXPECT_EQ(frame.windowIcon().availableSizes(), programIcon().availableSizes());
    EXPECT_EQ(frame.windowIcon().availableSizes().size(), 8);
}

}  // namespace
}  // namespace orvane
