#include "maint/maint_frame.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QUrl>
#include <filesystem>

#include "data/event.h"
#include "data/files.h"
#include "data/settings.h"
#include "maint/event_editor.h"
#include "maint/import_dialog.h"
#include "platform/command_ids.h"
#include "platform/program_icon.h"
#include "platform/qt_text.h"
#include "ui/help.h"

namespace orvane {

namespace {

struct MenuItem {
    const char* text;  ///< nullptr: a separator
    int id;
};

}  // namespace

myWindow::myWindow(QWidget* parent) : Window(parent) {}

aboutDialog::aboutDialog(QWidget* parent) : templateDialog(parent, "About Orvane", 150, 70) {
    addStatic("ORVANE", 10, 8, 130, 9);
    addStatic("Version 4.3 Level 2014.05.22", 10, 22, 130, 9);
    addButton(kIdOk, "OK", 55, 46, 40, 14, true);
}

ovmFrame::ovmFrame(myWindow* client) : client_(client) {
    setWindowTitle("Orvane Maintenance");
    setCentralWidget(client);
    setWindowIcon(programIcon());
    chooseInformationFile = chooseInformationFileDialog;
    startTextEditor = startDesktopTextEditor;
    confirmReplace = askToReplace;

    // The menu "M_COMMANDS".
    const std::pair<const char*, std::vector<MenuItem>> menus[] = {
        {"&Earthquakes",
         {{"&New", kCmdMaintNew},
          {"&Open", kCmdMaintOpen},
          {"&Import Recordings...", kCmdImportRecordings},
          {nullptr, 0},
          {"E&xit", kCmdMaintExit}}},
        {"&Preferences",
         {{"&Controls...", kCmdMaintControls},
          {"&Phases...", kCmdMaintPhases},
          {"&Audio...", kCmdMaintAudio},
          {"&View...", kCmdMaintView},
          {"&Initial Timeout...", kCmdMaintInitialTimeout},
          {"Time&out...", kCmdMaintTimeout},
          {"&Pause at End...", kCmdMaintPauseAtEnd},
          {"&Edit Information...", kCmdMaintEditInformation}}},
        {"&Help", {{"&Orvane Help", kCmdMaintHelp}, {"&About", kCmdMaintAbout}}},
        {"E&xit", {{"E&xit", kCmdMaintExit}}},
    };
    for (const auto& [title, items] : menus) {
        QMenu* menu = menuBar()->addMenu(toQString(title));
        for (const MenuItem& item : items) {
            if (!item.text) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(toQString(item.text));
            int id = item.id;
            connect(action, &QAction::triggered, this, [this, id] { command(id); });
        }
    }
}

void ovmFrame::command(int id) {
    switch (id) {
        case kCmdMaintNew:
            newEvent();
            break;
        case kCmdMaintOpen:
            openEvent();
            break;
        case kCmdMaintExit:
            close();
            break;
        case kCmdImportRecordings:
            importRecordings();
            break;
        case kCmdMaintControls: {
            controlDialog dialog(this);
            if (dialog.exec() == QDialog::Accepted) writeSettings();
            break;
        }
        case kCmdMaintPhases: {
            phaseDialog dialog(this);
            if (dialog.exec() == QDialog::Accepted) writeSettings();
            break;
        }
        case kCmdMaintAudio: {
            audioDialog dialog(this);
            if (dialog.exec() == QDialog::Accepted) {
                settings.audio = dialog.value();
                writeSettings();
            }
            break;
        }
        case kCmdMaintView: {
            std::int32_t before = settings.view;
            viewDialog dialog(this);
            if (dialog.exec() == QDialog::Accepted) {
                writeSettings();
                if (settings.view != before) client_->update();
            }
            break;
        }
        case kCmdMaintInitialTimeout:
            editTimeout(this, TimeoutSetting::Initial);
            break;
        case kCmdMaintTimeout:
            editTimeout(this, TimeoutSetting::User);
            break;
        case kCmdMaintPauseAtEnd:
            editTimeout(this, TimeoutSetting::PauseAtEnd);
            break;
        case kCmdMaintEditInformation:
            editInformation();
            break;
        case kCmdMaintHelp:
            openHelp(kHelpTopic);
            break;
        case kCmdMaintAbout: {
            aboutDialog dialog(this);
            dialog.exec();
            break;
        }
        default:
            break;
    }
}

void ovmFrame::editAndSave(Event event, const std::string& source) {
    for (;;) {
        editeventDialog editor(this, event);
        if (editor.exec() != QDialog::Accepted) return;
        editor.applyTo(event);
        // The name comes from the date and hour, so it may be another
        // event's file: that one is replaced only when the user says so,
        // else the editor opens again on what was entered.
        std::string target =
            resolvePath(eventFileName(event.year, event.month, event.day, event.hour));
        std::error_code ec;
        bool other =
            std::filesystem::exists(target, ec) &&
            (source.empty() || !std::filesystem::equivalent(target, resolvePath(source), ec));
        if (other && confirmReplace && !confirmReplace(this, target)) continue;
        event.saveAsNew();
        return;
    }
}

void ovmFrame::newEvent() { editAndSave(Event(), std::string()); }

void ovmFrame::openEvent() {
    eventDialog list(this);
    if (list.exec() != QDialog::Accepted) return;
    // Nothing chosen, or a file that cannot be read (gone since the listing):
    // there is no event to edit, and a default one saved in its place could
    // replace another event's file.
    if (list.value().empty()) return;
    Event event(list.value());
    if (event.fileName.empty()) return;
    editAndSave(event, event.fileName);
}

void ovmFrame::importRecordings() {
    importDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted || dialog.eventFile().empty()) return;
    Event event(dialog.eventFile());
    if (event.fileName.empty()) return;
    editAndSave(event, event.fileName);
}

void ovmFrame::editInformation() {
    std::error_code ec;
    std::filesystem::path before = std::filesystem::current_path(ec);
    std::string chosen = chooseInformationFile ? chooseInformationFile(this) : std::string();
    if (!chosen.empty()) {
        std::string full = std::filesystem::absolute(chosen, ec).string();
        if (startTextEditor) startTextEditor(ec ? chosen : full);
    }
    // The file dialog may have moved the current directory.
    if (!before.empty()) std::filesystem::current_path(before, ec);
}

std::string chooseInformationFileDialog(QWidget* parent) {
    QString name = QFileDialog::getOpenFileName(parent, "Open", QDir::currentPath(),
                                                "Information Files (*.INF *.inf);;All Files (*)");
    return toStdString(name);
}

void startDesktopTextEditor(const std::string& path) {
    // Failure is not reported.
    QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(path)));
}

bool askToReplace(QWidget* parent, const std::string& path) {
    QString text = QString("%1 already holds an event.\nReplace it?").arg(toQString(path));
    return QMessageBox::question(parent, "Edit Event", text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

TMyApp::TMyApp(int& argc, char** argv) : QApplication(argc, argv) {}

ovmFrame* TMyApp::initMainWindow() {
    auto* client = new myWindow;
    frame_ = std::make_unique<ovmFrame>(client);
    setMainWindow(frame_.get());
    return frame_.get();
}

}  // namespace orvane
