#include "data/catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/text_scan.h"
#include "tests/support/temp_dir.h"

using namespace orvane;

namespace {

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string eventText(const std::string& name, float latitude, float longitude) {
    return format("EVENT NAME: %s\nEVENT LATITUDE: %10.4f\nEVENT LONGITUDE: %10.4f\n"
                  "EVENT DATE: 1994/01/17\nORIGIN TIME: 12:30:55.4\n",
                  name.c_str(), static_cast<double>(latitude), static_cast<double>(longitude));
}

std::vector<std::string> namesOf(const std::vector<Event>& events) {
    std::vector<std::string> names;
    for (const Event& e : events) names.push_back(e.name);
    return names;
}

}  // namespace

TEST(CatalogueTest, ListsEventFilesInCaseInsensitiveNameOrder) {
    TempDir dir;
    writeText(dir.file("b.evt"), eventText("Second", 1, 2));
    writeText(dir.file("C.EVT"), eventText("Third", 3, 4));
    writeText(dir.file("A.Evt"), eventText("First", 5, 6));
    writeText(dir.file("notes.txt"), "not an event");
    writeText(dir.file("b.evt.bak"), eventText("Backup", 0, 0));
    std::filesystem::create_directory(dir.file("dir.evt"));  // not a file

    ScopedCurrentDir here(dir.path());
    catalogue.assign(3, Event());  // whatever was there goes
    scanCatalogue();
    EXPECT_EQ(namesOf(catalogue), (std::vector<std::string>{"First", "Second", "Third"}));
    EXPECT_EQ(catalogue[0].fileName, "A.Evt");
    EXPECT_FLOAT_EQ(catalogue[2].latitude, 3);
    EXPECT_EQ(catalogue[1].displayDate, "Jan. 17, 1994");
    EXPECT_EQ(findCatalogueEvent(catalogue, "c.evt"), 2);
    EXPECT_EQ(findCatalogueEvent(catalogue, "missing.evt"), -1);
    EXPECT_EQ(findCatalogueEvent(catalogue, ""), -1);
}

TEST(CatalogueTest, UnreadableAndEmptyEventFilesStayListed) {
    TempDir dir;
    writeText(dir.file("1.evt"), eventText("Readable", 10, 20));
    writeText(dir.file("2.evt"), "");
    writeText(dir.file("3.evt"), std::string(5000, 'x'));  // one long line of rubbish
    // A link to nothing: listed, but it cannot be opened (whoever runs this).
    std::filesystem::create_symlink(dir.file("gone"), dir.file("4.evt"));

    std::vector<Event> events = readCatalogue(dir.path().string());
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].name, "Readable");
    EXPECT_EQ(events[1].name, "Event Name");  // the defaults stay
    EXPECT_EQ(events[1].timeLimit, 7200);
    EXPECT_EQ(events[2].latitude, 0);
    EXPECT_EQ(events[3].fileName, "");
    EXPECT_EQ(events[3].name, "Event Name");
    EXPECT_EQ(events[3].timeLimit, 7200);
    EXPECT_EQ(findCatalogueEvent(events, ""), -1);
}

TEST(CatalogueTest, MissingDirectoryOrNoEventsGivesAnEmptyCatalogue) {
    TempDir dir;
    EXPECT_TRUE(readCatalogue(dir.file("absent")).empty());
    ScopedCurrentDir here(dir.path());
    catalogue.assign(2, Event());
    scanCatalogue();
    EXPECT_TRUE(catalogue.empty());
}
