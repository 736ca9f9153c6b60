// The worker thread service on the real steady clock: the wait sleeps until just
// past its deadline, an end wakes it at once, and ending is safe in every state.
#include "services/threads.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

using namespace fc;
using namespace std::chrono_literals;

namespace {

// Spins (without sleeping the test thread) until `done` or a timeout.
bool waitFor(const std::atomic<bool>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done && t.elapsed() < ms) std::this_thread::sleep_for(1ms);
    return done;
}

}  // namespace

class ThreadsTest : public QObject {
    Q_OBJECT
private slots:
    void nonPositiveWaitsReturnAtOnce_data() {
        QTest::addColumn<int>("ms");
        QTest::newRow("0") << 0;
        QTest::newRow("-1") << -1;
        QTest::newRow("int min") << INT_MIN;
    }
    void nonPositiveWaitsReturnAtOnce() {
        QFETCH(int, ms);
        std::atomic<bool> done{false};
        std::atomic<qint64> took{-1};
        const auto h = services::startThread([&] {
            QElapsedTimer t;
            t.start();
            services::waitMs(ms);
            took = t.nsecsElapsed();
            done = true;
        });
        QVERIFY(h != 0);
        QVERIFY(waitFor(done));
        QVERIFY2(took < 5'000'000, qPrintable(QString::number(took)));  // well under 5 ms
        services::endThread(h);
    }

    void aWaitNeverReturnsEarly() {
        std::atomic<bool> done{false};
        std::atomic<qint64> took{-1};
        const auto h = services::startThread([&] {
            const auto start = std::chrono::steady_clock::now();
            services::waitMs(40);
            took = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::steady_clock::now() - start)
                       .count();
            done = true;
        });
        QVERIFY(waitFor(done));
        QVERIFY2(took > 40'000'000, qPrintable(QString::number(took)));
        services::endThread(h);
    }

    void anEndWakesAWaitingWorkerAtOnce() {
        std::atomic<bool> waiting{false};
        std::atomic<bool> ranOn{false};
        std::atomic<bool> waitResult{true};
        const auto h = services::startThread([&] {
            waiting = true;
            waitResult = services::waitMs(600'000);
            if (!services::stopRequested()) ranOn = true;
        });
        QVERIFY(waitFor(waiting));
        std::this_thread::sleep_for(20ms);  // let it fall asleep
        QElapsedTimer t;
        t.start();
        services::endThread(h);
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(waitResult.load(), false);
        QCOMPARE(ranOn.load(), false);
        QCOMPARE(services::liveThreadCount(), 0);
    }

    void endingIsSafeInEveryState() {
        services::endThread(0);       // no thread
        services::endThread(987654);  // never started
        std::atomic<bool> done{false};
        const auto h = services::startThread([&] { done = true; });
        QVERIFY(waitFor(done));
        services::endThread(h);  // finished
        services::endThread(h);  // and again
        QCOMPARE(services::liveThreadCount(), 0);
    }

    void theSettleHookTellsHowTheWorkerEnded() {
        std::vector<std::pair<services::ThreadHandle, bool>> seen;
        services::setSettleHook(
            [&](services::ThreadHandle h, bool finished) { seen.emplace_back(h, finished); });
        std::atomic<bool> done{false};
        const auto finished = services::startThread([&] { done = true; });
        QVERIFY(waitFor(done));
        while (services::liveThreadCount() != 0) std::this_thread::sleep_for(1ms);
        services::endThread(finished);
        const auto ended = services::startThread([] { services::waitMs(600'000); });
        services::endThread(ended);
        services::setSettleHook(nullptr);
        QCOMPARE(seen.size(), size_t(2));
        QCOMPARE(seen[0], std::make_pair(finished, true));
        QCOMPARE(seen[1], std::make_pair(ended, false));
    }

    void aFailedStartGivesNoHandle() {
        services::failThreadStartsForTesting(true);
        bool ran = false;
        QCOMPARE(services::startThread([&] { ran = true; }), 0u);
        services::failThreadStartsForTesting(false);
        QVERIFY(!ran);
    }

    void theCurrentWorkerKnowsItsHandle() {
        std::atomic<services::ThreadHandle> inside{0};
        std::atomic<bool> done{false};
        const auto h = services::startThread([&] {
            inside = services::currentThread();
            done = true;
        });
        QVERIFY(waitFor(done));
        QCOMPARE(inside.load(), h);
        QCOMPARE(services::currentThread(), 0u);
        services::endThread(h);
    }
};

QTEST_GUILESS_MAIN(ThreadsTest)
#include "test_threads.moc"
