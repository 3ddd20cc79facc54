#include "ipu_package/package_error.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

namespace ipu_package {
namespace {

struct DebugCase {
    PackageError error;
    std::string debug;
};

TEST(PackageError, DebugFormsNameTheVariantAndShowThePayload) {
    const DebugCase cases[] = {
        {CapnpError{CapnpError::Kind::Failed, "premature end of input"},
         R"(Capnp(CapnpError { kind: Failed, description: "premature end of input" }))"},
        {CapnpError{CapnpError::Kind::Overloaded, "out of memory"},
         R"(Capnp(CapnpError { kind: Overloaded, description: "out of memory" }))"},
        {IoError{ENOENT},
         R"(Io(Os { code: 2, kind: NotFound, message: "No such file or directory" }))"},
        {Utf8Error{3, 1}, "Utf8(Utf8Error { valid_up_to: 3, error_len: Some(1) })"},
        {Utf8Error{0, std::nullopt}, "Utf8(Utf8Error { valid_up_to: 0, error_len: None })"},
        {UndefinedEnumerant{4}, "SchemaEnum(4)"},
        {UndefinedEnumerant{65535}, "SchemaEnum(65535)"},
        {PackageError::invalid("unsupported profile schema version 4"),
         R"(Invalid("unsupported profile schema version 4"))"},
        {PackageError::invalid(R"(say "no" \ twice)"), R"(Invalid("say \"no\" \\ twice"))"},
    };
    for (const DebugCase& c : cases) {
        EXPECT_EQ(c.error.debug(), c.debug);
        std::ostringstream printed;
        printed << c.error;
        EXPECT_EQ(printed.str(), c.debug);
    }
}

TEST(PackageError, VariantsComeInTheirOrderAndExposeTheUnderlyingError) {
    const PackageError capnp = CapnpError{CapnpError::Kind::Disconnected, "gone"};
    const PackageError io = IoError{EIO};
    const PackageError utf8 = Utf8Error{7, 2};
    const PackageError schema_enum = UndefinedEnumerant{9};
    const PackageError invalid = PackageError::invalid("refused");

    EXPECT_EQ(capnp.variant(), PackageError::Variant::Capnp);
    EXPECT_EQ(io.variant(), PackageError::Variant::Io);
    EXPECT_EQ(utf8.variant(), PackageError::Variant::Utf8);
    EXPECT_EQ(schema_enum.variant(), PackageError::Variant::SchemaEnum);
    EXPECT_EQ(invalid.variant(), PackageError::Variant::Invalid);

    ASSERT_NE(capnp.get<CapnpError>(), nullptr);
    EXPECT_EQ(capnp.get<CapnpError>()->description, "gone");
    EXPECT_EQ(io.get<IoError>()->code, EIO);
    EXPECT_EQ(utf8.get<Utf8Error>()->error_len, std::optional<std::uint8_t>(2));
    EXPECT_EQ(schema_enum.get<UndefinedEnumerant>()->value, 9);
    EXPECT_EQ(*invalid.get<std::string>(), "refused");
    EXPECT_EQ(invalid.get<CapnpError>(), nullptr);
    EXPECT_EQ(capnp.get<std::string>(), nullptr);
}

TEST(PackageError, DisplayTextsAreDistinctSentencesCarryingThePayload) {
    const PackageError errors[] = {
        CapnpError{CapnpError::Kind::Failed, "premature end of input"},
        IoError{ENOENT},
        Utf8Error{3, 1},
        UndefinedEnumerant{4},
        PackageError::invalid("unsupported profile schema version 4"),
    };
    std::set<std::string> texts;
    for (const PackageError& error : errors) {
        texts.insert(error.display());
    }
    EXPECT_EQ(texts.size(), std::size(errors));
    EXPECT_NE(errors[0].display().find("premature end of input"), std::string::npos);
    EXPECT_NE(errors[1].display().find("No such file or directory"), std::string::npos);
    EXPECT_NE(errors[3].display().find('4'), std::string::npos);
    EXPECT_EQ(errors[4].display(), "unsupported profile schema version 4");
}

TEST(PackageError, EqualityComparesVariantAndPayload) {
    EXPECT_EQ(PackageError(UndefinedEnumerant{4}), PackageError(UndefinedEnumerant{4}));
    EXPECT_NE(PackageError(UndefinedEnumerant{4}), PackageError(UndefinedEnumerant{5}));
    EXPECT_NE(PackageError(Utf8Error{1, 1}), PackageError(Utf8Error{1, std::nullopt}));
    EXPECT_NE(PackageError::invalid("a"), PackageError(CapnpError{CapnpError::Kind::Failed, "a"}));
}

}  // namespace
}  // namespace ipu_package
