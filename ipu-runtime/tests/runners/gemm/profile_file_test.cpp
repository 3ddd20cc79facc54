#include "profile_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ipu_package/input_stream.hpp"
#include "test_support/temp_dir.hpp"

namespace ipu_gemm {
namespace {

namespace fs = std::filesystem;

// The number of entries in `directory`.
std::size_t entries(const fs::path& directory) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(directory), {}));
}

const ipu_package::ProfileReport report{
    1'850'000'000,
    {{0, {{{0, 1, 0, "block products", ipu_package::ProfileStepKind::Compute, "gemm", {}}, 5, 9}}},
     {2, {}}}};

TEST(PendingProfileFile, CommitPutsTheWholeReportAtTheTargetAndNothingElse) {
    const test_support::TempDir directory;
    const std::string target = (directory.path() / "profile.capnp").string();
    auto file = PendingProfileFile::create(target);
    ASSERT_TRUE(file.has_value()) << file.error();
    EXPECT_EQ(fs::path(file->temporary_path()).parent_path(), directory.path());
    EXPECT_FALSE(fs::exists(target)) << "nothing at the target before the commit";

    ASSERT_TRUE(file->commit(report).has_value());
    EXPECT_EQ(entries(directory.path()), 1u) << "the temporary file became the target";
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    const auto read = ipu_package::ProfileReport::read(
        ipu_package::InputStream::from_fd(::open(target.c_str(), O_RDONLY | O_CLOEXEC)));
    ASSERT_TRUE(read.has_value()) << read.error().debug();
    EXPECT_EQ(*read, report);
}

TEST(PendingProfileFile, ReplacesAnOlderFileOnlyAtTheCommit) {
    const test_support::TempDir directory;
    const fs::path target = directory.path() / "profile.capnp";
    { std::ofstream(target) << "older"; }
    auto file = PendingProfileFile::create(target.string());
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(fs::file_size(target), 5u);
    ASSERT_TRUE(file->commit(report).has_value());
    EXPECT_GT(fs::file_size(target), 5u);
}

TEST(PendingProfileFile, AnAbandonedFileLeavesNothingBehind) {
    const test_support::TempDir directory;
    {
        auto file = PendingProfileFile::create((directory.path() / "profile.capnp").string());
        ASSERT_TRUE(file.has_value());
        EXPECT_EQ(entries(directory.path()), 1u);
        PendingProfileFile moved = std::move(*file);
        EXPECT_EQ(entries(directory.path()), 1u);
    }
    EXPECT_EQ(entries(directory.path()), 0u);
}

TEST(PendingProfileFile, UnwritablePlacesFailWithTheSystemsReason) {
    const test_support::TempDir directory;
    const auto missing = PendingProfileFile::create((directory.path() / "no/such.capnp").string());
    ASSERT_FALSE(missing.has_value());
    EXPECT_EQ(missing.error(), "cannot create a file beside it: No such file or directory");

    // A target that is a non-empty directory is found out only at the rename.
    fs::create_directories(directory.path() / "taken" / "inside");
    auto file = PendingProfileFile::create((directory.path() / "taken").string());
    ASSERT_TRUE(file.has_value());
    const auto committed = file->commit(report);
    ASSERT_FALSE(committed.has_value());
    EXPECT_EQ(committed.error().rfind("cannot move the profile into place: ", 0), 0u)
        << committed.error();
    EXPECT_EQ(entries(directory.path()), 1u) << "only the directory is left";
}

}  // namespace
}  // namespace ipu_gemm
