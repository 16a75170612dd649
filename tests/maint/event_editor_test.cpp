// The event editor and the timeout dialogs: what the boxes show, what OK
// refuses, what is written back into the event and into the settings.
#include "maint/event_editor.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <filesystem>

#include "maint/event_editor.h"
#include "platform/message_box.h"
#include "tests/maint/modal_driver.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/help_topics.h"

namespace orvane {
namespace {

void setBox(editeventDialog& d, int id, const std::string& text) {
    d.control<QLineEdit>(id)->setText(QString::fromStdString(text));
}

std::string box(editeventDialog& d, int id) {
    return d.control<QLineEdit>(id)->text().toStdString();
}

int checkedAngle(editeventDialog& d) {
    std::vector<int> ids;
    for (int i = 0; i < 8; ++i) ids.push_back(editeventDialog::kFirstAngle + i);
    std::vector<int> on = d.checkedRadios(ids);
    return on.size() == 1 ? (on.front() - editeventDialog::kFirstAngle) * 45 : -1;
}

TEST(EventEditorTest, BoxesShowTheEventInTheEditorsFormats) {
    Event e;
    e.name = "Northridge, California";
    e.latitude = 34.213f;
    e.longitude = -118.537f;
    e.depth = 18.4f;
    e.magnitude = 6.7f;
    e.year = 1994;
    e.month = 1;
    e.day = 17;
    e.hour = 12;
    e.minute = 30;
    e.second = 55.4f;
    e.timeAcceleration = -20;
    e.timeWindow = 1800;
    e.timeLimit = 100;
    editeventDialog d(nullptr, e);
    EXPECT_EQ(box(d, 701), "Northridge, California");
    EXPECT_EQ(box(d, 702), "34.213  ");
    EXPECT_EQ(box(d, 703), "-118.537");
    EXPECT_EQ(box(d, 704), "18.4  ");
    EXPECT_EQ(box(d, 705), "6.7 ");
    EXPECT_EQ(box(d, 706), "1994");
    EXPECT_EQ(box(d, 707), "1");
    EXPECT_EQ(box(d, 708), "17");
    EXPECT_EQ(box(d, 717), "12");
    EXPECT_EQ(box(d, 719), "30");
    EXPECT_EQ(box(d, 718), "55.4");
    EXPECT_EQ(box(d, 720), "-20");
    EXPECT_EQ(box(d, 721), "30");  // whole minutes
    EXPECT_EQ(box(d, 709), "1");   // 100 s, truncated
}

TEST(EventEditorTest, ViewAngleIsWrappedAndRoundedDownToItsRadio) {
    struct Case {
        int angle, shown;
    };
    for (Case c :
         {Case{-90, 270}, Case{405, 45}, Case{180, 180}, Case{200, 180}, Case{0, 0}, Case{359, 315},
          Case{360, 0}, Case{-720, 0}, Case{std::numeric_limits<std::int32_t>::min(), 225}}) {
        Event e;
        e.viewAngle = c.angle;
        editeventDialog d(nullptr, e);
        EXPECT_EQ(checkedAngle(d), c.shown) << c.angle;
    }
}

TEST(EventEditorTest, OkIsRefusedWhileARangedBoxIsOutOfRange) {
    MessageBoxRecorder messages;
    Event e;
    e.timeLimit = 100;  // shows 1 minute: out of range until corrected
    editeventDialog d(nullptr, e);
    d.accept();
    EXPECT_NE(d.result(), QDialog::Accepted);
    ASSERT_EQ(messages.calls().size(), 1u);
    EXPECT_NE(messages.calls()[0].text.find("Time limit"), std::string::npos);

    struct Entry {
        int id;
        std::string text;
        bool taken;
    };
    for (const Entry& entry :
         {Entry{721, "4", false},    Entry{721, "61", false},  Entry{721, "5", true},
          Entry{721, "60", true},    Entry{709, "181", false}, Entry{709, "180", true},
          Entry{717, "24", true},    Entry{717, "25", false},  Entry{706, "999", false},
          Entry{706, "2100", true},  Entry{707, "0", false},   Entry{707, "13", false},
          Entry{708, "32", false},   Entry{719, "60", false},  Entry{720, "-100", true},
          Entry{720, "-101", false}, Entry{720, "abc", false}, Entry{706, "1995x", false},
          Entry{721, "", false},     Entry{721, " 30 ", true}, Entry{721, "3.5", false}}) {
        editeventDialog fresh(nullptr, Event());
        setBox(fresh, entry.id, entry.text);
        fresh.accept();
        EXPECT_EQ(fresh.result() == QDialog::Accepted, entry.taken)
            << entry.id << " '" << entry.text << "'";
    }
}

TEST(EventEditorTest, RealBoxesTakeAnyTextButOnlyNumbersOfThisEarth) {
    MessageBoxRecorder messages;
    struct Entry {
        int id;
        std::string text;
        bool taken;
    };
    for (const Entry& entry :
         {Entry{702, "north", true}, Entry{702, "91", false}, Entry{702, "-90", true},
          Entry{703, "180.5", false}, Entry{703, "-180", true}, Entry{704, "-3", false},
          Entry{704, "6372", false}, Entry{704, "700", true}, Entry{718, "60", false},
          Entry{718, "59.9", true}, Entry{705, "12", true}, Entry{702, "nan", true},
          Entry{702, "1e30", false}}) {
        editeventDialog d(nullptr, Event());
        setBox(d, entry.id, entry.text);
        d.accept();
        EXPECT_EQ(d.result() == QDialog::Accepted, entry.taken)
            << entry.id << " '" << entry.text << "'";
    }
}

TEST(EventEditorTest, ApplyingWritesTheNumbersAndTheTextsFollow) {
    Event e;
    e.latitude = 10;
    editeventDialog d(nullptr, e);
    setBox(d, 701, "Kobe, Japan");
    setBox(d, 702, "not a number");
    setBox(d, 703, "135.035");
    setBox(d, 704, "17.9");
    setBox(d, 705, "6.9");
    setBox(d, 706, "1995");
    setBox(d, 707, "01");
    setBox(d, 708, "16");
    setBox(d, 717, "20");
    setBox(d, 719, "46");
    setBox(d, 718, "52.1");
    setBox(d, 720, "50");
    setBox(d, 721, "60");
    setBox(d, 709, "120");
    d.control<QAbstractButton>(editeventDialog::kFirstAngle + 6)->click();  // 90W
    d.accept();
    ASSERT_EQ(d.result(), QDialog::Accepted);
    d.applyTo(e);
    EXPECT_EQ(e.name, "Kobe, Japan");
    EXPECT_FLOAT_EQ(e.latitude, 10);  // text that does not scan keeps the field
    EXPECT_FLOAT_EQ(e.longitude, 135.035f);
    EXPECT_FLOAT_EQ(e.depth, 17.9f);
    EXPECT_FLOAT_EQ(e.magnitude, 6.9f);
    EXPECT_EQ(e.date, "1995/01/16");
    EXPECT_EQ(e.originTime, "20:46:52.1");
    EXPECT_EQ(e.displayDate, "Jan. 16, 1995");
    EXPECT_EQ(e.fileName, "1995011620.evt");
    EXPECT_EQ(e.timeAcceleration, 50);
    EXPECT_EQ(e.timeWindow, 3600);
    EXPECT_EQ(e.timeLimit, 7200);
    EXPECT_EQ(e.viewAngle, 270);
}

TEST(EventEditorTest, AnUntouchedEditorGivesTheSameEventBack) {
    Event e;
    e.name = "Sumatra";
    e.latitude = 3.295f;
    e.longitude = 95.982f;
    e.depth = 30;
    e.magnitude = 9.1f;
    e.viewAngle = 90;
    e.timeWindow = 2700;
    e.timeLimit = 10800;
    e.refreshTexts();
    Event copy = e;
    editeventDialog d(nullptr, e);
    d.applyTo(copy);
    EXPECT_EQ(copy.text({}), e.text({}));
}

TEST(EventEditorTest, HelpOpensTopic1005AndKeepsTheEditorOpen) {
    HelpTopics help;
    editeventDialog d(nullptr, Event());
    d.show();
    d.control<QAbstractButton>(760)->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(help.topics(), std::vector<int>{1005});
}

TEST(EventEditorTest, NoViewAngleChosenGives360AndLineBreaksLeaveTheName) {
    EventEditorFields f = editorFields(Event());
    f.viewAngle = {};
    f.name = "two\nlines\rSTATION FILE: X";
    Event e;
    applyEditorFields(f, e);
    EXPECT_EQ(e.viewAngle, 360);
    EXPECT_EQ(e.name.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(e.text({}).find("\nSTATION FILE"), std::string::npos);
    // Names longer than the field keep their first 39 characters.
    f.name = std::string(60, 'x');
    applyEditorFields(f, e);
    EXPECT_EQ(e.name.size(), 39u);
}

// --- timeouts ---------------------------------------------------------------------

TEST(TimeoutTextTest, DigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(timeoutFromText("12abc"), 12u);
    EXPECT_EQ(timeoutFromText("  7"), 7u);
    EXPECT_EQ(timeoutFromText("+30"), 30u);
    EXPECT_EQ(timeoutFromText("abc"), 0u);
    EXPECT_EQ(timeoutFromText(""), 0u);
    EXPECT_EQ(timeoutFromText("0"), 0u);
    EXPECT_EQ(timeoutFromText("9999999"), 9999999u);
    EXPECT_EQ(timeoutFromText("99999999999999"), 4294967295u);
    // A negative time is none at all, not four billion seconds.
    EXPECT_EQ(timeoutFromText("-5"), 0u);
}

class TimeoutDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.applyDefaults();
        settings.initialTimeout = 15;
        settings.timeout = 30;
        settings.secondsToPauseAtEnd = 2;
    }
    bool settingsWritten() const { return std::filesystem::exists(dir_.file("OV.INI")); }
    static ModalDriver::Step answer(const std::string& text, bool ok) {
        return [text, ok](QDialog* d) {
            auto* input = dynamic_cast<inputDialog*>(d);
            ASSERT_NE(input, nullptr);
            input->control<QLineEdit>(inputDialog::kEdit)->setText(QString::fromStdString(text));
            ok ? d->accept() : d->reject();
        };
    }
    TempDir dir_;
    ScopedCurrentDir cd_{dir_.path()};
};

TEST_F(TimeoutDialogTest, UserTimeoutTakesTheNumberOnOkOnly) {
    {
        ModalDriver driver({[](QDialog* d) {
            auto* input = dynamic_cast<inputDialog*>(d);
            ASSERT_NE(input, nullptr);
            EXPECT_EQ(input->text(), "30");  // shows the current value
            input->control<QLineEdit>(inputDialog::kEdit)->setText("12abc");
            d->accept();
        }});
        editTimeout(nullptr, TimeoutSetting::User);
        EXPECT_EQ(driver.seen(), std::vector<std::string>{"User Timeout"});
    }
    EXPECT_EQ(settings.timeout, 12u);
    ASSERT_TRUE(settingsWritten());
    std::filesystem::remove(dir_.file("OV.INI"));
    {
        ModalDriver driver({answer("99", false)});
        editTimeout(nullptr, TimeoutSetting::User);
    }
    EXPECT_EQ(settings.timeout, 12u);
    EXPECT_FALSE(settingsWritten());
}

TEST_F(TimeoutDialogTest, PauseAtEndTakesLargeAndZeroValues) {
    {
        ModalDriver driver({answer("9999999", true)});
        editTimeout(nullptr, TimeoutSetting::PauseAtEnd);
        EXPECT_EQ(driver.seen(), std::vector<std::string>{"Time to Pause at End"});
    }
    EXPECT_EQ(settings.secondsToPauseAtEnd, 9999999u);
    {
        ModalDriver driver({answer("0", true)});
        editTimeout(nullptr, TimeoutSetting::PauseAtEnd);
    }
    EXPECT_EQ(settings.secondsToPauseAtEnd, 0u);
    Settings reread;
    reread.read(dir_.file("OV.INI"));
    EXPECT_EQ(reread.secondsToPauseAtEnd, 0u);
    EXPECT_EQ(reread.timeout, 30u);
}

TEST_F(TimeoutDialogTest, OpeningScreenTimeoutIsWrittenEvenOnCancel) {
    {
        ModalDriver driver({answer("77", false)});
        editTimeout(nullptr, TimeoutSetting::Initial);
        EXPECT_EQ(driver.seen(), std::vector<std::string>{"Opening Screen Timeout"});
    }
    EXPECT_EQ(settings.initialTimeout, 15u);
    EXPECT_TRUE(settingsWritten());
    {
        ModalDriver driver({answer("-3", true)});
        editTimeout(nullptr, TimeoutSetting::Initial);
    }
    EXPECT_EQ(settings.initialTimeout, 0u);
}

}  // namespace
}  // namespace orvane
