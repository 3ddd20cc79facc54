// Messages that a different writer could produce: structs with less or more room
// than this schema gives them, null pointers, zero-sized elements.
#include <capnp/message.h>
#include <gtest/gtest.h>

#include "ipu_package/ipu_package.hpp"
#include "ipu_package/profile.capnp.h"
#include "profile_builder.hpp"
#include "stream_framing.hpp"
#include "support/hand_made_words.hpp"
#include "support/printing.hpp"

namespace ipu_package {
namespace {

using namespace hand_made;

std::expected<ProfileReport, PackageError> read_bytes(std::string bytes) {
    return ProfileReport::read(InputStream::from_bytes(std::move(bytes)));
}

std::string framed_message(capnp::MessageBuilder& message) {
    const auto segments = message.getSegmentsForOutput();
    std::string bytes = segment_table(segments);
    for (const auto& segment : segments) {
        bytes.append(reinterpret_cast<const char*>(segment.begin()), segment.size() * 8);
    }
    return bytes;
}

// Profile (version 1, clock 1000) with one tile (number 7) holding one sample
// (cycles 10 to 20) whose step has the given data section and no pointers.
std::string single_step_message(const std::vector<std::uint64_t>& step_data) {
    Segment words = {
        struct_pointer(0, 2, 1),                           // 0: root
        1,                                                 // 1: schemaVersion
        1000,                                              // 2: clockHz
        list_pointer(0, ElementSize::InlineComposite, 2),  // 3: tiles
        composite_tag(1, 1, 1),                            // 4
        7,                                                 // 5: physicalTile
        list_pointer(0, ElementSize::InlineComposite, 2),  // 6: samples
        composite_tag(1, 1, 1),                            // 7
        10 | std::uint64_t{20} << 32,                      // 8: startCycle, endCycle
        struct_pointer(0, static_cast<std::uint16_t>(step_data.size()), 0),  // 9: step
    };
    words.insert(words.end(), step_data.begin(), step_data.end());
    return framed({words});
}

ProfileReport single_step_report(ProfileStep step) {
    return {.clock_hz = 1000,
            .tiles = {{.physical_tile = 7, .samples = {{std::move(step), 10, 20}}}}};
}

TEST(MessageLayout, AStepWithoutRoomForItsKindReadsAsExchange) {
    const std::uint64_t index_and_phase = 5 | std::uint64_t{6} << 32;
    EXPECT_EQ(read_bytes(single_step_message({index_and_phase})),
              single_step_report({.local_index = 5, .phase = 6}));
    EXPECT_EQ(read_bytes(single_step_message({index_and_phase, 9 | std::uint64_t{3} << 32})),
              single_step_report(
                  {.local_index = 5, .phase = 6, .epoch = 9, .kind = ProfileStepKind::Idle}));
}

TEST(MessageLayout, NullPointersReadAsEmptyValues) {
    capnp::MallocMessageBuilder message;
    auto root = message.initRoot<profile_capnp::Profile>();
    root.setSchemaVersion(2);
    auto tiles = root.initTiles(2);
    tiles[0].setPhysicalTile(3);               // samples left null
    auto sample = tiles[1].initSamples(1)[0];  // step left null
    sample.setStartCycle(4);
    sample.setEndCycle(2);
    EXPECT_EQ(read_bytes(framed_message(message)),
              (ProfileReport{.clock_hz = 0,
                             .tiles = {{.physical_tile = 3, .samples = {}},
                                       {.physical_tile = 0, .samples = {{{}, 4, 2}}}}}));
}

TEST(MessageLayout, ExtraRoomInStructsIsIgnored) {
    const Segment words = {
        struct_pointer(0, 3, 2),                           // 0: root, one word and pointer more
        2,                                                 // 1: schemaVersion
        77,                                                // 2: clockHz
        0xdead'beef,                                       // 3: unknown data
        list_pointer(1, ElementSize::InlineComposite, 4),  // 4: tiles
        list_pointer(5, ElementSize::Byte, 4),             // 5: unknown pointer to "odd"
        composite_tag(1, 2, 2),                            // 6
        9,                                                 // 7: physicalTile
        0xffff,                                            // 8: unknown data
        0,                                                 // 9: samples, null
        0,                                                 // 10: unknown pointer
        text_words("odd")[0],                              // 11
    };
    EXPECT_EQ(read_bytes(framed({words})),
              (ProfileReport{.clock_hz = 77, .tiles = {{.physical_tile = 9, .samples = {}}}}));
}

TEST(MessageLayout, ZeroSizedTilesOfAnHonestCountRead) {
    const Segment words = {
        struct_pointer(0, 2, 1),   3, 5, list_pointer(0, ElementSize::InlineComposite, 0),
        composite_tag(1472, 0, 0),
    };
    const auto report = read_bytes(framed({words}));
    ASSERT_TRUE(report.has_value()) << report.error();
    EXPECT_EQ(report->tiles, std::vector<TileProfile>(1472));
}

TEST(MessageLayout, ManySmallSegmentsRead) {
    // A writer that keeps its segments tiny spreads every list and text over
    // segments of their own, reached through far pointers.
    capnp::MallocMessageBuilder message(1, capnp::AllocationStrategy::FIXED_SIZE);
    const ProfileReport report = {
        .clock_hz = 9,
        .tiles = {{.physical_tile = 1,
                   .samples = {{{.operation = "far away", .metadata = {{"a", "b"}}}, 1, 2}}}}};
    build_profile(report, 1, message);
    ASSERT_GT(message.getSegmentsForOutput().size(), 5u);
    EXPECT_EQ(read_bytes(framed_message(message)), report);
}

TEST(MessageLayout, ANullRootOrAnEmptyRootReadsAsVersionZero) {
    const auto version_zero =
        std::unexpected(PackageError::invalid("unsupported profile schema version 0"));
    EXPECT_EQ(read_bytes(framed({{0}})), version_zero);
    EXPECT_EQ(read_bytes(framed({{struct_pointer(0, 0, 0)}})), version_zero);
    EXPECT_EQ(read_bytes(framed({{struct_pointer(0, 0, 1), 0}})), version_zero);
}

}  // namespace
}  // namespace ipu_package
