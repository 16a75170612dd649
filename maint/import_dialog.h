#pragma once
// "Import Recordings...": the maintenance program's window onto orvane-import.
// The user names the recordings (a folder or files), the station metadata,
// the event (its values or a QuakeML file) and the stations; the import runs
// with its progress shown, and on success the dialog closes with the new
// event's file name.

#include <QDialog>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace orvane {

class importDialog : public QDialog {
  public:
    explicit importDialog(QWidget* parent);

    /// The event file written by the last successful import.
    const std::string& eventFile() const { return eventFile_; }

    QLineEdit* recordings = nullptr;  ///< files or folders, separated by ";"
    QLineEdit* metadata = nullptr;    ///< files, separated by ";"
    QLineEdit* quakeml = nullptr;
    QLineEdit* origin = nullptr;
    QLineEdit* latitude = nullptr;
    QLineEdit* longitude = nullptr;
    QLineEdit* depth = nullptr;
    QLineEdit* magnitude = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* stations = nullptr;
    QProgressBar* progress = nullptr;
    QPlainTextEdit* log = nullptr;
    QPushButton* importButton = nullptr;

  private:
    void runImport();

    std::string eventFile_;
};

}  // namespace orvane
