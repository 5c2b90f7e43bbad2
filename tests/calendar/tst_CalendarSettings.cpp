// tst_CalendarSettings  The calendar settings document's byte layout, its field encodings, and
// reading damaged documents (including the fuzzing corpus) without a fault.
#include <QDir>
#include <QtTest>

#include "calendar/CalendarSettings.h"
#include "platform/BinaryStream.h"
#include "support/TestMain.h"

namespace {

// A document written field by field, with the offset at which each field ends.
struct Fixture {
    QByteArray bytes;
    QList<int> fieldEnds;  // fieldEnds[i]: end of field i + 1
    void Add(const QByteArray& field) {
        bytes += field;
        fieldEnds.append(bytes.size());
    }
};

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

// "Alameda, California", March 2009 to November 2012, high tides 5.5 to 7 after 6 AM before
// 6 PM, low tides -1 to 0.5 after 3 AM before noon, sun and phases on, RSS to "/t/a.xml".
Fixture TypicalDocument(const char* version = "00000002") {
    Fixture f;
    f.Add(Hex(version));
    f.Add(QByteArray("\x13") + "Alameda, California");
    f.Add(Hex("0002"));  // March
    f.Add(Hex("07d9"));  // 2009
    f.Add(Hex("000a"));  // November
    f.Add(Hex("07dc"));  // 2012
    f.Add(Hex("01"));
    f.Add(QByteArray("\x03") + "5.5");
    f.Add(QByteArray("\x01") + "7");
    f.Add(Hex("0012"));  // before 6 PM
    f.Add(Hex("0006"));  // after 6 AM
    f.Add(Hex("01"));
    f.Add(QByteArray("\x02") + "-1");
    f.Add(QByteArray("\x03") + "0.5");
    f.Add(Hex("000c"));  // before noon
    f.Add(Hex("0003"));  // after 3 AM
    f.Add(Hex("01"));
    f.Add(Hex("00"));
    f.Add(Hex("01"));
    f.Add(QByteArray("\x08") + "/t/a.xml");
    f.Add(Hex("0003"));  // RSS
    return f;
}

CalendarSettings TypicalSettings() {
    CalendarSettings s;
    s.location = QStringLiteral("Alameda, California");
    s.firstMonth = 2;
    s.firstYear = 2009;
    s.lastMonth = 10;
    s.lastYear = 2012;
    s.includeHighTides = true;
    s.highTideAbove = QStringLiteral("5.5");
    s.highTideBelow = QStringLiteral("7");
    s.highTideBefore = 18;
    s.highTideAfter = 6;
    s.includeLowTides = true;
    s.lowTideAbove = QStringLiteral("-1");
    s.lowTideBelow = QStringLiteral("0.5");
    s.lowTideBefore = 12;
    s.lowTideAfter = 3;
    s.sunriseSunset = true;
    s.moonriseMoonset = false;
    s.showMoonPhases = true;
    s.outputPath = QStringLiteral("/t/a.xml");
    s.outputFormat = 3;
    return s;
}

}  // namespace

class tst_CalendarSettings : public QObject {
    Q_OBJECT
  private slots:
    void integersAreBigEndian();
    void booleansReadNonZeroAsTrue_data();
    void booleansReadNonZeroAsTrue();
    void texts_data();
    void texts();
    void textsOfTheOriginalLayout();
    void documentOfTheOriginalLayoutWith255ByteTexts();

    void layoutOfATypicalDocument();
    void allTextsEmptyIs33Bytes();
    void versions_data();
    void versions();

    void truncatedAtEveryByte();
    void damaged_data();
    void damaged();
    void corpusReplay();
};

void tst_CalendarSettings::integersAreBigEndian() {
    BinaryWriter w;
    w.WriteLong(0x01020304);
    w.WriteLong(-2);
    w.WriteShort(0x0a0b);
    w.WriteShort(-1);
    QCOMPARE(w.Data(), Hex("01020304fffffffe0a0bffff"));

    BinaryReader r(w.Data());
    qint32 l = 0;
    qint16 s = 0;
    QVERIFY(r.ReadLong(&l));
    QCOMPARE(l, 0x01020304);
    QVERIFY(r.ReadLong(&l));
    QCOMPARE(l, -2);
    QVERIFY(r.ReadShort(&s));
    QCOMPARE(s, qint16(0x0a0b));
    QVERIFY(r.ReadShort(&s));
    QCOMPARE(s, qint16(-1));
    QVERIFY(r.AtEnd());
    QVERIFY(!r.ReadShort(&s));
    QVERIFY(r.EndedEarly());
    QCOMPARE(s, qint16(-1));  // untouched by the failed read
}

void tst_CalendarSettings::booleansReadNonZeroAsTrue_data() {
    QTest::addColumn<QByteArray>("byte");
    QTest::addColumn<bool>("value");
    QTest::newRow("0") << Hex("00") << false;
    QTest::newRow("1") << Hex("01") << true;
    QTest::newRow("2") << Hex("02") << true;
    QTest::newRow("0x80") << Hex("80") << true;
    QTest::newRow("0xff") << Hex("ff") << true;
}

void tst_CalendarSettings::booleansReadNonZeroAsTrue() {
    QFETCH(QByteArray, byte);
    QFETCH(bool, value);
    BinaryReader r(byte);
    bool b = !value;
    QVERIFY(r.ReadBoolean(&b));
    QCOMPARE(b, value);

    BinaryWriter w;
    w.WriteBoolean(value);
    QCOMPARE(w.Data(), value ? Hex("01") : Hex("00"));
}

// Texts of up to 255 bytes keep the one-byte length; longer ones, and a 255-byte text that
// begins with a zero byte, use the 255 mark and a length whose first byte is zero.
void tst_CalendarSettings::texts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("prefix");
    const auto text = [](int length, char first = 'p') {
        QByteArray t(length, 'p');
        if (length > 0) {
            t[length - 1] = 'z';
            t[0] = first;
        }
        return t;
    };
    QTest::newRow("empty") << text(0) << Hex("00");
    QTest::newRow("1") << text(1) << Hex("01");
    QTest::newRow("254") << text(254) << Hex("fe");
    QTest::newRow("255, the longest short text") << text(255) << Hex("ff70");
    QTest::newRow("255 beginning with a zero byte") << text(255, '\0') << Hex("ff000000ff00");
    QTest::newRow("256") << text(256) << Hex("ff00000100");
    QTest::newRow("70000") << text(70000) << Hex("ff00011170");
    QTest::newRow("16 MiB - 1") << text((1 << 24) - 1) << Hex("ff00ffffff");
    QTest::newRow("16 MiB") << text(1 << 24, '\0') << Hex("ff000000000000000001000000");
}

void tst_CalendarSettings::texts() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, prefix);
    BinaryWriter w;
    w.WritePString(text);
    w.WriteShort(7);
    QCOMPARE(w.Data().left(prefix.size()), prefix);
    QVERIFY(w.Data().endsWith(text + Hex("0007")));

    BinaryReader r(w.Data());
    QByteArray back;
    qint16 after = 0;
    QVERIFY(r.ReadPString(&back));
    QCOMPARE(back.size(), text.size());
    QVERIFY(back == text);
    QVERIFY(r.ReadShort(&after));
    QCOMPARE(after, qint16(7));
    QVERIFY(r.AtEnd());
}

// A document of the original layout holds every text as one length byte and its bytes, 255
// included: each length reads back its bytes and nothing more, and is written back the same way.
void tst_CalendarSettings::textsOfTheOriginalLayout() {
    for (int length = 0; length <= 255; ++length) {
        for (const char first : {'\x01', 'A', '\xff'}) {
            QByteArray text;
            for (int i = 0; i < length; ++i) text += char(1 + (i * 37) % 255);
            if (length > 0) text[0] = first;
            const QByteArray bytes = char(length) + text + Hex("0007");
            const QString at =
                QStringLiteral("length %1, first byte %2").arg(length).arg(int(first));

            BinaryReader r(bytes);
            QByteArray back;
            qint16 after = 0;
            QVERIFY2(r.ReadPString(&back) && back == text, qPrintable(at));
            QVERIFY2(r.ReadShort(&after) && after == 7 && r.AtEnd(), qPrintable(at));

            BinaryWriter w;
            w.WritePString(text);
            w.WriteShort(7);
            QVERIFY2(w.Data() == bytes, qPrintable(at));
            if (length == 0) break;
        }
    }
}

// A whole document of the original layout whose location and output path are 255 bytes long.
void tst_CalendarSettings::documentOfTheOriginalLayoutWith255ByteTexts() {
    const QByteArray location = "Seattle, " + QByteArray(246, 'w');
    const QByteArray path = "/" + QByteArray(250, 'd') + ".xml";
    QCOMPARE(location.size(), 255);
    QCOMPARE(path.size(), 255);
    Fixture f = TypicalDocument();
    const QByteArray typical = f.bytes;
    const int locationEnd = f.fieldEnds[CalendarSettings::LocationField - 1];
    const int pathStart = f.fieldEnds[CalendarSettings::OutputPathField - 2];
    const QByteArray bytes = typical.left(4) + Hex("ff") + location +
                             typical.mid(locationEnd, pathStart - locationEnd) + Hex("ff") + path +
                             typical.right(2);

    const CalendarSettings::Decoded d = CalendarSettings::Decode(bytes);
    QVERIFY(d.Complete());
    CalendarSettings expected = TypicalSettings();
    expected.location = QString::fromLatin1(location);
    expected.outputPath = QString::fromLatin1(path);
    QVERIFY(d.fields == expected);
    QCOMPARE(d.fields.Encode(), bytes);
}

void tst_CalendarSettings::layoutOfATypicalDocument() {
    const Fixture f = TypicalDocument();
    QCOMPARE(f.fieldEnds.size(), int(CalendarSettings::FieldCount));
    QCOMPARE(TypicalSettings().Encode(), f.bytes);

    const CalendarSettings::Decoded d = CalendarSettings::Decode(f.bytes);
    QCOMPARE(d.version, 2);
    QVERIFY(d.Complete());
    QVERIFY(d.fields == TypicalSettings());

    // Non-ASCII texts are stored as UTF-8 and come back unchanged.
    CalendarSettings s = TypicalSettings();
    s.location = QStringLiteral("Baie-Comeau, Québec");
    s.outputPath = QStringLiteral("/home/ünïcode/marées.ics");
    const QByteArray bytes = s.Encode();
    QVERIFY(bytes.contains(QByteArray("\x14") + "Baie-Comeau, Qu\xc3\xa9"
                                                "bec"));
    QVERIFY(CalendarSettings::Decode(bytes).fields == s);
}

void tst_CalendarSettings::allTextsEmptyIs33Bytes() {
    const QByteArray bytes = CalendarSettings().Encode();
    QCOMPARE(bytes.size(), 33);
    QCOMPARE(bytes, Hex("00000002"
                        "00"
                        "0000"
                        "0000"
                        "0000"
                        "0000"
                        "00"
                        "00"
                        "00"
                        "0000"
                        "0000"
                        "00"
                        "00"
                        "00"
                        "0000"
                        "0000"
                        "00"
                        "00"
                        "00"
                        "00"
                        "0000"));

    CalendarSettings s = TypicalSettings();
    s.location = s.highTideAbove = s.highTideBelow = s.lowTideAbove = s.lowTideBelow =
        s.outputPath = QString();
    const CalendarSettings::Decoded d = CalendarSettings::Decode(s.Encode());
    QVERIFY(d.Complete());
    QVERIFY(d.fields == s);
    QCOMPARE(s.Encode().size(), 33);
}

void tst_CalendarSettings::versions_data() {
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("1") << Hex("00000001") << true;
    QTest::newRow("2") << Hex("00000002") << true;
    QTest::newRow("0") << Hex("00000000") << false;
    QTest::newRow("3") << Hex("00000003") << false;
    QTest::newRow("-1") << Hex("ffffffff") << false;
    QTest::newRow("most negative") << Hex("80000000") << false;
    QTest::newRow("2 in the other byte order") << Hex("02000000") << false;
}

void tst_CalendarSettings::versions() {
    QFETCH(QByteArray, version);
    QFETCH(bool, accepted);
    Fixture f = TypicalDocument();
    const QByteArray bytes = version + f.bytes.mid(4);
    const CalendarSettings::Decoded d = CalendarSettings::Decode(bytes);
    QCOMPARE(d.versionOk, accepted);
    QCOMPARE(d.Complete(), accepted);
    QCOMPARE(d.Has(CalendarSettings::LocationField), accepted);
    if (accepted) QVERIFY(d.fields == TypicalSettings());
}

// A document cut anywhere yields exactly the fields that lie wholly before the cut.
void tst_CalendarSettings::truncatedAtEveryByte() {
    const Fixture f = TypicalDocument();
    const CalendarSettings full = TypicalSettings();
    for (int n = 0; n <= f.bytes.size(); ++n) {
        const CalendarSettings::Decoded d = CalendarSettings::Decode(f.bytes.left(n));
        int expected = 0;
        while (expected < f.fieldEnds.size() && f.fieldEnds[expected] <= n) ++expected;
        QVERIFY2(d.fieldsRead == expected, qPrintable(QStringLiteral("cut at %1").arg(n)));
        QCOMPARE(d.versionOk, n >= 4);
        if (d.Has(CalendarSettings::LocationField)) QCOMPARE(d.fields.location, full.location);
        if (!d.Has(CalendarSettings::OutputPathField)) QVERIFY(d.fields.outputPath.isEmpty());
        if (!d.Has(CalendarSettings::OutputFormatField)) QCOMPARE(d.fields.outputFormat, qint16(0));
    }
}

void tst_CalendarSettings::damaged_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("fieldsRead");
    QTest::addColumn<QString>("location");
    const QByteArray v2 = Hex("00000002");
    QTest::newRow("empty file") << QByteArray() << 0 << QString();
    QTest::newRow("three bytes") << Hex("000000") << 0 << QString();
    QTest::newRow("version only") << v2 << 1 << QString();
    QTest::newRow("length byte past the end") << v2 + Hex("f0") + "abc" << 1 << QString();
    QTest::newRow("long mark without its length") << v2 + Hex("ff0000") << 1 << QString();
    QTest::newRow("long length past the end") << v2 + Hex("ff00ffffff") + "abc" << 1 << QString();
    QTest::newRow("mark of a longer length without it")
        << v2 + Hex("ff00000000ff") << 1 << QString();
    QTest::newRow("longer length past the end")
        << v2 + Hex("ff000000007fffffffffffffff") + "abc" << 1 << QString();
    QTest::newRow("longer length of 2^64 - 1")
        << v2 + Hex("ff00000000ffffffffffffffff") + "abc" << 1 << QString();
    QTest::newRow("255 text bytes past the end")
        << v2 + Hex("ff7fffffff") + "abc" << 1 << QString();
    QTest::newRow("255 text bytes past the end, first 0xff")
        << v2 + Hex("ffffffffff") + "abc" << 1 << QString();
    QTest::newRow("255 mark at the end") << v2 + Hex("ff") << 1 << QString();
    QTest::newRow("location then half a month") << v2 + Hex("024142") + Hex("00") << 2 << "AB";
    QTest::newRow("invalid UTF-8 location")
        << v2 + Hex("03c328ff") << 2 << QString::fromUtf8("\xc3\x28\xff");
    QTest::newRow("U+FEFF at the start of a text is kept")
        << v2 + Hex("04efbbbf41") << 2 << QString(QChar(0xFEFF)) + "A";
}

void tst_CalendarSettings::damaged() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, fieldsRead);
    QFETCH(QString, location);
    const CalendarSettings::Decoded d = CalendarSettings::Decode(bytes);
    QCOMPARE(d.fieldsRead, fieldsRead);
    QCOMPARE(d.fields.location, location);
    QVERIFY(!d.Complete());
}

// Every file of the fuzzing corpus decodes without a fault, and what it yields survives being
// written and read again.
void tst_CalendarSettings::corpusReplay() {
    const QDir corpus(QStringLiteral(QUORVEX_TEST_FIXTURES "/settings-corpus"));
    const QStringList files = corpus.entryList(QDir::Files);
    QVERIFY(files.size() >= 10);
    int complete = 0;
    for (const QString& name : files) {
        QFile file(corpus.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const CalendarSettings::Decoded d = CalendarSettings::Decode(bytes);
        QVERIFY2(d.fieldsRead >= 0 && d.fieldsRead <= CalendarSettings::FieldCount,
                 qPrintable(name));
        QVERIFY2(d.versionOk || d.fieldsRead <= 1, qPrintable(name));
        const CalendarSettings::Decoded again = CalendarSettings::Decode(d.fields.Encode());
        QVERIFY2(again.Complete() && again.fields == d.fields, qPrintable(name));
        if (d.Complete()) ++complete;
    }
    QVERIFY(complete > 0);
}

QUORVEX_TEST_MAIN(tst_CalendarSettings)
#include "tst_CalendarSettings.moc"
