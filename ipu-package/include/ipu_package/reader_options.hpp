#pragma once

#include <capnp/message.h>

namespace ipu_package {

// The options with which this library reads Cap'n Proto messages: the library's
// defaults with the traversal limit switched off, that is no traversal limit and a
// nesting limit of 64. ProfileReport::read additionally bounds the decoding work of
// one message by that message's own size; see profile_report.hpp.
capnp::ReaderOptions capnp_reader_options();

}  // namespace ipu_package
