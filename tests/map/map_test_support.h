#pragma once
// Shared pieces of the map and dialog tests: a stand-in for the main frame,
// a working directory with events and seismogram files, and a way to act on
// a modal dialog once it is open.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/sac.h"
#include "data/text_scan.h"
#include "platform/window.h"
#include "tests/data/trace_files.h"

namespace orvane::testing {

/// Receives the commands windows send to the main window.
class FakeFrame : public QWidget, public CommandTarget {
  public:
    FakeFrame() { setMainWindow(this); }
    ~FakeFrame() override { setMainWindow(nullptr); }
    void command(int id) override { commands.push_back(id); }
    std::vector<int> commands;
};

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string eventText(const std::string& name, double latitude, double longitude,
                             const std::vector<std::string>& stationFiles = {}) {
    std::string text =
        format("EVENT NAME: %s\nEVENT LATITUDE: %10.4f\nEVENT LONGITUDE: %10.4f\n"
               "EVENT DEPTH: 10.0\nEVENT MAGNITUDE: 6.5\n"
               "EVENT DATE: 1994/01/17\nORIGIN TIME: 12:30:55.4\n",
               name.c_str(), latitude, longitude);
    for (const std::string& f : stationFiles) text += "STATION FILE: " + f + "\n";
    return text;
}

/// A seismogram file of station `code` at a position, component by name.
inline void writeStationFile(const std::string& path, const std::string& code, float latitude,
                             float longitude, float azimuth, float incidence) {
    SacTrace t = typicalTrace(10);
    t.station = code;
    t.stationLatitude = latitude;
    t.stationLongitude = longitude;
    t.componentAzimuth = azimuth;
    t.componentIncidence = incidence;
    writeSac(path, t);
}

/// Runs `act` on the modal dialog as soon as one is open (gives up after
/// about five seconds).
inline void whenDialogOpens(std::function<void(QDialog*)> act) {
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, tries, weak = std::weak_ptr<std::function<void()>>(poll)] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            act(d);
            return;
        }
        if (++*tries > 1000) return;
        if (auto next = weak.lock()) QTimer::singleShot(5, [next] { (*next)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

inline void processEvents() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

}  // namespace orvane::testing
