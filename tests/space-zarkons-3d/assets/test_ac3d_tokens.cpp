// The AC3D tokenizer: quoted words, backslashes, the terminator and the
// limit of tokens kept from one line.
#include "ac3d.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::vector<std::string> tokens(std::string line)
{
    char* t[AC_MAX_TOKENS];
    int n = -1;
    int r = get_tokens(line.data(), &n, t);
    EXPECT_EQ(r, n);
    return std::vector<std::string>(t, t + n);
}

} // namespace

TEST(Ac3dTokens, QuotesBackslashesAndLimits)
{
    EXPECT_EQ(tokens("name \"say \\\"hi\\\" now\"\n"), (std::vector<std::string>{"name", "say \"hi\" now"}));
    EXPECT_EQ(tokens("texture \"my file.rgb\"x"), (std::vector<std::string>{"texture", "my file.rgb", "x"}));
    EXPECT_EQ(tokens("a\\\\b \"c\\\\d\" \"\"\t\"open\r\n"),
              (std::vector<std::string>{"a\\\\b", "c\\d", "", "open"}));
    EXPECT_TRUE(tokens(" \t\r\n").empty());

    // a backslash right before the terminator must not carry the scan past it
    char line[] = "\"abc\\\0\"zz\" q";
    char* t[AC_MAX_TOKENS];
    int n = 0;
    ASSERT_EQ(get_tokens(line, &n, t), 1);
    EXPECT_STREQ(t[0], "abc");
    EXPECT_EQ(std::string(line + 6, 6), "\"zz\" q");

    std::string many;
    for (int i = 0; i < 40; i++)
        many += "t" + std::to_string(i) + " ";
    std::vector<std::string> kept = tokens(many);
    ASSERT_EQ(kept.size(), 30u);
    EXPECT_EQ(kept.back(), "t29");
}
