// libFuzzer target: ProfileReport::read on arbitrary bytes must return, never crash,
// and whatever it accepts must survive a trip through the writer unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ipu_package/ipu_package.hpp"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ipu_package;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    auto report = ProfileReport::read(InputStream::from_bytes(std::move(bytes)));
    if (!report) {
        require(!report.error().debug().empty());
        return 0;
    }
    auto encoded = encode_profile(*report, 1);
    require(encoded.has_value());
    auto again = ProfileReport::read(InputStream::from_bytes(std::move(*encoded)));
    require(again.has_value() && *again == *report);
    return 0;
}
