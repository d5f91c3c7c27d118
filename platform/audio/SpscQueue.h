#pragma once
// A fixed ring of values from one producer thread to one consumer thread,
// without a lock and without allocating after construction: how requests
// reach the audio thread and finished voices come back.

#include <atomic>
#include <cstddef>
#include <optional>
#include <vector>

namespace tonara {

template <typename T>
class SpscQueue {
public:
    explicit SpscQueue(std::size_t capacity) : slots_(capacity + 1) {}

    // Producer. False when the ring is full.
    bool push(const T& value) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        const std::size_t next = (tail + 1) % slots_.size();
        if (next == head_.load(std::memory_order_acquire)) return false;
        slots_[tail] = value;
        tail_.store(next, std::memory_order_release);
        return true;
    }

    // Consumer.
    std::optional<T> pop() {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return std::nullopt;
        T value = slots_[head];
        head_.store((head + 1) % slots_.size(), std::memory_order_release);
        return value;
    }

    // Either side: nothing waits (a snapshot).
    bool empty() const { return head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_acquire); }

private:
    std::vector<T> slots_;
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

} // namespace tonara
