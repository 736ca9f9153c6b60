#include "ui/crossthread.h"

#include <QSocketNotifier>

#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fc::ui {

struct CrossThreadQueue::Pipe {
#ifdef Q_OS_UNIX
    int fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    ~Pipe() {
        notifier.reset();
        for (int fd : fds) {
            if (fd >= 0) ::close(fd);
        }
    }
#endif
};

CrossThreadQueue::CrossThreadQueue() : pipe_(std::make_unique<Pipe>()) {
#ifdef Q_OS_UNIX
    if (::pipe(pipe_->fds) == 0) {
        for (int fd : pipe_->fds) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        pipe_->notifier = std::make_unique<QSocketNotifier>(pipe_->fds[0], QSocketNotifier::Read);
        connect(pipe_->notifier.get(), &QSocketNotifier::activated, this,
                &CrossThreadQueue::onWakePipe);
    } else {
        pipe_->fds[0] = pipe_->fds[1] = -1;
    }
#endif
}

CrossThreadQueue::~CrossThreadQueue() = default;

void CrossThreadQueue::wake() {
#ifdef Q_OS_UNIX
    if (pipe_->fds[1] >= 0) {
        const char byte = 1;
        // A full pipe already holds a wake-up; nothing is lost by dropping this one.
        [[maybe_unused]] const auto n = ::write(pipe_->fds[1], &byte, 1);
        return;
    }
#endif
    QMetaObject::invokeMethod(this, "drain", Qt::QueuedConnection);
}

void CrossThreadQueue::onWakePipe() {
#ifdef Q_OS_UNIX
    char buffer[64];
    while (::read(pipe_->fds[0], buffer, sizeof buffer) > 0) {
    }
#endif
    drain();
}

void CrossThreadQueue::post(ThreadHandle from, std::function<void()> fn) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        wake = entries_.empty();
        entries_.push_back({from, std::move(fn)});
    }
    // One wake-up per batch: a drain already scheduled takes whatever follows.
    if (wake) this->wake();
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
