#include "ipu_text/os_error.hpp"

#include <gtest/gtest.h>

#include <cerrno>

namespace ipu_text {
namespace {

TEST(OsError, KindsOfCommonErrorNumbers) {
    const struct {
        int code;
        std::string_view kind;
    } rows[] = {
        {ENOENT, "NotFound"},      {EACCES, "PermissionDenied"}, {EPERM, "PermissionDenied"},
        {EEXIST, "AlreadyExists"}, {EISDIR, "IsADirectory"},     {ENOTDIR, "NotADirectory"},
        {ENOSPC, "StorageFull"},   {EINTR, "Interrupted"},       {ENOEXEC, "Uncategorized"},
        {0, "Uncategorized"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(os_error_kind(row.code), row.kind) << "code " << row.code;
    }
}

// Known numbers have static descriptions; an unknown one is written into the caller's buffer.
TEST(OsError, MessageIsTheCLibraryDescriptionForKnownAndUnknownNumbers) {
    EXPECT_EQ(os_error_message(ENOENT), "No such file or directory");
    EXPECT_EQ(os_error_message(4242), "Unknown error 4242");
}

TEST(OsError, DebugFormHasCodeKindAndQuotedMessage) {
    EXPECT_EQ(os_error_debug(ENOENT),
              R"(Os { code: 2, kind: NotFound, message: "No such file or directory" })");
    EXPECT_EQ(os_error_debug(EACCES),
              R"(Os { code: 13, kind: PermissionDenied, message: "Permission denied" })");
    EXPECT_EQ(os_error_debug(4242),
              R"(Os { code: 4242, kind: Uncategorized, message: "Unknown error 4242" })");
}

}  // namespace
}  // namespace ipu_text
