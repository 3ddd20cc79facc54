#include "ipu_package/package_error.hpp"

#include <string_view>

#include "ipu_text/debug_text.hpp"
#include "ipu_text/os_error.hpp"

namespace ipu_package {
namespace {

constexpr std::string_view variant_names[] = {"Capnp", "Io", "Utf8", "SchemaEnum", "Invalid"};

constexpr std::string_view capnp_kind_names[] = {"Failed", "Overloaded", "Disconnected",
                                                 "Unimplemented"};

std::string_view capnp_kind_name(CapnpError::Kind kind) {
    return capnp_kind_names[static_cast<std::size_t>(kind)];
}

struct PayloadDebug {
    std::string operator()(const CapnpError& e) const { return e.debug(); }
    std::string operator()(const IoError& e) const { return e.debug(); }
    std::string operator()(const Utf8Error& e) const { return e.debug(); }
    std::string operator()(const UndefinedEnumerant& e) const { return std::to_string(e.value); }
    std::string operator()(const std::string& message) const {
        return ipu_text::debug_quoted(message);
    }
};

struct PayloadDisplay {
    std::string operator()(const CapnpError& e) const {
        std::string text = "cannot decode the profile message: ";
        text += e.description;
        return text;
    }
    std::string operator()(const IoError& e) const {
        return "I/O error: " + e.message() + " (os error " + std::to_string(e.code) + ")";
    }
    std::string operator()(const Utf8Error& e) const {
        std::string text = "text is not valid UTF-8: ";
        if (e.error_len) {
            text += "invalid sequence of " + std::to_string(*e.error_len) + " byte(s)";
        } else {
            text += "incomplete sequence at the end";
        }
        return text + " after " + std::to_string(e.valid_up_to) + " valid byte(s)";
    }
    std::string operator()(const UndefinedEnumerant& e) const {
        return "step kind " + std::to_string(e.value) + " is not defined by the profile schema";
    }
    std::string operator()(const std::string& message) const { return message; }
};

}  // namespace

std::string CapnpError::debug() const {
    std::string text = "CapnpError { kind: ";
    text += capnp_kind_name(kind);
    text += ", description: ";
    text += ipu_text::debug_quoted(description);
    text += " }";
    return text;
}

std::string IoError::message() const {
    return ipu_text::os_error_message(code);
}

std::string IoError::debug() const {
    return ipu_text::os_error_debug(code);
}

std::string Utf8Error::debug() const {
    std::string text = "Utf8Error { valid_up_to: " + std::to_string(valid_up_to) + ", error_len: ";
    text += error_len ? "Some(" + std::to_string(*error_len) + ")" : std::string("None");
    text += " }";
    return text;
}

PackageError PackageError::invalid(std::string message) {
    return PackageError(Payload(std::in_place_index<4>, std::move(message)));
}

std::string PackageError::debug() const {
    std::string text(variant_names[payload_.index()]);
    text += '(';
    text += std::visit(PayloadDebug{}, payload_);
    text += ')';
    return text;
}

std::string PackageError::display() const {
    return std::visit(PayloadDisplay{}, payload_);
}

std::ostream& operator<<(std::ostream& out, const PackageError& error) {
    return out << error.debug();
}

}  // namespace ipu_package
