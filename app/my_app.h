#pragma once
// The viewer's start-up and end: the program-wide state prepared before any
// window exists, the application object that builds the main frame with the
// welcome window, and the release of everything once the frame has closed.

#include <memory>

namespace orvane {

class myFrame;

/// Before any window: settings, working directory, screen size, event
/// catalogue and tutorial list. Needs the Qt application object (for the
/// screen size).
void prepareStartUp();

/// After the main frame has closed: the settings written once more and
/// every program-wide list, trace and sound output released.
void finishProgram();

class TMyApp {
  public:
    TMyApp();
    ~TMyApp();
    TMyApp(const TMyApp&) = delete;
    TMyApp& operator=(const TMyApp&) = delete;

    /// Creates the welcome window and the main frame, shown maximized.
    void initMainWindow();
    /// Runs the message loop until the frame closes; its status.
    int run();

    myFrame* frame() const { return frame_.get(); }

  private:
    std::unique_ptr<myFrame> frame_;
};

/// Everything between the application object and the message loop:
/// windowing, start-up values, the sound output and the hooks through which
/// buttons and seismograms reach it, then the main window. With `openSound`
/// false the sound stays as the caller set it (useSoundEngine).
void startViewer(TMyApp& app, bool openSound = true);

/// The program: start-up, the message loop, the end. 1 when the loop
/// returned a nonzero status, else 0. With `userDirectory` (the desktop
/// launcher) it first enters the per-user working directory, made on the
/// first start (app/user_directory.h).
int runViewer(int argc, char** argv, bool userDirectory = false);

}  // namespace orvane
