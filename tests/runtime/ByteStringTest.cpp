#include <gtest/gtest.h>

#include <array>
#include <string>

#include "ByteString.h"

namespace {
const std::string kHide = "雲隠れ";  // three characters of three bytes each: "hide"
}

// The B functions count bytes from 1, Len and Left count UTF-8 characters; all clamp to the string.
TEST(ByteStringTest, PositionsCountFromOneAndClampToTheString) {
    const struct {
        std::string got, want;
    } cases[] = {
        {LeftB("0001000", 3), "000"}, {LeftB("abc", 10), "abc"},   {LeftB("abc", -1), ""},
        {MidB("0001000", 4, 1), "1"}, {MidB("0001000", 5), "000"}, {MidB("abc", 3, 10), "c"},
        {MidB("abc", 4, 1), ""},      {MidB("abc", 9), ""},        {MidB("abcdefghi", 8), "hi"},
        {RightB("abc", 2), "bc"},     {RightB("abc", 5), "abc"},   {RightB("abc", 0), ""},
        {LeftB(kHide, 3), "雲"},      {MidB(kHide, 4, 3), "隠"},   {Left(kHide, 2), "雲隠"},
        {Left(kHide, 5), kHide},      {Left(kHide, 0), ""},        {Left("雲", 1), "雲"},
        {Left("\x80\x80", 0), ""},  // stray bytes, but no character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got, c.want);
    }
    EXPECT_EQ((std::array{LenB(kHide), LenB(""), Len(kHide), Len("Tembroloの設定")}),
              (std::array{9, 0, 3, 11}));
}

// Val reads the leading number and gives zero for anything else.
TEST(ByteStringTest, NumbersToTextAndBack) {
    EXPECT_EQ((std::array{Format(-7, "000"), Format(0, "0000000000"), Format(45, "0000000000"),
                          Format(999, "000"), Format(1234, "000"), Str(3), Str(-12), Str(0.5),
                          Hex(255), Hex(0), Hex(0xFFFFFF)}),
              (std::array<std::string, 11>{"-007", "0000000000", "0000000045", "999", "1234", "3",
                                           "-12", "0.5", "FF", "0", "FFFFFF"}));
    const struct {
        std::string text;
        double want;
    } cases[] = {
        {"7", 7},   {"045", 45}, {"  12abc", 12}, {"-7", -7}, {"2.5E+2", 250}, {" &hFF", 255},
        {"&h", 0},  {"", 0},     {"abc", 0},      {"G", 0},   {"1e-3", 0.001}, {"nan", 0},
        {"inf", 0}, {"0x1A", 0}, {"+4", 4},       {"-", 0},   {".5e1", 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Val(c.text), c.want) << '"' << c.text << '"';
    }
}

TEST(ByteStringTest, StrCompComparesBytes) {
    EXPECT_EQ((std::array{StrComp("A", "A", 0), StrComp("A", "B", 0), StrComp("b", "a", 0),
                          StrComp("B", "a", 0), StrComp("ab", "a", 0), StrComp("", "", 0),
                          StrComp("雲", "雲隠れ", 0), StrComp("0001000", "0001000", 0)}),
              (std::array{0, -1, 1, -1, 1, 0, -1, 0}));
}
