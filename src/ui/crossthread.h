#pragma once

#include "services/threads.h"

#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QSocketNotifier;

namespace fc::ui {

// Writes made on other threads, applied on the UI thread in the order made. A
// plain mutex-guarded queue; the writer only wakes the UI thread, so it never
// waits for the UI thread and cannot deadlock with it. On POSIX the wake-up is a
// byte down a pipe that the UI thread's event loop watches, which keeps the writer
// out of Qt's event queue altogether.
class CrossThreadQueue final : public QObject {
    Q_OBJECT
public:
    using ThreadHandle = services::ThreadHandle;

    CrossThreadQueue();
    ~CrossThreadQueue() override;

    void post(ThreadHandle from, std::function<void()> fn);

    // UI thread: apply everything queued so far.
    Q_INVOKABLE void drain();

    // UI thread, once the worker has stopped: a worker that completed its run
    // gets its remaining writes applied now; an ended one has them dropped.
    void settle(ThreadHandle from, bool apply);

    void clear();

private:
    void wake();
    void onWakePipe();

    struct Pipe;
    std::unique_ptr<Pipe> pipe_;

    struct Entry {
        ThreadHandle from;
        std::function<void()> fn;
    };
    std::mutex mutex_;
    std::deque<Entry> entries_;
};

}  // namespace fc::ui
