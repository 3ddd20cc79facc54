#include "message_words.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "stream_framing.hpp"

namespace ipu_package {
namespace {

// The first allocation for a message whose source cannot say how much is coming;
// from there the buffer doubles as data arrives.
constexpr std::uint64_t kInitialWords = 8192;

CapnpError failure(std::string description) {
    return {CapnpError::Kind::Failed, std::move(description)};
}

std::uint32_t u32_at(const std::byte* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint32_t>(bytes[i]);
    }
    return value;
}

// Reads until `into` is full or the input ends; returns the number of bytes read.
std::expected<std::size_t, CapnpError> read_fully(InputStream& input, std::span<std::byte> into) {
    std::size_t filled = 0;
    while (filled < into.size()) {
        auto count = input.read_some(into.subspan(filled));
        if (!count) {
            return std::unexpected(failure("cannot read the input: " + count.error().message()));
        }
        if (*count == 0) {
            break;
        }
        filled += *count;
    }
    return filled;
}

}  // namespace

MessageWords::MessageWords(MessageWords&& other) noexcept
    : buffer_(std::exchange(other.buffer_, nullptr)),
      word_count_(std::exchange(other.word_count_, 0)),
      segments_(std::move(other.segments_)) {}

MessageWords& MessageWords::operator=(MessageWords&& other) noexcept {
    if (this != &other) {
        std::free(buffer_);
        buffer_ = std::exchange(other.buffer_, nullptr);
        word_count_ = std::exchange(other.word_count_, 0);
        segments_ = std::move(other.segments_);
    }
    return *this;
}

MessageWords::~MessageWords() {
    std::free(buffer_);
}

std::expected<MessageWords, CapnpError> read_message_words(InputStream& input) {
    // The segment count and the size of segment 0, then the other sizes.
    std::byte head[kWordBytes];
    auto head_read = read_fully(input, head);
    if (!head_read) {
        return std::unexpected(head_read.error());
    }
    if (*head_read == 0) {
        return std::unexpected(failure("input ended before a message began"));
    }
    if (*head_read < sizeof head) {
        return std::unexpected(failure("input ended inside the segment table"));
    }
    const std::uint64_t segment_count = std::uint64_t{u32_at(head)} + 1;
    if (segment_count >= kSegmentLimit) {
        return std::unexpected(failure("message announces " + std::to_string(segment_count) +
                                       " segments; at most 511 are accepted"));
    }
    std::byte table[kSegmentLimit * 4];
    const std::size_t table_rest = segment_table_bytes(segment_count) - kWordBytes;
    auto table_read = read_fully(input, std::span(table, table_rest));
    if (!table_read) {
        return std::unexpected(table_read.error());
    }
    if (*table_read < table_rest) {
        return std::unexpected(failure("input ended inside the segment table"));
    }

    std::vector<std::uint64_t> sizes(segment_count);
    sizes[0] = u32_at(head + 4);
    for (std::size_t i = 1; i < segment_count; ++i) {
        sizes[i] = u32_at(table + 4 * (i - 1));
    }
    std::uint64_t total_words = 0;
    for (const std::uint64_t size : sizes) {
        total_words += size;  // at most 511 * (2^32 - 1): no overflow in 64 bits
    }

    // The segments, into a buffer that grows only as far as data has arrived.
    MessageWords words;
    const std::uint64_t total_bytes = total_words * kWordBytes;
    const std::uint64_t expected_bytes =
        input.remaining_hint().value_or(kInitialWords * kWordBytes);
    std::uint64_t capacity =
        std::min(total_bytes, (expected_bytes + kWordBytes - 1) & ~(kWordBytes - 1));
    std::uint64_t filled = 0;
    for (;;) {
        if (capacity > 0) {
            void* grown = std::realloc(words.buffer_, static_cast<std::size_t>(capacity));
            if (grown == nullptr) {
                return std::unexpected(CapnpError{
                    CapnpError::Kind::Overloaded,
                    "out of memory for a message of " + std::to_string(total_words) + " words"});
            }
            words.buffer_ = static_cast<capnp::word*>(grown);
        }
        auto* bytes = reinterpret_cast<std::byte*>(words.buffer_);
        auto count = read_fully(
            input, std::span(bytes + filled, static_cast<std::size_t>(capacity - filled)));
        if (!count) {
            return std::unexpected(count.error());
        }
        filled += *count;
        if (filled == total_bytes) {
            break;
        }
        if (filled < capacity) {
            return std::unexpected(failure("input ended inside the message's segments"));
        }
        capacity = std::min(total_bytes, std::max(capacity * 2, kInitialWords * kWordBytes));
    }

    words.word_count_ = total_words;
    words.segments_.reserve(segment_count);
    const capnp::word* next = words.buffer_;
    for (const std::uint64_t size : sizes) {
        words.segments_.emplace_back(next, static_cast<std::size_t>(size));
        next += size;
    }
    return words;
}

}  // namespace ipu_package
