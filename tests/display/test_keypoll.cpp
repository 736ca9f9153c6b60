// F2, F3 and ESC on the real display with a scripted key state and a clock the
// test moves by hand, so a run can be caught at any second.
#include "display/display.h"
#include "services/clock.h"
#include "services/keystate.h"
#include "services/threads.h"
#include "shell/programmain.h"
#include "shell/state.h"
#include "ui/label.h"
#include "ui/layer.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

using namespace fc;
using namespace std::chrono_literals;
using services::Clock;
using ui::Layer;
using ui::Prop;
using ui::Ref;

namespace {

// Keys the test holds down; each query also reports a press since the last one.
class ScriptedKeys final : public services::KeyState {
public:
    std::uint32_t query(int vk) override { return held.count(vk) != 0 ? 0x8000u : 0u; }
    std::set<int> held;
};

// Sleepers wait until the test moves the clock past their deadline.
class ManualClock final : public Clock {
public:
    TimePoint now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    bool sleepUntil(TimePoint deadline, const std::function<bool()>& stopped) override {
        std::unique_lock lock(mutex_);
        ++sleepers_;
        cv_.notify_all();
        cv_.wait(lock, [&] { return stopped() || now_ > deadline; });
        --sleepers_;
        return !stopped();
    }
    void wake() override {
        { std::lock_guard lock(mutex_); }
        cv_.notify_all();
    }
    void advance(Duration d) {
        std::lock_guard lock(mutex_);
        now_ += d;
        cv_.notify_all();
    }
    // Waits (without taking events) until a worker sleeps in the clock.
    bool waitForSleeper() {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, 5s, [&] { return sleepers_ > 0; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    TimePoint now_{};
    int sleepers_ = 0;
};

const Ref kPanel{shell::kDisplayWindow, QStringLiteral("标签2")};
const Ref kFlash{shell::kDisplayWindow, QStringLiteral("时钟3")};

QString caption() { return Layer::instance().readText(kPanel, Prop::Caption); }

}  // namespace

class KeyPollTest : public QObject {
    Q_OBJECT
    ScriptedKeys* keys_ = nullptr;
    std::shared_ptr<ManualClock> clock_;

    void press(std::initializer_list<int> vks) {
        keys_->held = vks;
        display::OnKeyPollTick();
        keys_->held.clear();
    }
    void setStart(const QString& minutes, const QString& seconds, const QString& flash = {}) {
        auto edit = [](const char16_t* name) {
            return static_cast<QLineEdit*>(
                Layer::instance().widget({shell::kSettingsWindow, QString::fromUtf16(name)}));
        };
        edit(u"编辑框1")->setText(minutes);
        edit(u"编辑框2")->setText(seconds);
        edit(u"编辑框3")->setText(flash);
    }
    void openDisplay() { QVERIFY(Layer::instance().load(shell::kDisplayWindow, false)); }
    // Gives queued writes of a worker that should be silent the chance to land.
    void settle() { QTest::qWait(10); }

private slots:
    void initTestCase() {
        shell::PrepareWindows();
        auto keys = std::make_unique<ScriptedKeys>();
        keys_ = keys.get();
        services::setKeyState(std::move(keys));
    }
    void init() {
        clock_ = std::make_shared<ManualClock>();
        services::setClock(clock_);
        services::failThreadStartsForTesting(false);
        shell::isRunning = 0;
        shell::countdownThread = 0;
        Layer::instance().load(shell::kSettingsWindow, false);
        setStart("5", "");
        openDisplay();
    }
    void cleanup() {
        Layer& layer = Layer::instance();
        if (layer.isOpen(shell::kDisplayWindow)) layer.destroy(shell::kDisplayWindow);
        QTRY_VERIFY(!layer.exists(shell::kDisplayWindow));
        QCOMPARE(services::liveThreadCount(), 0);
        services::setClock(nullptr);
    }

    void f2StartsOneRun() {
        QCOMPARE(caption(), QStringLiteral("05:00"));
        press({services::vk::F2});
        QCOMPARE(shell::isRunning.load(), 1);
        const auto worker = shell::countdownThread;
        QVERIFY(worker != 0);
        QVERIFY(clock_->waitForSleeper());
        clock_->advance(1001ms);
        QTRY_COMPARE(caption(), QStringLiteral("04:59"));
        press({services::vk::F2});  // during a run: nothing
        QCOMPARE(shell::countdownThread, worker);
        QCOMPARE(services::liveThreadCount(), 1);
    }

    void f3ResetsAndNothingOfTheRunComesAfter() {
        press({services::vk::F2});
        QVERIFY(clock_->waitForSleeper());
        clock_->advance(2001ms);
        QTRY_COMPARE(caption(), QStringLiteral("04:58"));
        press({services::vk::F3});
        QCOMPARE(shell::isRunning.load(), 0);
        QCOMPARE(caption(), QStringLiteral("05:00"));
        QCOMPARE(services::liveThreadCount(), 0);
        clock_->advance(10s);
        settle();
        QCOMPARE(caption(), QStringLiteral("05:00"));
    }

    void f3BeforeAnyF2ShowsTheStartTime() {
        Layer::instance().writeText(kPanel, Prop::Caption, "x");
        press({services::vk::F3});
        QCOMPARE(caption(), QStringLiteral("05:00"));
        QCOMPARE(shell::isRunning.load(), 0);
        QCOMPARE(shell::countdownThread, 0u);
    }

    void f2AndF3InOneTickLeaveTheStartTime() {
        press({services::vk::F2, services::vk::F3});
        QCOMPARE(shell::isRunning.load(), 0);
        QVERIFY(shell::countdownThread != 0);
        QCOMPARE(services::liveThreadCount(), 0);
        settle();
        QCOMPARE(caption(), QStringLiteral("05:00"));
    }

    void escEndsTheRunAndClosesTheDisplay() {
        press({services::vk::F2});
        QVERIFY(clock_->waitForSleeper());
        press({services::vk::Escape});
        QCOMPARE(services::liveThreadCount(), 0);
        // Cleared, so the next display answers F2 at once.
        QCOMPARE(shell::isRunning.load(), 0);
        QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
        openDisplay();
        press({services::vk::F2});
        QCOMPARE(shell::isRunning.load(), 1);
        QCOMPARE(services::liveThreadCount(), 1);
    }

    void escAndF2InOneTick() {
        press({services::vk::F2, services::vk::Escape});
        QCOMPARE(services::liveThreadCount(), 0);
        QCOMPARE(shell::isRunning.load(), 0);
        QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
    }

    void closingTheDisplayAnyOtherWayEndsTheRun() {
        press({services::vk::F2});
        QVERIFY(clock_->waitForSleeper());
        Layer::instance()
            .widget({shell::kDisplayWindow, {}})
            ->close();  // Alt+F4, the window manager
        QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
        QCOMPARE(services::liveThreadCount(), 0);
        QCOMPARE(shell::isRunning.load(), 0);
        clock_->advance(5s);  // a worker still writing would hit a closed window: fatal
        settle();
    }

    void aRunEndsWithTimeUpAndF2StartsAgain() {
        setStart("", "2", "5");
        Layer::instance().destroy(shell::kDisplayWindow);
        QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
        openDisplay();
        press({services::vk::F2});
        QTRY_COMPARE(Layer::instance().readNumber(kFlash, Prop::Period), 500);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(clock_->waitForSleeper());
            clock_->advance(1001ms);
        }
        QTRY_COMPARE(caption(), QStringLiteral("时间到"));
        QCOMPARE(shell::isRunning.load(), 0);
        QCOMPARE(Layer::instance().readNumber(kFlash, Prop::Period), 0);
        press({services::vk::F2});
        QCOMPARE(shell::isRunning.load(), 1);
        QTRY_COMPARE(caption(), QStringLiteral("00:02"));
    }

    void theEndOfARunNeverOverwritesTheNextRun() {
        setStart("", "", "");
        Layer::instance().destroy(shell::kDisplayWindow);
        QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
        openDisplay();
        press({services::vk::F2});
        QVERIFY(clock_->waitForSleeper());
        clock_->advance(1001ms);
        // Let the worker finish and queue its end without the UI thread taking it.
        QElapsedTimer waited;
        waited.start();
        while (services::liveThreadCount() != 0 && waited.elapsed() < 5000)
            std::this_thread::yield();
        QCOMPARE(services::liveThreadCount(), 0);
        // Until the end has landed as a whole the run still counts as running.
        QCOMPARE(shell::isRunning.load(), 1);
        settle();
        QCOMPARE(caption(), QStringLiteral("时间到"));
        press({services::vk::F2});
        QTRY_COMPARE(caption(), QStringLiteral("00:00"));
        QTest::qWait(20);
        QCOMPARE(caption(), QStringLiteral("00:00"));
    }

    void pressesFromBeforeTheDisplayOpenedDoNotAct() {
        // A key state that remembers presses until they are asked for, as the real
        // ones do.
        class Remembering final : public services::KeyState {
        public:
            std::uint32_t query(int vk) override { return pressed.erase(vk) != 0 ? 1u : 0u; }
            std::set<int> pressed;
        };
        auto keys = std::make_unique<Remembering>();
        Remembering* remembering = keys.get();
        services::setKeyState(std::move(keys));
        Layer::instance().destroy(shell::kDisplayWindow);
        QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
        remembering->pressed = {services::vk::F2, services::vk::Escape};  // e.g. a file renamed
        openDisplay();
        display::OnKeyPollTick();
        QCOMPARE(shell::isRunning.load(), 0);
        QVERIFY(Layer::instance().isOpen(shell::kDisplayWindow));
        remembering->pressed = {services::vk::F2};  // pressed while the display is open
        display::OnKeyPollTick();
        QCOMPARE(shell::isRunning.load(), 1);
        auto scripted = std::make_unique<ScriptedKeys>();
        keys_ = scripted.get();
        services::setKeyState(std::move(scripted));
    }

    void aFailedStartLeavesF2Usable() {
        services::failThreadStartsForTesting(true);
        press({services::vk::F2});
        QCOMPARE(shell::countdownThread, 0u);
        QCOMPARE(shell::isRunning.load(), 0);
        services::failThreadStartsForTesting(false);
        press({services::vk::F2});
        QCOMPARE(shell::isRunning.load(), 1);
    }

    void holdingF2StartsTheNextRunAfterTheEnd() {
        setStart("", "1");
        Layer::instance().destroy(shell::kDisplayWindow);
        QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
        openDisplay();
        press({services::vk::F2});
        const auto first = shell::countdownThread;
        for (int i = 0; i < 2; ++i) {
            QVERIFY(clock_->waitForSleeper());
            clock_->advance(1001ms);
            press({services::vk::F2});
            QCOMPARE(shell::countdownThread, first);
        }
        QTRY_COMPARE(caption(), QStringLiteral("时间到"));
        press({services::vk::F2});
        QVERIFY(shell::countdownThread != first);
    }

    // Random presses, releases and reopenings against running workers: no write of
    // an ended run may land, and nothing may hang or crash.
    void stress() {
        auto* rng = QRandomGenerator::global();
        setStart("", "3", "2");
        Layer::instance().destroy(shell::kDisplayWindow);
        QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
        openDisplay();
        const int iterations = qEnvironmentVariableIntValue("FC_STRESS_ITERATIONS") > 0
                                   ? qEnvironmentVariableIntValue("FC_STRESS_ITERATIONS")
                                   : 3000;
        for (int i = 0; i < iterations; ++i) {
            const int action = static_cast<int>(rng->bounded(10));
            if (!Layer::instance().isOpen(shell::kDisplayWindow)) {
                QTRY_VERIFY(!Layer::instance().exists(shell::kDisplayWindow));
                openDisplay();
            }
            if (action < 4) {
                press({services::vk::F2});
            } else if (action < 6) {
                press({services::vk::F3});
                // Reset: whatever the run queued, the start time is what stays.
                QCOMPARE(caption(), QStringLiteral("00:03"));
                QCoreApplication::processEvents();
                QCOMPARE(caption(), QStringLiteral("00:03"));
            } else if (action < 7) {
                press({services::vk::Escape});
                QCOMPARE(services::liveThreadCount(), 0);
            } else {
                clock_->advance(std::chrono::milliseconds(rng->bounded(1500)));
            }
            if (rng->bounded(3) == 0) QCoreApplication::processEvents();
        }
    }
};

QTEST_MAIN(KeyPollTest)
#include "test_keypoll.moc"
