#include "services/keystate.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// GetAsyncKeyState answers for the whole desktop, whichever window has the
// focus: the high bit while the key is down, the low bit when it was pressed
// since the previous call. The whole value goes back, so the caller sees both.
namespace fc::services::detail {
namespace {

class Win32KeyState final : public KeyState {
public:
    std::uint32_t query(int virtualKey) override {
        return static_cast<std::uint16_t>(::GetAsyncKeyState(virtualKey));
    }

    const char* name() const override { return "win32"; }
};

}  // namespace

std::unique_ptr<KeyState> createWin32KeyState() { return std::make_unique<Win32KeyState>(); }

}  // namespace fc::services::detail
