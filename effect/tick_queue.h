// TickQueue: voice 1's tick positions waiting for voice 0 to pass them (see
// voice_loop.h). Holds more than the ticks of 16 frames at the shortest step
// and full depth; when it is full, voice 1's clock simply pauses.
//
// Threads: audio thread. A value type local to one block's loop.
#pragma once

#include <cstdint>

namespace ReedDsp {

class TickQueue {
public:
    bool full() const { return head - tail == kSize; }
    bool empty() const { return head == tail; }
    void push(double p) { slots[head++ % kSize] = p; }
    double front() const { return slots[tail % kSize]; }
    double pop() { return slots[tail++ % kSize]; }

private:
    static constexpr std::uint32_t kSize = 128;
    double slots[kSize];
    std::uint32_t head = 0;
    std::uint32_t tail = 0;
};

}  // namespace ReedDsp
