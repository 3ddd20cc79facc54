// Writes the fuzzer's seed corpus into the directory given as the only argument: a
// few valid profiles made by the writer and broken ones derived from them or made
// word by word.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/hand_made_words.hpp"
#include "support/profile_fixtures.hpp"

namespace {

using namespace ipu_package;
using namespace ipu_package::hand_made;

ProfileReport one_step(ProfileStep step) {
    return {.clock_hz = 1, .tiles = {{.physical_tile = 2, .samples = {{std::move(step), 3, 4}}}}};
}

std::vector<std::pair<std::string, std::string>> seeds() {
    const std::string varied = fixtures::encoded(fixtures::varied_report());
    const std::string regular = fixtures::encoded(fixtures::synthetic_report(3, 8, 2), 3);
    std::string no_nul = fixtures::encoded(one_step({.operation = "seven!!"}));
    no_nul[no_nul.find(std::string("seven!!") + '\0') + 7] = '?';
    return {
        {"valid-varied", varied},
        {"valid-regular", regular},
        {"valid-empty", fixtures::encoded({}, 2)},
        {"valid-with-tail", varied + "tail"},
        {"version-4", fixtures::encoded(fixtures::varied_report(), 4)},
        {"kind-4", fixtures::encoded(one_step({.kind = static_cast<ProfileStepKind>(4)}))},
        {"bad-utf8",
         fixtures::encoded(one_step({.kernel = "ab\xe2\x82", .metadata = {{"\xff", ""}}}))},
        {"text-without-nul", no_nul},
        {"truncated", varied.substr(0, varied.size() / 2)},
        {"null-root", framed({{0}})},
        {"huge-segment", le32({0, 0xffff'ffff}) + std::string(8, '\0')},
        {"zero-sized-tiles",
         framed({{struct_pointer(0, 2, 1), 1, 0, list_pointer(0, ElementSize::InlineComposite, 0),
                  composite_tag(1u << 20, 0, 0)}})},
        {"two-segments", framed({{2 | std::uint64_t{1} << 32}, {struct_pointer(0, 2, 0), 1, 5}})},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    for (const auto& [name, bytes] : seeds()) {
        const std::string path = std::string(argv[1]) + "/" + name;
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), std::strerror(errno));
            return 1;
        }
    }
    return 0;
}
