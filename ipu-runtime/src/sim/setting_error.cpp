#include "ipu_sim/setting_error.hpp"

#include "ipu_text/debug_text.hpp"

namespace ipu_sim {

std::string SettingError::message() const {
    return variable + ": unusable value " + ipu_text::debug_quoted(value) + " (expected " +
           expected + ")";
}

}  // namespace ipu_sim
