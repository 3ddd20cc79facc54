#include "ipu_text/os_error.hpp"

#include <cerrno>
#include <cstring>

#include "ipu_text/debug_text.hpp"

namespace ipu_text {
namespace {

struct KindName {
    int code;
    std::string_view kind;
};

// Error numbers grouped by the kind they report, in the order of the kinds.
constexpr KindName kind_names[] = {
    {ENOENT, "NotFound"},
    {EPERM, "PermissionDenied"},
    {EACCES, "PermissionDenied"},
    {ECONNREFUSED, "ConnectionRefused"},
    {ECONNRESET, "ConnectionReset"},
    {EHOSTUNREACH, "HostUnreachable"},
    {ENETUNREACH, "NetworkUnreachable"},
    {ECONNABORTED, "ConnectionAborted"},
    {ENOTCONN, "NotConnected"},
    {EADDRINUSE, "AddrInUse"},
    {EADDRNOTAVAIL, "AddrNotAvailable"},
    {ENETDOWN, "NetworkDown"},
    {EPIPE, "BrokenPipe"},
    {EEXIST, "AlreadyExists"},
    {EAGAIN, "WouldBlock"},
    {ENOTDIR, "NotADirectory"},
    {EISDIR, "IsADirectory"},
    {ENOTEMPTY, "DirectoryNotEmpty"},
    {EROFS, "ReadOnlyFilesystem"},
    {ELOOP, "FilesystemLoop"},
    {ESTALE, "StaleNetworkFileHandle"},
    {EINVAL, "InvalidInput"},
    {ETIMEDOUT, "TimedOut"},
    {ENOSPC, "StorageFull"},
    {ESPIPE, "NotSeekable"},
    {EDQUOT, "FilesystemQuotaExceeded"},
    {EFBIG, "FileTooLarge"},
    {EBUSY, "ResourceBusy"},
    {ETXTBSY, "ExecutableFileBusy"},
    {EDEADLK, "Deadlock"},
    {EXDEV, "CrossesDevices"},
    {EMLINK, "TooManyLinks"},
    {ENAMETOOLONG, "InvalidFilename"},
    {E2BIG, "ArgumentListTooLong"},
    {EINTR, "Interrupted"},
    {ENOSYS, "Unsupported"},
    {ENOMEM, "OutOfMemory"},
    {EINPROGRESS, "InProgress"},
};

}  // namespace

std::string_view os_error_kind(int code) {
    for (const KindName& entry : kind_names) {
        if (entry.code == code) {
            return entry.kind;
        }
    }
    return "Uncategorized";
}

std::string os_error_message(int code) {
    char buffer[256];
    // The GNU strerror_r returns the description, which may or may not live in buffer.
    return strerror_r(code, buffer, sizeof buffer);
}

// A fixed form, matched byte for byte in launch failures and unwrap messages: never reword it.
std::string os_error_debug(int code) {
    std::string debug = "Os { code: ";
    debug += std::to_string(code);
    debug += ", kind: ";
    debug += os_error_kind(code);
    debug += ", message: ";
    debug += debug_quoted(os_error_message(code));
    debug += " }";
    return debug;
}

}  // namespace ipu_text
