#include "platform/qt_text.h"

#include <QStringDecoder>

namespace orvane {

QString toQString(std::string_view text) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString result = decoder.decode(QByteArrayView(text.data(), qsizetype(text.size())));
    if (decoder.hasError()) return QString::fromLatin1(text.data(), qsizetype(text.size()));
    return result;
}

std::string toStdString(const QString& text) { return text.toStdString(); }

}  // namespace orvane
