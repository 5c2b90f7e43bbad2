// tst_FileTypes  The three document types and the name filters the file dialogs get from them.
#include <QtTest>

#include "core/FileTypes.h"
#include "support/TestMain.h"

class tst_FileTypes : public QObject {
    Q_OBJECT
  private slots:
    void types_data();
    void types();
    void nameFilter_data();
    void nameFilter();
};

void tst_FileTypes::types_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extensions");
    QTest::addColumn<QString>("macType");
    QTest::addColumn<QString>("macCreator");
    QTest::newRow("text") << "text"
                          << ""
                          << "TEXT"
                          << "R*ch";
    QTest::newRow("quorvex") << "quorvex"
                             << ".quorvex"
                             << "qvrx"
                             << "qvrx";
    QTest::newRow("tidehtml") << "tidehtml"
                              << ".tidehtml"
                              << "thtm"
                              << "qvrx";
}

void tst_FileTypes::types() {
    QFETCH(QString, name);
    QFETCH(QString, extensions);
    QFETCH(QString, macType);
    QFETCH(QString, macCreator);
    FileTypes::Initialize();
    const FileType* type = FileTypes::ByName(name);
    QVERIFY(type);
    QCOMPARE(type->Name, name);
    QCOMPARE(type->Extensions, extensions);
    QCOMPARE(type->MacType, macType);
    QCOMPARE(type->MacCreator, macCreator);
    QCOMPARE(FileTypes::All, QStringLiteral("text;quorvex;tidehtml;"));
    QCOMPARE(&FileTypes::TideHTML(), FileTypes::ByName(QStringLiteral("TideHTML")));
}

void tst_FileTypes::nameFilter_data() {
    QTest::addColumn<QString>("types");
    QTest::addColumn<QString>("filter");
    QTest::newRow("calendar settings") << "quorvex"
                                       << "Quorvex settings (*.quorvex)";
    QTest::newRow("generator settings") << "tidehtml"
                                        << "Tide generator settings (*.tidehtml)";
    QTest::newRow("all three")
        << FileTypes::All
        << "Text files (*);;Quorvex settings (*.quorvex);;Tide generator settings (*.tidehtml)";
    QTest::newRow("unknown names skipped") << "nonsense;quorvex"
                                           << "Quorvex settings (*.quorvex)";
    QTest::newRow("nothing known") << "nonsense"
                                   << "";
}

void tst_FileTypes::nameFilter() {
    QFETCH(QString, types);
    QFETCH(QString, filter);
    QCOMPARE(FileTypes::NameFilter(types), filter);
}

QUORVEX_TEST_MAIN(tst_FileTypes)
#include "tst_FileTypes.moc"
