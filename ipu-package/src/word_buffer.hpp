#pragma once

#include <capnp/common.h>

#include <cstddef>

namespace ipu_package {

// A word-aligned block of memory that can grow, keeping its contents. Small sizes
// live on the heap; from kMappedBytes on the block is mapped on its own and asks
// for transparent huge pages, which makes filling hundreds of megabytes many times
// cheaper than page by page, and lets growth remap instead of copying.
class WordBuffer {
  public:
    static constexpr std::size_t kMappedBytes = std::size_t{2} << 20;

    WordBuffer() = default;
    WordBuffer(WordBuffer&& other) noexcept;
    WordBuffer& operator=(WordBuffer&& other) noexcept;
    WordBuffer(const WordBuffer&) = delete;
    WordBuffer& operator=(const WordBuffer&) = delete;
    ~WordBuffer();

    // Makes room for `bytes` bytes, a multiple of the word size, keeping the
    // contents up to the old size. Returns false, leaving the buffer as it was,
    // when the memory cannot be had.
    [[nodiscard]] bool resize(std::size_t bytes);

    std::byte* bytes() { return static_cast<std::byte*>(data_); }
    const capnp::word* words() const { return static_cast<const capnp::word*>(data_); }

  private:
    void release() noexcept;

    void* data_ = nullptr;
    std::size_t size_ = 0;
    bool mapped_ = false;
};

}  // namespace ipu_package
