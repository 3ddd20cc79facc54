#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

namespace ipu_package {

// A failure reported by the Cap'n Proto message library, or found while framing a
// message for it: the library's kind of failure and its description.
struct CapnpError {
    // The message library's kinds of failure, in its own order.
    enum class Kind : std::uint8_t { Failed, Overloaded, Disconnected, Unimplemented };

    Kind kind = Kind::Failed;
    std::string description;

    // `CapnpError { kind: Failed, description: "..." }`.
    std::string debug() const;

    friend bool operator==(const CapnpError&, const CapnpError&) = default;
};

// An operating-system I/O failure, identified by its error number.
struct IoError {
    int code = 0;

    // The operating system's description of the error, e.g. "No such file or directory".
    std::string message() const;

    // `Os { code: 2, kind: NotFound, message: "No such file or directory" }`.
    std::string debug() const;

    friend bool operator==(const IoError&, const IoError&) = default;
};

// A text that is not valid UTF-8: the number of leading bytes that are valid, and
// the length of the invalid sequence that follows them, absent when the text ends
// inside a sequence that could still have been valid.
struct Utf8Error {
    std::size_t valid_up_to = 0;
    std::optional<std::uint8_t> error_len;

    // `Utf8Error { valid_up_to: 3, error_len: Some(1) }` or `... error_len: None }`.
    std::string debug() const;

    friend bool operator==(const Utf8Error&, const Utf8Error&) = default;
};

// A raw enumerant value that the profile schema does not define.
struct UndefinedEnumerant {
    std::uint16_t value = 0;

    friend bool operator==(const UndefinedEnumerant&, const UndefinedEnumerant&) = default;
};

// The error value of the ipu_package library: one of five variants, in this order.
//   Capnp       the message cannot be framed or decoded, or a pointer in it cannot be followed
//   Io          an operating-system I/O failure (writing; reading failures arrive as Capnp)
//   Utf8        a text is not valid UTF-8
//   SchemaEnum  a step kind that the schema does not define
//   Invalid     the content is refused, with a message text (an unsupported version)
// Each payload type converts implicitly into a PackageError; Invalid is built with invalid().
class PackageError {
  public:
    enum class Variant : std::uint8_t { Capnp, Io, Utf8, SchemaEnum, Invalid };
    using Payload = std::variant<CapnpError, IoError, Utf8Error, UndefinedEnumerant, std::string>;

    PackageError(CapnpError error) : payload_(std::move(error)) {}
    PackageError(IoError error) : payload_(error) {}
    PackageError(Utf8Error error) : payload_(error) {}
    PackageError(UndefinedEnumerant error) : payload_(error) {}
    static PackageError invalid(std::string message);

    Variant variant() const { return static_cast<Variant>(payload_.index()); }

    // The underlying error: CapnpError, IoError, Utf8Error, UndefinedEnumerant, or
    // std::string for the message of Invalid. Null when this error is another variant.
    template <typename Underlying>
    const Underlying* get() const {
        return std::get_if<Underlying>(&payload_);
    }
    const Payload& payload() const { return payload_; }

    // The one-line debug form: the variant's name and its payload's debug form in
    // parentheses, e.g. `SchemaEnum(4)` or `Invalid("unsupported profile schema version 4")`.
    std::string debug() const;

    // A sentence for people, e.g. "step kind 4 is not defined by the profile schema".
    std::string display() const;

    friend bool operator==(const PackageError&, const PackageError&) = default;

  private:
    explicit PackageError(Payload payload) : payload_(std::move(payload)) {}

    Payload payload_;
};

// Prints the debug form.
std::ostream& operator<<(std::ostream& out, const PackageError& error);

}  // namespace ipu_package
