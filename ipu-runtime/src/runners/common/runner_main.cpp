#include "ipu_runner/runner_main.hpp"

#include <exception>

namespace ipu_runner {

RunnerFailure RunnerFailure::device(std::string_view step,
                                    const ipu_exchange::ExchangeError& error) {
    return RunnerFailure(ExitStatus::failed,
                         "device refused " + std::string(step) + ": " + error.debug());
}

int runner_main(std::string_view runner, const std::function<RunnerOutcome()>& body,
                std::ostream& out, std::ostream& err) noexcept {
    const auto report = [runner](std::ostream& stream, ExitStatus status, std::string_view lead,
                                 std::string_view line) {
        try {
            stream << runner << ": " << lead << line << '\n' << std::flush;
        } catch (...) {
            // Nothing more can be said when the stream itself throws.
        }
        return static_cast<int>(status);
    };
    try {
        const RunnerOutcome outcome = body();
        if (!outcome) {
            return report(err, outcome.error().status, "", outcome.error().line);
        }
        return report(out, ExitStatus::passed, "", *outcome);
    } catch (const std::exception& error) {
        return report(err, ExitStatus::internal_error, "internal error: ", error.what());
    } catch (...) {
        return report(err, ExitStatus::internal_error, "internal error: ", "unknown exception");
    }
}

}  // namespace ipu_runner
