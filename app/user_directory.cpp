#include "app/user_directory.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/message_box.h"
#include "platform/program_icon.h"

namespace orvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCaption = "Orvane";
constexpr const char* kPreparing = "Preparing the earthquakes, pictures and tables for the first start.";

bool needsDemoData(const fs::path& directory) {
    std::error_code ec;
    if (!fs::exists(directory, ec)) return true;
    return fs::is_directory(directory, ec) && fs::is_empty(directory, ec);
}

UserDirectory fail(const std::string& text) {
    messageBox(text, kCaption);
    return UserDirectory::Failed;
}

// The last lines of what the maker said on standard error.
std::string tail(const QString& text) {
    QStringList lines = text.trimmed().split('\n');
    if (lines.size() > 5) lines = lines.mid(lines.size() - 5);
    return lines.join('\n').toStdString();
}

UserDirectory makeDemoData(const fs::path& directory, const std::string& maker) {
    if (maker.empty())
        return fail("The demonstration data cannot be made: the program orvane-demo is not installed.");
    std::error_code ec;
    fs::create_directories(directory.parent_path(), ec);
    // Beside the directory, so that the finished data is renamed into place.
    QTemporaryDir staging(QString::fromStdString((directory.parent_path() / ".orvane-new-XXXXXX").string()));
    if (!staging.isValid())
        return fail("Cannot create the working directory " + directory.string() + ": " +
                    staging.errorString().toStdString());

    QProgressDialog dialog(kPreparing, "Cancel", 0, 0);
    dialog.setWindowTitle(kCaption);
    dialog.setWindowIcon(programIcon());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumWidth(480);

    QProcess process;
    process.setProgram(QString::fromStdString(maker));
    process.setArguments({staging.path()});
    QByteArray pending;
    QString errors;
    static const QRegularExpression stepLine(R"(step (\d+) of (\d+): (.*)$)");
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        pending += process.readAllStandardOutput();
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QRegularExpressionMatch m = stepLine.match(QString::fromUtf8(pending.left(end)));
            if (!m.hasMatch()) continue;
            const int step = m.captured(1).toInt(), steps = m.captured(2).toInt();
            if (steps < 1 || step < 1 || step > steps) continue;
            dialog.setMaximum(steps);
            dialog.setValue(step - 1);
            dialog.setLabelText(QString("%1\n\nStep %2 of %3: %4").arg(kPreparing).arg(step).arg(steps).arg(m.captured(3)));
        }
    });
    QObject::connect(&process, &QProcess::readyReadStandardError,
                     [&] { errors += QString::fromLocal8Bit(process.readAllStandardError()); });
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) loop.quit();
    });
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    process.start();
    dialog.show();
    // A start that failed at once has nothing left to wait for.
    if (process.state() != QProcess::NotRunning) loop.exec();

    if (dialog.wasCanceled()) {
        process.kill();
        process.waitForFinished(5000);
        return UserDirectory::Cancelled;
    }
    if (process.error() == QProcess::FailedToStart)
        return fail("Cannot start " + maker + ": " + process.errorString().toStdString());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return fail("The demonstration data could not be made in " + directory.string() + ".\n" + tail(errors));
    dialog.setValue(dialog.maximum());

    // An empty directory is replaced; one that another start filled
    // meanwhile is kept and ours is dropped.
    fs::rename(staging.path().toStdString(), directory, ec);
    if (!ec)
        staging.setAutoRemove(false);
    else if (needsDemoData(directory))
        return fail("Cannot create the working directory " + directory.string() + ": " + ec.message());
    return UserDirectory::Ready;
}

}  // namespace

fs::path userWorkingDirectory() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && fs::path(dataHome).is_absolute()) return fs::path(dataHome) / "orvane";
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "") / ".local" / "share" / "orvane";
}

std::string installedDemoMaker() {
    const QString beside = QCoreApplication::applicationDirPath() + "/orvane-demo";
    if (QFileInfo(beside).isExecutable()) return beside.toStdString();
    return QStandardPaths::findExecutable("orvane-demo").toStdString();
}

UserDirectory enterUserDirectory(const fs::path& directory, const std::string& maker) {
    if (needsDemoData(directory)) {
        const UserDirectory made = makeDemoData(directory, maker);
        if (made != UserDirectory::Ready) return made;
    }
    std::error_code ec;
    fs::current_path(directory, ec);
    if (ec) return fail("Cannot use the working directory " + directory.string() + ": " + ec.message());
    return UserDirectory::Ready;
}

}  // namespace orvane
