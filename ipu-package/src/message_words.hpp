#pragma once

#include <capnp/common.h>
#include <kj/common.h>

#include <cstdint>
#include <expected>
#include <vector>

#include "ipu_package/input_stream.hpp"
#include "ipu_package/package_error.hpp"
#include "word_buffer.hpp"

namespace ipu_package {

// The segments of one message, held in one word-aligned buffer of its own.
class MessageWords {
  public:
    // Views of the segments, in order, valid while this object lives.
    kj::ArrayPtr<const kj::ArrayPtr<const capnp::word>> segments() const {
        return {segments_.data(), segments_.size()};
    }

    // The number of words in all segments together.
    std::uint64_t word_count() const { return word_count_; }

  private:
    friend std::expected<MessageWords, CapnpError> read_message_words(InputStream& input);

    WordBuffer buffer_;
    std::uint64_t word_count_ = 0;
    std::vector<kj::ArrayPtr<const capnp::word>> segments_;
};

// Reads one message in the standard unpacked stream framing from `input`: the
// segment table, then exactly the segments it announces, and nothing after them.
// The sizes in the table are not trusted: the buffer grows only as data actually
// arrives, so a short input announcing terabytes costs a few bytes. Fails with a
// CapnpError when the input is empty, ends early, cannot be read, announces 512 or
// more segments, or its contents do not fit in memory.
std::expected<MessageWords, CapnpError> read_message_words(InputStream& input);

}  // namespace ipu_package
