#pragma once

#include <expected>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "ipu_exchange/exchange_error.hpp"
#include "ipu_runner/mismatch.hpp"
#include "ipu_runner/settings.hpp"

namespace ipu_runner {

// Exit statuses of every runner.
enum class ExitStatus : int {
    passed = 0,          // every result matched its reference
    failed = 1,          // a result was wrong, or the device refused or broke a step
    bad_setting = 2,     // a setting could not be used; nothing ran
    internal_error = 3,  // the runner itself broke (an escaped exception)
};

// Why a runner stops early: its exit status and the one line it prints.
struct RunnerFailure {
    ExitStatus status;
    std::string line;

    RunnerFailure(ExitStatus failure_status, std::string failure_line)
        : status(failure_status), line(std::move(failure_line)) {}
    // Bad setting, status 2.
    RunnerFailure(const SettingError& error)
        : RunnerFailure(ExitStatus::bad_setting, error.line()) {}
    // Wrong result, status 1.
    RunnerFailure(const Mismatch& mismatch) : RunnerFailure(ExitStatus::failed, mismatch.line()) {}

    // The device refused `step` (for example "H2D write to tile 5"), status 1.
    static RunnerFailure device(std::string_view step, const ipu_exchange::ExchangeError& error);
};

// What a runner's body gives back: the summary line of a passing run (what ran,
// how many bytes or tiles, how many cycles), or the reason it stopped.
using RunnerOutcome = std::expected<std::string, RunnerFailure>;

// The whole of a runner's main(): runs `body`, writes "<runner>: <summary>" to
// `out` when it passes, or "<runner>: <failure line>" to `err` when it fails or
// throws, and returns the exit status for main() to return. Never throws.
int runner_main(std::string_view runner, const std::function<RunnerOutcome()>& body,
                std::ostream& out, std::ostream& err) noexcept;

}  // namespace ipu_runner
