// A stand-in for the runner executables in tests of the suite. It appends one
// record line of what it was given to $FAKE_RUNNER_LOG and ends as told:
//   FAKE_RUNNER_ACTION      "exit:N", "signal:N" or "sleep:MS" (then exit 0;
//                           default: exit 0)
//   FAKE_RUNNER_ACTION_FOR  runner name the action applies to (default: every runner)
//   FAKE_RUNNER_SLEEP_MS    milliseconds to stay alive before ending
//   FAKE_RUNNER_READ_STDIN  "1": read standard input to its end and record it
//   FAKE_RUNNER_PROFILE     file to copy to $IPU_PROFILE_OUTPUT, when that is set
//   FAKE_RUNNER_STARTED     file to create as soon as the runner runs
//   FAKE_RUNNER_OUTLIVE_SUITE "1": disarm the death signal that the suite set, as
//                           on a platform without one, so the runner outlives it
// Record fields are name=hex(bytes), separated by ';'; environment variables
// whose names start with IPU_ are recorded as env.NAME.

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

std::string hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += digits[byte >> 4];
        text += digits[byte & 0xf];
    }
    return text;
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

long long monotonic_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string runner_name(const char* argument_zero) {
    const std::string path = argument_zero;
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void append_record(const std::string& record) {
    const std::string log = variable("FAKE_RUNNER_LOG");
    if (log.empty()) {
        return;
    }
    const int file = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (file < 0) {
        std::exit(120);
    }
    const std::string line = record + "\n";
    if (::write(file, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        std::exit(121);
    }
    ::close(file);
}

void copy_profile() {
    const std::string source = variable("FAKE_RUNNER_PROFILE");
    const std::string target = variable("IPU_PROFILE_OUTPUT");
    if (source.empty() || std::getenv("IPU_PROFILE_OUTPUT") == nullptr) {
        return;
    }
    std::ifstream in(source, std::ios::binary);
    std::ofstream out(target, std::ios::binary);
    out << in.rdbuf();
    if (!in || !out) {
        std::exit(122);
    }
}

}  // namespace

int main(int, char** argv) {
    const long long start = monotonic_ns();
    if (variable("FAKE_RUNNER_OUTLIVE_SUITE") == "1" && ::prctl(PR_SET_PDEATHSIG, 0) != 0) {
        std::exit(123);
    }
    if (const std::string started = variable("FAKE_RUNNER_STARTED"); !started.empty()) {
        const int file = ::open(started.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (file < 0) {
            std::exit(124);
        }
        ::close(file);
    }
    std::ostringstream record;
    record << "runner=" << hex(runner_name(argv[0])) << ";argv0=" << hex(argv[0]);
    int argc = 0;
    while (argv[argc] != nullptr) {
        ++argc;
    }
    record << ";argc=" << hex(std::to_string(argc));
    char cwd[4096];
    record << ";cwd=" << hex(::getcwd(cwd, sizeof cwd) ? cwd : "");
    if (variable("FAKE_RUNNER_READ_STDIN") == "1") {
        const std::string input{std::istreambuf_iterator<char>(std::cin), {}};
        record << ";stdin=" << hex(input);
    }
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view setting = *entry;
        const auto equals = setting.find('=');
        if (setting.starts_with("IPU_") && equals != std::string_view::npos) {
            record << ";env." << setting.substr(0, equals) << "="
                   << hex(setting.substr(equals + 1));
        }
    }

    const std::string sleep_ms = variable("FAKE_RUNNER_SLEEP_MS");
    if (!sleep_ms.empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoll(sleep_ms.c_str())));
    }
    copy_profile();
    record << ";start=" << hex(std::to_string(start))
           << ";end=" << hex(std::to_string(monotonic_ns()));
    append_record(record.str());

    const std::string only_for = variable("FAKE_RUNNER_ACTION_FOR");
    if (!only_for.empty() && only_for != runner_name(argv[0])) {
        return 0;
    }
    const std::string action = variable("FAKE_RUNNER_ACTION");
    if (action.starts_with("exit:")) {
        return std::atoi(action.c_str() + 5);
    }
    if (action.starts_with("sleep:")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoll(action.c_str() + 6)));
        return 0;
    }
    if (action.starts_with("signal:")) {
        const int signal = std::atoi(action.c_str() + 7);
        std::signal(signal, SIG_DFL);
        ::kill(::getpid(), signal);
        std::this_thread::sleep_for(std::chrono::seconds(5));
        return 125;
    }
    return 0;
}
