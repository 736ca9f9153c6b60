#pragma once

#include <cstdint>
#include <memory>

// Global key state, asked by the display's key poll. Keys go by their Windows
// virtual-key codes on every platform.
namespace fc::services {

namespace vk {
inline constexpr int Escape = 0x1B;
inline constexpr int F2 = 0x71;
inline constexpr int F3 = 0x72;
}  // namespace vk

class KeyState {
public:
    virtual ~KeyState() = default;
    // Not 0 when the key is down now, or was pressed since the previous query of
    // that same key; 0 otherwise. Callers test the whole value against 0.
    // The built-in backends follow GetAsyncKeyState's bits: 0x8000 down now,
    // 0x0001 pressed since the previous query.
    virtual std::uint32_t query(int virtualKey) = 0;

    // Which backend this is: "x11", "events", "win32", "mac"; for diagnostics.
    virtual const char* name() const { return "custom"; }
};

// The backend for the running platform: the X server on X11, GetAsyncKeyState on
// Windows, the HID state on macOS, and elsewhere (Wayland, offscreen) the
// program's own key events, which only see keys while one of its windows has
// the focus. Needs a QGuiApplication.
std::unique_ptr<KeyState> createPlatformKeyState();

// Backend over the application's own key events (also the fallback).
std::unique_ptr<KeyState> createEventKeyState();

// Lets go of presses made before now: what the next query reports as pressed
// since the previous one then happened from here on. Keys still held stay down.
void forgetEarlierPresses(KeyState& state);

// The process-wide key state used by the key poll; created on first use with
// createPlatformKeyState() unless a test installed another.
// Use from the UI thread only. setKeyState(nullptr) drops the installed one, so
// the next keyState() creates the platform backend again.
KeyState& keyState();
void setKeyState(std::unique_ptr<KeyState> state);

namespace detail {
// The backends behind createPlatformKeyState(); each exists only on its own
// platform. The X11 one returns nullptr when the X server cannot be used.
std::unique_ptr<KeyState> createX11KeyState();
std::unique_ptr<KeyState> createWin32KeyState();
std::unique_ptr<KeyState> createMacKeyState();
}  // namespace detail

}  // namespace fc::services
