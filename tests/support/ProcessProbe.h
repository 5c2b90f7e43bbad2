// ProcessProbe  Whether a child process the test started (by pid) has ended.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A process that is gone, or a zombie waiting for a parent that is not us.
inline bool ProcessEnded(const QByteArray& pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid.trimmed())));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) == "Z";
}
