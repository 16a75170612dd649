#include "maint/import_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "import/importer.h"
#include "import/time_text.h"

namespace orvane {

namespace {

std::vector<std::string> splitList(const QString& text) {
    std::vector<std::string> out;
    for (const QString& part : text.split(';', Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty()) out.push_back(part.trimmed().toStdString());
    return out;
}

QWidget* withButtons(QLineEdit* edit, std::initializer_list<std::pair<const char*, std::function<void()>>> buttons,
                     QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    for (const auto& [text, action] : buttons) {
        auto* button = new QPushButton(text, row);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, row, action);
        layout->addWidget(button);
    }
    return row;
}

}  // namespace

importDialog::importDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Import Recordings");
    auto* form = new QFormLayout;
    auto edit = [this](const char* objectName, const char* placeholder = "") {
        auto* e = new QLineEdit(this);
        e->setObjectName(objectName);
        e->setPlaceholderText(placeholder);
        return e;
    };
    recordings = edit("recordings", "miniSEED files or folders, separated by ;");
    metadata = edit("metadata", "FDSN station text or StationXML files, separated by ;");
    quakeml = edit("quakeml", "or leave empty and fill in the event below");
    origin = edit("origin", "YYYY-MM-DDTHH:MM:SS.s (universal time)");
    latitude = edit("latitude", "degrees, north positive");
    longitude = edit("longitude", "degrees, east positive");
    depth = edit("depth", "km");
    magnitude = edit("magnitude");
    name = edit("name");
    stations = edit("stations", "12 spread from 10 to 170 degrees; or all, a number, or STA,STA");
    auto addFiles = [this](QLineEdit* target, const char* filter) {
        QStringList files = QFileDialog::getOpenFileNames(this, "Choose Files", QString(), filter);
        if (!files.isEmpty()) target->setText(files.join(';'));
    };
    form->addRow("Recordings:", withButtons(recordings,
                                            {{"Folder...",
                                              [this] {
                                                  QString dir = QFileDialog::getExistingDirectory(this, "Recordings");
                                                  if (!dir.isEmpty()) recordings->setText(dir);
                                              }},
                                             {"Files...", [=] { addFiles(recordings, "miniSEED (*)"); }}},
                                            this));
    form->addRow("Station metadata:",
                 withButtons(metadata, {{"Files...", [=] { addFiles(metadata, "Metadata (*.txt *.xml);;All (*)"); }}},
                             this));
    form->addRow("QuakeML file:",
                 withButtons(quakeml,
                             {{"File...",
                               [this] {
                                   QString f = QFileDialog::getOpenFileName(this, "QuakeML", QString(),
                                                                            "QuakeML (*.xml *.qml);;All (*)");
                                   if (!f.isEmpty()) quakeml->setText(f);
                               }}},
                             this));
    form->addRow("Origin time:", origin);
    form->addRow("Latitude:", latitude);
    form->addRow("Longitude:", longitude);
    form->addRow("Depth:", depth);
    form->addRow("Magnitude:", magnitude);
    form->addRow("Event name:", name);
    form->addRow("Stations:", stations);

    progress = new QProgressBar(this);
    progress->setObjectName("progress");
    progress->setRange(0, 1);
    progress->setValue(0);
    log = new QPlainTextEdit(this);
    log->setObjectName("log");
    log->setReadOnly(true);
    log->setMinimumHeight(120);

    auto* box = new QDialogButtonBox(this);
    importButton = box->addButton("Import", QDialogButtonBox::AcceptRole);
    importButton->setObjectName("import");
    QPushButton* close = box->addButton("Close", QDialogButtonBox::RejectRole);
    connect(importButton, &QPushButton::clicked, this, [this] { runImport(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress);
    layout->addWidget(log);
    layout->addWidget(box);
    resize(640, 560);
}

void importDialog::runImport() {
    using namespace orvane::import;
    log->clear();
    ImportOptions options;
    options.workdir = ".";
    options.inputs = splitList(recordings->text());
    options.metadataFiles = splitList(metadata->text());
    std::string error;
    auto fail = [this](const std::string& message) {
        log->appendPlainText(QString::fromStdString("Not imported: " + message));
        progress->setRange(0, 1);
        progress->setValue(0);
    };
    if (!quakeml->text().trimmed().isEmpty()) {
        options.quakemlFile = quakeml->text().trimmed().toStdString();
    } else {
        EventParameters e;
        auto time = parseIsoTime(origin->text().toStdString());
        auto number = [](QLineEdit* edit) { return parseNumber(edit->text().toStdString()); };
        auto lat = number(latitude), lon = number(longitude), dep = number(depth), mag = number(magnitude);
        if (!time) return fail("the origin time must be written YYYY-MM-DDTHH:MM:SS.s");
        if (!lat || !lon || !dep || !mag) return fail("latitude, longitude, depth and magnitude must be numbers");
        e.origin = *time;
        e.latitude = *lat;
        e.longitude = *lon;
        e.depth = *dep;
        e.magnitude = *mag;
        e.name = name->text().trimmed().toStdString();
        options.event = e;
    }
    QString choice = stations->text().trimmed();
    if (!choice.isEmpty() && !parseStationChoice(choice.toStdString(), options.stations))
        return fail("stations: give all, a number above 0, or station codes separated by commas");

    importButton->setEnabled(false);
    ImportReport report;
    bool ok = orvane::import::runImport(options, report, error, [this](const std::string& what, std::size_t done,
                                                                       std::size_t total) {
        progress->setRange(0, static_cast<int>(std::max<std::size_t>(total, 1)));
        progress->setValue(static_cast<int>(total ? done : 0));
        log->appendPlainText(QString::fromStdString(what));
        // Show the progress without letting the user start anything else.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    importButton->setEnabled(true);
    for (const std::string& note : report.notes) log->appendPlainText(QString::fromStdString("Note: " + note));
    if (!ok) return fail(error);
    progress->setRange(0, 1);
    progress->setValue(1);
    eventFile_ = report.eventFile;
    accept();
}

}  // namespace orvane
