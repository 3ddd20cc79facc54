#include "profile_builder.hpp"

#include <limits>
#include <string>
#include <vector>

#include "ipu_package/profile.capnp.h"

namespace ipu_package {
namespace {

namespace schema = profile_capnp;

// The message library checks list lengths itself, but only after narrowing them
// to its 32-bit element count.
unsigned list_size(std::size_t size) {
    KJ_REQUIRE(size <= std::numeric_limits<unsigned>::max(), "list too long for a profile", size);
    return static_cast<unsigned>(size);
}

capnp::Text::Reader text(const std::string& value) {
    return capnp::Text::Reader(value.data(), value.size());
}

void build_step(const ProfileStep& step, schema::ProfileStep::Builder into) {
    into.setLocalIndex(step.local_index);
    into.setPhase(step.phase);
    into.setEpoch(step.epoch);
    into.setOperation(text(step.operation));
    into.setKind(static_cast<schema::StepKind>(step.kind));
    into.setKernel(text(step.kernel));
    auto metadata = into.initMetadata(list_size(step.metadata.size()));
    for (unsigned i = 0; i < metadata.size(); ++i) {
        metadata[i].setName(text(step.metadata[i].name));
        metadata[i].setValue(text(step.metadata[i].value));
    }
}

void build_tile(const TileProfile& tile, schema::TileProfile::Builder into) {
    into.setPhysicalTile(tile.physical_tile);
    auto samples = into.initSamples(list_size(tile.samples.size()));
    for (unsigned i = 0; i < samples.size(); ++i) {
        const CycleSample& sample = tile.samples[i];
        build_step(sample.step, samples[i].initStep());
        samples[i].setStartCycle(sample.start_cycle);
        samples[i].setEndCycle(sample.end_cycle);
    }
}

}  // namespace

void build_profile(const ProfileReport& report, std::uint32_t schema_version,
                   capnp::MessageBuilder& message) {
    auto root = message.initRoot<schema::Profile>();
    root.setSchemaVersion(schema_version);
    root.setClockHz(report.clock_hz);
    auto tiles = root.initTiles(list_size(report.tiles.size()));
    for (unsigned i = 0; i < tiles.size(); ++i) {
        build_tile(report.tiles[i], tiles[i]);
    }
}

}  // namespace ipu_package
