#include "ipu_text/debug_text.hpp"

#include <gtest/gtest.h>

namespace ipu_text {
namespace {

TEST(DebugQuoted, EscapesQuotesBackslashesAndControlCharacters) {
    const struct {
        std::string_view text;
        std::string_view quoted;
    } cases[] = {
        {"", R"("")"},
        {"remote-tile H2D and D2H", R"("remote-tile H2D and D2H")"},
        {R"(say "hi")", R"("say \"hi\"")"},
        {R"(a\b)", R"("a\\b")"},
        {"tab\tcr\rlf\n", R"("tab\tcr\rlf\n")"},
        {std::string_view("nul\0", 4), R"("nul\0")"},
        {"\x1b[0m\x7f", R"("\u{1b}[0m\u{7f}")"},
        {"caf\xc3\xa9", "\"caf\xc3\xa9\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(debug_quoted(c.text), c.quoted) << "for " << c.text;
    }
}

}  // namespace
}  // namespace ipu_text
