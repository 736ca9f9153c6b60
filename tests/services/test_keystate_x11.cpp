#include "services/keystate.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>

#include <memory>

// After Qt: Xlib's macros clash with Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using fc::services::KeyState;
namespace vk = fc::services::vk;

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

constexpr int kOurKeys[] = {vk::F2, vk::F3, vk::Escape};

KeySym keysymOf(int virtualKey) {
    switch (virtualKey) {
        case vk::F2:
            return XK_F2;
        case vk::F3:
            return XK_F3;
        default:
            return XK_Escape;
    }
}

// Queries like the display's poll until the key shows up, for a few seconds at
// most: the listener needs a moment to read the server's events. (QTRY_VERIFY
// would query once more after success, and a query uses up the press.)
bool reportedWithin(KeyState& state, int virtualKey, int timeoutMs = 5000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (state.query(virtualKey) == 0) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

// The same, until the key reads up with nothing left owed.
bool clearWithin(KeyState& state, int virtualKey, int timeoutMs = 5000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (state.query(virtualKey) != 0) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

}  // namespace

// Drives the X11 backend with keys faked on the server through XTest, while the
// focus is in a plain X window of another client: the way the display sees a
// key pressed in another program.
class TestKeyStateX11 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            QSKIP(
                "No X display (DISPLAY unset or unreachable): these tests need an X server, "
                "e.g. xvfb-run -a");
        }
        x_.reset(XOpenDisplay(nullptr));
        QVERIFY(x_);
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(x_.get(), &event, &error, &major, &minor)) {
            QSKIP("The X server has no XTEST extension to fake key presses with");
        }
        focusWindow_ = createFocusedWindow();
    }

    void cleanupTestCase() {
        if (x_) {
            XDestroyWindow(x_.get(), focusWindow_);
            x_.reset();
        }
    }

    void init() {
        state_ = fc::services::createPlatformKeyState();
        QVERIFY(state_);
        QCOMPARE(state_->name(), "x11");
        // The keys go to our foreign window, never to a window of this program.
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(x_.get(), &focus, &revert);
        QCOMPARE(focus, focusWindow_);
    }

    void cleanup() {
        // Leave no key down on the server for the next test, whatever happened.
        for (const int virtualKey : kOurKeys) {
            fake(virtualKey, false);
        }
        state_.reset();
    }

    void heldKey_isReportedAtEveryQuery_data() { addKeyRows(); }
    void heldKey_isReportedAtEveryQuery() {
        QFETCH(int, virtualKey);
        fake(virtualKey, true);
        // Asked of the server: true as soon as it has seen the press.
        for (int poll = 0; poll < 3; ++poll) {
            QVERIFY2(state_->query(virtualKey) != 0, qPrintable(QString("poll %1").arg(poll)));
        }
        fake(virtualKey, false);
        // The press may still be owed to one query if it was noted after the
        // first; after that, up is up.
        QVERIFY(clearWithin(*state_, virtualKey));
        QCOMPARE(state_->query(virtualKey), 0u);
    }

    void tapBetweenQueries_isReportedOnceThenCleared_data() { addKeyRows(); }
    void tapBetweenQueries_isReportedOnceThenCleared() {
        QFETCH(int, virtualKey);
        QCOMPARE(state_->query(virtualKey), 0u);

        fake(virtualKey, true);
        fake(virtualKey, false);
        QVERIFY(!downOnServer(virtualKey));  // only a memory of the press can tell
        QVERIFY(reportedWithin(*state_, virtualKey));
        QCOMPARE(state_->query(virtualKey), 0u);
        // By now every event of the tap has been seen: none went to another key.
        for (const int other : kOurKeys) {
            if (other != virtualKey) {
                QCOMPARE(state_->query(other), 0u);
            }
        }
    }

    void severalTaps_areOnePress() {
        for (int i = 0; i < 3; ++i) {
            fake(vk::F3, true);
            fake(vk::F3, false);
        }
        // Raw events come in order: once the later ESC tap is seen, so are all F3 taps.
        fake(vk::Escape, true);
        fake(vk::Escape, false);
        QVERIFY(reportedWithin(*state_, vk::Escape));
        QVERIFY(state_->query(vk::F3) != 0);
        QCOMPARE(state_->query(vk::F3), 0u);
    }

    void otherKeys_areIgnored() {
        const KeySym others[] = {XK_F1, XK_F4, XK_F12, XK_a, XK_Return, XK_Shift_L};
        for (const KeySym sym : others) {
            fakeSym(sym, true);
            fakeSym(sym, false);
        }
        fake(vk::F3, true);  // marks the end, as above
        fake(vk::F3, false);
        QVERIFY(reportedWithin(*state_, vk::F3));
        QCOMPARE(state_->query(vk::F2), 0u);
        QCOMPARE(state_->query(vk::Escape), 0u);
        QCOMPARE(state_->query(0x73), 0u);  // VK_F4: not one the backend answers for
    }

    void processWideInstance_outlivesTheApplication() {
        // Left installed on purpose: it is destroyed after the QApplication at
        // exit, and must not need Qt's connection then (a crash there fails the
        // test run through the exit code).
        fc::services::setKeyState(fc::services::createPlatformKeyState());
        QCOMPARE(fc::services::keyState().name(), "x11");
        fake(vk::F2, true);
        fake(vk::F2, false);
        QVERIFY(reportedWithin(fc::services::keyState(), vk::F2));
    }

private:
    static void addKeyRows() {
        QTest::addColumn<int>("virtualKey");
        QTest::newRow("F2") << vk::F2;
        QTest::newRow("F3") << vk::F3;
        QTest::newRow("Escape") << vk::Escape;
    }

    Window createFocusedWindow() {
        Display* d = x_.get();
        const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 64, 64, 0, 0, 0);
        XSelectInput(d, w, StructureNotifyMask);
        XMapWindow(d, w);
        XEvent event{};
        do {
            XWindowEvent(d, w, StructureNotifyMask, &event);
        } while (event.type != MapNotify);
        XSetInputFocus(d, w, RevertToPointerRoot, CurrentTime);
        XSync(d, False);
        return w;
    }

    // Fakes the key on the server and waits until the server has handled it.
    void fakeSym(KeySym sym, bool press) {
        const KeyCode code = XKeysymToKeycode(x_.get(), sym);
        QVERIFY2(code != 0, "keysym missing from the server's keyboard map");
        XTestFakeKeyEvent(x_.get(), code, press ? True : False, CurrentTime);
        XSync(x_.get(), False);
    }
    void fake(int virtualKey, bool press) { fakeSym(keysymOf(virtualKey), press); }

    bool downOnServer(int virtualKey) {
        char keys[32] = {};
        XQueryKeymap(x_.get(), keys);
        const KeyCode code = XKeysymToKeycode(x_.get(), keysymOf(virtualKey));
        return (keys[code / 8] & (1 << (code % 8))) != 0;
    }

    DisplayPtr x_;
    Window focusWindow_ = 0;
    std::unique_ptr<KeyState> state_;
};

int main(int argc, char** argv) {
    // The xcb platform aborts without a display; start offscreen instead so the
    // tests can say why they skip.
    if (const DisplayPtr probe(XOpenDisplay(nullptr)); !probe) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    TestKeyStateX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_keystate_x11.moc"
