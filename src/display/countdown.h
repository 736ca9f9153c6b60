#pragma once

#include "services/clock.h"

#include <QString>

#include <atomic>
#include <cstdint>

namespace fc::display {

// Where a countdown run puts its output. The display writes to its labels and
// timers; tests record.
class CountdownSink {
public:
    virtual ~CountdownSink() = default;
    virtual void setFlashPeriod(int ms) = 0;
    virtual void showTime(const QString& text) = 0;
    // Returns false when the run has been ended meanwhile.
    virtual bool waitUntil(services::Clock::TimePoint deadline) = 0;
    // The end of a completed run: flash off, not running, "时间到" shown.
    virtual void finish() = 0;
};

// The run from the start time down to 00:00, then finish(). Value k is shown at
// `start` + k seconds and the end comes at `start` + (number of values) seconds,
// so time spent between the waits never adds up. `flashSeconds` is read afresh
// every second.
void RunCountdownSequence(std::int32_t startMinutes, std::int32_t startSeconds,
                          const std::atomic<std::int32_t>& flashSeconds,
                          services::Clock::TimePoint start, CountdownSink& sink);

}  // namespace fc::display
