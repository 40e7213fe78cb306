#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelpTexts.h"

namespace {

const std::string kIdeographicSpace = "\u3000";

// The lines of a CR-ended text, without their CRs; the text must end with a CR.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (auto end = text.find('\r'); end != std::string::npos; end = text.find('\r', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    EXPECT_EQ(start, text.size()) << "text does not end with a CR";
    return lines;
}

bool HasAsciiDigit(const std::string& line) {
    return line.find_first_of("0123456789") != std::string::npos;
}

}  // namespace

TEST(HelpTextsTest, EveryTextBreaksLinesWithCrOnlyAndEndsWithOne) {
    for (std::int32_t i = 1; i <= kHelpTextCount; ++i) {
        const std::string text = HelpText(i);
        ASSERT_FALSE(text.empty()) << i;
        EXPECT_EQ(text.find('\n'), std::string::npos) << i;
        EXPECT_EQ(text.back(), '\r') << i;
    }
    EXPECT_EQ(HelpText(0), "");
    EXPECT_EQ(HelpText(kHelpTextCount + 1), "");
}

// Texts 1, 2, 3 and 5 are prose: paragraphs parted by one empty line, every line indented by
// one ideographic space, numbers in full-width digits. Text 3 ends with a fourth paragraph, its
// signature line, which the loop leaves out.
TEST(HelpTextsTest, ProseTextsHaveIndentedParagraphsWithFullWidthNumbers) {
    struct Case {
        std::int32_t index;
        std::size_t paragraphs;
        std::size_t lines;
    };
    for (const Case& c : {Case{1, 5, 11}, Case{2, 7, 15}, Case{3, 3, 7}, Case{5, 2, 3}}) {
        std::vector<std::string> lines = Lines(HelpText(c.index));
        ASSERT_EQ(lines.size(), c.lines) << c.index;
        if (c.index == 3) {
            EXPECT_EQ(lines.back().rfind("　　　　　　　　　　2012.6.16", 0), 0u) << lines.back();
            lines.pop_back();
        }
        std::size_t paragraphs = 0;
        bool previousEmpty = true;
        for (const std::string& line : lines) {
            if (line.empty()) {
                EXPECT_FALSE(previousEmpty) << c.index << ": two empty lines in a row";
                previousEmpty = true;
                continue;
            }
            paragraphs += previousEmpty ? 1 : 0;
            previousEmpty = false;
            EXPECT_EQ(line.rfind(kIdeographicSpace, 0), 0u) << c.index << ": " << line;
            EXPECT_NE(line.rfind(kIdeographicSpace + kIdeographicSpace, 0), 0u) << line;
            EXPECT_FALSE(HasAsciiDigit(line)) << c.index << ": " << line;
        }
        EXPECT_EQ(paragraphs, c.paragraphs) << c.index;
    }
}

TEST(HelpTextsTest, HistoryListsTheTenVersionsNewestFirst) {
    const std::vector<std::string> headers = {"2012.06.16　11.0.0", "2012.06.12　10.0.3（未公開）",
                                              "2012.03.14　10.0.2", "2012.01.21　10.0.1",
                                              "2011.12.23　10.0.0", "2011.12.19　1.0.6",
                                              "2005.06.17　1.0.5",  "2002.05.09　1.0.4",
                                              "2001.09.18　1.0.3",  "2001.08.27　1.0.0"};
    const std::vector<std::size_t> notes = {2, 1, 1, 2, 1, 2, 1, 4, 3, 1};
    const std::string noteIndent = "　　　　　";

    std::vector<std::string> seenHeaders;
    std::vector<std::size_t> seenNotes;
    for (const std::string& line : Lines(HelpText(4))) {
        if (line.rfind(noteIndent, 0) == 0) {
            ASSERT_FALSE(seenNotes.empty()) << "a note before the first version";
            EXPECT_GT(line.size(), noteIndent.size());
            ++seenNotes.back();
        } else {
            seenHeaders.push_back(line);
            seenNotes.push_back(0);
        }
    }
    EXPECT_EQ(seenHeaders, headers);
    EXPECT_EQ(seenNotes, notes);
}

TEST(HelpTextsTest, ThanksListsSixProductsThenThePlatform) {
    const std::vector<std::string> lines = Lines(HelpText(6));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], "開発には以下の製品を使用しました。");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[8], "");
    for (std::size_t i : {2u, 3u, 4u, 5u, 6u, 7u, 9u}) {
        const auto slash = lines[i].find(" / ");
        ASSERT_NE(slash, std::string::npos) << lines[i];
        EXPECT_TRUE(HasAsciiDigit(lines[i].substr(0, slash))) << "no version: " << lines[i];
        EXPECT_GT(lines[i].size(), slash + 3) << "no maker: " << lines[i];
    }
}
