#pragma once

// Everything the ipu_package library offers: the profile report model and its
// reader, the writer, the error type and the streams they use.
#include "ipu_package/input_stream.hpp"
#include "ipu_package/package_error.hpp"
#include "ipu_package/profile_report.hpp"
#include "ipu_package/profile_writer.hpp"
#include "ipu_package/reader_options.hpp"
