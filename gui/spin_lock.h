// The editor's one lock: a word swapped atomically. The editor's own
// operations wait for it, yielding the processor between tries; the core's
// notifications try it once and give up, so the audio thread never waits.
//
// Threads: any. Ownership: embedded in its user.
#pragma once

#include <atomic>

namespace Wispkit {

class SpinLock {
public:
    /// One attempt; true when the lock was free and is now held.
    bool tryLock() { return word.exchange(1, std::memory_order_acquire) == 0; }
    /// Waits until the lock is held by the caller.
    void lock();
    void unlock() { word.store(0, std::memory_order_release); }

private:
    std::atomic<int> word{0};
};

}  // namespace Wispkit
