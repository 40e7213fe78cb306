#include <gtest/gtest.h>

#include <string>
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
    struct Case {
        const char* what;
        bool baseExists;
        bool exchangeRefused;
    };
    for (const Case& c : {Case{"exchange", true, false}, Case{"exchange refused", true, true},
                          Case{"first save, no base", false, false}}) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(scratch / "prefs");
        if (c.baseExists) {
            WriteBytes(scratch / "prefs", "old contents");
        }
        SimulateExchangeRefused(c.exchangeRefused);
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

TEST_F(ShadowFilerTest, CleanUpWithoutAWrittenShadowChangesNothing) {
    WriteBytes(scratch / "prefs", "old");
    ShadowFiler filer(Item("prefs"));
    filer.CleanUp();
    EXPECT_EQ(filer.RefStatus(), ShadowFiler::kStatusCleanedUp);
    EXPECT_EQ(ReadBytes(scratch / "prefs"), "old");
    EXPECT_EQ(Names(scratch.Path()).size(), 1u);
}

TEST_F(ShadowFilerTest, AbortThrowsTheShadowAway) {
    WriteBytes(scratch / "prefs", "old");
    ShadowFiler filer(Item("prefs"));
    WriteBytes(filer.RefShadowFile()->ShellPath(), "half");
    filer.Abort();
    EXPECT_EQ(filer.RefStatus(), ShadowFiler::kStatusAborted);
    EXPECT_EQ(filer.RefShadowFile(), nullptr);
    EXPECT_EQ(Names(scratch.Path()), std::vector<std::string>{"prefs"});
    EXPECT_EQ(ReadBytes(scratch / "prefs"), "old");
}

TEST_F(ShadowFilerTest, WithoutAShadowTheCallerWritesInPlace) {
    ::mkdir((scratch / "folder").c_str(), 0700);
    ShadowFiler folderBase(Item("folder"));
    EXPECT_EQ(folderBase.RefStatus(), ShadowFiler::kStatusBaseIsFolder);
    EXPECT_EQ(folderBase.RefShadowFile(), nullptr);
    folderBase.CleanUp();
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "folder"));

    ShadowFiler noBase(nullptr);
    EXPECT_EQ(noBase.RefStatus(), ShadowFiler::kStatusBaseIsFolder);
    EXPECT_EQ(noBase.RefShadowFile(), nullptr);

    // A bare name has no folder to hold a shadow.
    ShadowFiler noFolder(std::make_shared<FolderItem>("prefs"));
    EXPECT_EQ(noFolder.RefStatus(), ShadowFiler::kStatusNoTemporaryFolder);
    EXPECT_FALSE(noFolder.RefShadowAvail());
    EXPECT_EQ(noFolder.RefShadowFile()->ShellPath(), "prefs");
    noFolder.CleanUp();
    EXPECT_EQ(noFolder.RefStatus(), ShadowFiler::kStatusCleanedUp);
    EXPECT_EQ(noFolder.RefShadowFile(), nullptr);
}
}  // namespace
