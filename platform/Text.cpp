// Text  The string semantics the system relies on.
#include "platform/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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

double Val(QStringView s) {
    auto digit = [&](qsizetype at) {
        return at < s.size() && s.at(at) >= QLatin1Char('0') && s.at(at) <= QLatin1Char('9');
    };
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && s.at(i) == QLatin1Char(' ')) ++i;
    const qsizetype begin = i;
    const bool negative = i < n && s.at(i) == QLatin1Char('-');
    if (i < n && (negative || s.at(i) == QLatin1Char('+'))) ++i;
    // The digits as one whole number while it stays exact (up to 15 digits).
    quint64 mantissa = 0;
    qsizetype digits = 0;
    auto take = [&] {
        if (++digits <= 15) mantissa = mantissa * 10 + (s.at(i).unicode() - '0');
        ++i;
    };
    while (digit(i)) take();
    const qsizetype intDigits = digits;
    const bool point = i < n && s.at(i) == QLatin1Char('.');
    if (point) {
        ++i;
        while (digit(i)) take();
    }
    const qsizetype fracDigits = digits - intDigits;
    if (digits == 0) return 0.0;
    bool exponent = false;
    if (i < n && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (s.at(j) == QLatin1Char('-') || s.at(j) == QLatin1Char('+'))) ++j;
        qsizetype expDigits = 0;
        while (digit(j)) ++j, ++expDigits;
        if (expDigits > 0) i = j, exponent = true;
    }
    // Tide's days, hours, minutes and heights: digits, perhaps a point and more digits. The whole
    // number and the power of ten are exact doubles, so one division gives the correctly rounded
    // value, as the full conversion below does, at a fraction of its cost.
    if (!exponent && digits <= 15 && intDigits > 0 && (!point || fracDigits > 0)) {
        static const double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const double v = double(mantissa) / kTens[fracDigits];
        return negative ? -v : v;
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
        // Exactly what printf's "%.2f" writes (the decimal value of the double, rounded half
        // to even), without printf's cost: every height of a tide table goes through here.
        char buffer[400];  // the largest double has 309 digits before the point
        const std::to_chars_result end =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
        QLatin1String text(buffer, end.ptr - buffer);
        if (text == QLatin1String("-0.00")) text = QLatin1String("0.00");
        return QString(text);
    }
    // Zero-padded integer masks: as many digits as the mask has zeros, at least.
    int width = 0;
    for (QChar c : mask)
        if (c == QLatin1Char('0')) ++width;
    const long long whole = std::llround(std::isfinite(value) ? value : 0.0);
    constexpr long long kExact = 1000000000000000LL;  // 10^15
    if (whole > -kExact && whole < kExact) {
        // The digits written straight into the text: the run's dates and times come here.
        char16_t buffer[24];
        qsizetype at = 24;
        for (long long rest = whole < 0 ? -whole : whole; at == 24 || rest > 0; rest /= 10)
            buffer[--at] = char16_t(u'0' + rest % 10);
        const qsizetype count = 24 - at;
        const qsizetype pad = width > count ? width - count : 0;
        const qsizetype sign = whole < 0 ? 1 : 0;
        QString t(sign + pad + count, QLatin1Char('0'));
        if (sign) t[0] = QLatin1Char('-');
        std::copy(buffer + at, buffer + 24, reinterpret_cast<char16_t*>(t.data()) + sign + pad);
        return t;
    }
    QString digits =
        QString::number(whole < 0 ? -whole : whole).rightJustified(width, QLatin1Char('0'));
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
