#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

namespace fc::services {

// A monotonic clock the countdown paces itself by. Tests swap in a virtual one.
class Clock {
public:
    using Duration = std::chrono::nanoseconds;
    using TimePoint = std::chrono::time_point<std::chrono::steady_clock, Duration>;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;

    // Sleeps until `deadline` has passed (strictly) or `stopped()` turns true after a
    // wake(). Returns false when it returned because of a stop.
    virtual bool sleepUntil(TimePoint deadline, const std::function<bool()>& stopped) = 0;

    // Wakes every sleeper so it rechecks its stop condition.
    virtual void wake() = 0;
};

// The process-wide clock: the steady clock unless a test installed another.
Clock& clock();
void setClock(std::shared_ptr<Clock> clock);  // nullptr restores the steady clock

// A clock that only moves when told to. sleepUntil() advances it straight to the
// deadline, so paced code runs at full speed with exact virtual timings.
class VirtualClock final : public Clock {
public:
    TimePoint now() const override;
    bool sleepUntil(TimePoint deadline, const std::function<bool()>& stopped) override;
    void wake() override {}
    void advance(Duration d);

private:
    mutable std::mutex mutex_;
    TimePoint now_{};
};

}  // namespace fc::services
