#include "HalfBufferExchange.h"

#include <algorithm>
#include <cstring>

namespace tonara {

HalfBufferExchange::HalfBufferExchange(int halfBytes)
    : halfBytes_(halfBytes), slots_(std::make_unique_for_overwrite<std::uint8_t[]>(size_t(halfBytes) * kSlots)) {}

int HalfBufferExchange::write(const std::uint8_t* bytes, int count) noexcept {
    int completed = 0;
    while (count > 0) {
        const std::uint64_t filled = filled_.load(std::memory_order_relaxed);
        // A slot once begun stays the writer's: the reader never takes past filled_.
        if (fill_ == 0 && filled - taken_.load(std::memory_order_acquire) == kSlots) break;
        std::uint8_t* slot = slots_.get() + size_t(filled % kSlots) * size_t(halfBytes_);
        const int n = std::min(count, halfBytes_ - fill_);
        std::memcpy(slot + fill_, bytes, size_t(n));
        fill_ += n;
        bytes += n;
        count -= n;
        if (fill_ == halfBytes_) {
            fill_ = 0;
            filled_.store(filled + 1, std::memory_order_release);
            ++completed;
        }
    }
    return completed;
}

bool HalfBufferExchange::waiting() const noexcept {
    return filled_.load(std::memory_order_acquire) != taken_.load(std::memory_order_relaxed);
}

bool HalfBufferExchange::take(char* out) noexcept {
    const std::uint64_t taken = taken_.load(std::memory_order_relaxed);
    if (filled_.load(std::memory_order_acquire) == taken) return false;
    std::memcpy(out, slots_.get() + size_t(taken % kSlots) * size_t(halfBytes_), size_t(halfBytes_));
    taken_.store(taken + 1, std::memory_order_release);
    return true;
}

} // namespace tonara
