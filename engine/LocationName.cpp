// LocationName  Location names between the bytes of tide and display text.
#include "engine/LocationName.h"

#include <langinfo.h>
#include <string.h>

namespace LocationName {
namespace {

constexpr char16_t EscapeBase = 0xDC00;  // a raw byte b >= 0x80 is kept as EscapeBase + b

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence at bytes[i], 0 when none begins there (strict: no overlong
// forms, no encoded surrogates, nothing above U+10FFFF).
int ValidSequenceAt(const QByteArray& bytes, int i, char32_t& code) {
    const int n = bytes.size();
    const unsigned char b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
        code = b0;
        return 1;
    }
    int length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        code = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        code = b0 & 0x0F;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        code = b0 & 0x07;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > n) return 0;
    const unsigned char b1 = static_cast<unsigned char>(bytes[i + 1]);
    if (b1 < low || b1 > high) return 0;
    code = (code << 6) | (b1 & 0x3F);
    for (int k = 2; k < length; ++k) {
        const unsigned char b = static_cast<unsigned char>(bytes[i + k]);
        if (!IsContinuation(b)) return 0;
        code = (code << 6) | (b & 0x3F);
    }
    return length;
}

void AppendUtf8(QByteArray& out, char32_t code) {
    if (code < 0x80) {
        out.append(static_cast<char>(code));
    } else if (code < 0x800) {
        out.append(static_cast<char>(0xC0 | (code >> 6)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(static_cast<char>(0xE0 | (code >> 12)));
        out.append(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (code >> 18)));
        out.append(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool IsEscape(char16_t u) { return u >= EscapeBase + 0x80 && u <= EscapeBase + 0xFF; }

}  // namespace

Charset LocaleCharset() {
    const char* codeset = nl_langinfo(CODESET);
    if (codeset && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0))
        return Charset::Utf8;
    return Charset::Latin1;
}

QString FromListing(const QByteArray& bytes, Charset charset) {
    if (charset == Charset::Latin1) return QString::fromLatin1(bytes);
    QString text;
    text.reserve(bytes.size());
    for (int i = 0; i < bytes.size();) {
        char32_t code = 0;
        const int length = ValidSequenceAt(bytes, i, code);
        if (length == 0) {
            text.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[i]))));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            const char32_t v = code - 0x10000;
            text.append(QChar(char16_t(0xD800 + (v >> 10))));
            text.append(QChar(char16_t(0xDC00 + (v & 0x3FF))));
        } else {
            text.append(QChar(char16_t(code)));
        }
        i += length;
    }
    return text;
}

QByteArray ToCommandBytes(const QString& name, Charset charset) {
    QByteArray out;
    out.reserve(name.size());
    const int n = name.size();
    for (int i = 0; i < n; ++i) {
        const char16_t u = name[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n &&
            QChar::isLowSurrogate(name[i + 1].unicode())) {
            AppendUtf8(out, QChar::surrogateToUcs4(u, name[i + 1].unicode()));
            ++i;
        } else if (IsEscape(u)) {
            out.append(static_cast<char>(u - EscapeBase));
        } else if (QChar::isSurrogate(u)) {
            out.append('?');  // a lone surrogate no listing gives
        } else if (charset == Charset::Latin1 && u <= 0xFF) {
            out.append(static_cast<char>(u));
        } else {
            AppendUtf8(out, u);  // Latin-1 has no such character: keep it as UTF-8, lose nothing
        }
    }
    return out;
}

QString FromListing(const QByteArray& bytes) { return FromListing(bytes, LocaleCharset()); }

QByteArray ToCommandBytes(const QString& name) { return ToCommandBytes(name, LocaleCharset()); }

}  // namespace LocationName
