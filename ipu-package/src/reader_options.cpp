#include "ipu_package/reader_options.hpp"

#include <cstdint>
#include <limits>

namespace ipu_package {

capnp::ReaderOptions capnp_reader_options() {
    capnp::ReaderOptions options;
    options.traversalLimitInWords = std::numeric_limits<std::uint64_t>::max();
    return options;
}

}  // namespace ipu_package
