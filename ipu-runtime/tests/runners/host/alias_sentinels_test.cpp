#include "alias_sentinels.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace ipu_host_runner {
namespace {

TEST(AliasSentinels, HighAddressCaseGuardsBothLowerAliases) {
    EXPECT_EQ(alias_sentinels(0x60000, 65536),
              (std::vector<ipu_sim::ByteRange>{{0x20000, 65536}, {0x40000, 65536}}));
    EXPECT_TRUE(alias_sentinels(0, 8192).empty());
}

TEST(AliasSentinels, CoverEveryAliasOutsideTheDataAndNeverTheData) {
    const std::pair<std::uint32_t, std::uint32_t> ranges[] = {
        {0x60000, 65536}, {0x3f000, 0x2000}, {0x1000, 64}, {0x9b000, 4096}, {0x7fff0, 0x20}};
    for (const auto& [address, bytes] : ranges) {
        const auto sentinels = alias_sentinels(address, bytes);
        const auto covered = [&](std::uint32_t at) {
            return std::any_of(sentinels.begin(), sentinels.end(), [at](const auto& range) {
                return at >= range.address && at - range.address < range.length;
            });
        };
        for (std::uint32_t at = address; at < address + bytes; ++at) {
            ASSERT_FALSE(covered(at)) << std::hex << "data byte 0x" << at << " in a sentinel";
        }
        for (unsigned bit = 12; bit <= 19; ++bit) {
            const std::uint32_t mask = 1u << bit;
            // First and last data byte with the bit set stand for their runs.
            for (const std::uint32_t at : {address, address + bytes - 1}) {
                const std::uint32_t alias = at & ~mask;
                const bool outside = alias < address || alias >= address + bytes;
                if ((at & mask) != 0 && outside) {
                    EXPECT_TRUE(covered(alias)) << std::hex << "0x" << alias << " (0x" << at
                                                << " without bit " << bit << ") not guarded";
                }
            }
        }
    }
}

}  // namespace
}  // namespace ipu_host_runner
