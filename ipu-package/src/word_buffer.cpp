#include "word_buffer.hpp"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace ipu_package {
namespace {

void* map_fresh(std::size_t bytes) {
    void* block =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) {
        return nullptr;
    }
    // Only a hint: without huge pages the block works the same, page by page.
    (void)::madvise(block, bytes, MADV_HUGEPAGE);
    return block;
}

}  // namespace

WordBuffer::WordBuffer(WordBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

WordBuffer& WordBuffer::operator=(WordBuffer&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, false);
    }
    return *this;
}

WordBuffer::~WordBuffer() {
    release();
}

void WordBuffer::release() noexcept {
    if (mapped_) {
        ::munmap(data_, size_);
    } else {
        std::free(data_);
    }
    data_ = nullptr;
    size_ = 0;
    mapped_ = false;
}

bool WordBuffer::resize(std::size_t bytes) {
    if (bytes == 0) {
        release();
        return true;
    }
    void* grown = nullptr;
    if (mapped_) {
        grown = ::mremap(data_, size_, bytes, MREMAP_MAYMOVE);
        if (grown == MAP_FAILED) {
            return false;
        }
    } else if (bytes < kMappedBytes) {
        // malloc aligns to 16 bytes, enough for words.
        grown = std::realloc(data_, bytes);
        if (grown == nullptr) {
            return false;
        }
    } else {
        grown = map_fresh(bytes);
        if (grown == nullptr) {
            return false;
        }
        if (size_ > 0) {
            std::memcpy(grown, data_, size_);
        }
        std::free(data_);
        mapped_ = true;
    }
    data_ = grown;
    size_ = bytes;
    return true;
}

}  // namespace ipu_package
