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
        WriteBytes(filer.RefShadowFile()->ShellPath(), "new contents");
        filer.CleanUp();

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

// Claims every leftover shadow of its base, as the preferences' own filer claims theirs.
class ClaimingFiler : public ShadowFiler {
public:
    using ShadowFiler::ShadowFiler;

protected:
    bool IsOwnLeftover(const FolderItem& /*leftover*/) const override { return true; }
};

// Leftover shadows of earlier saves: their names are skipped, and once a new shadow is in place
// those untouched for a minute are removed; a link under such a name is never one. CleanUp before
// anything was written, Abort after a write, or CleanUp of a shadow that can't be flushed to the
// disk (a pipe here) leaves the old file and every leftover as they were; the shadow goes.
TEST_F(ShadowFilerTest, LeftoversAreSkippedAndOnlyAPlacedShadowClearsThem) {
    WriteBytes(scratch / "prefs", "old");
    ::symlink("prefs", (scratch / "prefs000003").c_str());
    const timespec aged[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 120, 0}};
    ::utimensat(AT_FDCWD, (scratch / "prefs000003").c_str(), aged, AT_SYMLINK_NOFOLLOW);
    for (const std::string how : {"unwritten", "abort", "unflushable", "written"}) {
        WriteBytes(scratch / "prefs000001", "old leftover");
        Age(scratch / "prefs000001", 60);  // a minute to the second
        WriteBytes(scratch / "prefs000002", "fresh leftover");
        ClaimingFiler filer(Item("prefs"));
        const std::string shadow = filer.RefShadowFile()->ShellPath();
        EXPECT_EQ(shadow, scratch / "prefs000004");
        if (how == "unflushable") {
            ::mkfifo(shadow.c_str(), 0600);
        } else if (how != "unwritten") {
            WriteBytes(shadow, how);
        }
        how == "abort" ? filer.Abort() : filer.CleanUp();
        EXPECT_EQ(filer.RefStatus(),
                  how == "abort" ? ShadowFiler::kStatusAborted : ShadowFiler::kStatusCleanedUp);
        EXPECT_EQ(filer.RefShadowFile(), nullptr);
        EXPECT_FALSE(filer.RefShadowAvail());
        const bool placed = how == "written";
        EXPECT_EQ(ReadBytes(scratch / "prefs"), placed ? "written" : "old") << how;
        std::vector<std::string> left = {"prefs", "prefs000001", "prefs000002", "prefs000003"};
        if (placed) {
            left.erase(left.begin() + 1);
        }
        EXPECT_EQ(Names(scratch.Path()), left) << how;
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
        ShadowFiler aborted(base);
        aborted.Abort();  // with nothing to throw away
        EXPECT_EQ(aborted.RefStatus(), ShadowFiler::kStatusAborted);
    }
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "folder"));
}
}  // namespace
