#include "message_words.hpp"

#include <algorithm>
#include <string>

#include "stream_framing.hpp"

namespace ipu_package {
namespace {

// The first allocation for a message whose source cannot say how much is coming;
// from there the buffer doubles as data arrives.
constexpr std::uint64_t kInitialBytes = 64 * 1024;

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

// The segment sizes in words, from the segment table at the start of `input`.
std::expected<std::vector<std::uint64_t>, CapnpError> read_segment_sizes(InputStream& input) {
    std::byte head[kWordBytes];  // the segment count, then the size of segment 0
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

    std::byte rest[kSegmentLimit * 4];  // the other sizes and the zero fill
    const std::size_t rest_bytes = segment_table_bytes(segment_count) - kWordBytes;
    auto rest_read = read_fully(input, std::span(rest, rest_bytes));
    if (!rest_read) {
        return std::unexpected(rest_read.error());
    }
    if (*rest_read < rest_bytes) {
        return std::unexpected(failure("input ended inside the segment table"));
    }
    std::vector<std::uint64_t> sizes(segment_count);
    sizes[0] = u32_at(head + 4);
    for (std::size_t i = 1; i < segment_count; ++i) {
        sizes[i] = u32_at(rest + 4 * (i - 1));
    }
    return sizes;
}

// Reads exactly `total_bytes` into `buffer`, which grows only as far as the data
// has come: first to what the source says it holds, then by doubling.
std::expected<void, CapnpError> read_segment_data(InputStream& input, std::uint64_t total_bytes,
                                                  WordBuffer& buffer) {
    const std::uint64_t hinted = input.remaining_hint().value_or(kInitialBytes);
    std::uint64_t capacity =
        std::min(total_bytes, (hinted + kWordBytes - 1) / kWordBytes * kWordBytes);
    std::uint64_t filled = 0;
    for (;;) {
        if (!buffer.resize(static_cast<std::size_t>(capacity))) {
            return std::unexpected(CapnpError{
                CapnpError::Kind::Overloaded,
                "out of memory for a message of " + std::to_string(total_bytes) + " bytes"});
        }
        auto count = read_fully(
            input, std::span(buffer.bytes() + filled, static_cast<std::size_t>(capacity - filled)));
        if (!count) {
            return std::unexpected(count.error());
        }
        filled += *count;
        if (filled == total_bytes) {
            return {};
        }
        if (filled < capacity) {
            return std::unexpected(failure("input ended inside the message's segments"));
        }
        capacity = std::min(total_bytes, std::max(capacity * 2, kInitialBytes));
    }
}

}  // namespace

std::expected<MessageWords, CapnpError> read_message_words(InputStream& input) {
    auto sizes = read_segment_sizes(input);
    if (!sizes) {
        return std::unexpected(sizes.error());
    }
    MessageWords words;
    for (const std::uint64_t size : *sizes) {
        words.word_count_ += size;  // at most 511 * (2^32 - 1): no overflow in 64 bits
    }
    if (auto read = read_segment_data(input, words.word_count_ * kWordBytes, words.buffer_);
        !read) {
        return std::unexpected(read.error());
    }
    words.segments_.reserve(sizes->size());
    const capnp::word* next = words.buffer_.words();
    for (const std::uint64_t size : *sizes) {
        words.segments_.emplace_back(next, static_cast<std::size_t>(size));
        next += size;
    }
    return words;
}

}  // namespace ipu_package
