#include "services/keystate.h"

// Qt before X11: Xlib's macros (KeyPress, None, Bool...) would break Qt's headers.
#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// Key state from the X server, whichever window has the focus.
//
// "Down now" is asked of the server at each query. A tap that starts and ends
// between two polls would be missed by that alone, so a background thread also
// listens to XInput2 raw key presses on the root window, which the server sends
// whatever window has the focus and even during another client's grab, and
// remembers them until the next query of that key.
namespace fc::services::detail {
namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

private:
    int fd_ = -1;
};

struct Key {
    int virtualKey;
    KeySym keysym;
    std::vector<KeyCode> codes;  // every key that types this keysym unshifted
};

std::array<Key, 3> mapKeys(Display* display) {
    std::array<Key, 3> keys{{
        {vk::Escape, XK_Escape, {}},
        {vk::F2, XK_F2, {}},
        {vk::F3, XK_F3, {}},
    }};
    int minCode = 0;
    int maxCode = 0;
    XDisplayKeycodes(display, &minCode, &maxCode);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(minCode), maxCode - minCode + 1,
                                      &perCode);
    if (map != nullptr) {
        for (int code = minCode; code <= maxCode; ++code) {
            const KeySym sym = map[(code - minCode) * perCode];
            for (Key& key : keys) {
                if (sym == key.keysym) {
                    key.codes.push_back(static_cast<KeyCode>(code));
                }
            }
        }
        XFree(map);
    }
    for (Key& key : keys) {
        if (key.codes.empty()) {
            // Only on a shifted level, or not on this keyboard at all (then 0).
            if (const KeyCode code = XKeysymToKeycode(display, key.keysym); code != 0) {
                key.codes.push_back(code);
            }
        }
    }
    return keys;
}

// Qt's own connection, asked afresh each time: the process-wide key state may
// outlive the application.
xcb_connection_t* qtConnection() {
    if (qGuiApp == nullptr) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

bool anyDownNow(const std::vector<KeyCode>& codes) {
    xcb_connection_t* connection = qtConnection();
    if (connection == nullptr) {
        return false;
    }
    const std::unique_ptr<xcb_query_keymap_reply_t, FreeDeleter> reply(
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
    if (!reply) {
        return false;
    }
    for (const KeyCode code : codes) {
        if ((reply->keys[code / 8] & (1u << (code % 8))) != 0) {
            return true;
        }
    }
    return false;
}

// Selects raw key presses on the root window. Returns the XInput opcode, or -1
// when the server has no XInput2.
int selectRawKeyPresses(Display* display) {
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError)) {
        return -1;
    }
    // 2.1 and later deliver raw events during other clients' grabs too.
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display, &major, &minor) != Success || major < 2) {
        return -1;
    }
    std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
    XISetMask(bits.data(), XI_RawKeyPress);
    XIEventMask mask{};
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = static_cast<int>(bits.size());
    mask.mask = bits.data();
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    // Round trip: once we return, every later key press on the server reaches us.
    XSync(display, False);
    return opcode;
}

class X11KeyState final : public KeyState {
public:
    X11KeyState(std::array<Key, 3> keys, DisplayPtr events, int xiOpcode)
        : keys_(std::move(keys)), events_(std::move(events)), xiOpcode_(xiOpcode) {
        if (!events_ || xiOpcode_ < 0) {
            return;  // down-now only
        }
        std::array<int, 2> fds{};
        if (::pipe2(fds.data(), O_CLOEXEC) != 0) {
            return;
        }
        wakeRead_ = Fd(fds[0]);
        wakeWrite_ = Fd(fds[1]);
        listener_ = std::thread([this] { listen(); });
    }

    ~X11KeyState() override {
        // Only our own connection is touched here; Qt's may be gone already.
        if (listener_.joinable()) {
            const char byte = 1;
            while (::write(wakeWrite_.get(), &byte, 1) < 0 && errno == EINTR) {
            }
            listener_.join();
        }
    }

    X11KeyState(const X11KeyState&) = delete;
    X11KeyState& operator=(const X11KeyState&) = delete;

    std::uint32_t query(int virtualKey) override {
        const Key* key = find(virtualKey);
        if (key == nullptr || key->codes.empty()) {
            return 0;
        }
        bool pressed = false;
        {
            const std::lock_guard lock(mutex_);
            for (const KeyCode code : key->codes) {
                pressed = pressed || pressedSinceQuery_[code];
                pressedSinceQuery_[code] = false;
            }
        }
        return (anyDownNow(key->codes) ? 0x8000u : 0u) | (pressed ? 1u : 0u);
    }

    const char* name() const override { return "x11"; }

private:
    const Key* find(int virtualKey) const {
        for (const Key& key : keys_) {
            if (key.virtualKey == virtualKey) {
                return &key;
            }
        }
        return nullptr;
    }

    // The listener thread: the only user of events_ while it runs.
    void listen() {
        Display* display = events_.get();
        std::array<pollfd, 2> fds{{
            {ConnectionNumber(display), POLLIN, 0},
            {wakeRead_.get(), POLLIN, 0},
        }};
        for (;;) {
            // XPending also reads whatever has arrived; events Xlib has already
            // queued would never wake poll(), so drain before waiting.
            while (XPending(display) > 0) {
                XEvent event{};
                XNextEvent(display, &event);
                handle(display, event);
            }
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (fds[1].revents != 0) {
                return;  // asked to stop
            }
            if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                return;  // server gone; Xlib would end the process on the next read
            }
        }
    }

    void handle(Display* display, XEvent& event) {
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != xiOpcode_ ||
            !XGetEventData(display, &cookie)) {
            return;
        }
        if (cookie.evtype == XI_RawKeyPress) {
            const int code = static_cast<const XIRawEvent*>(cookie.data)->detail;
            if (code >= 0 && code < static_cast<int>(pressedSinceQuery_.size())) {
                const std::lock_guard lock(mutex_);
                pressedSinceQuery_[static_cast<std::size_t>(code)] = true;
            }
        }
        XFreeEventData(display, &cookie);
    }

    // The keyboard mapping is read once; F-keys and Escape keep their keycodes
    // across layout switches.
    const std::array<Key, 3> keys_;
    const DisplayPtr events_;
    const int xiOpcode_;
    Fd wakeRead_;
    Fd wakeWrite_;

    std::mutex mutex_;
    std::array<bool, 256> pressedSinceQuery_{};  // by keycode; guarded by mutex_

    std::thread listener_;  // last: started once everything above exists
};

}  // namespace

std::unique_ptr<KeyState> createX11KeyState() {
    if (qGuiApp == nullptr) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return nullptr;
    }
    // The listener needs a connection of its own: it blocks on it, and Qt's
    // event queue is not ours to read. Same server as Qt's, even when Qt was
    // told another one than $DISPLAY.
    Display* qtDisplay = x11->display();
    DisplayPtr events(XOpenDisplay(qtDisplay != nullptr ? DisplayString(qtDisplay) : nullptr));
    if (!events) {
        return nullptr;
    }
    auto keys = mapKeys(events.get());
    const int xiOpcode = selectRawKeyPresses(events.get());
    if (xiOpcode < 0) {
        events.reset();
    }
    return std::make_unique<X11KeyState>(std::move(keys), std::move(events), xiOpcode);
}

}  // namespace fc::services::detail
