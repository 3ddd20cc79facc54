// Writes a synthetic full-chip profile, for trying the tool and for browser tests:
//   make_synthetic_profile OUT [--samples N] [--hostile-names]

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <iostream>
#include <ipu_package/profile_writer.hpp>
#include <string_view>

#include "synthetic_profile.hpp"

int main(int argc, char** argv) {
    ipu_profile::testing::SyntheticProfileShape shape;
    const char* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--hostile-names") {
            shape.hostile_names = true;
        } else if (arg == "--samples" && i + 1 < argc) {
            const std::string_view count = argv[++i];
            std::from_chars(count.data(), count.data() + count.size(), shape.samples_per_tile);
        } else if (output == nullptr) {
            output = argv[i];
        } else {
            output = nullptr;
            break;
        }
    }
    if (output == nullptr) {
        std::cerr << "usage: make_synthetic_profile OUT [--samples N] [--hostile-names]\n";
        return 2;
    }
    const int fd = ::open(output, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::cerr << "make_synthetic_profile: cannot write " << output << ": "
                  << std::strerror(errno) << '\n';
        return 2;
    }
    const auto written =
        ipu_package::write_profile(ipu_profile::testing::synthetic_profile(shape), 3, fd);
    ::close(fd);
    if (!written) {
        std::cerr << "make_synthetic_profile: " << written.error().display() << '\n';
        return 2;
    }
    return 0;
}
