#include "ipu_package/profile_writer.hpp"

#include <capnp/message.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "capnp_failure.hpp"
#include "profile_builder.hpp"
#include "stream_framing.hpp"

namespace ipu_package {
namespace {

std::string_view bytes_of(kj::ArrayPtr<const capnp::word> segment) {
    return {reinterpret_cast<const char*>(segment.begin()), segment.size() * kWordBytes};
}

std::expected<void, IoError> write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::unexpected(IoError{errno});
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// Builds the message for `report` and hands the framing and each segment, in
// order, to `sink`, which returns std::expected<void, E>.
template <typename Sink>
std::expected<void, PackageError> emit_profile(const ProfileReport& report,
                                               std::uint32_t schema_version, Sink&& sink) {
    capnp::MallocMessageBuilder message;
    try {
        build_profile(report, schema_version, message);
    } catch (...) {
        return std::unexpected(current_capnp_failure());
    }
    const auto segments = message.getSegmentsForOutput();
    if (auto written = sink(std::string_view(segment_table(segments))); !written) {
        return std::unexpected(written.error());
    }
    for (const auto& segment : segments) {
        if (auto written = sink(bytes_of(segment)); !written) {
            return std::unexpected(written.error());
        }
    }
    return {};
}

}  // namespace

std::expected<void, PackageError> write_profile(const ProfileReport& report,
                                                std::uint32_t schema_version, int fd) {
    return emit_profile(report, schema_version,
                        [fd](std::string_view bytes) { return write_all(fd, bytes); });
}

std::expected<std::string, PackageError> encode_profile(const ProfileReport& report,
                                                        std::uint32_t schema_version) {
    std::string encoded;
    auto emitted = emit_profile(report, schema_version, [&encoded](std::string_view bytes) {
        encoded += bytes;
        return std::expected<void, IoError>{};
    });
    if (!emitted) {
        return std::unexpected(emitted.error());
    }
    return encoded;
}

}  // namespace ipu_package
