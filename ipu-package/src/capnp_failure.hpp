#pragma once

#include "ipu_package/package_error.hpp"

namespace ipu_package {

// The exception being handled, as a CapnpError. Call only inside a catch block.
// The message library throws kj::Exception, but also std::bad_alloc and others:
// each becomes a CapnpError (out of memory as kind Overloaded).
CapnpError current_capnp_failure() noexcept;

}  // namespace ipu_package
