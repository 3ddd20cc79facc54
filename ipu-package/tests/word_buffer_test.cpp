#include "word_buffer.hpp"

#include <gtest/gtest.h>

#include <cstdint>

namespace ipu_package {
namespace {

// Fills bytes [from, to) with a pattern that depends on the position.
void fill(WordBuffer& buffer, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        buffer.bytes()[i] = static_cast<std::byte>(i * 131 % 251);
    }
}

bool holds_pattern(const WordBuffer& buffer, std::size_t size) {
    const auto* bytes = reinterpret_cast<const std::byte*>(buffer.words());
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != static_cast<std::byte>(i * 131 % 251)) {
            return false;
        }
    }
    return true;
}

TEST(WordBuffer, GrowingOnTheHeapIntoAMappingAndBeyondKeepsTheContents) {
    constexpr std::size_t mapped = WordBuffer::kMappedBytes;
    const std::size_t sizes[] = {64, 4096, mapped - 8, mapped, 3 * mapped, 7 * mapped + 8};
    WordBuffer buffer;
    std::size_t filled = 0;
    for (const std::size_t size : sizes) {
        ASSERT_TRUE(buffer.resize(size)) << size;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.words()) % 8, 0u);
        EXPECT_TRUE(holds_pattern(buffer, filled)) << size;
        fill(buffer, filled, size);
        filled = size;
    }
    WordBuffer moved = std::move(buffer);
    EXPECT_TRUE(holds_pattern(moved, filled));
    EXPECT_EQ(buffer.words(), nullptr);
}

TEST(WordBuffer, AnImpossibleSizeFailsAndKeepsTheBuffer) {
    WordBuffer buffer;
    ASSERT_TRUE(buffer.resize(64));
    fill(buffer, 0, 64);
    EXPECT_FALSE(buffer.resize(std::size_t{1} << 62));
    EXPECT_TRUE(holds_pattern(buffer, 64));
}

}  // namespace
}  // namespace ipu_package
