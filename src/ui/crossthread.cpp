#include "ui/crossthread.h"

#include <vector>

namespace fc::ui {

void CrossThreadQueue::post(ThreadHandle from, std::function<void()> fn) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        wake = entries_.empty();
        entries_.push_back({from, std::move(fn)});
    }
    // One wake-up per batch: a drain already scheduled takes whatever follows.
    if (wake) QMetaObject::invokeMethod(this, "drain", Qt::QueuedConnection);
}

void CrossThreadQueue::drain() {
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard lock(mutex_);
            if (entries_.empty()) return;
            fn = std::move(entries_.front().fn);
            entries_.pop_front();
        }
        fn();
    }
}

void CrossThreadQueue::settle(ThreadHandle from, bool apply) {
    std::vector<std::function<void()>> mine;
    {
        std::lock_guard lock(mutex_);
        for (auto it = entries_.begin(); it != entries_.end();) {
            if (it->from == from) {
                mine.push_back(std::move(it->fn));
                it = entries_.erase(it);
            } else {
                ++it;
            }
        }
    }
    if (apply) {
        for (auto& fn : mine) fn();
    }
}

void CrossThreadQueue::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

}  // namespace fc::ui
