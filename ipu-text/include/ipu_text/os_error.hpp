#pragma once

#include <string>
#include <string_view>

namespace ipu_text {

// The name of the kind of an operating-system error number: `NotFound` for
// ENOENT, `PermissionDenied` for EACCES and EPERM, and so on; `Uncategorized`
// for numbers without a kind of their own.
std::string_view os_error_kind(int code);

// The C library's description of an operating-system error number, for example
// "No such file or directory" for ENOENT, or "Unknown error 4242" for a number it
// does not know. The one place in the workspace that asks the C library for it.
std::string os_error_message(int code);

// The one-line debug form of an operating-system error number:
// `Os { code: 2, kind: NotFound, message: "No such file or directory" }`,
// with the C library's description of the number as the quoted message.
std::string os_error_debug(int code);

}  // namespace ipu_text
