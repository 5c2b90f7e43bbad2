// ShellWord  Quoting of arbitrary bytes and paths as one bash word.
#include "platform/ShellWord.h"

#include <QFile>

namespace ShellWord {

QString Quote(const QByteArray& bytes) {
    bool plain = true;
    for (char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f) {
            plain = false;
            break;
        }
    }
    if (plain) {
        QString word = QStringLiteral("'");
        for (char c : bytes) {
            if (c == '\'')
                word += QStringLiteral("'\\''");
            else
                word += QLatin1Char(c);
        }
        return word + QLatin1Char('\'');
    }
    QString word = QStringLiteral("$'");
    static const char hex[] = "0123456789abcdef";
    for (char c : bytes) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '\'' && c != '\\') {
            word += QLatin1Char(c);
        } else {
            word += QStringLiteral("\\x");
            word += QLatin1Char(hex[u >> 4]);
            word += QLatin1Char(hex[u & 15]);
        }
    }
    return word + QLatin1Char('\'');
}

QString ShellPath(const QString& path) { return Quote(QFile::encodeName(path)); }

}  // namespace ShellWord
