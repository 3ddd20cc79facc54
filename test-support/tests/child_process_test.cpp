#include "test_support/child_process.hpp"

#include <gtest/gtest.h>

#include "test_support/scoped_environment.hpp"
#include "test_support/temp_dir.hpp"

namespace test_support {
namespace {

const std::string shell = "/bin/sh";

TEST(RunChild, GivesTheChildItsInputEnvironmentAndDirectoryAndKeepsItsStreamsApart) {
    TempDir directory;
    const ScopedEnvironment outer({{std::string("TEST_SUPPORT_REMOVED"), "still here"}});
    const ChildRun run = run_child(
        shell,
        {"-c",
         "cat; printf '%s|%s|' \"$TEST_SUPPORT_SET\" \"${TEST_SUPPORT_REMOVED-unset}\"; "
         "pwd; printf problem >&2; exit 3"},
        {.environment = {{"TEST_SUPPORT_SET", "value"}, {"TEST_SUPPORT_REMOVED", std::nullopt}},
         .input = "given input|",
         .working_directory = directory.path().string()});
    EXPECT_EQ(run.exit_code, 3);
    EXPECT_EQ(run.out, "given input|value|unset|" + directory.path().string() + "\n");
    EXPECT_EQ(run.err, "problem");
}

TEST(RunChild, JoinsTheStreamsInTheOrderTheyWereWritten) {
    const ChildRun run =
        run_child(shell, {"-c", "printf 1; printf 2 >&2; printf 3"}, {.join_error_into_out = true});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, "123");
    EXPECT_EQ(run.err, "");
}

TEST(RunChild, AChildKilledByASignalHasNoExitCode) {
    EXPECT_EQ(run_child(shell, {"-c", "kill -9 $$"}).exit_code, -1);
}

TEST(TempDir, IsRemovedWithEverythingInIt) {
    std::filesystem::path kept;
    {
        TempDir directory;
        kept = directory.path();
        std::filesystem::create_directories(kept / "nested");
        EXPECT_TRUE(std::filesystem::is_directory(kept / "nested"));
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
}  // namespace test_support
