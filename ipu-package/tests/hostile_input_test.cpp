// Files that lie: cut short, announcing more than they hold, or claiming far more
// content than their size can honestly carry. Each must end in Capnp, quickly and
// without taking memory in proportion to the lie.
#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "decoding_budget.hpp"
#include "ipu_package/ipu_package.hpp"
#include "support/hand_made_words.hpp"
#include "support/printing.hpp"
#include "support/profile_fixtures.hpp"

namespace ipu_package {
namespace {

using namespace hand_made;

std::expected<ProfileReport, PackageError> read_bytes(std::string bytes) {
    return ProfileReport::read(InputStream::from_bytes(std::move(bytes)));
}

// Feeds `bytes` through a pipe from another thread, so that the reader cannot know
// the size in advance and must grow its buffer as data arrives.
std::expected<ProfileReport, PackageError> read_through_pipe(const std::string& bytes) {
    int ends[2];
    if (::pipe(ends) != 0) {
        ADD_FAILURE() << "pipe";
        return std::unexpected(PackageError(IoError{errno}));
    }
    std::thread writer([&bytes, fd = ends[1]] {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + sent, bytes.size() - sent);
            if (n <= 0) {
                break;  // the reader stopped early
            }
            sent += static_cast<std::size_t>(n);
        }
        ::close(fd);
    });
    auto report = ProfileReport::read(InputStream::from_fd(ends[0]));
    writer.join();
    return report;
}

void expect_capnp(const std::expected<ProfileReport, PackageError>& result,
                  const std::string& what) {
    ASSERT_FALSE(result.has_value()) << what;
    EXPECT_EQ(result.error().variant(), PackageError::Variant::Capnp)
        << what << ": " << result.error();
}

// The byte offsets at which the segments of `encoded` start, then its end.
std::vector<std::size_t> segment_starts(const std::string& encoded) {
    auto u32 = [&encoded](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value =
                value << 8 | static_cast<unsigned char>(encoded[at + static_cast<std::size_t>(i)]);
        }
        return value;
    };
    const std::uint32_t count = u32(0) + 1;
    std::size_t at = (4 * (count + 1) + 7) / 8 * 8;
    std::vector<std::size_t> starts;
    for (std::uint32_t i = 0; i < count; ++i) {
        starts.push_back(at);
        at += 8 * std::size_t{u32(4 + 4 * i)};
    }
    starts.push_back(at);
    return starts;
}

TEST(HostileInput, AnEmptyStreamIsNoMessage) {
    expect_capnp(read_bytes(""), "empty bytes");
    expect_capnp(read_through_pipe(""), "empty pipe");
}

TEST(HostileInput, EveryCutOfASmallMessageIsCapnp) {
    const std::string whole = fixtures::encoded(fixtures::varied_report());
    for (std::size_t length = 0; length < whole.size(); ++length) {
        expect_capnp(read_bytes(whole.substr(0, length)), "cut at " + std::to_string(length));
    }
}

TEST(HostileInput, CutsInsideEverySegmentOfALargeMessageAreCapnp) {
    const std::string whole = fixtures::encoded(fixtures::synthetic_report(8, 120, 2));
    const std::vector<std::size_t> starts = segment_starts(whole);
    ASSERT_GT(starts.size(), 3u) << "want several segments";
    ASSERT_EQ(starts.back(), whole.size());
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        for (const std::size_t cut : {starts[i] + 1, (starts[i] + starts[i + 1]) / 2,
                                      starts[i + 1] - 8, starts[i + 1] - 1}) {
            expect_capnp(read_bytes(whole.substr(0, cut)), "cut at " + std::to_string(cut));
        }
    }
    expect_capnp(read_through_pipe(whole.substr(0, whole.size() - 1)), "cut in a pipe");
}

TEST(HostileInput, AMessageArrivingThroughAPipeReadsWhole) {
    // Big enough that the buffer grows several times, past its first mapping.
    const ProfileReport report = fixtures::synthetic_report(16, 1000, 3);
    const std::string whole = fixtures::encoded(report);
    ASSERT_GT(whole.size(), std::size_t{3} << 20);
    EXPECT_EQ(read_through_pipe(whole + "tail"), report);
}

TEST(HostileInput, SegmentCountsUpTo511AreAccepted) {
    const Segment root = {struct_pointer(0, 2, 0), 1, 12};
    std::vector<Segment> segments(511);
    segments[0] = root;
    EXPECT_EQ(read_bytes(framed(segments)), (ProfileReport{.clock_hz = 12, .tiles = {}}));
    segments.push_back({});
    expect_capnp(read_bytes(framed(segments)), "512 segments");
    expect_capnp(read_bytes(le32({0xffff'ffff, 1})), "2^32 segments");
}

TEST(HostileInput, HugeAnnouncedSegmentsCostOnlyWhatArrives) {
    std::string terabytes = le32({510});
    for (int i = 0; i < 511; ++i) {
        terabytes += le32({0xffff'ffff});
    }
    const std::string inputs[] = {
        le32({0, 0xffff'ffff}) + std::string(8, '\0'),        // 32 GiB announced
        le32({0, 3u << 27}),                                  // 3 GiB announced, no data
        le32({1, 1, 0xffff'ffff, 0}) + std::string(8, '\0'),  // segment 1 never arrives
        terabytes + std::string(64, '\0'),
    };
    for (const std::string& input : inputs) {
        expect_capnp(read_bytes(input), "in memory");
        expect_capnp(read_through_pipe(input), "through a pipe");
    }
}

TEST(HostileInput, PointersThatCannotBeFollowedAreCapnp) {
    const Segment cases[] = {
        {},                           // no room for the root
        {struct_pointer(100, 2, 1)},  // root outside the segment
        {struct_pointer(0, 2, 1), 1, 0, list_pointer(0, ElementSize::InlineComposite, 900)},
        {struct_pointer(0, 2, 1), 1, 0, 2 | std::uint64_t{7} << 32},  // far pointer, no segment 7
        {struct_pointer(0, 2, 1), 1, 0, list_pointer(0, ElementSize::Bit, 3),
         0},                                 // bits, not structs
        {struct_pointer(0, 2, 1), 1, 0, 3},  // capability, not a list
    };
    for (const Segment& words : cases) {
        expect_capnp(read_bytes(framed({words})), testing::PrintToString(words));
    }
}

TEST(HostileInput, ZeroSizedElementsCannotAmplifyTheReport) {
    // 64 bytes claiming 2^29 - 1 tiles, as structs without room and as void elements.
    const Segment struct_tiles = {struct_pointer(0, 2, 1), 1, 0,
                                  list_pointer(0, ElementSize::InlineComposite, 0),
                                  composite_tag((1u << 29) - 1, 0, 0)};
    const Segment void_tiles = {struct_pointer(0, 2, 1), 1, 0,
                                list_pointer(0, ElementSize::Void, (1u << 29) - 1)};
    expect_capnp(read_bytes(framed({struct_tiles})), "zero-sized structs");
    expect_capnp(read_bytes(framed({void_tiles})), "void elements");

    // Just above the floor of the budget, a tiny message is refused as well.
    const auto over_floor = static_cast<std::uint32_t>(kFloorWords + 1);
    const Segment just_over = {struct_pointer(0, 2, 1), 1, 0,
                               list_pointer(0, ElementSize::InlineComposite, 0),
                               composite_tag(over_floor, 0, 0)};
    expect_capnp(read_bytes(framed({just_over})), "just over the floor");
}

TEST(HostileInput, TilesSharingOneSampleListCannotAmplifyTheReport) {
    // 1000 tiles whose sample pointers all lead to one list of 1000 samples: 4000
    // words that would decode to a million samples.
    constexpr std::uint32_t tiles = 1000;
    constexpr std::uint32_t samples = 1000;
    Segment words = {struct_pointer(0, 2, 1), 1, 0,
                     list_pointer(0, ElementSize::InlineComposite, 2 * tiles),
                     composite_tag(tiles, 1, 1)};
    const std::size_t list_at = words.size() + 2 * tiles;  // the shared list's tag
    for (std::uint32_t i = 0; i < tiles; ++i) {
        words.push_back(i);
        const auto pointer_end = static_cast<std::int64_t>(words.size() + 1);
        words.push_back(list_pointer(
            static_cast<std::int32_t>(static_cast<std::int64_t>(list_at) - pointer_end),
            ElementSize::InlineComposite, 2 * samples));
    }
    words.push_back(composite_tag(samples, 1, 1));
    words.resize(words.size() + 2 * samples, 0);
    expect_capnp(read_bytes(framed({words})), "shared sample list");

    // The same list under a few tiles is an honest (if odd) profile.
    words[3] = list_pointer(0, ElementSize::InlineComposite, 2 * 3);
    words[4] = composite_tag(3, 1, 1);
    const auto few = read_bytes(framed({words}));
    ASSERT_TRUE(few.has_value()) << few.error();
    EXPECT_EQ(few->tiles.size(), 3u);
    EXPECT_EQ(few->tiles[2].samples.size(), samples);
}

}  // namespace
}  // namespace ipu_package
