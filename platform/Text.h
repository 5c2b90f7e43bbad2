// Text  The string semantics the system relies on: case-blind comparison and search,
// 1-based positions, the number conversions and the byte-counting functions.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace Text {

// Case-blind equality, the comparison the system uses for every "=" between texts.
bool Same(const QString& a, const QString& b);

// 1-based position of `find` in `s` at or after `start`, ignoring letter case; 0 when absent.
// An empty `find` is found at `start` (when start lies within s or just past its end).
int InStr(const QString& s, const QString& find, int start = 1);

QString Left(const QString& s, int count);
// 1-based; `count` < 0 means "to the end".
QString Mid(const QString& s, int start, int count = -1);
// Blanks removed at both ends (only the blank character, as the system's Trim does).
QString Trim(const QString& s);
// The n-th (1-based) field of `s` between separators; "" past the last field.
QString NthField(const QString& s, const QString& separator, int n);

// The leading number of `s` after leading blanks (sign, digits, decimals, exponent); 0 if none.
double Val(QStringView s);

// A number as text without a leading blank or leading zeros ("3", "-1", "2.5", "0.25").
QString Str(int value);
QString Str(double value);

// `Format` with the masks the system uses: "00" and "0000" (zero padded integers) and
// "-#0.00" (two decimals, minus sign only when negative).
QString Format(double value, const QString& mask);

// A Double to Int32 conversion: truncation toward zero.
int ToInt32(double value);

}  // namespace Text

// Byte-counting functions: positions are 1-based, matching is exact.
namespace Bytes {

QByteArray LeftB(const QByteArray& s, int count);
QByteArray MidB(const QByteArray& s, int start, int count = -1);
int LenB(const QByteArray& s);
int InStrB(const QByteArray& s, const QByteArray& find, int start = 1);

}  // namespace Bytes
