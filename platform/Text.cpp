// Text  The string semantics the system relies on.
#include "platform/Text.h"

#include <cmath>
#include <cstdio>

namespace Text {

bool Same(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

int InStr(const QString& s, const QString& find, int start) {
    if (start < 1) start = 1;
    if (start > s.size() + 1) return 0;
    const qsizetype at = s.indexOf(find, start - 1, Qt::CaseInsensitive);
    return at < 0 ? 0 : int(at) + 1;
}

QString Left(const QString& s, int count) {
    if (count <= 0) return QString();
    return s.left(count);
}

QString Mid(const QString& s, int start, int count) {
    if (start < 1) start = 1;
    if (start > s.size()) return QString();
    if (count < 0) return s.mid(start - 1);
    return s.mid(start - 1, count);
}

QString Trim(const QString& s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s.at(from) == QLatin1Char(' ')) ++from;
    while (to > from && s.at(to - 1) == QLatin1Char(' ')) --to;
    return s.mid(from, to - from);
}

QString NthField(const QString& s, const QString& separator, int n) {
    if (n < 1) return QString();
    if (separator.isEmpty()) return n == 1 ? s : QString();
    qsizetype from = 0;
    for (int field = 1;; ++field) {
        const qsizetype at = s.indexOf(separator, from, Qt::CaseInsensitive);
        if (field == n) return at < 0 ? s.mid(from) : s.mid(from, at - from);
        if (at < 0) return QString();
        from = at + separator.size();
    }
}

double Val(const QString& s) {
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s.at(i) == QLatin1Char(' ')) ++i;
    const qsizetype begin = i;
    if (i < n && (s.at(i) == QLatin1Char('-') || s.at(i) == QLatin1Char('+'))) ++i;
    qsizetype digits = 0;
    while (i < n && s.at(i).isDigit() && s.at(i).unicode() < 128) ++i, ++digits;
    if (i < n && s.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && s.at(i).isDigit() && s.at(i).unicode() < 128) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    if (i < n && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (s.at(j) == QLatin1Char('-') || s.at(j) == QLatin1Char('+'))) ++j;
        qsizetype expDigits = 0;
        while (j < n && s.at(j).isDigit() && s.at(j).unicode() < 128) ++j, ++expDigits;
        if (expDigits > 0) i = j;
    }
    bool ok = false;
    const double v = s.mid(begin, i - begin).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QString Str(int value) { return QString::number(value); }

QString Str(double value) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    // Up to seven significant digits, never an exponent for everyday magnitudes.
    QString t = QString::number(value, 'g', 7);
    if (t.contains(QLatin1Char('e'))) t = QString::number(value, 'f', 7);
    if (t.contains(QLatin1Char('.')) && !t.contains(QLatin1Char('e'))) {
        while (t.endsWith(QLatin1Char('0'))) t.chop(1);
        if (t.endsWith(QLatin1Char('.'))) t.chop(1);
    }
    return t;
}

int ToInt32(double value) {
    if (!std::isfinite(value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return int(-2147483647 - 1);
    return static_cast<int>(value);  // truncates toward zero
}

QString Format(double value, const QString& mask) {
    if (mask == QLatin1String("-#0.00")) {
        if (!std::isfinite(value)) value = 0.0;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
        QString t = QString::fromLatin1(buffer);
        if (t == QLatin1String("-0.00")) t = QStringLiteral("0.00");
        return t;
    }
    // Zero-padded integer masks: as many digits as the mask has zeros, at least.
    int width = 0;
    for (QChar c : mask)
        if (c == QLatin1Char('0')) ++width;
    const long long whole = std::llround(std::isfinite(value) ? value : 0.0);
    QString digits = QString::number(whole < 0 ? -whole : whole).rightJustified(width, QLatin1Char('0'));
    return whole < 0 ? QLatin1Char('-') + digits : digits;
}

}  // namespace Text

namespace Bytes {

QByteArray LeftB(const QByteArray& s, int count) {
    if (count <= 0) return QByteArray();
    return s.left(count);
}

QByteArray MidB(const QByteArray& s, int start, int count) {
    if (start < 1) start = 1;
    if (start > s.size()) return QByteArray();
    if (count < 0) return s.mid(start - 1);
    return s.mid(start - 1, count);
}

int LenB(const QByteArray& s) { return int(s.size()); }

int InStrB(const QByteArray& s, const QByteArray& find, int start) {
    if (start < 1) start = 1;
    if (start > s.size() + 1) return 0;
    const qsizetype at = s.indexOf(find, start - 1);
    return at < 0 ? 0 : int(at) + 1;
}

}  // namespace Bytes
