#pragma once

#include <source_location>
#include <stdexcept>
#include <string>

namespace hardware_suite {

// Raised to end the running case at once. The harness reports `what()` as the
// case's failure message, exactly as given.
class CaseFailure : public std::runtime_error {
  public:
    CaseFailure(const std::string& message, std::source_location where)
        : std::runtime_error(message), where_(where) {}

    const std::source_location& where() const { return where_; }

  private:
    std::source_location where_;
};

// Ends the running case with `message`.
[[noreturn]] inline void fail_case(const std::string& message,
                                   std::source_location where = std::source_location::current()) {
    throw CaseFailure(message, where);
}

// The message of a library error that a case does not accept.
// A fixed failure message, matched byte for byte, backticks too: never reword it.
inline std::string unwrap_failure(const std::string& error_debug) {
    return "called `Result::unwrap()` on an `Err` value: " + error_debug;
}

}  // namespace hardware_suite
