// LocationName  A location name keeps the bytes tide listed it with. tide writes names in the
// character set of its locale, which it inherits from this process: UTF-8 under a UTF-8 locale,
// Latin-1 under the C locale; and a cut at byte 52 can fall inside a UTF-8 character.
// FromListing gives a readable text that ToCommandBytes turns back into exactly the listed bytes,
// which is what goes into a tide command line.
//
// UTF-8: valid sequences become their characters; every byte that does not begin a valid
// sequence (the bytes of a character cut at the end, or stray Latin-1 bytes) becomes the lone
// surrogate U+DC00 + byte (U+DC80 .. U+DCFF), which ToCommandBytes turns back into that byte.
// Latin-1: every byte becomes the character of the same number.
// So ToCommandBytes(FromListing(b)) == b for every byte string b under either character set.
//
// Such a text must reach files and command lines only through ToCommandBytes: QString::toUtf8
// would replace the surrogates and lose the cut bytes.
#pragma once

#include <QByteArray>
#include <QString>

namespace LocationName {

enum class Charset { Utf8, Latin1 };

// The character set of the process locale (LC_CTYPE): Utf8 when its codeset is UTF-8, Latin1
// for every other codeset (the C locale among them).
Charset LocaleCharset();

// Bytes of a listing (or of the location cache) as display text, and back.
QString FromListing(const QByteArray& bytes, Charset charset);
QByteArray ToCommandBytes(const QString& name, Charset charset);

// The same in the character set of the process locale.
QString FromListing(const QByteArray& bytes);
QByteArray ToCommandBytes(const QString& name);

}  // namespace LocationName
