// ipu-profile: reads a per-tile cycle profile and shows it as a summary, a Chrome
// trace, CSV or a self-contained HTML page.

#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "ipu_profile/chrome_trace.hpp"
#include "ipu_profile/command_line.hpp"
#include "ipu_profile/heatmap_page.hpp"
#include "ipu_profile/profile_files.hpp"
#include "ipu_profile/profile_summary.hpp"
#include "ipu_profile/sample_csv.hpp"
#include "ipu_profile/summary_json.hpp"
#include "ipu_profile/summary_text.hpp"
#include "ipu_profile/terminal_text.hpp"

namespace {

using ipu_package::ProfileReport;
using ipu_profile::CommandLine;
using Written = std::expected<void, std::string>;

constexpr int failure_status = 2;

// One line on standard error, whatever the message holds.
int fail(std::string_view message) {
    std::cerr << "ipu-profile: " << ipu_profile::terminal_safe(message) << '\n';
    return failure_status;
}

Written write_summary(const CommandLine& command, const ProfileReport& report, std::ostream& out) {
    const ipu_profile::ProfileSummary summary = ipu_profile::summarise(report);
    if (command.json) {
        out << ipu_profile::json_text(ipu_profile::summary_json(summary, command.top), 2) << '\n';
    } else {
        out << ipu_profile::summary_text(summary, command.top);
    }
    return {};
}

Written write_trace(const ProfileReport& report, std::ostream& out) {
    const auto written = ipu_profile::write_chrome_trace(report, out);
    if (!written) {
        return std::unexpected(std::string(ipu_profile::describe(written.error())));
    }
    return {};
}

Written write_page(const CommandLine& command, const ProfileReport& report, std::ostream& out) {
    const std::string title = std::filesystem::path(command.input).filename().string();
    ipu_profile::write_heatmap_page(report, title, out);
    return {};
}

Written write_output(const CommandLine& command, const ProfileReport& report, std::ostream& out) {
    switch (command.subcommand) {
        case ipu_profile::Subcommand::Summary:
            return write_summary(command, report, out);
        case ipu_profile::Subcommand::Trace:
            return write_trace(report, out);
        case ipu_profile::Subcommand::Csv:
            ipu_profile::write_sample_csv(report, out);
            return {};
        case ipu_profile::Subcommand::Html:
            return write_page(command, report, out);
        case ipu_profile::Subcommand::Help:
            break;
    }
    return {};
}

int run(const CommandLine& command) {
    const auto report = ipu_profile::read_profile_file(command.input);
    if (!report) {
        return fail(command.input + ": " + report.error().display());
    }
    const auto write = [&](std::ostream& out) { return write_output(command, *report, out); };
    Written written;
    if (command.output) {
        written = ipu_profile::write_output_file(*command.output, write);
    } else {
        written = write(std::cout);
        std::cout.flush();
        if (written && !std::cout) {
            written = std::unexpected(std::string("cannot write standard output"));
        }
    }
    return written ? 0 : fail(written.error());
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const auto command = ipu_profile::parse_command_line(args);
    if (!command) {
        fail(command.error());
        std::cerr << ipu_profile::usage_line << '\n';
        return failure_status;
    }
    if (command->subcommand == ipu_profile::Subcommand::Help) {
        std::cout << ipu_profile::usage_line << '\n';
        return 0;
    }
    try {
        return run(*command);
    } catch (const std::bad_alloc&) {
        return fail("not enough memory for this profile");
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}
