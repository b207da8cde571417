#include "EngineText.h"

#include <QFile>
#include <QStringDecoder>

namespace stego::shell {

std::optional<std::string> toEngineBytes(const QString& text, QString* refusal) {
    for (const uint code : text.toUcs4()) {
        if (code > 0xFF) {
            if (refusal) {
                const char32_t codePoint = code;
                const QString character = QString::fromUcs4(&codePoint, 1);
                const QString hex = QString::number(code, 16).toUpper().rightJustified(4, u'0');
                *refusal =
                    QStringLiteral("The character \"%1\" (U+%2) cannot be hidden: only characters up to U+00FF can.")
                        .arg(character, hex);
            }
            return std::nullopt;
        }
    }
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString fromEngineBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString fromEngineMessage(const std::string& message) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(message.data(), static_cast<qsizetype>(message.size())));
    if (utf8.hasError())
        return fromEngineBytes(message);
    return text;
}

std::string toEnginePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace stego::shell
