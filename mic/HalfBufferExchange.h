#pragma once
// Carries filled halves of the capture from the audio thread to the
// interface thread without a lock and without allocating: a fixed ring of
// half-sized slots with one writer and one reader. While the reader is
// behind by every slot, new sound is dropped, never a half it has yet to take.

#include <atomic>
#include <cstdint>
#include <memory>

namespace tonara {

class HalfBufferExchange {
public:
    static constexpr int kSlots = 4;

    // Allocates every slot up front.
    explicit HalfBufferExchange(int halfBytes);

    int halfBytes() const { return halfBytes_; }

    // Audio thread: appends recorded bytes; returns how many halves they completed.
    int write(const std::uint8_t* bytes, int count) noexcept;

    // Interface thread.
    bool waiting() const noexcept;
    // Copies the oldest filled half into out (halfBytes() bytes); false when none waits.
    bool take(char* out) noexcept;

private:
    static_assert(std::atomic<std::uint64_t>::is_always_lock_free);

    const int halfBytes_;
    const std::unique_ptr<std::uint8_t[]> slots_;
    std::atomic<std::uint64_t> filled_{0}; // halves completed; written by the audio thread
    std::atomic<std::uint64_t> taken_{0};  // halves taken; written by the interface thread
    int fill_ = 0;                         // bytes in the slot being filled; audio thread only
};

} // namespace tonara
