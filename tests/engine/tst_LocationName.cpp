// tst_LocationName  Location names between tide's bytes and display text, under UTF-8 and
// Latin-1, and their way back into a tide command line.
#include <QtTest>
#include <clocale>

#include "engine/LocationName.h"
#include "support/TestMain.h"

using LocationName::Charset;
Q_DECLARE_METATYPE(LocationName::Charset)

class tst_LocationName : public QObject {
    Q_OBJECT
  private slots:
    void listedBytes_data();
    void listedBytes();
    void everyShortByteStringRoundTrips_data();
    void everyShortByteStringRoundTrips();
    void typedText_data();
    void typedText();
    void localeDecidesCharset();
};

void tst_LocationName::listedBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Charset>("charset");
    QTest::addColumn<QString>("shown");  // null: only the round trip is checked

    const QString mayaguez = QStringLiteral("Mayag\u00fcez, Puerto Rico");
    QTest::newRow("ASCII, UTF-8 locale")
        << QByteArray("Seattle, Puget Sound, Washington") << Charset::Utf8
        << QStringLiteral("Seattle, Puget Sound, Washington");
    QTest::newRow("ASCII, C locale")
        << QByteArray("Seattle, Puget Sound, Washington") << Charset::Latin1
        << QStringLiteral("Seattle, Puget Sound, Washington");
    QTest::newRow("UTF-8 name") << QByteArray(
                                       "Mayag\xc3\xbc"
                                       "ez, Puerto Rico")
                                << Charset::Utf8 << mayaguez;
    QTest::newRow("Latin-1 name") << QByteArray(
                                         "Mayag\xfc"
                                         "ez, Puerto Rico")
                                  << Charset::Latin1 << mayaguez;
    QTest::newRow("degree sign") << QByteArray("18.2189\xc2\xb0 N") << Charset::Utf8
                                 << QStringLiteral("18.2189\u00b0 N");
    QTest::newRow("empty") << QByteArray() << Charset::Utf8 << QString("");
    // A cut at byte 52 inside a character: the readable part stays readable.
    QTest::newRow("cut after the first of two bytes")
        << QByteArray("Punta Guanajibo, Mayag\xc3") << Charset::Utf8
        << QStringLiteral("Punta Guanajibo, Mayag") + QChar(0xDCC3);
    QTest::newRow("cut inside a three-byte character")
        << QByteArray("Price \xe2\x82") << Charset::Utf8 << QString();
    QTest::newRow("cut inside a four-byte character")
        << QByteArray("x\xf0\x9f\x8c") << Charset::Utf8 << QString();
    QTest::newRow("four-byte character")
        << QByteArray("x\xf0\x9f\x8c\x8a") << Charset::Utf8 << QStringLiteral("x\U0001F30A");
    // Bytes that are not UTF-8 at all still come back unchanged.
    QTest::newRow("Latin-1 bytes under a UTF-8 locale") << QByteArray(
                                                               "Mayag\xfc"
                                                               "ez")
                                                        << Charset::Utf8 << QString();
    QTest::newRow("UTF-8 bytes under the C locale")
        << QByteArray(
               "Mayag\xc3\xbc"
               "ez")
        << Charset::Latin1 << QStringLiteral("Mayag\u00c3\u00bcez");
    QTest::newRow("overlong form") << QByteArray("a\xc0\x80z") << Charset::Utf8 << QString();
    QTest::newRow("encoded surrogate")
        << QByteArray("a\xed\xa0\x80z") << Charset::Utf8 << QString();
    QTest::newRow("beyond U+10FFFF")
        << QByteArray("a\xf4\x90\x80\x80") << Charset::Utf8 << QString();
    QTest::newRow("stray continuation bytes")
        << QByteArray("\x80\xbf\xff") << Charset::Utf8 << QString();
}

void tst_LocationName::listedBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(Charset, charset);
    QFETCH(QString, shown);
    const QString name = LocationName::FromListing(bytes, charset);
    if (!shown.isNull()) QCOMPARE(name, shown);
    QCOMPARE(LocationName::ToCommandBytes(name, charset), bytes);
}

void tst_LocationName::everyShortByteStringRoundTrips_data() {
    QTest::addColumn<Charset>("charset");
    QTest::newRow("UTF-8") << Charset::Utf8;
    QTest::newRow("Latin-1") << Charset::Latin1;
}

// Every string of one or two bytes, and every two-byte string after a lead byte: covers each
// valid, cut and invalid sequence start.
void tst_LocationName::everyShortByteStringRoundTrips() {
    QFETCH(Charset, charset);
    int failures = 0;
    QByteArray first;
    for (int a = 1; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            for (const char* lead : {"", "a", "\xe2", "\xf0\x9f"}) {
                QByteArray bytes(lead);
                bytes.append(char(a));
                if (b) bytes.append(char(b));
                if (LocationName::ToCommandBytes(LocationName::FromListing(bytes, charset),
                                                 charset) != bytes) {
                    if (!failures++) first = bytes;
                }
            }
        }
    }
    QVERIFY2(failures == 0, first.toHex(' ').constData());
}

void tst_LocationName::typedText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Charset>("charset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("accent, UTF-8") << QStringLiteral("Mayag\u00fcez") << Charset::Utf8
                                   << QByteArray(
                                          "Mayag\xc3\xbc"
                                          "ez");
    QTest::newRow("accent, Latin-1") << QStringLiteral("Mayag\u00fcez") << Charset::Latin1
                                     << QByteArray(
                                            "Mayag\xfc"
                                            "ez");
    // Latin-1 has no euro sign: nothing is lost, it goes as UTF-8.
    QTest::newRow("beyond Latin-1")
        << QStringLiteral("\u20ac") << Charset::Latin1 << QByteArray("\xe2\x82\xac");
    QTest::newRow("lone high surrogate")
        << QString(QChar(0xD800)) << Charset::Utf8 << QByteArray("?");
}

void tst_LocationName::typedText() {
    QFETCH(QString, text);
    QFETCH(Charset, charset);
    QFETCH(QByteArray, bytes);
    QCOMPARE(LocationName::ToCommandBytes(text, charset), bytes);
}

void tst_LocationName::localeDecidesCharset() {
    const QByteArray saved = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) QSKIP("no C.UTF-8 locale here");
    QCOMPARE(LocationName::LocaleCharset(), Charset::Utf8);
    QCOMPARE(LocationName::ToCommandBytes(QStringLiteral("\u00fc")), QByteArray("\xc3\xbc"));
    std::setlocale(LC_CTYPE, "C");
    QCOMPARE(LocationName::LocaleCharset(), Charset::Latin1);
    QCOMPARE(LocationName::FromListing(QByteArray("\xfc")), QStringLiteral("\u00fc"));
    std::setlocale(LC_CTYPE, saved.constData());
}

QUORVEX_TEST_MAIN(tst_LocationName)
#include "tst_LocationName.moc"
