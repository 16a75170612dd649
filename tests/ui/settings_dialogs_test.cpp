// The settings dialogs: what they show when they open, what OK stores (and
// nothing else), that Cancel stores nothing, and the edges of the choices.
#include "ui/settings_dialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <fstream>

#include "platform/bitmap.h"
#include "platform/command_ids.h"
#include "tests/support/comma_locale.h"
#include "tests/support/temp_dir.h"
#include "tests/support/typing.h"
#include "tests/ui/help_topics.h"
#include "ui/buttons.h"

namespace orvane {
namespace {

void saveGallery(QWidget& w, const std::string& name) {
    QDir().mkpath(ORVANE_BINARY_DIR "/gallery");
    QImage picture = w.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    ASSERT_TRUE(
        picture.save(QString::fromStdString(ORVANE_BINARY_DIR "/gallery/" + name + ".png")));
}

void click(templateDialog& d, int id) {
    auto* button = d.control<QAbstractButton>(id);
    ASSERT_NE(button, nullptr) << "no control " << id;
    button->click();
}

std::string lineText(templateDialog& d, int id) {
    return d.control<QLineEdit>(id)->text().toStdString();
}

// --- audio ---------------------------------------------------------------------

TEST(AudioDialogTest, OpensOnTheCurrentChoiceAndReturnsTheClickedOne) {
    Settings s;
    s.audio = kAudioChime;
    audioDialog d(nullptr, s);
    EXPECT_EQ(d.checkedRadios({174, 175, 176, 177}), std::vector<int>{177});
    click(d, 175);
    EXPECT_EQ(d.checkedRadios({174, 175, 176, 177}), std::vector<int>{175});
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.value(), kAudioPc);
    EXPECT_EQ(s.audio, kAudioChime);  // the caller stores it
}

TEST(AudioDialogTest, AnIndexOutsideTheTableShowsNothingAndOkKeepsIt) {
    Settings s;
    s.audio = 7;
    audioDialog d(nullptr, s);
    EXPECT_TRUE(d.checkedRadios({174, 175, 176, 177}).empty());
    d.accept();
    EXPECT_EQ(d.value(), 7);
}

// --- controls --------------------------------------------------------------------

TEST(ControlDialogTest, BoxesShowTheFlagsAndOkStoresOnlyThem) {
    Settings s;
    s.titleBar = true;
    s.canExit = false;
    s.tutorial = false;
    s.tutorialSaved = false;
    s.timeout = 42;
    s.appendPhase("PKP");
    controlDialog d(nullptr, s);
    EXPECT_TRUE(d.isChecked(761));
    EXPECT_TRUE(d.isChecked(103));
    EXPECT_FALSE(d.isChecked(104));
    EXPECT_TRUE(d.isChecked(105));
    EXPECT_FALSE(d.isChecked(110));
    EXPECT_TRUE(d.isChecked(102));

    Settings expected = s;
    click(d, 104);  // Can Exit on
    click(d, 110);  // Run Tutorial on
    click(d, 102);  // Show Slider off
    expected.canExit = true;
    expected.tutorial = true;
    expected.tutorialSaved = true;
    expected.slider = false;
    d.accept();
    EXPECT_EQ(s.text(), expected.text());
    EXPECT_TRUE(s.tutorial);
}

TEST(ControlDialogTest, CancelChangesNothing) {
    Settings s;
    std::string before = s.text();
    controlDialog d(nullptr, s);
    for (int id : {761, 103, 104, 105, 106, 107, 108, 109, 110, 101, 102}) click(d, id);
    d.reject();
    EXPECT_EQ(s.text(), before);
}

// --- event list ----------------------------------------------------------------------

TEST(EventDialogTest, ListsTheEventFilesInLowerCaseSorted) {
    TempDir dir;
    for (const char* name : {"B.EVT", "a.evt", "notes.txt", "kobe-earthquake-1995.evt"})
        std::ofstream(dir.file(name)) << "EVENT NAME: x\n";
    ScopedCurrentDir cd(dir.path());
    eventDialog d(nullptr);
    auto* list = d.control<QListWidget>(162);
    ASSERT_NE(list, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < list->count(); ++i) names.push_back(list->item(i)->text().toStdString());
    EXPECT_EQ(names, (std::vector<std::string>{"a.evt", "b.evt", "kobe-earthquake-1995.evt"}));

    // A long name comes back whole: cut to 15 characters it would name no file.
    list->setCurrentRow(2);
    d.accept();
    EXPECT_EQ(d.value(), "kobe-earthquake-1995.evt");
}

TEST(EventDialogTest, OkWithoutAChoiceOrWithoutEventsGivesAnEmptyName) {
    TempDir dir;
    ScopedCurrentDir cd(dir.path());
    eventDialog empty(nullptr);
    EXPECT_EQ(empty.control<QListWidget>(162)->count(), 0);
    empty.accept();
    EXPECT_EQ(empty.result(), QDialog::Accepted);
    EXPECT_EQ(empty.value(), "");

    std::ofstream(dir.file("x.evt")) << "\n";
    eventDialog unchosen(nullptr);
    unchosen.accept();
    EXPECT_EQ(unchosen.value(), "");
}

// --- phases ----------------------------------------------------------------------------

const std::vector<int> kPhaseRadios = {104, 101, 106, 107};

TEST(PhaseDialogTest, OpensWithTheFlagsAndTheFirstEightPhases) {
    Settings s;
    s.labelPhasesOnEarthView = true;
    s.labelPhasesOnSeismogram = true;
    s.pPhasesOnCrossSection = true;
    for (const char* p : {"P", "PP", "S", "SS", "PKP", "SKS", "ScS", "PcP", "PKIKP", "SKKS"})
        s.appendPhase(p);
    phaseDialog d(nullptr, s);
    EXPECT_TRUE(d.isChecked(102));
    EXPECT_FALSE(d.isChecked(103));
    EXPECT_TRUE(d.isChecked(105));
    EXPECT_EQ(d.checkedRadios(kPhaseRadios), std::vector<int>{101});
    EXPECT_EQ(lineText(d, 111), "P");
    EXPECT_EQ(lineText(d, 115), "PKP");
    EXPECT_EQ(lineText(d, 117), "ScS");  // the fourth box of the right column
    EXPECT_EQ(lineText(d, 118), "PcP");  // the third

    d.accept();
    EXPECT_EQ(s.phases,
              (std::vector<std::string>{"P", "PP", "S", "SS", "PKP", "SKS", "ScS", "PcP"}));
    EXPECT_TRUE(s.labelPhasesOnEarthView);
    EXPECT_TRUE(s.pPhasesOnCrossSection);
    EXPECT_FALSE(s.allPhasesOnCrossSection);
}

TEST(PhaseDialogTest, BoxesAreReadInIdOrderSoTheBottomRightComesBeforeTheOneAbove) {
    Settings s;
    phaseDialog d(nullptr, s);
    for (int id = 111; id <= 118; ++id) EXPECT_EQ(lineText(d, id), "");
    d.control<QLineEdit>(118)->setText("third");
    d.control<QLineEdit>(117)->setText("fourth");
    d.control<QLineEdit>(111)->setText("first");
    d.accept();
    EXPECT_EQ(s.phases, (std::vector<std::string>{"first", "fourth", "third"}));
}

TEST(PhaseDialogTest, OddBoxTextIsTrimmedCutOrSkipped) {
    Settings s;
    s.appendPhase("ABCDEFGHIJKLMNOPQRSTUVWXYZ");  // longer than a box
    phaseDialog d(nullptr, s);
    EXPECT_EQ(lineText(d, 111), "ABCDEFGHIJKLMNO");
    d.control<QLineEdit>(112)->setText("   ");
    d.control<QLineEdit>(113)->setText("  PKiKP ");
    d.accept();
    EXPECT_EQ(s.phases, (std::vector<std::string>{"ABCDEFGHIJKLMNO", "PKiKP"}));
}

TEST(PhaseDialogTest, TypedPhaseKeepsWholeCharactersAndTheSettingsTheirPoint) {
    orvane::testing::ScopedCommaLocale comma;
    ORVANE_REQUIRE_COMMA_LOCALE(comma);
    TempDir dir;
    std::ofstream(dir.file("OV.INI")) << "BUTTON HEIGHT: 1.5\nPHASE: PKP\n";
    Settings s;
    s.read(dir.file("OV.INI"));
    EXPECT_EQ(s.buttonHeight, 1.5f);

    phaseDialog d(nullptr, s);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    auto* box = d.control<QLineEdit>(112);
    QTest::mouseClick(box, Qt::LeftButton);
    // Eight sigmas are 16 bytes of UTF-8: the 15-byte box holds seven.
    orvane::testing::typeText(QString::fromUtf8("ΣΣΣΣΣΣΣΣ"), box);
    EXPECT_EQ(lineText(d, 112), "ΣΣΣΣΣΣΣ");
    QTest::mouseClick(d.control<QAbstractButton>(kIdOk), Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(s.phases, (std::vector<std::string>{"PKP", "ΣΣΣΣΣΣΣ"}));

    // The caller saves the settings: the height keeps its point.
    ASSERT_TRUE(s.write(dir.file("OV.INI")));
    std::ifstream in(dir.file("OV.INI"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\nBUTTON HEIGHT: 1.5\n"), std::string::npos);
    EXPECT_NE(text.find("\nPHASE: ΣΣΣΣΣΣΣ\n"), std::string::npos);
}

TEST(PhaseDialogTest, TheShowChoicesAreExclusiveWhenClicked) {
    Settings s;
    phaseDialog d(nullptr, s);
    EXPECT_TRUE(d.checkedRadios(kPhaseRadios).empty());  // no flag, no choice
    click(d, 104);
    click(d, 106);
    EXPECT_EQ(d.checkedRadios(kPhaseRadios), std::vector<int>{106});
    click(d, 106);  // clicking the chosen one keeps it
    EXPECT_EQ(d.checkedRadios(kPhaseRadios), std::vector<int>{106});
    click(d, 105);
    d.accept();
    EXPECT_FALSE(s.allPhasesOnCrossSection);
    EXPECT_FALSE(s.pPhasesOnCrossSection);
    EXPECT_TRUE(s.sPhasesOnCrossSection);
    EXPECT_FALSE(s.specifiedPhasesOnCrossSection);
    EXPECT_TRUE(s.labelPhasesOnSeismogram);
}

TEST(PhaseDialogTest, UntouchedChoicesKeepEveryFlagTheRecordHolds) {
    // The specified-phases flag is independent of the other three, so a
    // record may hold two: OK without a click keeps both.
    Settings s;
    s.allPhasesOnCrossSection = true;
    s.specifiedPhasesOnCrossSection = true;
    s.appendPhase("PcP");
    std::string before = s.text();
    phaseDialog d(nullptr, s);
    EXPECT_EQ(d.checkedRadios(kPhaseRadios), (std::vector<int>{104, 107}));
    d.accept();
    EXPECT_EQ(s.text(), before);
}

TEST(PhaseDialogTest, CancelChangesNothing) {
    Settings s;
    for (int i = 0; i < 10; ++i) s.appendPhase("P" + std::to_string(i));
    std::string before = s.text();
    phaseDialog d(nullptr, s);
    click(d, 103);
    click(d, 104);
    d.control<QLineEdit>(111)->setText("X");
    d.reject();
    EXPECT_EQ(s.text(), before);
    EXPECT_EQ(s.phases.size(), 10u);
}

// --- speed ------------------------------------------------------------------------------

std::vector<int> speedRadios() {
    std::vector<int> ids;
    for (int id = 101; id <= 111; ++id) ids.push_back(id);
    return ids;
}

TEST(SpeedDialogTest, OpensOnTheFirstChoiceNotAboveTheSpeed) {
    struct Case {
        double speed;
        std::vector<int> checked;
        int value;
    };
    for (const Case& c :
         {Case{20, {103}, 20}, Case{30, {103}, 30}, Case{20.9, {103}, 20}, Case{-3.7, {107}, -3},
          Case{1000, {101}, 1000}, Case{-150, {}, -150}, Case{std::nan(""), {106}, 0}}) {
        speedDialog d(nullptr, c.speed);
        EXPECT_EQ(d.checkedRadios(speedRadios()), c.checked) << c.speed;
        d.accept();
        EXPECT_EQ(d.value(), c.value) << c.speed;  // OK without a click
    }
}

TEST(SpeedDialogTest, AChoiceBecomesTheValue) {
    speedDialog d(nullptr, 20);
    click(d, 111);
    EXPECT_EQ(d.value(), -100);
    // Setting a choice from code counts the same.
    d.setChecked(101, true);
    EXPECT_EQ(d.value(), 100);
    click(d, 106);
    d.accept();
    EXPECT_EQ(d.value(), 0);
    EXPECT_EQ(d.checkedRadios(speedRadios()), std::vector<int>{106});
}

// --- time window ------------------------------------------------------------------------

const std::vector<int> kWindowRadios = {556, 557, 558, 559, 560, 561, 562};

TEST(TimeWindowDialogTest, OpensOnTheFirstChoiceNotBelowTheMinutes) {
    struct Case {
        std::int32_t seconds;
        std::vector<int> checked;
        std::int32_t okValue;
    };
    for (const Case& c :
         {Case{1800, {560}, 30}, Case{420, {557}, 10}, Case{0, {556}, 5}, Case{-600, {556}, 5},
          Case{3600, {562}, 60}, Case{3660, {}, 61}, Case{4000, {}, 66}}) {
        time_windowDialog d(nullptr, c.seconds);
        EXPECT_EQ(d.checkedRadios(kWindowRadios), c.checked) << c.seconds;
        d.accept();
        EXPECT_EQ(d.value(), c.okValue) << c.seconds;
    }
    // 4000 s kept through OK is 3960 s: whole minutes.
    time_windowDialog d(nullptr, 4000);
    d.accept();
    EXPECT_EQ(d.value() * 60, 3960);
}

TEST(TimeWindowDialogTest, ChoosingSetsTheMinutesAndCancelKeepsThem) {
    time_windowDialog d(nullptr, 1800);
    click(d, 562);
    EXPECT_EQ(d.checkedRadios(kWindowRadios), std::vector<int>{562});
    d.accept();
    EXPECT_EQ(d.value(), 60);

    time_windowDialog c(nullptr, 1800);
    click(c, 556);
    c.reject();
    EXPECT_EQ(c.result(), QDialog::Rejected);
    EXPECT_EQ(c.value(), 30);
}

// --- view ------------------------------------------------------------------------------------

TEST(ViewDialogTest, ButtonSizeFollowsTheDialogBaseUnits) {
    EXPECT_EQ(viewDialog::buttonSize(8, 16), QSize(132, 99));
    // Integer steps: (9*165)/4 = 371, *2 = 742, /5 = 148; (17*132)/8 = 280, *3/8 = 105.
    EXPECT_EQ(viewDialog::buttonSize(9, 17), QSize(148, 105));
    // Smaller units would not hold the 120 x 90 pictures.
    EXPECT_EQ(viewDialog::buttonSize(6, 13), QSize(132, 99));
}

TEST(ViewDialogTest, ButtonsStandInATwoByTwoGrid) {
    Settings s;
    viewDialog d(nullptr, s);
    auto* all = d.control<QWidget>(kIdViewAll);
    auto* earth = d.control<QWidget>(kIdViewEarth);
    auto* section = d.control<QWidget>(kIdViewCrossSection);
    auto* keep = d.control<QWidget>(kIdCancel);
    ASSERT_TRUE(all && earth && section && keep);
    int w = all->width(), h = all->height();
    EXPECT_EQ(all->pos(), QPoint(5, 5));
    EXPECT_EQ(earth->pos(), QPoint(5, h + 10));
    EXPECT_EQ(section->pos(), QPoint(w + 10, 5));
    EXPECT_EQ(keep->pos(), QPoint(w + 10, h + 10));
    EXPECT_LE(keep->geometry().right(), d.width());
    EXPECT_LE(keep->geometry().bottom(), d.height());
    EXPECT_EQ(bitmapResource(kBitmapViewAll).size(), QSize(120, 90));
    EXPECT_EQ(bitmapResource(kBitmapViewCancel).size(), QSize(96, 72));
}

TEST(ViewDialogTest, EachPictureClicksSetsTheViewAndClosesWithOk) {
    int clicks = 0;
    auto previousHook = clickHook;
    clickHook = [&] { ++clicks; };
    struct Case {
        int id;
        std::int32_t view;
    };
    for (const Case& c : {Case{kIdViewAll, kViewAll}, Case{kIdViewEarth, kView3d},
                          Case{kIdViewCrossSection, kViewXs}, Case{kIdCancel, kView3d}}) {
        Settings s;
        s.view = kView3d;
        if (c.id == kIdViewEarth) s.view = kViewXs;
        viewDialog d(nullptr, s);
        click(d, c.id);
        EXPECT_EQ(d.result(), QDialog::Accepted) << c.id;
        EXPECT_EQ(s.view, c.view) << c.id;
    }
    EXPECT_EQ(clicks, 4);
    clickHook = previousHook;
}

TEST(ViewDialogTest, EscapeKeepsTheView) {
    Settings s;
    s.view = kViewXs;
    viewDialog d(nullptr, s);
    d.reject();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(s.view, kViewXs);
}

// --- help and pictures -------------------------------------------------------------------------

// One of each dialog over one settings record.
struct EveryDialog {
    explicit EveryDialog(Settings& s)
        : audio(nullptr, s),
          controls(nullptr, s),
          events(nullptr),
          phases(nullptr, s),
          speed(nullptr, 20),
          window(nullptr, 1800),
          view(nullptr, s) {}
    std::vector<std::pair<templateDialog*, std::string>> named() {
        return {{&audio, "audio"},   {&events, "events"}, {&controls, "controls"},
                {&phases, "phases"}, {&speed, "speed"},   {&window, "time-window"},
                {&view, "view"}};
    }
    audioDialog audio;
    controlDialog controls;
    eventDialog events;
    phaseDialog phases;
    speedDialog speed;
    time_windowDialog window;
    viewDialog view;
};

TEST(SettingsDialogsTest, HelpOpensTheTopicAndLeavesTheDialogOpen) {
    HelpTopics help;
    Settings s;
    EveryDialog all(s);
    for (auto& [d, name] : all.named()) {
        if (d == &all.view) continue;  // no Help button
        d->show();
        click(*d, kIdHelp);
        EXPECT_TRUE(d->isVisible()) << name;
        d->hide();
    }
    EXPECT_EQ(help.topics(), (std::vector<int>{1002, 1005, 1015, 1019, 1024, 1026}));
}

TEST(SettingsDialogsTest, PicturesOfEveryDialog) {
    Settings s;
    s.audio = kAudioEq;
    s.labelPhasesOnCrossSection = true;
    s.sPhasesOnCrossSection = true;
    for (const char* p : {"P", "PKP", "SKS", "ScS", "PcP"}) s.appendPhase(p);
    TempDir dir;
    for (const char* name : {"1994011712.evt", "1995011620.evt", "2004122601.evt"})
        std::ofstream(dir.file(name)) << "\n";
    ScopedCurrentDir cd(dir.path());
    EveryDialog all(s);
    for (auto& [d, name] : all.named()) {
        saveGallery(*d, "dialog-" + name);
        // Every control lies inside its dialog.
        for (QWidget* child : d->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(d->rect().contains(child->geometry()))
                << name << " " << child->objectName().toStdString();
    }
}

}  // namespace
}  // namespace orvane
