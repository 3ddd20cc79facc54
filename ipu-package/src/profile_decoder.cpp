#include <capnp/serialize.h>

#include <string_view>

#include "capnp_failure.hpp"
#include "decoding_budget.hpp"
#include "ipu_package/profile.capnp.h"
#include "ipu_package/profile_report.hpp"
#include "ipu_package/reader_options.hpp"
#include "message_words.hpp"
#include "utf8.hpp"

namespace ipu_package {
namespace {

namespace schema = profile_capnp;

using Decoded = std::expected<void, PackageError>;

constexpr std::uint32_t kFirstVersion = 1;
constexpr std::uint32_t kLastVersion = 3;

// The schema's StepKind values, in order, as the model's.
constexpr ProfileStepKind step_kinds[] = {ProfileStepKind::Exchange, ProfileStepKind::Compute,
                                          ProfileStepKind::Synchronization, ProfileStepKind::Idle};

Decoded copy_text(capnp::Text::Reader text, std::string& into) {
    const std::string_view bytes(text.begin(), text.size());
    if (auto fault = find_utf8_error(bytes)) {
        return std::unexpected(*fault);
    }
    into.assign(bytes);
    return {};
}

Decoded decode_kind(std::uint16_t raw, ProfileStepKind& into) {
    if (raw >= std::size(step_kinds)) {
        return std::unexpected(UndefinedEnumerant{raw});
    }
    into = step_kinds[raw];
    return {};
}

Decoded decode_metadata(capnp::List<schema::MetadataEntry>::Reader entries,
                        std::vector<ProfileMetadata>& into) {
    into.reserve(entries.size());
    for (const auto entry : entries) {
        ProfileMetadata& metadata = into.emplace_back();
        if (auto done = copy_text(entry.getName(), metadata.name); !done) {
            return done;
        }
        if (auto done = copy_text(entry.getValue(), metadata.value); !done) {
            return done;
        }
    }
    return {};
}

Decoded decode_sample(schema::CycleSample::Reader sample, CycleSample& into) {
    const auto step = sample.getStep();
    into.step.local_index = step.getLocalIndex();
    into.step.phase = step.getPhase();
    into.step.epoch = step.getEpoch();
    if (auto done = copy_text(step.getOperation(), into.step.operation); !done) {
        return done;
    }
    if (auto done = decode_kind(static_cast<std::uint16_t>(step.getKind()), into.step.kind);
        !done) {
        return done;
    }
    if (auto done = copy_text(step.getKernel(), into.step.kernel); !done) {
        return done;
    }
    if (auto done = decode_metadata(step.getMetadata(), into.step.metadata); !done) {
        return done;
    }
    into.start_cycle = sample.getStartCycle();
    into.end_cycle = sample.getEndCycle();
    return {};
}

Decoded decode_tile(schema::TileProfile::Reader tile, TileProfile& into) {
    const auto samples = tile.getSamples();
    into.samples.reserve(samples.size());
    for (const auto sample : samples) {
        if (auto done = decode_sample(sample, into.samples.emplace_back()); !done) {
            return done;
        }
    }
    into.physical_tile = tile.getPhysicalTile();
    return {};
}

// Decodes the root. The message library has charged a list's elements against the
// traversal budget by the time its size is known, so sizing the model's vectors by
// it never trusts a count that the budget has not paid for.
std::expected<ProfileReport, PackageError> decode_profile(schema::Profile::Reader root) {
    const std::uint32_t version = root.getSchemaVersion();
    if (version < kFirstVersion || version > kLastVersion) {
        return std::unexpected(
            PackageError::invalid("unsupported profile schema version " + std::to_string(version)));
    }
    ProfileReport report;
    const auto tiles = root.getTiles();
    report.tiles.resize(tiles.size());
    for (unsigned i = 0; i < tiles.size(); ++i) {
        if (auto done = decode_tile(tiles[i], report.tiles[i]); !done) {
            return std::unexpected(done.error());
        }
    }
    report.clock_hz = root.getClockHz();
    return report;
}

// The message library's words for an exhausted budget point at its options, which
// have no limit; say what the limit is about instead.
CapnpError explained(CapnpError failure, const MessageWords& words) {
    if (failure.description.find("traversal limit") != std::string::npos) {
        failure.description = "message claims more content than its " +
                              std::to_string(words.word_count()) +
                              " words can hold: decoding it would traverse more than " +
                              std::to_string(decoding_budget(words.word_count())) + " words";
    }
    return failure;
}

}  // namespace

std::expected<ProfileReport, PackageError> ProfileReport::read(InputStream input) {
    auto words = read_message_words(input);
    input.close();
    if (!words) {
        return std::unexpected(words.error());
    }
    capnp::ReaderOptions options = capnp_reader_options();
    options.traversalLimitInWords =
        std::min(options.traversalLimitInWords, decoding_budget(words->word_count()));
    try {
        capnp::SegmentArrayMessageReader message(words->segments(), options);
        return decode_profile(message.getRoot<schema::Profile>());
    } catch (...) {
        return std::unexpected(explained(current_capnp_failure(), *words));
    }
}

}  // namespace ipu_package
