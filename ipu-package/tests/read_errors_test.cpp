// Which error a profile earns: the version before anything else, then the first
// fault in document order.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "ipu_package/ipu_package.hpp"
#include "support/printing.hpp"
#include "support/profile_fixtures.hpp"

namespace ipu_package {
namespace {

using std::string_literals::operator""s;

constexpr auto kind_4 = static_cast<ProfileStepKind>(4);

std::expected<ProfileReport, PackageError> read_bytes(std::string bytes) {
    return ProfileReport::read(InputStream::from_bytes(std::move(bytes)));
}

ProfileReport with_steps(std::vector<std::vector<ProfileStep>> tiles) {
    ProfileReport report{.clock_hz = 1, .tiles = {}};
    for (auto& steps : tiles) {
        TileProfile tile;
        for (auto& step : steps) {
            tile.samples.push_back({std::move(step), 0, 1});
        }
        report.tiles.push_back(std::move(tile));
    }
    return report;
}

struct ErrorCase {
    const char* what;
    ProfileReport report;
    std::uint32_t version;
    PackageError error;
};

TEST(ReadErrors, TheFirstFaultInOrderIsReported) {
    const ProfileStep good{.operation = "op", .kernel = "k", .metadata = {{"n", "v"}}};
    const Utf8Error bad_byte{3, 1};              // of "abc\xff"
    const Utf8Error cut_short{2, std::nullopt};  // of "ab\xe2\x82"
    const auto version = [](std::uint32_t v) {
        return PackageError::invalid("unsupported profile schema version " + std::to_string(v));
    };
    const ErrorCase cases[] = {
        {"version 0", with_steps({{good}}), 0, version(0)},
        {"version 4", with_steps({{good}}), 4, version(4)},
        {"version max", with_steps({{good}}), 4294967295u, version(4294967295u)},
        {"version before content", with_steps({{{.operation = "\xff", .kind = kind_4}}}), 4,
         version(4)},
        {"kind 4", with_steps({{good, {.kind = kind_4}}}), 1, UndefinedEnumerant{4}},
        {"kind 255", with_steps({{{.kind = static_cast<ProfileStepKind>(255)}}}), 2,
         UndefinedEnumerant{255}},
        {"operation before kind", with_steps({{{.operation = "abc\xff", .kind = kind_4}}}), 1,
         bad_byte},
        {"kind before kernel", with_steps({{{.kind = kind_4, .kernel = "abc\xff"}}}), 1,
         UndefinedEnumerant{4}},
        {"kind before metadata",
         with_steps({{{.kind = kind_4, .metadata = {{"abc\xff", "ab\xe2\x82"}}}}}), 1,
         UndefinedEnumerant{4}},
        {"kernel before metadata",
         with_steps({{{.kernel = "ab\xe2\x82", .metadata = {{"abc\xff", ""}}}}}), 1, cut_short},
        {"name before value", with_steps({{{.metadata = {{"ab\xe2\x82", "abc\xff"}}}}}), 1,
         cut_short},
        {"value", with_steps({{{.metadata = {{"ok", "ok"}, {"ok", "abc\xff"}}}}}), 3, bad_byte},
        {"earlier sample first", with_steps({{good, {.kind = kind_4}, {.operation = "abc\xff"}}}),
         1, UndefinedEnumerant{4}},
        {"earlier tile first",
         with_steps({{good}, {{.kernel = "abc\xff"}}, {{.kind = static_cast<ProfileStepKind>(7)}}}),
         1, bad_byte},
    };
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(read_bytes(fixtures::encoded(c.report, c.version)), std::unexpected(c.error))
            << c.what;
    }
}

TEST(ReadErrors, ATextWithoutItsNulCannotBeFollowed) {
    // "seven!!" and its NUL fill one word exactly; overwrite the NUL.
    std::string bytes = fixtures::encoded(with_steps({{{.operation = "seven!!"}}}));
    const std::size_t at = bytes.find("seven!!"s + '\0');
    ASSERT_NE(at, std::string::npos);
    bytes[at + 7] = '?';
    const auto result = read_bytes(bytes);
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().variant(), PackageError::Variant::Capnp) << result.error();
}

TEST(ReadErrors, BytesAfterTheMessageChangeNothing) {
    const std::string valid = fixtures::encoded(fixtures::varied_report());
    const std::string refused = fixtures::encoded(with_steps({{{.kind = kind_4}}}));
    for (const std::string& message : {valid, refused}) {
        const auto alone = read_bytes(message);
        for (const std::string& tail :
             {"\0"s, "trailing garbage"s, valid, std::string(4096, '\xff')}) {
            EXPECT_EQ(read_bytes(message + tail), alone);
        }
    }
}

TEST(ReadErrors, TheStreamIsClosedWhateverTheOutcome) {
    const std::string inputs[] = {fixtures::encoded(fixtures::varied_report()), "",
                                  fixtures::encoded(fixtures::varied_report(), 0)};
    for (const std::string& input : inputs) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ASSERT_EQ(::write(ends[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
        ::close(ends[1]);
        (void)ProfileReport::read(InputStream::from_fd(ends[0]));
        EXPECT_EQ(::fcntl(ends[0], F_GETFD), -1);
        EXPECT_EQ(errno, EBADF);
    }
}

TEST(ReadErrors, AStreamThatCannotBeReadIsCapnpWithTheSystemsText) {
    const int write_only = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(write_only, 0);
    const auto result = ProfileReport::read(InputStream::from_fd(write_only));
    ASSERT_FALSE(result.has_value());
    const CapnpError* failure = result.error().get<CapnpError>();
    ASSERT_NE(failure, nullptr) << result.error();
    EXPECT_NE(failure->description.find(IoError{EBADF}.message()), std::string::npos)
        << failure->description;
}

}  // namespace
}  // namespace ipu_package
