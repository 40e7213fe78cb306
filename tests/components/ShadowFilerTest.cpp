#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ExchangeFiles.h"
#include "FileEvents.h"
#include "FolderItem.h"
#include "ScratchFolder.h"
#include "ShadowFiler.h"

namespace {
class ShadowFilerTest : public testing::Test {
protected:
    void TearDown() override {
        SimulateExchangeRefused(false);
        SetFileEventObserver({});
    }

    FolderItemPtr Item(const std::string& name) const {
        return std::make_shared<FolderItem>(scratch / name);
    }

    // What a caller does with the shadow: write it whole, then let the filer put it in place.
    void WriteAndCleanUp(ShadowFiler& filer, const std::string& bytes) const {
        WriteBytes(filer.RefShadowFile()->ShellPath(), bytes);
        filer.CleanUp();
    }

    ScratchFolder scratch;
};

TEST_F(ShadowFilerTest, ShadowNameIsTheStemCutByWholeCharactersAndACounter) {
    const std::pair<std::string, std::string> cases[] = {
        {"Tembroloの設定", "Tembroloの設定000001"},
        {std::string(30, 'a'), std::string(25, 'a') + "000001"},
        {"雷雷雷雷雷雷雷雷雷", "雷雷雷雷雷雷雷雷000001"},  // 27 bytes lose one whole character
    };
    for (const auto& [base, shadow] : cases) {
        SCOPED_TRACE(base);
        ShadowFiler filer(Item(base));
        EXPECT_EQ(filer.RefStatus(), ShadowFiler::kStatusShadowReady);
        EXPECT_TRUE(filer.RefShadowAvail());
        EXPECT_EQ(filer.RefShadowFile()->ShellPath(), scratch / shadow);
        EXPECT_FALSE(filer.RefShadowFile()->Exists());  // only a name; nothing made yet
    }
}

TEST_F(ShadowFilerTest, LeftoverShadowsAreSkippedAndKept) {
    WriteBytes(scratch / "prefs", "old");
    WriteBytes(scratch / "prefs000001", "leftover 1");
    WriteBytes(scratch / "prefs000002", "leftover 2");
    ShadowFiler filer(Item("prefs"));
    EXPECT_EQ(filer.RefShadowFile()->Name(), "prefs000003");
    WriteAndCleanUp(filer, "new");
    EXPECT_EQ(ReadBytes(scratch / "prefs"), "new");
    EXPECT_EQ(ReadBytes(scratch / "prefs000001"), "leftover 1");
    EXPECT_EQ(Names(scratch.Path()),
              (std::vector<std::string>{"prefs", "prefs000001", "prefs000002"}));
}

TEST_F(ShadowFilerTest, CleanUpPutsTheShadowInPlace) {
    // What; with a base; exchange refused.
    const std::tuple<const char*, bool, bool> cases[] = {{"exchange", true, false},
                                                         {"exchange refused", true, true},
                                                         {"first save, no base", false, false}};
    for (const auto& [what, baseExists, exchangeRefused] : cases) {
        SCOPED_TRACE(what);
        std::filesystem::remove(scratch / "prefs");
        if (baseExists) {
            WriteBytes(scratch / "prefs", "old contents");
        }
        SimulateExchangeRefused(exchangeRefused);
        std::vector<std::pair<FileEvent, std::string>> events;
        SetFileEventObserver(
            [&](FileEvent e, const std::string& path) { events.emplace_back(e, path); });

        ShadowFiler filer(Item("prefs"));
        WriteAndCleanUp(filer, "new contents");

        EXPECT_EQ(ReadBytes(scratch / "prefs"), "new contents");
        EXPECT_EQ(Names(scratch.Path()), std::vector<std::string>{"prefs"});
        EXPECT_EQ(filer.RefStatus(), ShadowFiler::kStatusCleanedUp);
        EXPECT_EQ(filer.RefShadowFile(), nullptr);
        // The name never stands empty: the base is never deleted before the new file is there.
        for (const auto& [event, path] : events) {
            EXPECT_FALSE(event == FileEvent::Deleting && path == scratch / "prefs");
        }
    }
}

// CleanUp before anything was written, or Abort after a write: the old file stays as it was.
TEST_F(ShadowFilerTest, NothingWrittenOrAbortedLeavesTheBaseAlone) {
    WriteBytes(scratch / "prefs", "old");
    for (const bool abort : {false, true}) {
        ShadowFiler filer(Item("prefs"));
        if (abort) {
            WriteBytes(filer.RefShadowFile()->ShellPath(), "half");
        }
        abort ? filer.Abort() : filer.CleanUp();
        EXPECT_EQ(filer.RefStatus(),
                  abort ? ShadowFiler::kStatusAborted : ShadowFiler::kStatusCleanedUp);
        EXPECT_EQ(filer.RefShadowFile(), nullptr);
        EXPECT_EQ(Names(scratch.Path()), std::vector<std::string>{"prefs"});
        EXPECT_EQ(ReadBytes(scratch / "prefs"), "old");
    }
}

// A folder (or no base at all) gives nothing to write; a bare name has no folder to hold a shadow,
// so the caller writes the base in place.
TEST_F(ShadowFilerTest, WithoutAShadowTheCallerWritesInPlace) {
    ::mkdir((scratch / "folder").c_str(), 0700);
    const std::tuple<FolderItemPtr, std::int32_t, std::string> cases[] = {
        {Item("folder"), ShadowFiler::kStatusBaseIsFolder, ""},
        {nullptr, ShadowFiler::kStatusBaseIsFolder, ""},
        {std::make_shared<FolderItem>("prefs"), ShadowFiler::kStatusNoTemporaryFolder, "prefs"},
    };
    for (const auto& [base, status, written] : cases) {
        ShadowFiler filer(base);
        EXPECT_EQ(filer.RefStatus(), status);
        EXPECT_FALSE(filer.RefShadowAvail());
        EXPECT_EQ(filer.RefShadowFile() ? filer.RefShadowFile()->ShellPath() : "", written);
        filer.CleanUp();
        EXPECT_EQ(filer.RefStatus(), ShadowFiler::kStatusCleanedUp);
        EXPECT_EQ(filer.RefShadowFile(), nullptr);
    }
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "folder"));
}
}  // namespace
