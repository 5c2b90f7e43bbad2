// tst_ReaderCorpora  Replays the fuzzing corpora of the readers of outside bytes (tide's listing
// and monthly output, the location cache, generator settings documents): every file, seeds and
// inputs that once showed a fault alike, must pass its reader's properties.
#include <QDir>
#include <QFile>
#include <QtTest>

#include "support/TestMain.h"
#include "tools/fuzz/ReaderProperties.h"

class tst_ReaderCorpora : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { ReaderProperties::UseZoneWithDaylightSaving(); }
    void replay_data();
    void replay();
};

void tst_ReaderCorpora::replay_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    for (const QString& target : ReaderProperties::Targets()) {
        const QDir corpus(QStringLiteral(QUORVEX_TEST_FIXTURES "/") + target +
                          QStringLiteral("-corpus"));
        const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
        if (files.isEmpty()) qFatal("the corpus %s is empty or missing", qPrintable(corpus.path()));
        for (const QString& name : files)
            QTest::newRow(qPrintable(target + QLatin1Char('/') + name))
                << target << corpus.filePath(name);
    }
}

void tst_ReaderCorpora::replay() {
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(ReaderProperties::Check(target, file.readAll()), QString());
}

QUORVEX_TEST_MAIN(tst_ReaderCorpora)
#include "tst_ReaderCorpora.moc"
