// "Import Recordings..." through the real frame: the menu item opens the
// dialog, the user types paths and the event and clicks Import; a failure is
// shown in the dialog, which stays open, and a success opens the new event
// in the event editor.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "data/event.h"
#include "data/settings.h"
#include "maint/event_editor.h"
#include "maint/import_dialog.h"
#include "maint/maint_frame.h"
#include "tests/import/recordings.h"
#include "tests/maint/modal_driver.h"
#include "tests/support/temp_dir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace orvane::import::testing;

class ImportRecordingsCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.applyDefaults();
        fs::create_directory(dir_.path() / "in");
        std::vector<MetaChannel> meta;
        double lat, lon;
        destination(40, 60, lat, lon);
        const double az[] = {0, 0, 90}, dip[] = {-90, 0, 0};
        const char* codes[] = {"BHZ", "BHN", "BHE"};
        for (int c = 0; c < 3; ++c) {
            import::ChannelId id{"IU", "KBS", "00", codes[c]};
            meta.push_back({id, lat, lon, az[c], dip[c], 20, ""});
            writeBytes((dir_.path() / "in" / (id.text() + ".mseed")).string(),
                       miniSeed(id, origin() - 60, 20, groundMotion(0, 20, 12000, 500, 800, c), DE_STEIM2, 512));
        }
        writeText((dir_.path() / "meta.txt").string(), stationText(meta));
    }

    // The menu item as the user finds it: Earthquakes, Import Recordings...
    QAction* menuItem() {
        for (QAction* menu : frame_.menuBar()->actions())
            if (menu->text() == "&Earthquakes")
                for (QAction* item : menu->menu()->actions())
                    if (item->text() == "&Import Recordings...") return item;
        return nullptr;
    }

    static void type(QLineEdit* edit, const std::string& text) {
        edit->setFocus();
        QTest::keyClicks(edit, QString::fromStdString(text));
    }

    void fill(importDialog* d, const std::string& metadata) {
        type(d->recordings, (dir_.path() / "in").string());
        type(d->metadata, metadata);
        type(d->origin, "2011-03-11T05:46:24.1");
        type(d->latitude, "38.3");
        type(d->longitude, "142.4");
        type(d->depth, "33");
        type(d->magnitude, "9.1");
        type(d->name, "Imported in the dialog");
    }

    TempDir dir_;
    ScopedCurrentDir cd_{dir_.path()};
    ovmFrame frame_{new myWindow};
};

TEST_F(ImportRecordingsCommand, FailureStaysInTheDialogAndSuccessOpensTheEditor) {
    QAction* item = menuItem();
    ASSERT_NE(item, nullptr);
    std::string failureLog, editorName;
    int progressMaximum = 0;
    {
        ModalDriver driver({
            [&](QDialog* d) {
                auto* dialog = dynamic_cast<importDialog*>(d);
                ASSERT_NE(dialog, nullptr);
                // Metadata that does not exist: said in the dialog, which stays open.
                fill(dialog, (dir_.path() / "nothing.txt").string());
                QTest::mouseClick(dialog->importButton, Qt::LeftButton);
                failureLog = dialog->log->toPlainText().toStdString();
                EXPECT_TRUE(dialog->isVisible());
                // Corrected, imported.
                dialog->metadata->clear();
                type(dialog->metadata, (dir_.path() / "meta.txt").string());
                QTest::mouseClick(dialog->importButton, Qt::LeftButton);
                progressMaximum = dialog->progress->maximum();
            },
            [&](QDialog* d) {
                auto* editor = dynamic_cast<editeventDialog*>(d);
                ASSERT_NE(editor, nullptr);
                editorName = editor->findChildren<QLineEdit*>().front()->text().toStdString();
                d->accept();
            },
        });
        item->trigger();
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(driver.seen(), (std::vector<std::string>{"Import Recordings", "Edit Event"}));
    }
    EXPECT_NE(failureLog.find("Not imported: cannot open"), std::string::npos) << failureLog;
    EXPECT_NE(failureLog.find("nothing.txt"), std::string::npos) << failureLog;
    EXPECT_EQ(progressMaximum, 1);
    EXPECT_EQ(editorName, "Imported in the dialog");
    Event saved("2011031105.evt");
    ASSERT_EQ(saved.stationFiles.size(), 1u);
    EXPECT_EQ(saved.stationFiles[0].fileName, "KBS.BHZ");
    EXPECT_TRUE(fs::exists("2011031105/KBS.BHN") && fs::exists("2011031105/KBS.BHE"));
    EXPECT_TRUE(fs::exists("ZOZERO.STA"));
}

}  // namespace
}  // namespace orvane
