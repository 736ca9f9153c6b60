#pragma once

#include "services/clock.h"

#include <cstdint>
#include <functional>

// The countdown worker: started and ended from the UI thread. Ending is
// cooperative but immediate: the worker only ever blocks in waitUntil()/waitMs(),
// which wake at once on an end request, and it never waits for the UI thread, so
// endThread() can join it without any risk of a deadlock.
namespace fc::services {

using ThreadHandle = std::uint32_t;  // 0 stands for no thread

// Starts `entry` on a new thread. Returns 0 when no thread could be made.
ThreadHandle startThread(std::function<void()> entry);

// Ends the thread: once this returns, it runs none of its remaining steps. A handle
// of 0, an unknown handle or one already ended is ignored. Writes the thread handed
// to the UI thread and that are still pending are settled by the hook below.
void endThread(ThreadHandle handle);

// Called by endThread() on the calling thread, after the worker has stopped.
// `finishedNormally` tells whether the worker had already returned on its own
// before the end request: its pending writes then belong to a completed run.
using SettleHook = std::function<void(ThreadHandle, bool finishedNormally)>;
void setSettleHook(SettleHook hook);

// The handle of the calling worker, 0 on any other thread.
ThreadHandle currentThread();

// True once the calling worker has been asked to end.
bool stopRequested();

// Sleeps until `deadline` has passed (strictly), or until the worker is ended.
// Returns false when it was ended.
bool waitUntil(Clock::TimePoint deadline);

// Waits n milliseconds; n <= 0 returns at once.
bool waitMs(int n);

// Test hook: makes the next thread starts fail as a full system would.
void failThreadStartsForTesting(bool fail);

// Number of workers still running (tests).
int liveThreadCount();

}  // namespace fc::services
