#pragma once

#include <cstdint>

namespace ipu_package {

// How many words the message library may traverse while one message of
// `message_words` words is decoded.
//
// Decoding a profile once reads each word of an honest message at most once, so
// its traversal costs at most its own size. A hostile message can cost far more:
// many pointers can share one large target, and a list of zero-sized elements
// claims any number of elements from a single word (the message library counts
// each such element as one word). Either way the decoded report would grow out of
// all proportion to the file. The budget allows kWordsPerMessageWord times the
// message's size, and never less than kFloorWords, so that small files with
// zero-sized structs (a writer may give a struct less room) still read.
// The report made from a budget of B words holds at most B elements, whatever
// the input, so its size is bounded by a constant times the file's.
inline constexpr std::uint64_t kWordsPerMessageWord = 4;
inline constexpr std::uint64_t kFloorWords = std::uint64_t{1} << 16;

constexpr std::uint64_t decoding_budget(std::uint64_t message_words) {
    const std::uint64_t scaled = message_words * kWordsPerMessageWord;  // < 2^44: no overflow
    return scaled > kFloorWords ? scaled : kFloorWords;
}

}  // namespace ipu_package
