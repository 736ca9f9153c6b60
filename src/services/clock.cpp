#include "services/clock.h"

#include <condition_variable>
#include <mutex>

namespace fc::services {
namespace {

class SteadyClock final : public Clock {
public:
    TimePoint now() const override {
        return std::chrono::time_point_cast<Duration>(std::chrono::steady_clock::now());
    }

    bool sleepUntil(TimePoint deadline, const std::function<bool()>& stopped) override {
        std::unique_lock lock(mutex_);
        // Sleep, never spin: a countdown must not keep a core busy.
        while (!stopped()) {
            if (now() > deadline) return true;
            cv_.wait_until(lock, deadline + std::chrono::microseconds(1));
        }
        return false;
    }

    void wake() override {
        { std::lock_guard lock(mutex_); }
        cv_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
};

std::mutex g_clockMutex;
std::shared_ptr<Clock> g_clock;

}  // namespace

Clock& clock() {
    static SteadyClock steady;
    std::lock_guard lock(g_clockMutex);
    return g_clock ? *g_clock : steady;
}

void setClock(std::shared_ptr<Clock> c) {
    std::lock_guard lock(g_clockMutex);
    g_clock = std::move(c);
}

Clock::TimePoint VirtualClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

bool VirtualClock::sleepUntil(TimePoint deadline, const std::function<bool()>& stopped) {
    if (stopped()) return false;
    std::lock_guard lock(mutex_);
    // "Strictly after": land one nanosecond past the deadline.
    if (now_ <= deadline) now_ = deadline + Duration(1);
    return true;
}

void VirtualClock::advance(Duration d) {
    std::lock_guard lock(mutex_);
    now_ += d;
}

}  // namespace fc::services
