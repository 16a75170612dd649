// The event editor driven as a person drives it: the maintenance window's
// menu clicked, the boxes typed into, OK clicked; then the file it leaves is
// opened the same way and must come back unchanged.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <map>
#include <sstream>

#include "data/event.h"
#include "data/settings.h"
#include "maint/event_editor.h"
#include "maint/maint_frame.h"
#include "platform/command_ids.h"
#include "tests/maint/modal_driver.h"
#include "tests/support/comma_locale.h"
#include "tests/support/temp_dir.h"
#include "tests/support/typing.h"

namespace orvane {
namespace {

using orvane::testing::typeText;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Clicks into a box, selects what it holds and types over it.
void retype(QLineEdit* box, const QString& text) {
    ASSERT_NE(box, nullptr);
    // The keys go to the box itself: a dialog just opened may not be the
    // active window yet, and the focus follows activation.
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    typeText(text, box);
}

void clickOk(QDialog* d) {
    auto* ok = d->findChild<QAbstractButton*>(QString::number(kIdOk));
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);
}

// A step that fails part way leaves no dialog open behind it: the command
// waiting on it would never return.
ModalDriver::Step closedOnFailure(ModalDriver::Step step) {
    return [step](QDialog* d) {
        step(d);
        if (::testing::Test::HasFailure() && d->isVisible()) d->reject();
    };
}

class EditorByKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.applyDefaults();
        frame_.confirmReplace = [](QWidget*, const std::string&) { return false; };
        frame_.resize(640, 400);
        frame_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame_));
    }

    // Clicks a menu of the menu bar, then one of its items.
    void clickMenu(const QString& menuTitle, const QString& itemTitle) {
        QMenuBar* bar = frame_.menuBar();
        QAction* menu = nullptr;
        for (QAction* a : bar->actions())
            if (a->text() == menuTitle) menu = a;
        ASSERT_NE(menu, nullptr);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu).center());
        QMenu* popup = menu->menu();
        ASSERT_TRUE(popup->isVisible());
        QAction* item = nullptr;
        for (QAction* a : popup->actions())
            if (a->text() == itemTitle) item = a;
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
    }

    // Earthquakes, Open: clicks `file` in the list and OK, then hands the
    // editor to `edit`.
    std::vector<std::string> open(const std::string& file, ModalDriver::Step edit) {
        ModalDriver driver({closedOnFailure([file](QDialog* d) {
                                auto* list = d->findChild<QListWidget*>("162");
                                ASSERT_NE(list, nullptr);
                                auto found = list->findItems(QString::fromStdString(file), Qt::MatchExactly);
                                ASSERT_EQ(found.size(), 1);
                                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                                  list->visualItemRect(found[0]).center());
                                clickOk(d);
                            }),
                            closedOnFailure(edit)});
        clickMenu("&Earthquakes", "&Open");
        return driver.seen();
    }

    TempDir dir_;
    ScopedCurrentDir cd_{dir_.path()};
    ovmFrame frame_{new myWindow};
};

// What the person types, box by box.
const std::map<int, QString> kTyped = {
    {editeventDialog::kName, "Tohoku, Japan"}, {editeventDialog::kLatitude, "38.297"},
    {editeventDialog::kLongitude, "142.373"},  {editeventDialog::kDepth, "29.5"},
    {editeventDialog::kMagnitude, "9.1"},      {editeventDialog::kYear, "2011"},
    {editeventDialog::kMonth, "3"},            {editeventDialog::kDay, "11"},
    {editeventDialog::kHour, "5"},             {editeventDialog::kMinute, "46"},
    {editeventDialog::kSecond, "24.1"},        {editeventDialog::kSpeed, "50"},
    {editeventDialog::kTimeWindow, "60"},      {editeventDialog::kTimeLimit, "120"},
};

const char* const kTohokuFile =
    "EVENT NAME: Tohoku, Japan\n"
    "EVENT LATITUDE:    38.2970\n"
    "EVENT LONGITUDE:   142.3730\n"
    "EVENT DEPTH:       29.5\n"
    "EVENT MAGNITUDE:    9.1\n"
    "EVENT DATE: 2011/03/11\n"
    "ORIGIN TIME: 05:46:24.1\n"
    "TIME ACCELERATION: 50\n"
    "TIME WINDOW: 3600\n"
    "TIME LIMIT: 7200\n"
    "VIEW ANGLE: 90\n";

TEST_F(EditorByKeys, EventTypedUnderACommaLocaleIsWrittenWithPointsAndReadsBackIdentically) {
    orvane::testing::ScopedCommaLocale comma;
    ORVANE_REQUIRE_COMMA_LOCALE(comma);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    {
        ModalDriver driver({closedOnFailure([](QDialog* d) {
            for (const auto& [id, text] : kTyped) retype(d->findChild<QLineEdit*>(QString::number(id)), text);
            QTest::mouseClick(d->findChild<QRadioButton*>(QString::number(editeventDialog::kFirstAngle + 2)),
                              Qt::LeftButton);  // 90E
            clickOk(d);
        })});
        clickMenu("&Earthquakes", "&New");
        EXPECT_EQ(driver.seen(), std::vector<std::string>{"Edit Event"});
    }
    EXPECT_EQ(slurp(dir_.file("2011031105.evt")), kTohokuFile);

    // Opened again, the editor shows what was typed; OK writes the same bytes.
    std::map<int, std::string> shown;
    EXPECT_EQ(open("2011031105.evt",
                   [&shown](QDialog* d) {
                       for (const auto& entry : kTyped) {
                           auto* box = d->findChild<QLineEdit*>(QString::number(entry.first));
                           shown[entry.first] = box->text().trimmed().toStdString();
                       }
                       clickOk(d);
                   }),
              (std::vector<std::string>{"Event Selection", "Edit Event"}));
    for (const auto& [id, text] : kTyped) EXPECT_EQ(shown[id], text.toStdString()) << "box " << id;
    EXPECT_EQ(slurp(dir_.file("2011031105.evt")), kTohokuFile);

    Event read("2011031105.evt");
    EXPECT_EQ(read.latitude, 38.297f);
    EXPECT_EQ(read.longitude, 142.373f);
    EXPECT_EQ(read.depth, 29.5f);
    EXPECT_EQ(read.magnitude, 9.1f);
    EXPECT_EQ(read.second, 24.1f);
    QLocale::setDefault(before);
}

TEST_F(EditorByKeys, NameBoxTakesThirtyNineBytesOfWholeCharacters) {
    const QString tohoku = QString::fromUtf8("Землетрясение у Тохоку, Япония");  // 43 bytes
    // Typed key by key, "к" would end at byte 40 and is refused, as is every
    // letter after it; the comma still fits.
    const std::string held = "Землетрясение у Тохо,";
    ASSERT_EQ(held.size(), 39u);
    {
        ModalDriver driver({closedOnFailure([&](QDialog* d) {
            auto* name = d->findChild<QLineEdit*>(QString::number(editeventDialog::kName));
            retype(name, tohoku);
            EXPECT_EQ(name->text().toStdString(), held);
            // "З" makes room for two bytes: of "abc" typed in its place, "ab" fits.
            QTest::keyClick(name, Qt::Key_Home);
            QTest::keyClick(name, Qt::Key_Delete);
            typeText("abc", name);
            EXPECT_EQ(name->text().toStdString(), "ab" + held.substr(2));
            retype(name, tohoku);
            clickOk(d);
        })});
        clickMenu("&Earthquakes", "&New");
    }
    const std::string written = slurp(dir_.file("1990010100.evt"));
    EXPECT_EQ(written.substr(0, written.find('\n') + 1), "EVENT NAME: " + held + "\n");

    // Opened and saved again, the name stays as it was.
    std::string shown;
    open("1990010100.evt", [&shown](QDialog* d) {
        shown = d->findChild<QLineEdit*>(QString::number(editeventDialog::kName))->text().toStdString();
        clickOk(d);
    });
    EXPECT_EQ(shown, held);
    EXPECT_EQ(slurp(dir_.file("1990010100.evt")), written);
}

}  // namespace
}  // namespace orvane
