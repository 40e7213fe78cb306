#include <gtest/gtest.h>

#include <QMenu>
#include <stdexcept>
#include <string>
#include <vector>

#include "Appl.h"
#include "Menu.h"
#include "ShellFixture.h"

namespace {

struct Row {
    const char* parent;
    const char* name;
    const char* caption;
    const char* shortcut;
    bool autoEnable;
    int index;
    const char* kind;
};

// Loudest to softest, then mute.
const char* const kVolumeCaptions[] = {"■■■■■■■■■", "■■■■■■■■", "■■■■■■■", "■■■■■■", "■■■■■",
                                       "■■■■",      "■■■",      "■■",      "■",      "消音"};

std::vector<Row> ExpectedRows() {
    std::vector<Row> rows = {
        {"", "UntitledMenu7", "ファイル", "", true, -1, "plain"},
        {"UntitledMenu7", "FileClose", "閉じる", "Cmd+W", false, -1, "plain"},
        {"UntitledMenu7", "UntitledMenu8", "-", "", true, -1, "plain"},
        {"UntitledMenu7", "FileQuit", "終了", "Cmd+Q", true, -1, "quit"},
        {"", "UntitledMenu5", "編集", "", true, -1, "plain"},
        {"UntitledMenu5", "EditUndo", "取り消し", "Cmd+Z", false, -1, "plain"},
        {"UntitledMenu5", "UntitledMenu6", "-", "", true, -1, "plain"},
        {"UntitledMenu5", "EditCut", "カット", "Cmd+X", false, -1, "plain"},
        {"UntitledMenu5", "EditCopy", "コピー", "Cmd+C", false, -1, "plain"},
        {"UntitledMenu5", "EditPaste", "ペースト", "Cmd+V", false, -1, "plain"},
        {"UntitledMenu5", "EditClear", "消去", "", false, -1, "plain"},
        {"", "UntitledMenu1", "ゲーム", "", true, -1, "plain"},
        {"UntitledMenu1", "GameMenuStart", "開始", "Cmd+T", false, -1, "plain"},
        {"UntitledMenu1", "GameMenuHide", "雲隠れ", "", false, -1, "plain"},
        {"UntitledMenu1", "UntitledMenu4", "-", "", true, -1, "plain"},
        {"UntitledMenu1", "GameMenuHold", "観察モード", "", false, -1, "plain"},
        {"UntitledMenu1", "UntitledMenu3", "-", "", true, -1, "plain"},
        {"UntitledMenu1", "GameMenuFortune", "吉凶...", "Cmd+F", false, -1, "plain"},
        {"UntitledMenu1", "UntitledMenu2", "-", "", true, -1, "plain"},
        {"UntitledMenu1", "GameMenuSound", "効果音", "", false, -1, "plain"},
    };
    for (int i = 0; i < 10; ++i) {
        rows.push_back(
            {"GameMenuSound", "GameMenuSoundVol", kVolumeCaptions[i], "", false, i, "plain"});
    }
    rows.push_back({"", "UntitledMenu0", "help", "", true, -1, "plain"});
    rows.push_back({"UntitledMenu0", "AppleAbout", "Tembroloについて...", "", true, -1, "apple"});
    rows.push_back({"UntitledMenu0", "HelpApp", "Tembroloの説明...", "", true, -1, "plain"});
    return rows;
}

void Flatten(const MenuItem& item, std::vector<const MenuItem*>& out) {
    for (int i = 0; i < item.Count(); ++i) {
        out.push_back(item.Item(i).get());
        Flatten(*item.Item(i), out);
    }
}

const char* KindOf(const MenuItem& item) {
    return item.IsQuitItem() ? "quit" : item.IsAppleItem() ? "apple" : "plain";
}

}  // namespace

TEST(Menu, BuildsTheThirtyThreeItemsOfTheTableInOrder) {
    std::vector<const MenuItem*> items;
    Flatten(*Menu(), items);
    const auto rows = ExpectedRows();
    ASSERT_EQ(items.size(), 33u);
    ASSERT_EQ(rows.size(), 33u);
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1) + " " + rows[i].name);
        const MenuItem& item = *items[i];
        const std::string parent = item.Parent() == Menu().get() ? "" : item.Parent()->Name;
        EXPECT_EQ(parent, rows[i].parent);
        EXPECT_EQ(item.Name, rows[i].name);
        EXPECT_EQ(item.Text, rows[i].caption);
        EXPECT_EQ(item.KeyboardShortcut, rows[i].shortcut);
        EXPECT_EQ(item.AutoEnable, rows[i].autoEnable);
        EXPECT_EQ(item.Index, rows[i].index);
        EXPECT_STREQ(KindOf(item), rows[i].kind);
    }
}

TEST(Menu, IsBuiltOnceAndLooksUpVolumeItemsByIndex) {
    auto first = Menu();
    EXPECT_EQ(Menu(), first);
    ASSERT_EQ(first->Count(), 4);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(first->Find("GameMenuSoundVol", i)->Text, kVolumeCaptions[i]);
    }
    EXPECT_EQ(first->Find("UntitledMenu9"), nullptr);
    EXPECT_EQ(first->Child("GameMenuStart"), nullptr);  // not on the bar itself
    EXPECT_NE(first->Find("GameMenuStart"), nullptr);
    // "閉じる" is looked up in the application's bar: no application, no item.
    EXPECT_THROW(FileClose(), std::logic_error);
    // At exit the bar goes; a later call would build a new one.
    ReleaseMenu();
    EXPECT_NE(Menu(), first);
    ReleaseMenu();
}

TEST(Menu, EveryCaptionHasGlyphsInTheMenuFont) {
    std::vector<const MenuItem*> items;
    Flatten(*Menu(), items);
    QMenu probe;
    for (const MenuItem* item : items) {
        SCOPED_TRACE(item->Name);
        ExpectGlyphs(QString::fromStdString(item->Text), probe.font());
    }
    ReleaseMenu();
}
