#include "capnp_failure.hpp"

#include <kj/exception.h>

#include <exception>
#include <new>

namespace ipu_package {
namespace {

CapnpError::Kind kind_of(kj::Exception::Type type) {
    switch (type) {
        case kj::Exception::Type::OVERLOADED:
            return CapnpError::Kind::Overloaded;
        case kj::Exception::Type::DISCONNECTED:
            return CapnpError::Kind::Disconnected;
        case kj::Exception::Type::UNIMPLEMENTED:
            return CapnpError::Kind::Unimplemented;
        case kj::Exception::Type::FAILED:
            break;
    }
    return CapnpError::Kind::Failed;
}

}  // namespace

CapnpError current_capnp_failure() noexcept {
    try {
        try {
            throw;
        } catch (const kj::Exception& e) {
            return {kind_of(e.getType()), std::string(e.getDescription().cStr())};
        } catch (const std::bad_alloc&) {
            return {CapnpError::Kind::Overloaded, "out of memory"};
        } catch (const std::exception& e) {
            return {CapnpError::Kind::Failed, e.what()};
        } catch (...) {
            return {CapnpError::Kind::Failed, "unknown failure"};
        }
    } catch (...) {
        // Copying the description itself ran out of memory.
        return {CapnpError::Kind::Overloaded, {}};
    }
}

}  // namespace ipu_package
