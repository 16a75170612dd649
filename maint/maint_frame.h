#pragma once
// The maintenance program's main window: a menu over an empty client area,
// whose commands create and edit event files, set the viewer's options in
// "OV.INI" and open the information texts in the system's text editor.

#include <QApplication>
#include <functional>
#include <memory>
#include <string>

#include "platform/window.h"
#include "ui/settings_dialogs.h"

namespace orvane {

/// The client window: it draws nothing, the window background shows.
class myWindow : public Window {
  public:
    explicit myWindow(QWidget* parent = nullptr);
};

/// "About Orvane": the product name and version with an OK button.
class aboutDialog : public templateDialog {
  public:
    explicit aboutDialog(QWidget* parent);
};

class ovmFrame : public FrameWindow {
  public:
    /// Icon resource of the frame.
    static constexpr int kIcon = 402;
    static constexpr int kHelpTopic = 1020;
    /// "Import Recordings..." in the Earthquakes menu.
    static constexpr int kCmdImportRecordings = 820;

    explicit ovmFrame(myWindow* client);

    void command(int id) override;

    /// Chooses an information file to edit; an empty name when none was
    /// chosen. The system's open-file dialog unless replaced (tests).
    std::function<std::string(QWidget* parent)> chooseInformationFile;
    /// Starts the system text editor on a file without waiting for it.
    std::function<void(const std::string& path)> startTextEditor;
    /// Asks whether an existing event file that is not the one being edited
    /// may be replaced.
    std::function<bool(QWidget* parent, const std::string& path)> confirmReplace;

    myWindow* client() const { return client_; }

  private:
    void newEvent();
    void openEvent();
    /// Runs the editor on `event` (read from `source`, empty for a new one);
    /// on OK saves it under the name its date and hour give.
    void editAndSave(class Event event, const std::string& source);
    void editInformation();
    /// Imports recorded data into a new event and opens it in the editor.
    void importRecordings();

    myWindow* client_;
};

/// The application object: its main window is the frame with its client.
class TMyApp : public QApplication {
  public:
    TMyApp(int& argc, char** argv);
    /// Builds the client and the frame, makes the frame the main window.
    ovmFrame* initMainWindow();

  private:
    std::unique_ptr<ovmFrame> frame_;
};

/// The open-file dialog of "Edit Information...".
std::string chooseInformationFileDialog(QWidget* parent);
/// The desktop's editor for a file, started without waiting.
void startDesktopTextEditor(const std::string& path);
/// "Replace it?" with Yes and No.
bool askToReplace(QWidget* parent, const std::string& path);

}  // namespace orvane
