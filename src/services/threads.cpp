#include "services/threads.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace fc::services {
namespace {

enum class State : int { Running, Finished, Stopped };

struct Worker {
    std::thread thread;
    std::atomic<State> state{State::Running};
};

struct Registry {
    ~Registry() {
        // A worker still running at exit is stopped and joined, so no thread
        // outlives the state it uses.
        for (auto& [handle, w] : workers) {
            State expected = State::Running;
            w->state.compare_exchange_strong(expected, State::Stopped);
        }
        clock().wake();
        for (auto& [handle, w] : workers) {
            if (w->thread.joinable()) w->thread.join();
        }
    }
    // Joins workers that have returned on their own. Their entries stay, so that
    // ending such a handle later still settles its pending writes.
    void reap() {
        for (auto& [handle, w] : workers) {
            if (w->state.load() == State::Finished && w->thread.joinable() &&
                w->thread.get_id() != std::this_thread::get_id()) {
                w->thread.join();
            }
        }
    }
    std::mutex mutex;
    std::map<ThreadHandle, std::shared_ptr<Worker>> workers;
    ThreadHandle next = 1;
    SettleHook settle;
    bool failStarts = false;
};

Registry& registry() {
    // The clock is made first so it is destroyed after the registry, which still
    // wakes sleepers while it shuts down.
    (void)clock();
    static Registry r;
    return r;
}

thread_local ThreadHandle t_current = 0;
thread_local Worker* t_worker = nullptr;

}  // namespace

ThreadHandle startThread(std::function<void()> entry) {
    Registry& r = registry();
    auto worker = std::make_shared<Worker>();
    ThreadHandle handle = 0;
    {
        std::lock_guard lock(r.mutex);
        if (r.failStarts) return 0;
        r.reap();
        handle = r.next++;
        if (r.next == 0) r.next = 1;
        r.workers.emplace(handle, worker);
    }
    try {
        // The worker holds a reference of its own so its state outlives a racing end.
        worker->thread = std::thread([handle, worker, entry = std::move(entry)]() {
            t_current = handle;
            t_worker = worker.get();
            entry();
            State expected = State::Running;
            worker->state.compare_exchange_strong(expected, State::Finished);
            t_worker = nullptr;
            t_current = 0;
        });
    } catch (const std::system_error&) {
        std::lock_guard lock(r.mutex);
        r.workers.erase(handle);
        return 0;
    }
    return handle;
}

void endThread(ThreadHandle handle) {
    if (handle == 0) return;
    Registry& r = registry();
    std::shared_ptr<Worker> worker;
    SettleHook settle;
    {
        std::lock_guard lock(r.mutex);
        auto it = r.workers.find(handle);
        if (it == r.workers.end()) return;
        worker = it->second;
        settle = r.settle;
    }
    State expected = State::Running;
    const bool stopped = worker->state.compare_exchange_strong(expected, State::Stopped);
    if (!stopped && expected == State::Stopped) return;  // ended before: nothing more to do
    if (stopped) clock().wake();
    if (worker->thread.joinable()) {
        if (worker->thread.get_id() == std::this_thread::get_id()) {
            worker->thread.detach();  // a worker ending itself: nothing left to wait for
        } else {
            worker->thread.join();
        }
    }
    if (settle) settle(handle, !stopped);
}

void setSettleHook(SettleHook hook) {
    std::lock_guard lock(registry().mutex);
    registry().settle = std::move(hook);
}

ThreadHandle currentThread() { return t_current; }

bool stopRequested() { return t_worker != nullptr && t_worker->state.load() == State::Stopped; }

bool waitUntil(Clock::TimePoint deadline) {
    return clock().sleepUntil(deadline, [] { return stopRequested(); });
}

bool waitMs(int n) {
    if (n <= 0) return !stopRequested();
    return waitUntil(clock().now() + std::chrono::milliseconds(n));
}

void failThreadStartsForTesting(bool fail) {
    std::lock_guard lock(registry().mutex);
    registry().failStarts = fail;
}

int liveThreadCount() {
    std::lock_guard lock(registry().mutex);
    int n = 0;
    for (const auto& [handle, w] : registry().workers) {
        if (w->state.load() == State::Running) ++n;
    }
    return n;
}

}  // namespace fc::services
