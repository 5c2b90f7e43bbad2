// Tests of the pacing of long loops' turns of the event loop: a turn at the first step, then at
// once after a turn that found events, else only once the interval has passed.
#include <QElapsedTimer>
#include <QTimer>

#include "platform/EventLoop.h"
#include "platform/YieldPacer.h"
#include "support/TestMain.h"

class TestYieldPacer : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        while (EventLoop::Yield()) {
        }
    }

    // The first step is a turn: what was queued before the loop runs before its second step.
    void firstStepIsATurn() {
        int ran = 0;
        QMetaObject::invokeMethod(
            this, [&] { ++ran; }, Qt::QueuedConnection);
        YieldPacer pacer;
        QVERIFY(pacer.Step());
        QCOMPARE(ran, 1);
    }

    // After a turn that found nothing, what arrives waits until the interval has passed since
    // that turn, and the turn that handles it is the only one meanwhile; the step after it is a
    // turn again at once, in case more is coming.
    void idleLoopTurnsOncePerInterval() {
        YieldPacer pacer;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(pacer.Step());  // finds nothing
        qint64 ranAt = -1;
        QMetaObject::invokeMethod(
            this, [&] { ranAt = clock.nsecsElapsed(); }, Qt::QueuedConnection);
        int turns = 0;
        while (ranAt < 0 && clock.elapsed() < 5000) turns += pacer.Step();
        QVERIFY(ranAt >= 0);
        QVERIFY2(ranAt >= YieldPacer::kIntervalMs * 1000000LL, qPrintable(QString::number(ranAt)));
        QCOMPARE(turns, 1);
        QVERIFY(pacer.Step());
    }

    // While every turn finds events (here a timer due at every turn), every step is a turn.
    void busyLoopTurnsEveryStep() {
        QTimer due;
        int fired = 0;
        connect(&due, &QTimer::timeout, this, [&] { ++fired; });
        due.start(0);
        YieldPacer pacer;
        int turns = 0;
        for (int i = 0; i < 100; ++i) turns += pacer.Step();
        QCOMPARE(turns, 100);
        QCOMPARE(fired, 100);
    }
};

QUORVEX_TEST_MAIN(TestYieldPacer)
#include "tst_YieldPacer.moc"
