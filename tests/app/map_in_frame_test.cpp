// The world map inside the real main frame while a touch is being handled:
// the map waits for its label to come up and then for the event dialog,
// dispatching messages meanwhile, so a command given in that time (the Map
// menu item) replaces it under its own feet.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <fstream>
#include <memory>

#include "app/my_frame.h"
#include "data/catalogue.h"
#include "data/settings.h"
#include "platform/command_ids.h"
#include "platform/message_box.h"
#include "tests/app/run_host_fake.h"
#include "tests/support/temp_dir.h"

namespace orvane {
namespace {

class MapInFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::freshProgramState();
        std::ofstream(dir.file("1994011712.evt")) << "EVENT NAME: Northridge\n"
                                                     "EVENT LATITUDE: 34.2\n"
                                                     "EVENT LONGITUDE: -118.5\n"
                                                     "EVENT DATE: 1994/01/17\n";
        frame = std::make_unique<myFrame>(nullptr);
        frame->resize(1280, 900);
        frame->show();
        frame->command(kCmdMap);
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }
    void TearDown() override {
        frame.reset();
        catalogue.clear();
        test::freshProgramState();
    }

    QAction* menuItem(const QString& text) {
        for (QAction* top : frame->menuBar()->actions())
            if (top->menu())
                for (QAction* a : top->menu()->actions())
                    if (a->text() == text) return a;
        return nullptr;
    }

    // Touches the event's label with the left button, as a visitor would.
    void touchLabel(QWidget* map) {
        ASSERT_EQ(catalogue.size(), 1u);
        const Rect& box = catalogue[0].labelBox;
        ASSERT_GT(box.right, box.left) << "the map has not placed the label";
        const QPointF at((box.left + box.right) / 2, (box.top + box.bottom) / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, map->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(map, &press);
    }

    MessageBoxRecorder messages;
    TempDir dir;
    ScopedCurrentDir inDir{dir.path()};
    std::unique_ptr<myFrame> frame;
};

TEST_F(MapInFrameTest, MapChosenWhileTheTouchedLabelIsDownReplacesTheMapCleanly) {
    QPointer<QWidget> touched = frame->mapWindow();
    ASSERT_NE(touched, nullptr);
    QAction* map = menuItem("&Map");
    ASSERT_NE(map, nullptr);
    // Well inside the moment the label stays pressed.
    QTimer::singleShot(20, map, &QAction::trigger);
    // A dialog the old map might still open is answered, never left waiting.
    bool dialogOpened = false;
    QTimer::singleShot(400, [&] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialogOpened = true;
            d->reject();
        }
    });
    touchLabel(touched);
    QEventLoop wait;
    QTimer::singleShot(500, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_FALSE(dialogOpened);
    ASSERT_NE(frame->mapWindow(), nullptr);
    EXPECT_TRUE(touched.isNull());
    EXPECT_EQ(frame->centralWidget(), frame->mapWindow());
}

}  // namespace
}  // namespace orvane
