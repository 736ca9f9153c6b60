#include "services/keystate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>

#include <array>
#include <optional>

// Key state from the program's own key events. It only sees keys while one of
// the program's windows has the focus, which is the best a Wayland client (or
// the offscreen platform) can get.
namespace fc::services {
namespace {

struct Key {
    int virtualKey;
    Qt::Key qtKey;
};

constexpr std::array<Key, 3> kKeys{{
    {vk::Escape, Qt::Key_Escape},
    {vk::F2, Qt::Key_F2},
    {vk::F3, Qt::Key_F3},
}};

template <typename Pred>
std::optional<std::size_t> indexWhere(Pred pred) {
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        if (pred(kKeys[i])) {
            return i;
        }
    }
    return std::nullopt;
}

// Installed on the application, so it sees key events for every window and
// widget before they do. It only watches: every event goes on unchanged.
class KeyWatcher : public QObject {
public:
    struct State {
        bool down = false;
        bool pressedSinceQuery = false;
    };

    KeyWatcher() {
        if (auto* app = QCoreApplication::instance()) {
            app->installEventFilter(this);
        }
    }

    ~KeyWatcher() override {
        // At exit the application may already be gone, and with it the filter list.
        if (auto* app = QCoreApplication::instance()) {
            app->removeEventFilter(this);
        }
    }

    State& state(std::size_t i) { return states_[i]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                onKey(static_cast<const QKeyEvent&>(*event));
                break;
            case QEvent::ApplicationDeactivate:
                releaseAll();
                break;
            case QEvent::ApplicationStateChange:
                if (static_cast<const QApplicationStateChangeEvent&>(*event).applicationState() !=
                    Qt::ApplicationActive) {
                    releaseAll();
                }
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Once the program loses the focus, the release of a key held now goes to
    // another program; without this the key would stay down for good.
    void releaseAll() {
        for (auto& s : states_) {
            s.down = false;
        }
    }

    void onKey(const QKeyEvent& event) {
        const auto i = indexWhere([&](const Key& k) { return k.qtKey == event.key(); });
        if (!i) {
            return;
        }
        State& s = states_[*i];
        // One key event is delivered to the window, the focus widget and maybe
        // its parents, so the filter sees it several times: every step below is
        // idempotent.
        if (event.type() == QEvent::KeyPress) {
            s.down = true;
            // A repeat is the same press, held; a second "pressed" would act twice.
            if (!event.isAutoRepeat()) {
                s.pressedSinceQuery = true;
            }
        } else if (!event.isAutoRepeat()) {
            // X11 sends a release before every repeated press: the key is still held.
            s.down = false;
        }
    }

    std::array<State, kKeys.size()> states_{};
};

class EventKeyState final : public KeyState {
public:
    std::uint32_t query(int virtualKey) override {
        const auto i = indexWhere([&](const Key& k) { return k.virtualKey == virtualKey; });
        if (!i) {
            return 0;
        }
        KeyWatcher::State& s = watcher_.state(*i);
        const std::uint32_t result = (s.down ? 0x8000u : 0u) | (s.pressedSinceQuery ? 1u : 0u);
        s.pressedSinceQuery = false;
        return result;
    }

    const char* name() const override { return "events"; }

private:
    KeyWatcher watcher_;
};

}  // namespace

std::unique_ptr<KeyState> createEventKeyState() { return std::make_unique<EventKeyState>(); }

}  // namespace fc::services
