#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace test_support {

// Environment changes for a child: a value sets the name, nullopt removes it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

// How a child ended and what it wrote.
struct ChildRun {
    int exit_code = -1;  // -1 when it did not exit normally
    std::string out;     // standard output (with standard error when they are joined)
    std::string err;     // standard error, unless joined into `out`
};

struct ChildSetup {
    EnvironmentChanges environment = {};  // applied over this process's environment
    std::string input = {};               // the child's whole standard input
    std::string working_directory = {};   // this process's own when empty
    bool join_error_into_out = false;     // one stream, interleaved as the child wrote it
    std::string out_file = {};  // when not empty, standard output goes there, not to `out`
};

// Runs `executable` with `arguments` as `setup` says and waits for it. The
// streams are files, not pipes, so a grandchild that keeps them open does not
// hold the caller up. Throws std::runtime_error when the child cannot be started.
ChildRun run_child(const std::string& executable, const std::vector<std::string>& arguments,
                   const ChildSetup& setup = {});

// A child started in the background, with an empty standard input and its
// standard output and error going to the file `output_path`; killed and reaped
// on destruction unless waited for.
class BackgroundChild {
  public:
    BackgroundChild(const std::string& executable, const std::vector<std::string>& arguments,
                    const EnvironmentChanges& environment, const std::string& output_path);
    ~BackgroundChild();
    BackgroundChild(const BackgroundChild&) = delete;
    BackgroundChild& operator=(const BackgroundChild&) = delete;

    void kill(int signal);

    // Waits for the child; its exit code, or -1 when it did not exit normally.
    int wait();

  private:
    int pid_ = -1;
};

}  // namespace test_support
