#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <vector>

#include "ipu_package/input_stream.hpp"
#include "ipu_package/package_error.hpp"

namespace ipu_package {

// What sort of step a cycle sample measured. Values match the schema's StepKind.
enum class ProfileStepKind : std::uint8_t { Exchange, Compute, Synchronization, Idle };

// One further name/value pair attached to a step.
struct ProfileMetadata {
    std::string name{};
    std::string value{};

    friend bool operator==(const ProfileMetadata&, const ProfileMetadata&) = default;
};

// The step that a cycle sample measured.
struct ProfileStep {
    std::uint32_t local_index = 0;
    std::uint32_t phase = 0;
    std::uint32_t epoch = 0;
    std::string operation{};
    ProfileStepKind kind = ProfileStepKind::Exchange;
    std::string kernel{};
    std::vector<ProfileMetadata> metadata{};

    friend bool operator==(const ProfileStep&, const ProfileStep&) = default;
};

// One timed step on one tile, with the cycle counter at its start and end.
struct CycleSample {
    ProfileStep step{};
    std::uint32_t start_cycle = 0;
    std::uint32_t end_cycle = 0;

    friend bool operator==(const CycleSample&, const CycleSample&) = default;
};

// The timed steps of one tile, in the order the profile lists them.
struct TileProfile {
    std::uint32_t physical_tile = 0;
    std::vector<CycleSample> samples{};

    friend bool operator==(const TileProfile&, const TileProfile&) = default;
};

// A per-tile cycle profile of one program run: plain owned values that share
// nothing with the file they were read from. Every field has a default, so
// designated initializers may name only the fields they set.
struct ProfileReport {
    std::uint64_t clock_hz = 0;
    std::vector<TileProfile> tiles{};

    // Reads one profile message from `input` and decodes it whole. The stream is
    // consumed and closed before this returns, whatever the outcome; bytes after the
    // message are never read. Fails with the first problem in document order:
    //   Capnp       the stream is empty, ends early, cannot be read, announces 512 or
    //               more segments, a pointer cannot be followed, or decoding would take
    //               far more work than the size of the message justifies
    //   Invalid     "unsupported profile schema version N" unless 1 <= N <= 3
    //   Utf8        a text is not valid UTF-8
    //   SchemaEnum  a step kind is 4 or more
    // Nothing else is judged: counts, tile numbers, cycles and the clock are returned
    // as stored. Never throws, prints or ends the process.
    static std::expected<ProfileReport, PackageError> read(InputStream input);

    friend bool operator==(const ProfileReport&, const ProfileReport&) = default;
};

}  // namespace ipu_package
