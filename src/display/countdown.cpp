#include "display/countdown.h"

#include "display/timetext.h"
#include "services/text.h"

#include <chrono>

namespace fc::display {

void RunCountdownSequence(std::int32_t startMinutes, std::int32_t startSeconds,
                          const std::atomic<std::int32_t>& flashSeconds,
                          services::Clock::TimePoint start, CountdownSink& sink) {
    std::int32_t minutes = startMinutes;
    std::int32_t seconds = startSeconds;
    std::int64_t shown = 0;  // values shown so far: the schedule, in seconds from start
    while (minutes >= 0) {
        const QString minutesField = TimeField(minutes);
        while (seconds >= 0) {
            const QString secondsField = TimeField(seconds);
            if (minutes == 0 && seconds < flashSeconds.load()) sink.setFlashPeriod(500);
            sink.showTime(services::join({minutesField, u":", secondsField}));
            --seconds;
            ++shown;
            if (!sink.waitUntil(start + std::chrono::seconds(shown))) return;
        }
        --minutes;
        seconds = 59;
    }
    sink.finish();
}

}  // namespace fc::display
