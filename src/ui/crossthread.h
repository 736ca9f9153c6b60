#pragma once

#include "services/threads.h"

#include <QObject>

#include <deque>
#include <functional>
#include <mutex>

namespace fc::ui {

// Writes made on other threads, applied on the UI thread in the order made. A
// plain mutex-guarded queue; the event loop is only used to wake the UI thread,
// so a writer never waits for the UI thread and cannot deadlock with it.
class CrossThreadQueue final : public QObject {
    Q_OBJECT
public:
    using ThreadHandle = services::ThreadHandle;

    void post(ThreadHandle from, std::function<void()> fn);

    // UI thread: apply everything queued so far.
    Q_INVOKABLE void drain();

    // UI thread, once the worker has stopped: a worker that completed its run
    // gets its remaining writes applied now; an ended one has them dropped.
    void settle(ThreadHandle from, bool apply);

    void clear();

private:
    struct Entry {
        ThreadHandle from;
        std::function<void()> fn;
    };
    std::mutex mutex_;
    std::deque<Entry> entries_;
};

}  // namespace fc::ui
