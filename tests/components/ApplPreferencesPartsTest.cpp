#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "ApplPreferences.h"

namespace {
ApplPreferences WithData(const std::string& data) {
    ApplPreferences prefs("Tembroloの設定", "QVLK");
    prefs.SetData(data);
    return prefs;
}

// Writes into the data string: each case starts from `before` and shows what is left.
TEST(ApplPreferencesPartsTest, WritesOverwriteInPlaceAndNeverGrowTheData) {
    using P = ApplPreferences;
    const std::tuple<const char*, std::string, std::function<void(P&)>, std::string> cases[] = {
        {"a part running past the end is dropped whole", "0001000",
         [](P& p) { p.SetPartData("AB", 7); }, "0001000"},
        {"a part ending on the last byte fits", "0001000", [](P& p) { p.SetPartData("A", 7); },
         "000100A"},
        {"the sound code", "0001000", [](P& p) { p.SetPartData("C", 4); }, "000C000"},
        {"a position before the first byte is ignored", "0001000",
         [](P& p) { p.SetPartData("A", 0); }, "0001000"},
        {"and so is a tail's", "0001000", [](P& p) { p.SetTailData("xy", 0); }, "0001000"},
        {"record zero-padded", "0001000", [](P& p) { p.SetPartInteger(5, 5, 3); }, "0001005"},
        {"higher digits cut", "0001000", [](P& p) { p.SetPartInteger(1234, 1, 3); }, "2341000"},
        {"width 0 stores nothing", "0001000", [](P& p) { p.SetPartInteger(9, 1, 0); }, "0001000"},
        {"width over 10 stores ten digits", "abcdefghijkl",
         [](P& p) { p.SetPartInteger(42, 2, 12); }, "a0000000042l"},
        {"ten digits don't fit in seven bytes", "0001000",
         [](P& p) { p.SetPartInteger(42, 1, 12); }, "0001000"},
        {"flags", "0001000", [](P& p) { p.SetPartBoolean(true, 1); }, "1001000"},
        {"a flag past the end is dropped", "0001000", [](P& p) { p.SetPartBoolean(false, 8); },
         "0001000"},
        {"a tail one past the end appends", "0001000", [](P& p) { p.SetTailData("xy", 8); },
         "0001000xy"},
        {"a tail at byte 1 replaces all", "0001000", [](P& p) { p.SetTailData("xy", 1); }, "xy"},
        {"a tail further out changes nothing", "0001000", [](P& p) { p.SetTailData("xy", 9); },
         "0001000"},
        {"colour as six hex digits", "abcdefgh", [](P& p) { p.SetPartColor(0xFF0010, 1); },
         "FF0010gh"},
        {"a colour that doesn't fit is dropped", "abcdefgh",
         [](P& p) { p.SetPartColor(0x123456, 4); }, "abcdefgh"},
        {"defaults complete a short string", "12",
         [](P& p) { EXPECT_TRUE(p.DefaultData("0001000")); }, "1201000"},
        {"defaults never replace what is there", "abcdefg",
         [](P& p) { EXPECT_FALSE(p.DefaultData("0001000")); }, "abcdefg"},
    };
    for (const auto& [what, before, write, after] : cases) {
        ApplPreferences prefs = WithData(before);
        write(prefs);
        EXPECT_EQ(prefs.GetData(), after) << what;
    }
}

// Reads never fail: short or empty results past the end, 0 where no number stands.
TEST(ApplPreferencesPartsTest, ReadsGiveShortEmptyOrZeroResults) {
    const ApplPreferences prefs = WithData("0001000");
    EXPECT_EQ(prefs.GetPartData(6, 5), "00");
    EXPECT_EQ(prefs.GetPartData(8, 1), "");
    EXPECT_EQ(prefs.GetTailData(5), "000");
    EXPECT_EQ(prefs.GetTailData(8), "");
    EXPECT_EQ(prefs.GetPartInteger(5, 3), 0);
    EXPECT_EQ(prefs.GetPartInteger(9, 3), 0);
    EXPECT_FALSE(prefs.GetPartBoolean(1));
    EXPECT_TRUE(prefs.GetPartBoolean(4));
    EXPECT_TRUE(prefs.GetPartBoolean(8));
    EXPECT_EQ(prefs.GetPartColor(3), 0x000000u);  // five bytes left: no colour

    EXPECT_EQ(WithData("1231000").GetPartInteger(1, 3), 123);
    EXPECT_EQ(WithData("FF0010gh").GetPartColor(1), 0xFF0010u);
    EXPECT_EQ(WithData("ff0a10").GetPartColor(1), 0xFF0A10u);
    EXPECT_EQ(WithData("00ff").GetPartColor(1), 0x000000u);

    // A tampered file can hold anything where a number is expected.
    for (const char* data : {"abc1000", "nan1000", "inf1000", "   1000"}) {
        EXPECT_EQ(WithData(data).GetPartInteger(1, 3), 0) << data;
    }
    EXPECT_EQ(WithData("99999999999").GetPartInteger(1, 11), 2147483647);
    EXPECT_EQ(WithData("-9999999999").GetPartInteger(1, 11), -2147483647 - 1);
    EXPECT_EQ(WithData("zz0000").GetPartColor(1), 0x000000u);
}
}  // namespace
