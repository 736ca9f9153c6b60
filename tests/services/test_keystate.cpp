#include "services/keystate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <memory>
#include <vector>

using fc::services::KeyState;
namespace vk = fc::services::vk;

namespace {

// Accepts every key and remembers what reached it, so a test can tell the key
// state only watched the events and did not swallow them.
class KeySink : public QWidget {
public:
    std::vector<int> received;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        received.push_back(event->key());
        event->accept();
    }
    void keyReleaseEvent(QKeyEvent* event) override { event->accept(); }
};

void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyPress(w, key, mods);
}
void release(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyRelease(w, key, mods);
}
// What the window system sends while a key is held: a repeated press, and on
// X11 a repeated release before it.
void repeatPress(QWidget* w, Qt::Key key) {
    QTest::simulateEvent(w, true, key, Qt::NoModifier, QString(), true);
}
void repeatRelease(QWidget* w, Qt::Key key) {
    QTest::simulateEvent(w, false, key, Qt::NoModifier, QString(), true);
}

class FakeKeyState : public KeyState {
public:
    explicit FakeKeyState(std::uint32_t answer) : answer_(answer) {}
    std::uint32_t query(int virtualKey) override {
        asked.push_back(virtualKey);
        return answer_;
    }
    std::vector<int> asked;

private:
    std::uint32_t answer_;
};

}  // namespace

class TestKeyState : public QObject {
    Q_OBJECT

private slots:
    void init() {
        state_ = fc::services::createEventKeyState();
        sink_ = std::make_unique<KeySink>();
        sink_->show();
    }
    void cleanup() {
        sink_.reset();
        state_.reset();
        fc::services::setKeyState(nullptr);
    }

    void tap_isReportedOnceThenCleared_data() {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<Qt::KeyboardModifiers>("mods");
        QTest::newRow("F2") << int(Qt::Key_F2) << vk::F2 << Qt::KeyboardModifiers();
        QTest::newRow("F3") << int(Qt::Key_F3) << vk::F3 << Qt::KeyboardModifiers();
        QTest::newRow("Escape") << int(Qt::Key_Escape) << vk::Escape << Qt::KeyboardModifiers();
        // The key counts whatever modifiers are held with it.
        QTest::newRow("Shift+F2") << int(Qt::Key_F2) << vk::F2
                                  << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Alt+F3")
            << int(Qt::Key_F3) << vk::F3
            << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier);
    }
    void tap_isReportedOnceThenCleared() {
        QFETCH(int, qtKey);
        QFETCH(int, virtualKey);
        QFETCH(Qt::KeyboardModifiers, mods);
        const auto key = static_cast<Qt::Key>(qtKey);

        QCOMPARE(state_->query(virtualKey), 0u);
        press(sink_.get(), key, mods);
        release(sink_.get(), key, mods);
        // Up again, but pressed since the previous query: reported once.
        QVERIFY(state_->query(virtualKey) != 0);
        QCOMPARE(state_->query(virtualKey), 0u);
        // The widget still got the key: the watcher must not eat ESC or F-keys.
        QVERIFY(sink_->received.size() >= 1);
        QCOMPARE(sink_->received.back(), qtKey);
    }

    void heldKey_isReportedAtEveryQuery() {
        press(sink_.get(), Qt::Key_F3);
        for (int poll = 0; poll < 3; ++poll) {
            QVERIFY2(state_->query(vk::F3) != 0, qPrintable(QString("poll %1").arg(poll)));
        }
        release(sink_.get(), Qt::Key_F3);
        // The press was already reported: after the release nothing is left.
        QCOMPARE(state_->query(vk::F3), 0u);
    }

    void autoRepeat_data() {
        QTest::addColumn<bool>("releaseAtEnd");
        QTest::addColumn<bool>("expectReported");
        // A repeated release between repeats is not the end of the hold.
        QTest::newRow("still held") << false << true;
        // Repeats are not new presses: once up, nothing is owed to the next query.
        QTest::newRow("released after repeats") << true << false;
    }
    void autoRepeat() {
        QFETCH(bool, releaseAtEnd);
        QFETCH(bool, expectReported);

        press(sink_.get(), Qt::Key_F2);
        QVERIFY(state_->query(vk::F2) != 0);
        for (int i = 0; i < 3; ++i) {
            repeatRelease(sink_.get(), Qt::Key_F2);
            repeatPress(sink_.get(), Qt::Key_F2);
        }
        repeatRelease(sink_.get(), Qt::Key_F2);
        if (releaseAtEnd) {
            release(sink_.get(), Qt::Key_F2);
        }
        QCOMPARE(state_->query(vk::F2) != 0, expectReported);
    }

    void otherKeys_areIgnored_data() {
        QTest::addColumn<int>("qtKey");
        QTest::newRow("F1") << int(Qt::Key_F1);
        QTest::newRow("F4") << int(Qt::Key_F4);
        QTest::newRow("q") << int(Qt::Key_Q);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Shift") << int(Qt::Key_Shift);
    }
    void otherKeys_areIgnored() {
        QFETCH(int, qtKey);
        const auto key = static_cast<Qt::Key>(qtKey);
        press(sink_.get(), key);
        // Held, and pressed since: neither may show up as one of ours.
        for (const int virtualKey : {vk::F2, vk::F3, vk::Escape}) {
            QCOMPARE(state_->query(virtualKey), 0u);
        }
        release(sink_.get(), key);
        for (const int virtualKey : {vk::F2, vk::F3, vk::Escape}) {
            QCOMPARE(state_->query(virtualKey), 0u);
        }
    }

    void unknownVirtualKey_isZeroEvenWithOurKeysDown() {
        press(sink_.get(), Qt::Key_F2);
        press(sink_.get(), Qt::Key_F3);
        press(sink_.get(), Qt::Key_Escape);
        for (const int virtualKey : {0, 0x70, 0x73, 0x41, 0x0D}) {
            QCOMPARE(state_->query(virtualKey), 0u);
        }
        release(sink_.get(), Qt::Key_F2);
        release(sink_.get(), Qt::Key_F3);
        release(sink_.get(), Qt::Key_Escape);
    }

    void keys_areIndependent() {
        press(sink_.get(), Qt::Key_F2);
        release(sink_.get(), Qt::Key_F2);
        press(sink_.get(), Qt::Key_F3);
        release(sink_.get(), Qt::Key_F3);

        // A poll asks F2 first: that must not use up the memory of F3 or ESC.
        QVERIFY(state_->query(vk::F2) != 0);
        QCOMPARE(state_->query(vk::F2), 0u);
        QCOMPARE(state_->query(vk::Escape), 0u);
        QVERIFY(state_->query(vk::F3) != 0);
        QCOMPARE(state_->query(vk::F3), 0u);

        // Holding one key does not make another one look held.
        press(sink_.get(), Qt::Key_Escape);
        QVERIFY(state_->query(vk::Escape) != 0);
        QCOMPARE(state_->query(vk::F2), 0u);
        QCOMPARE(state_->query(vk::F3), 0u);
        release(sink_.get(), Qt::Key_Escape);
    }

    void keys_areSeenAtAnyWindowOfTheProgram() {
        // The poll belongs to the display window, while the focus may be in the
        // settings window: press in one, release in the other.
        KeySink other;
        other.show();
        press(&other, Qt::Key_F2);
        QVERIFY(state_->query(vk::F2) != 0);
        release(sink_.get(), Qt::Key_F2);
        QCOMPARE(state_->query(vk::F2), 0u);
    }

    void losingTheFocus_releasesHeldKeys_data() {
        QTest::addColumn<bool>("stateChange");
        QTest::newRow("ApplicationDeactivate") << false;
        QTest::newRow("ApplicationStateChange") << true;
    }
    void losingTheFocus_releasesHeldKeys() {
        QFETCH(bool, stateChange);
        press(sink_.get(), Qt::Key_F3);  // held, not yet polled
        press(sink_.get(), Qt::Key_F2);
        QVERIFY(state_->query(vk::F2) != 0);

        // The release will go to whichever program takes the focus.
        if (stateChange) {
            QApplicationStateChangeEvent event(Qt::ApplicationInactive);
            QCoreApplication::sendEvent(qApp, &event);
        } else {
            QEvent event(QEvent::ApplicationDeactivate);
            QCoreApplication::sendEvent(qApp, &event);
        }
        QCOMPARE(state_->query(vk::F2), 0u);
        // A press not yet polled still counts once.
        QVERIFY(state_->query(vk::F3) != 0);
        QCOMPARE(state_->query(vk::F3), 0u);
    }

    void platformBackend_onOffscreenIsTheEventOne() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
        QSKIP("the desktop's own key state is used on this platform");
#else
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
        const auto state = fc::services::createPlatformKeyState();
        QCOMPARE(state->name(), "events");
        press(sink_.get(), Qt::Key_F2);
        release(sink_.get(), Qt::Key_F2);
        QVERIFY(state->query(vk::F2) != 0);
#endif
    }

    void keyState_usesTheInstalledOne() {
        auto fake = std::make_unique<FakeKeyState>(0x8001u);
        FakeKeyState* const installed = fake.get();
        fc::services::setKeyState(std::move(fake));

        QCOMPARE(&fc::services::keyState(), installed);
        QCOMPARE(fc::services::keyState().query(vk::F3), 0x8001u);
        QCOMPARE(installed->asked, std::vector<int>{vk::F3});
    }

    void keyState_isCreatedOnceOnFirstUse() {
        fc::services::setKeyState(nullptr);
        KeyState& first = fc::services::keyState();
        QCOMPARE(&fc::services::keyState(), &first);
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
        QCOMPARE(first.name(), "events");
#endif
        // The created one is live: it sees the program's keys.
        press(sink_.get(), Qt::Key_Escape);
        release(sink_.get(), Qt::Key_Escape);
        QVERIFY(fc::services::keyState().query(vk::Escape) != 0);

        // Dropping it makes the next use create a fresh one, not reuse a stale one.
        fc::services::setKeyState(nullptr);
        QCOMPARE(fc::services::keyState().query(vk::Escape), 0u);
    }

private:
    std::unique_ptr<KeyState> state_;
    std::unique_ptr<KeySink> sink_;
};

QTEST_MAIN(TestKeyState)
#include "test_keystate.moc"
