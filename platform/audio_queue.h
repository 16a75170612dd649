#pragma once
// A bounded single-producer, single-consumer queue without locks or
// allocation after construction: how state crosses between the user-interface
// side and the audio thread. Exactly one thread pushes and exactly one thread
// pops at any time; a full queue refuses the item instead of waiting.

#include <array>
#include <atomic>
#include <cstddef>

namespace orvane {

template <typename T, std::size_t Capacity>
class AudioQueue {
    static_assert(Capacity >= 2 && (Capacity & (Capacity - 1)) == 0,
                  "capacity must be a power of two");

public:
    /// Producer side. False when the queue is full (the item is dropped).
    bool push(const T& item) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) >= Capacity) return false;
        slots_[tail & (Capacity - 1)] = item;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    /// Consumer side: the oldest item, or nullptr when empty. Stays valid
    /// until pop().
    const T* front() const {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return nullptr;
        return &slots_[head & (Capacity - 1)];
    }

    /// Consumer side: removes the oldest item (after front() returned it).
    void pop() { head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

    /// Consumer side convenience: moves the oldest item into `item`.
    bool tryPop(T& item) {
        const T* first = front();
        if (!first) return false;
        item = *first;
        pop();
        return true;
    }

private:
    std::array<T, Capacity> slots_{};
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace orvane
