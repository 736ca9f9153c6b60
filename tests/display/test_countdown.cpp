// The countdown run as a sequence of writes and waits on a virtual clock: which
// values come, when the flash starts, when the end comes, and that time spent
// between the waits never makes the run late.
#include "display/countdown.h"

#include <QTest>

#include <vector>

using namespace fc;
using namespace std::chrono_literals;
using services::Clock;

namespace {

struct Event {
    enum Kind { Flash, Show, Finish } kind;
    QString text;
    Clock::Duration at;  // since the start
};

// Records every output with its virtual time. `busy` is how long each write takes,
// to show that it is not added to the run.
class RecordingSink final : public display::CountdownSink {
public:
    RecordingSink(services::VirtualClock& clock, Clock::TimePoint start, Clock::Duration busy = 0ns,
                  int endAfterWaits = -1)
        : clock_(clock), start_(start), busy_(busy), endAfterWaits_(endAfterWaits) {}

    void setFlashPeriod(int ms) override {
        QCOMPARE(ms, 500);
        events.push_back({Event::Flash, {}, clock_.now() - start_});
    }
    void showTime(const QString& text) override {
        events.push_back({Event::Show, text, clock_.now() - start_});
        clock_.advance(busy_);
    }
    bool waitUntil(Clock::TimePoint deadline) override {
        if (waits == endAfterWaits_) return false;
        ++waits;
        return clock_.sleepUntil(deadline, [] { return false; });
    }
    void finish() override { events.push_back({Event::Finish, {}, clock_.now() - start_}); }

    QStringList shown() const {
        QStringList out;
        for (const Event& e : events) {
            if (e.kind == Event::Show) out << e.text;
        }
        return out;
    }
    // The value shown together with the first flash write, or empty.
    QString flashStartsWith() const {
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i].kind == Event::Flash)
                return i + 1 < events.size() ? events[i + 1].text : QString();
        }
        return {};
    }
    bool finished() const { return !events.empty() && events.back().kind == Event::Finish; }

    std::vector<Event> events;
    int waits = 0;

private:
    services::VirtualClock& clock_;
    Clock::TimePoint start_;
    Clock::Duration busy_;
    int endAfterWaits_;
};

}  // namespace

class CountdownTest : public QObject {
    Q_OBJECT
private slots:
    void runs_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("flash");
        QTest::addColumn<int>("values");
        QTest::addColumn<QStringList>("first");  // the first values shown
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("flashFrom");  // value shown with the first flash write

        QTest::newRow("5:00") << 5 << 0 << 0 << 301 << QStringList{"05:00", "04:59", "04:58"}
                              << "00:00"
                              << "";
        QTest::newRow("0:00 flash 5") << 0 << 0 << 5 << 1 << QStringList{"00:00"} << "00:00"
                                      << "00:00";
        QTest::newRow("0:00 flash 0") << 0 << 0 << 0 << 1 << QStringList{"00:00"} << "00:00"
                                      << "";
        QTest::newRow("1:05 flash 10")
            << 1 << 5 << 10 << 66 << QStringList{"01:05", "01:04"} << "00:00"
            << "00:09";
        QTest::newRow("3:00 flash 90")
            << 3 << 0 << 90 << 181 << QStringList{"03:00", "02:59"} << "00:00"
            << "00:59";
        QTest::newRow("12:00") << 12 << 0 << 0 << 721 << QStringList{"12:00", "11:59"} << "00:00"
                               << "";
        QTest::newRow("100:00") << 100 << 0 << 0 << 6001 << QStringList{"100:00", "99:59"}
                                << "00:00"
                                << "";
        QTest::newRow("2:75") << 2 << 75 << 0 << 196 << QStringList{"02:75", "02:74"} << "00:00"
                              << "";
        QTest::newRow("-1:30") << -1 << 30 << 5 << 0 << QStringList{} << ""
                               << "";
        QTest::newRow("3:-5") << 3 << -5 << 0 << 180 << QStringList{"02:59", "02:58"} << "00:00"
                              << "";
        QTest::newRow("0:-1") << 0 << -1 << 5 << 0 << QStringList{} << ""
                              << "";
        QTest::newRow("flash -3") << 0 << 3 << -3 << 4 << QStringList{"00:03"} << "00:00"
                                  << "";
    }
    void runs() {
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(int, flash);
        QFETCH(int, values);
        QFETCH(QStringList, first);
        QFETCH(QString, last);
        QFETCH(QString, flashFrom);

        services::VirtualClock clock;
        const Clock::TimePoint start = clock.now();
        RecordingSink sink(clock, start);
        std::atomic<std::int32_t> flashSeconds{flash};
        display::RunCountdownSequence(minutes, seconds, flashSeconds, start, sink);

        const QStringList shown = sink.shown();
        QCOMPARE(shown.size(), values);
        QCOMPARE(shown.mid(0, first.size()), first);
        if (!last.isEmpty()) QCOMPARE(shown.back(), last);
        QCOMPARE(sink.flashStartsWith(), flashFrom);
        QVERIFY(sink.finished());
        QCOMPARE(sink.waits, values);
        // "时间到" comes one full wait after the last value: N seconds after the start.
        const Clock::Duration end = sink.events.back().at;
        QVERIFY(end >= std::chrono::seconds(values));
        QVERIFY(end < std::chrono::seconds(values) + 1ms);
    }

    void flashIsWrittenBeforeEveryFinalValue() {
        services::VirtualClock clock;
        RecordingSink sink(clock, clock.now());
        std::atomic<std::int32_t> flashSeconds{3};
        display::RunCountdownSequence(0, 5, flashSeconds, clock.now(), sink);
        QStringList order;
        for (const auto& e : sink.events)
            order << (e.kind == Event::Flash ? "F" : e.kind == Event::Show ? e.text : "end");
        QCOMPARE(order, QStringList({"00:05", "00:04", "00:03", "F", "00:02", "F", "00:01", "F",
                                     "00:00", "end"}));
    }

    void secondsAboveFiftyNineOnlyInTheFirstMinute() {
        services::VirtualClock clock;
        RecordingSink sink(clock, clock.now());
        std::atomic<std::int32_t> flashSeconds{0};
        display::RunCountdownSequence(2, 75, flashSeconds, clock.now(), sink);
        const QStringList shown = sink.shown();
        QCOMPARE(shown.indexOf("02:00"), 75);
        QCOMPARE(shown.at(76), QStringLiteral("01:59"));
        QVERIFY(!shown.contains("01:75") && !shown.contains("00:60"));
    }

    void flashThresholdIsReadEverySecond() {
        services::VirtualClock clock;
        std::atomic<std::int32_t> flashSeconds{0};
        struct Sink final : display::CountdownSink {
            std::atomic<std::int32_t>* flash;
            services::VirtualClock* clock;
            QStringList log;
            void setFlashPeriod(int) override { log << "F"; }
            void showTime(const QString& t) override {
                log << t;
                if (t == "00:03") *flash = 10;  // changed while the run goes on
            }
            bool waitUntil(Clock::TimePoint d) override {
                return clock->sleepUntil(d, [] { return false; });
            }
            void finish() override {}
        } sink;
        sink.flash = &flashSeconds;
        sink.clock = &clock;
        display::RunCountdownSequence(0, 4, flashSeconds, clock.now(), sink);
        QCOMPARE(sink.log,
                 QStringList({"00:04", "00:03", "F", "00:02", "F", "00:01", "F", "00:00"}));
    }

    void timeSpentWritingDoesNotMakeTheRunLate() {
        services::VirtualClock clock;
        const Clock::TimePoint start = clock.now();
        RecordingSink sink(clock, start, 40ms);  // each write takes 40 ms
        std::atomic<std::int32_t> flashSeconds{0};
        display::RunCountdownSequence(1, 0, flashSeconds, start, sink);
        int k = 0;
        for (const Event& e : sink.events) {
            if (e.kind != Event::Show) continue;
            // Value k stands at start + k s, however long the writes before it took.
            QVERIFY2(e.at >= std::chrono::seconds(k) && e.at < std::chrono::seconds(k) + 1ms,
                     qPrintable(e.text));
            ++k;
        }
        QCOMPARE(k, 61);
        QVERIFY(sink.events.back().at < 61s + 1ms);
    }

    void anEndedRunStopsWithoutItsEndSteps() {
        services::VirtualClock clock;
        RecordingSink sink(clock, clock.now(), 0ns, 3);
        std::atomic<std::int32_t> flashSeconds{100};
        display::RunCountdownSequence(0, 10, flashSeconds, clock.now(), sink);
        QCOMPARE(sink.shown(), QStringList({"00:10", "00:09", "00:08", "00:07"}));
        QVERIFY(!sink.finished());
    }

    void hugeStartTimesNeedNoWaitToBegin() {
        services::VirtualClock clock;
        RecordingSink sink(clock, clock.now(), 0ns, 2);
        std::atomic<std::int32_t> flashSeconds{0};
        display::RunCountdownSequence(2147483647, 2147483647, flashSeconds, clock.now(), sink);
        QCOMPARE(sink.shown(), QStringList({"2147483647:2147483647", "2147483647:2147483646",
                                            "2147483647:2147483645"}));
    }
};

QTEST_GUILESS_MAIN(CountdownTest)
#include "test_countdown.moc"
