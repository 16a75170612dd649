// The maintenance frame's commands end to end: their dialogs are driven as a
// user would, and the files they leave are checked.
#include "maint/maint_frame.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/event.h"
#include "maint/event_editor.h"
#include "platform/command_ids.h"
#include "tests/maint/modal_driver.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/help_topics.h"

namespace orvane {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void accept(QDialog* d) { d->accept(); }
void reject(QDialog* d) { d->reject(); }

ModalDriver::Step choose(const std::string& name) {
    return [name](QDialog* d) {
        auto* list = dynamic_cast<eventDialog*>(d);
        ASSERT_NE(list, nullptr);
        auto found = list->control<QListWidget>(162)->findItems(QString::fromStdString(name),
                                                                Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->control<QListWidget>(162)->setCurrentItem(found[0]);
        d->accept();
    };
}

class MaintFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.applyDefaults();
        frame_.chooseInformationFile = [](QWidget*) { return std::string(); };
        frame_.startTextEditor = [this](const std::string& path) { edited_.push_back(path); };
        frame_.confirmReplace = [this](QWidget*, const std::string& path) {
            asked_.push_back(std::filesystem::path(path).filename().string());
            return replace_;
        };
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir_;
    ScopedCurrentDir cd_{dir_.path()};
    ovmFrame frame_{new myWindow};
    std::vector<std::string> edited_;
    std::vector<std::string> asked_;
    bool replace_ = false;
};

TEST_F(MaintFrameTest, MenuHoldsTheCommandsInOrder) {
    EXPECT_EQ(frame_.windowTitle(), "Orvane Maintenance");
    std::vector<std::string> titles;
    for (QAction* a : frame_.menuBar()->actions()) titles.push_back(a->text().toStdString());
    EXPECT_EQ(titles, (std::vector<std::string>{"&Earthquakes", "&Preferences", "&Help", "E&xit"}));
    std::vector<std::string> items;
    for (QAction* a : frame_.menuBar()->actions()[1]->menu()->actions())
        items.push_back(a->text().toStdString());
    EXPECT_EQ(items, (std::vector<std::string>{"&Controls...", "&Phases...", "&Audio...",
                                               "&View...", "&Initial Timeout...", "Time&out...",
                                               "&Pause at End...", "&Edit Information..."}));
    // The menu's Help item reaches the help file at the program's topic.
    HelpTopics help;
    frame_.menuBar()->actions()[2]->menu()->actions()[0]->trigger();
    EXPECT_EQ(help.topics(), std::vector<int>{1020});
}

TEST_F(MaintFrameTest, NewEventLeftAsShownIsNamedFromTheDefaultDate) {
    {
        ModalDriver driver({accept});
        frame_.command(kCmdMaintNew);
        EXPECT_EQ(driver.seen(), std::vector<std::string>{"Edit Event"});
    }
    EXPECT_EQ(files(), std::vector<std::string>{"1990010100.evt"});
    Event saved("1990010100.evt");
    EXPECT_EQ(saved.name, "Event Name");
    EXPECT_EQ(saved.date, "1990/01/01");
    EXPECT_EQ(saved.timeWindow, 1800);
    EXPECT_EQ(saved.timeLimit, 1800);
    EXPECT_EQ(saved.viewAngle, 180);
}

TEST_F(MaintFrameTest, NewEventCancelledWritesNothing) {
    ModalDriver driver({reject});
    frame_.command(kCmdMaintNew);
    EXPECT_TRUE(files().empty());
}

TEST_F(MaintFrameTest, OpenedEventIsSavedUnderItsDateAndKeepsItsStationFiles) {
    const std::string original =
        "event name: Kobe, Japan\n"
        "EVENT LATITUDE: 34.5830\n"
        "EVENT LONGITUDE: 135.0350\n"
        "EVENT DEPTH: 17.9\n"
        "EVENT MAGNITUDE: 6.9\n"
        "EVENT DATE: 1995/01/16\n"
        "ORIGIN TIME: 20:46:52.1\n"
        "TIME ACCELERATION: 20\n"
        "TIME WINDOW: 1800\n"
        "TIME LIMIT: 3600\n"
        "VIEW ANGLE: 135\n"
        "STATION FILE: ANMO.BHZ\n"
        "STATION FILE: kip.bhe\n";
    std::ofstream(dir_.file("Kobe.EVT")) << original;
    {
        ModalDriver driver({choose("kobe.evt"), [](QDialog* d) {
                                auto* editor = dynamic_cast<editeventDialog*>(d);
                                ASSERT_NE(editor, nullptr);
                                editor->control<QLineEdit>(705)->setText("7.2");
                                d->accept();
                            }});
        frame_.command(kCmdMaintOpen);
        EXPECT_EQ(driver.seen(), (std::vector<std::string>{"Event Selection", "Edit Event"}));
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"1995011620.evt", "Kobe.EVT"}));
    EXPECT_EQ(slurp(dir_.file("Kobe.EVT")), original);
    std::string written = slurp(dir_.file("1995011620.evt"));
    EXPECT_NE(written.find("EVENT NAME: Kobe, Japan\n"), std::string::npos);
    EXPECT_NE(written.find("EVENT MAGNITUDE:    7.2\n"), std::string::npos);
    EXPECT_NE(written.find("TIME LIMIT: 3600\n"), std::string::npos);
    EXPECT_NE(written.find("VIEW ANGLE: 135\n"), std::string::npos);
    EXPECT_NE(written.find("STATION FILE: ANMO.BHZ\nSTATION FILE: KIP.BHE\n"), std::string::npos);
}

TEST_F(MaintFrameTest, OpenEndsWithoutWritingOnCancelOrWithoutAChoice) {
    std::ofstream(dir_.file("1994011712.evt"))
        << "EVENT DATE: 1994/01/17\nORIGIN TIME: 12:30:55.4\n";
    auto before = files();
    for (auto steps : std::vector<std::vector<ModalDriver::Step>>{
             {reject}, {choose("1994011712.evt"), reject}, {accept}}) {
        ModalDriver driver(steps);
        frame_.command(kCmdMaintOpen);
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(files(), before);
    }
    // OK without a choice opens no editor (a default event saved then could
    // replace another event's file).
    ModalDriver driver({accept});
    frame_.command(kCmdMaintOpen);
    EXPECT_EQ(driver.seen(), std::vector<std::string>{"Event Selection"});
}

TEST_F(MaintFrameTest, AnotherEventsFileIsReplacedOnlyWhenTheUserSaysSo) {
    const std::string other = "EVENT NAME: Other\nEVENT DATE: 1990/01/01\nSTATION FILE: X.BHZ\n";
    std::ofstream(dir_.file("1990010100.EVT")) << other;
    {
        // No: the editor opens again on what was entered; Cancel then ends.
        ModalDriver driver({[](QDialog* d) {
                                dynamic_cast<editeventDialog*>(d)->control<QLineEdit>(701)->setText(
                                    "Mine");
                                d->accept();
                            },
                            [](QDialog* d) {
                                auto* editor = dynamic_cast<editeventDialog*>(d);
                                ASSERT_NE(editor, nullptr);
                                EXPECT_EQ(editor->control<QLineEdit>(701)->text(), "Mine");
                                d->reject();
                            }});
        frame_.command(kCmdMaintNew);
        EXPECT_EQ(driver.seen(), (std::vector<std::string>{"Edit Event", "Edit Event"}));
    }
    EXPECT_EQ(asked_, std::vector<std::string>{"1990010100.EVT"});
    EXPECT_EQ(slurp(dir_.file("1990010100.EVT")), other);
    // Yes: replaced, under the name it had.
    replace_ = true;
    {
        ModalDriver driver({accept});
        frame_.command(kCmdMaintNew);
    }
    EXPECT_EQ(files(), std::vector<std::string>{"1990010100.EVT"});
    EXPECT_EQ(Event("1990010100.EVT").name, "Event Name");
}

TEST_F(MaintFrameTest, SavingAnOpenedEventOverItselfAsksNothing) {
    std::ofstream(dir_.file("1994011712.evt"))
        << "EVENT NAME: Northridge\nEVENT DATE: 1994/01/17\nORIGIN TIME: 12:30:55.4\n"
           "STATION FILE: ANMO.BHZ\n";
    {
        ModalDriver driver({choose("1994011712.evt"), accept});
        frame_.command(kCmdMaintOpen);
    }
    EXPECT_TRUE(asked_.empty());
    EXPECT_EQ(files(), std::vector<std::string>{"1994011712.evt"});
    std::string written = slurp(dir_.file("1994011712.evt"));
    EXPECT_NE(written.find("ORIGIN TIME: 12:30:55.4\n"), std::string::npos);
    EXPECT_NE(written.find("STATION FILE: ANMO.BHZ\n"), std::string::npos);
}

TEST_F(MaintFrameTest, SettingsDialogsWriteTheSettingsOnOkOnly) {
    {
        ModalDriver driver({reject, reject, reject});
        frame_.command(kCmdMaintControls);
        frame_.command(kCmdMaintPhases);
        frame_.command(kCmdMaintAudio);
        EXPECT_EQ(driver.seen(), (std::vector<std::string>{"Controls", "Phases", "Audio"}));
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("OV.INI")));
    {
        ModalDriver driver({[](QDialog* d) {
            dynamic_cast<templateDialog*>(d)->control<QAbstractButton>(174)->click();
            d->accept();
        }});
        frame_.command(kCmdMaintAudio);
    }
    EXPECT_EQ(settings.audio, kAudioNone);
    EXPECT_NE(slurp(dir_.file("OV.INI")).find("AUDIO: NONE\n"), std::string::npos);
    {
        ModalDriver driver({[](QDialog* d) {
            dynamic_cast<templateDialog*>(d)->control<QAbstractButton>(110)->click();
            d->accept();
        }});
        frame_.command(kCmdMaintControls);
    }
    EXPECT_TRUE(settings.tutorialSaved);
    EXPECT_NE(slurp(dir_.file("OV.INI")).find("TUTORIAL: YES\n"), std::string::npos);
}

TEST_F(MaintFrameTest, ViewDialogEscapeWritesNothingItsKeepButtonWrites) {
    settings.view = kViewXs;
    {
        ModalDriver driver({reject});
        frame_.command(kCmdMaintView);
        EXPECT_EQ(driver.seen(), std::vector<std::string>{"Orvane View"});
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("OV.INI")));
    {
        ModalDriver driver({[](QDialog* d) {
            dynamic_cast<templateDialog*>(d)->control<QAbstractButton>(kIdCancel)->click();
        }});
        frame_.command(kCmdMaintView);
    }
    EXPECT_EQ(settings.view, kViewXs);
    EXPECT_NE(slurp(dir_.file("OV.INI")).find("VIEW: XS\n"), std::string::npos);
    {
        ModalDriver driver({[](QDialog* d) {
            dynamic_cast<templateDialog*>(d)->control<QAbstractButton>(kIdViewEarth)->click();
        }});
        frame_.command(kCmdMaintView);
    }
    EXPECT_NE(slurp(dir_.file("OV.INI")).find("VIEW: 3D\n"), std::string::npos);
}

TEST_F(MaintFrameTest, EditInformationComesBackToTheDirectoryItStartedIn) {
    std::filesystem::create_directory(dir_.file("elsewhere"));
    std::ofstream(dir_.file("elsewhere/XS.INF")) << "text\n";
    auto start = std::filesystem::current_path();
    frame_.chooseInformationFile = [this](QWidget*) {
        std::filesystem::current_path(dir_.file("elsewhere"));
        return std::string("XS.INF");
    };
    frame_.command(kCmdMaintEditInformation);
    EXPECT_EQ(std::filesystem::current_path(), start);
    ASSERT_EQ(edited_.size(), 1u);
    EXPECT_TRUE(std::filesystem::equivalent(edited_[0], dir_.file("elsewhere/XS.INF")));

    // Nothing chosen: no editor, and still back home.
    frame_.chooseInformationFile = [this](QWidget*) {
        std::filesystem::current_path(dir_.file("elsewhere"));
        return std::string();
    };
    frame_.command(kCmdMaintEditInformation);
    EXPECT_EQ(std::filesystem::current_path(), start);
    EXPECT_EQ(edited_.size(), 1u);
}

TEST_F(MaintFrameTest, PicturesOfTheFrameTheEditorAndTheInputDialog) {
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    auto save = [](QWidget& w, const char* name) {
        QImage picture = w.grab().toImage();
        ASSERT_FALSE(picture.isNull());
        EXPECT_TRUE(picture.save(QString(ORVANE_BINARY_DIR "/gallery/") + name + ".png"));
    };
    frame_.resize(640, 400);
    frame_.show();
    frame_.menuBar()->actions()[1]->menu()->popup(frame_.mapToGlobal(QPoint(60, 20)));
    save(frame_, "maint-frame");
    save(*frame_.menuBar()->actions()[1]->menu(), "maint-menu-preferences");
    Event e;
    e.name = "Northridge, California";
    e.latitude = 34.213f;
    e.longitude = -118.537f;
    editeventDialog editor(&frame_, e);
    save(editor, "maint-editor");
    inputDialog input(&frame_, "User Timeout", "Specify time in seconds", "30");
    save(input, "maint-input");
    aboutDialog about(&frame_);
    save(about, "maint-about");
    for (QDialog* d : std::initializer_list<QDialog*>{&editor, &input, &about})
        for (QWidget* child : d->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(d->rect().contains(child->geometry()))
                << d->windowTitle().toStdString() << " " << child->objectName().toStdString();
}

}  // namespace
}  // namespace orvane
