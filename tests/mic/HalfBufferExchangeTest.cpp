// Handing filled halves from a writer thread to a reader.
#include "HalfBufferExchange.h"

#include <QByteArray>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace tonara::test {

namespace {

// Bytes that count up from first, so a half shows where it came from.
std::vector<std::uint8_t> counting(int first, int count) {
    std::vector<std::uint8_t> bytes(size_t(count), 0);
    for (int k = 0; k < count; ++k) bytes[size_t(k)] = std::uint8_t(first + k);
    return bytes;
}

QByteArray taken(HalfBufferExchange& exchange) {
    QByteArray half(exchange.halfBytes(), Qt::Uninitialized);
    return exchange.take(half.data()) ? half : QByteArray();
}

QByteArray countingHalf(int first, int count) {
    const auto bytes = counting(first, count);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), count);
}

} // namespace

TEST(HalfBufferExchange, BlocksOfAnySizeMakeWholeHalvesInOrder) {
    HalfBufferExchange exchange(10);
    const auto bytes = counting(0, 35);
    EXPECT_EQ(exchange.write(bytes.data(), 3), 0);
    EXPECT_FALSE(exchange.waiting());
    EXPECT_EQ(exchange.write(bytes.data() + 3, 24), 2) << "one block completing two halves";
    EXPECT_EQ(exchange.write(bytes.data() + 27, 8), 1);
    EXPECT_EQ(taken(exchange), countingHalf(0, 10));
    EXPECT_EQ(taken(exchange), countingHalf(10, 10));
    EXPECT_EQ(taken(exchange), countingHalf(20, 10));
    EXPECT_FALSE(exchange.waiting()) << "five bytes of the next half are not a half";
    EXPECT_TRUE(taken(exchange).isEmpty());
}

TEST(HalfBufferExchange, AReaderBehindByEverySlotLosesNewSoundNotItsWaitingHalves) {
    HalfBufferExchange exchange(4);
    const int slotCount = HalfBufferExchange::kSlots;
    const auto bytes = counting(0, 4 * (slotCount + 2));
    EXPECT_EQ(exchange.write(bytes.data(), int(bytes.size())), slotCount);
    for (int h = 0; h < slotCount; ++h) EXPECT_EQ(taken(exchange), countingHalf(4 * h, 4)) << "half " << h;
    EXPECT_FALSE(exchange.waiting());

    const auto later = counting(100, 4);
    EXPECT_EQ(exchange.write(later.data(), 4), 1) << "freed slotCount fill again";
    EXPECT_EQ(taken(exchange), countingHalf(100, 4));
}

TEST(HalfBufferExchange, ARecordingThreadAndAReaderNeverTearAHalf) {
    constexpr int kHalf = 1000;
    constexpr int kHalvesToCheck = 300;
    HalfBufferExchange exchange(kHalf);
    std::atomic<bool> enough{false};
    // Blocks of a size prime to the half's, as a sound library's would not line up either.
    std::thread writer([&] {
        std::vector<std::uint8_t> block(997);
        for (int next = 0; !enough; next += int(block.size())) {
            for (size_t k = 0; k < block.size(); ++k) block[k] = std::uint8_t(next + int(k));
            exchange.write(block.data(), int(block.size()));
            std::this_thread::yield();
        }
    });
    QByteArray half(kHalf, Qt::Uninitialized);
    int torn = 0;
    for (int halves = 0; halves < kHalvesToCheck;) {
        if (!exchange.take(half.data())) {
            std::this_thread::yield();
            continue;
        }
        ++halves;
        for (int k = 1; k < kHalf; ++k)
            if (std::uint8_t(half[k - 1] + 1) != std::uint8_t(half[k])) {
                ++torn;
                break;
            }
    }
    enough = true;
    writer.join();
    EXPECT_EQ(torn, 0) << "halves whose bytes do not run on";
}

} // namespace tonara::test
