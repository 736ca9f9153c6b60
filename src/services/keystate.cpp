#include "services/keystate.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <utility>

namespace fc::services {
namespace {

std::unique_ptr<KeyState>& instance() {
    // Lives until static destruction, which may come after the QApplication is
    // gone: the backends' destructors must not need it.
    static std::unique_ptr<KeyState> state;
    return state;
}

}  // namespace

std::unique_ptr<KeyState> createPlatformKeyState() {
#if defined(Q_OS_WIN)
    return detail::createWin32KeyState();
#elif defined(Q_OS_MACOS)
    return detail::createMacKeyState();
#else
#if defined(FC_HAVE_X11_KEYSTATE)
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto state = detail::createX11KeyState()) {
            return state;
        }
    }
#endif
    // Wayland gives no client a global view of the keyboard; offscreen has none.
    return createEventKeyState();
#endif
}

KeyState& keyState() {
    auto& state = instance();
    if (!state) {
        state = createPlatformKeyState();
    }
    return *state;
}

void setKeyState(std::unique_ptr<KeyState> state) { instance() = std::move(state); }

void forgetEarlierPresses(KeyState& state) {
    // A query reports and clears the memory of presses, in every backend.
    for (int vk : {vk::F2, vk::F3, vk::Escape}) state.query(vk);
}

}  // namespace fc::services
