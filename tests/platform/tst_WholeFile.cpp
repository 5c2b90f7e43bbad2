// tst_WholeFile  Whole reads of documents: regular files, what cannot be read, and named pipes,
// which never make the read wait for a writer that does not come.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "platform/WholeFile.h"
#include "support/NamedPipe.h"
#include "support/TestMain.h"

class tst_WholeFile : public QObject {
    Q_OBJECT
  private slots:
    void read_data();
    void read();
    void unreadableFile();
};

void tst_WholeFile::read_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");  // what the file holds or the writer sends
    QTest::addColumn<bool>("ok");
    QByteArray large;
    for (int i = 0; large.size() < 300000; ++i) large += QByteArray::number(i) + '\n';
    QTest::newRow("a regular file") << "file" << QByteArray("/x\nA\n") << true;
    QTest::newRow("an empty regular file") << "file" << QByteArray() << true;
    QTest::newRow("a regular file larger than one read") << "file" << large << true;
    QTest::newRow("no file") << "missing" << QByteArray() << false;
    QTest::newRow("a folder") << "folder" << QByteArray() << false;
    QTest::newRow("a device that gives nothing") << "/dev/null" << QByteArray() << false;
    QTest::newRow("a pipe without a writer") << "no writer" << QByteArray() << false;
    QTest::newRow("a pipe whose writer has sent and holds it open")
        << "sent" << QByteArray("/x\nA\n") << true;
    QTest::newRow("a pipe whose writer sends later")
        << "sends later" << QByteArray("/x\nA\n") << true;
}

// Each read ends with the whole contents, or false with no bytes, and none waits for a writer.
void tst_WholeFile::read() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("document"));
    std::unique_ptr<NamedPipe> pipe;
    if (kind == QLatin1String("file")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind.startsWith(QLatin1Char('/'))) {
        path = kind;
    } else if (kind == QLatin1String("no writer")) {
        pipe = std::make_unique<NamedPipe>(path, NamedPipe::Writer::None);
    } else if (kind != QLatin1String("missing")) {
        const bool sent = kind == QLatin1String("sent");
        pipe = std::make_unique<NamedPipe>(path, NamedPipe::Writer::Sends, bytes, sent ? 0 : 300,
                                           sent ? 300 : 0);
        if (sent) QTest::qWait(50);
    }
    if (pipe) QVERIFY(pipe->isValid());

    QByteArray read = "untouched";
    QCOMPARE(WholeFile::Read(path, &read), ok);
    QCOMPARE(read, ok ? bytes : QByteArray());
    if (pipe) {
        QVERIFY2(!pipe->ReaderWaited(), "the read waited for a writer");
        QVERIFY(!pipe->SendFailed());
    }
}

// A file without read permission reads as false; so does an empty path.
void tst_WholeFile::unreadableFile() {
    QByteArray read = "untouched";
    QVERIFY(!WholeFile::Read(QString(), &read));
    QVERIFY(read.isEmpty());
    if (geteuid() == 0) QSKIP("permissions do not bind root");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("document"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    read = "untouched";
    QVERIFY(!WholeFile::Read(path, &read));
    QVERIFY(read.isEmpty());
}

QUORVEX_TEST_MAIN(tst_WholeFile)
#include "tst_WholeFile.moc"
