// TestMain  The main() of every QtTest executable: a QApplication on the offscreen platform
// with QStandardPaths in test mode, so no test touches the user's real folders.
#pragma once

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

#define QUORVEX_TEST_MAIN(TestObject)                              \
    int main(int argc, char** argv) {                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                   \
        QStandardPaths::setTestModeEnabled(true);                  \
        QApplication app(argc, argv);                              \
        app.setApplicationName(QStringLiteral("quorvex-tests"));   \
        TestObject tc;                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                 \
        return QTest::qExec(&tc, argc, argv);                      \
    }
