#pragma once
// The help launcher: the help viewer opened at a topic number. With WINDIR
// set, WINDIR/hh.exe is started on "ov.chm" of the current directory, with
// "-mapid TOPIC" for a topic other than 0. Otherwise the HTML help page of
// the topic ("help/TOPIC.html", "help/index.html" for 0, beside the data) is
// opened with the desktop's browser. A failure shows
// "Problem opening PATH or MS hh.exe". The caller never waits.

#include <memory>
#include <string>
#include <vector>

namespace orvane {

/// How the launcher reaches the system; tests put a recorder in place.
class HelpLauncher {
  public:
    virtual ~HelpLauncher() = default;
    /// Starts a program without waiting; false when it cannot be started.
    virtual bool startProgram(const std::string& program,
                              const std::vector<std::string>& arguments) = 0;
    /// Opens a file with the desktop's program for it; false on failure.
    virtual bool openFile(const std::string& path) = 0;
};

/// Replaces the launcher (null restores the real one); returns the previous.
std::unique_ptr<HelpLauncher> setHelpLauncher(std::unique_ptr<HelpLauncher> launcher);

/// The compiled help file, "ov.chm" in the current directory.
std::string helpFilePath();
/// The HTML page of a topic: "help/TOPIC.html", or "help/index.html" for 0,
/// in the current directory.
std::string helpPagePath(int topic);

/// Opens the help viewer at `topic` (0: the whole help). Returns whether
/// the viewer could be started; on failure the message box has been shown.
bool openHelp(int topic);

}  // namespace orvane
