#include "ui/help.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>
#include <cstdlib>
#include <filesystem>

#include "data/files.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

namespace orvane {

namespace {

class SystemLauncher : public HelpLauncher {
  public:
    bool startProgram(const std::string& program,
                      const std::vector<std::string>& arguments) override {
        QStringList list;
        for (const std::string& a : arguments) list << toQString(a);
        return QProcess::startDetached(toQString(program), list);
    }
    bool openFile(const std::string& path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(path)));
    }
};

std::unique_ptr<HelpLauncher>& launcherSlot() {
    static std::unique_ptr<HelpLauncher> launcher = std::make_unique<SystemLauncher>();
    return launcher;
}

std::string currentDirectory() {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

}  // namespace

std::unique_ptr<HelpLauncher> setHelpLauncher(std::unique_ptr<HelpLauncher> launcher) {
    std::unique_ptr<HelpLauncher> previous = std::move(launcherSlot());
    launcherSlot() = launcher ? std::move(launcher) : std::make_unique<SystemLauncher>();
    return previous;
}

std::string helpFilePath() { return joinPath(currentDirectory(), "ov.chm"); }

std::string helpPagePath(int topic) {
    std::string page = topic == 0 ? "index.html" : std::to_string(topic) + ".html";
    return resolvePath(joinPath(joinPath(currentDirectory(), "help"), page));
}

bool openHelp(int topic) {
    HelpLauncher& launcher = *launcherSlot();
    const char* windir = std::getenv("WINDIR");
    std::string shown;
    bool started = false;
    if (windir && *windir) {
        shown = helpFilePath();
        std::vector<std::string> arguments;
        if (topic != 0) arguments = {"-mapid", std::to_string(topic)};
        arguments.push_back(shown);
        started = launcher.startProgram(joinPath(windir, "hh.exe"), arguments);
    } else {
        // No Windows help viewer here: the topic's page beside the data.
        shown = helpPagePath(topic);
        std::error_code ec;
        started = std::filesystem::is_regular_file(shown, ec) && launcher.openFile(shown);
    }
    if (!started)
        messageBox("Problem opening " + shown + " or MS hh.exe", "Orvane",
                   MessageIcon::Exclamation);
    return started;
}

}  // namespace orvane
