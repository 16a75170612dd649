#include "platform/program_icon.h"

#include <QDir>

// The resource of dist/CMakeLists.txt, kept in a library of its own.
static void loadIconResource() { Q_INIT_RESOURCE(program_icon); }

namespace orvane {

QIcon programIcon() {
    loadIconResource();
    // One folder per size under ":/icons", as in the hicolor theme.
    QIcon icon;
    const QDir sizes(":/icons");
    for (const QString& size : sizes.entryList(QDir::Dirs)) {
        const QString file = sizes.filePath(size + "/orvane.png");
        if (QFile::exists(file)) icon.addFile(file, QSize(size.toInt(), size.toInt()));
    }
    return icon;
}

}  // namespace orvane
