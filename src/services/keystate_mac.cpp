#include "services/keystate.h"

#include <ApplicationServices/ApplicationServices.h>

// macOS: the combined state of every keyboard (hardware and posted events),
// whichever application has the focus.
//
// Only "down now": the event source counters are per event type, not per key,
// and a global event tap that could remember taps needs the user to grant
// Input Monitoring. A tap shorter than the poll interval can be missed, which
// the callers accept.
namespace fc::services::detail {
namespace {

// Hardware key codes (kVK_* of Carbon's HIToolbox), named here to keep Carbon out.
constexpr CGKeyCode kMacEscape = 0x35;
constexpr CGKeyCode kMacF2 = 0x78;
constexpr CGKeyCode kMacF3 = 0x63;

class MacKeyState final : public KeyState {
public:
    std::uint32_t query(int virtualKey) override {
        CGKeyCode code = 0;
        switch (virtualKey) {
            case vk::Escape:
                code = kMacEscape;
                break;
            case vk::F2:
                code = kMacF2;
                break;
            case vk::F3:
                code = kMacF3;
                break;
            default:
                return 0;
        }
        return CGEventSourceKeyState(kCGEventSourceStateCombinedSessionState, code) ? 0x8000u : 0u;
    }

    const char* name() const override { return "mac"; }
};

}  // namespace

std::unique_ptr<KeyState> createMacKeyState() { return std::make_unique<MacKeyState>(); }

}  // namespace fc::services::detail
