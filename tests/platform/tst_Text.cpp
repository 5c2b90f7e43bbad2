// Tests of the text, byte and shell-word functions the system relies on.
#include <QProcess>
#include <QTemporaryDir>
#include <QtNumeric>

#include "platform/ShellWord.h"
#include "platform/Text.h"
#include "support/TestMain.h"

class TestText : public QObject {
    Q_OBJECT
private slots:
    void inStr_data() {
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("find");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        QTest::newRow("case-blind") << "Sunrise" << "sun" << 1 << 1;
        QTest::newRow("inside") << "High Tide" << "TIDE" << 1 << 6;
        QTest::newRow("absent") << "Low Tide" << "high" << 1 << 0;
        QTest::newRow("from start") << "a-b-c" << "-" << 3 << 4;
        QTest::newRow("start past end") << "abc" << "a" << 5 << 0;
        QTest::newRow("empty find") << "abc" << "" << 1 << 1;
    }
    void inStr() {
        QFETCH(QString, s);
        QFETCH(QString, find);
        QFETCH(int, start);
        QFETCH(int, expected);
        QCOMPARE(Text::InStr(s, find, start), expected);
    }

    void sameIgnoresCase() {
        QVERIFY(Text::Same("No Location Specified", "No location specified"));
        QVERIFY(!Text::Same("No Location", "No Location Specified"));
    }

    void pieces() {
        QCOMPARE(Text::Left("2009-03-01", 7), QString("2009-03"));
        QCOMPARE(Text::Mid("2009-03-01  1:03 AM", 12, 2), QString(" 1"));
        QCOMPARE(Text::Mid("abc", 2), QString("bc"));
        QCOMPARE(Text::Mid("abc", 9), QString());
        QCOMPARE(Text::Trim("  a b  "), QString("a b"));
        QCOMPARE(Text::NthField("4.41 feet", " ", 1), QString("4.41"));
        QCOMPARE(Text::NthField("a,b,,c", ",", 4), QString("c"));
        QCOMPARE(Text::NthField("a,b", ",", 3), QString());
    }

    void val_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "4.41" << 4.41;
        QTest::newRow("leading blanks") << "   11.85 feet" << 11.85;
        QTest::newRow("negative") << "-0.5" << -0.5;
        QTest::newRow("none") << "feet" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("trailing text") << "3 ft" << 3.0;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("leading zeros") << "007.50" << 7.5;
        QTest::newRow("point without decimals") << "5." << 5.0;
        QTest::newRow("decimals only") << "-.5" << -0.5;
        QTest::newRow("fifteen digits") << "0.123456789012345" << 0.123456789012345;
        QTest::newRow("beyond fifteen digits") << "2.00000000000000000001" << 2.0;
        QTest::newRow("beyond double precision") << "9007199254740993" << 9007199254740992.0;
    }
    void val() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Text::Val(text), expected);
    }

    void strAndFormat_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Str int") << Text::Str(2009) << "2009";
        QTest::newRow("Str negative") << Text::Str(-1) << "-1";
        QTest::newRow("Str fraction") << Text::Str(2.5) << "2.5";
        QTest::newRow("Str whole double") << Text::Str(3.0) << "3";
        QTest::newRow("Str small") << Text::Str(0.25) << "0.25";
        QTest::newRow("00") << Text::Format(5, "00") << "05";
        QTest::newRow("00 wide") << Text::Format(123, "00") << "123";
        QTest::newRow("00 negative") << Text::Format(-1, "00") << "-01";
        QTest::newRow("0000") << Text::Format(2009, "0000") << "2009";
        QTest::newRow("0000 pad") << Text::Format(7, "0000") << "0007";
        QTest::newRow("00 zero") << Text::Format(0, "00") << "00";
        QTest::newRow("00 rounds") << Text::Format(2.5, "00") << "03";
        QTest::newRow("0000 large") << Text::Format(1e16, "0000") << "10000000000000000";
        QTest::newRow("-#0.00") << Text::Format(4.41, "-#0.00") << "4.41";
        QTest::newRow("-#0.00 neg") << Text::Format(-0.5, "-#0.00") << "-0.50";
        QTest::newRow("-#0.00 round") << Text::Format(1.005001, "-#0.00") << "1.01";
        QTest::newRow("-#0.00 zero") << Text::Format(-0.001, "-#0.00") << "0.00";
        // Rounded as the stored binary value lies: a true half goes to the even digit, 2.675 is
        // stored a little below its text.
        QTest::newRow("-#0.00 half to even") << Text::Format(0.125, "-#0.00") << "0.12";
        QTest::newRow("-#0.00 half up to even") << Text::Format(0.375, "-#0.00") << "0.38";
        QTest::newRow("-#0.00 below half") << Text::Format(2.675, "-#0.00") << "2.67";
        QTest::newRow("-#0.00 negative half") << Text::Format(-0.005, "-#0.00") << "-0.01";
        QTest::newRow("-#0.00 float height") << Text::Format(double(8.37f), "-#0.00") << "8.37";
        QTest::newRow("-#0.00 large")
            << Text::Format(1e22, "-#0.00") << "10000000000000000000000.00";
        QTest::newRow("-#0.00 infinite") << Text::Format(qInf(), "-#0.00") << "0.00";
    }
    void strAndFormat() {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void truncation() {
        QCOMPARE(Text::ToInt32(-0.9), 0);
        QCOMPARE(Text::ToInt32(2.9), 2);
        QCOMPARE(Text::ToInt32(-61 / 60.0), -1);
    }

    void bytes() {
        const QByteArray s("Mayag\xc3\xbc" "ez");
        QCOMPARE(Bytes::LenB(s), 9);
        QCOMPARE(Bytes::LeftB(s, 6), QByteArray("Mayag\xc3"));
        QCOMPARE(Bytes::MidB(s, 6, 2), QByteArray("\xc3\xbc"));
        QCOMPARE(Bytes::InStrB("Location list generated", "list"), 10);
        QCOMPARE(Bytes::InStrB("location LIST", "list"), 0);
    }

    // Every quoted word must reach a program as exactly the bytes it was made from.
    void shellWordRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("blanks") << QByteArray("/tmp/My Folder/tide");
        QTest::newRow("quotes") << QByteArray("x\"; touch PWNED; \"'y'");
        QTest::newRow("dollar") << QByteArray("$(touch PWNED) $HOME `touch PWNED`");
        QTest::newRow("backslash") << QByteArray("a\\b\\");
        QTest::newRow("utf8") << QByteArray("Mayag\xc3\xbc" "ez, Puerto Rico");
        QTest::newRow("latin1") << QByteArray("Mayag\xfc" "ez");
        QTest::newRow("cut utf8") << QByteArray("Mayag\xc3");
        QTest::newRow("newline") << QByteArray("a\nb\tc");
        QTest::newRow("empty") << QByteArray();
    }
    void shellWordRoundTrip() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString word = ShellWord::Quote(bytes);
        for (QChar c : word) QVERIFY(c.unicode() < 128);
        QProcess bash;
        bash.setWorkingDirectory(dir.path());
        bash.start("/bin/bash", {"-c", "printf %s " + word});
        QVERIFY(bash.waitForFinished(10000));
        QCOMPARE(bash.readAllStandardOutput(), bytes);
        QVERIFY(!QFile::exists(dir.filePath("PWNED")));
    }
};

QUORVEX_TEST_MAIN(TestText)
#include "tst_Text.moc"
