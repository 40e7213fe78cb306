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
#include "TextOutputStream.h"

namespace {
class ShadowFilerTest : public testing::Test {
protected:
    void TearDown() override {
        SimulateExchangeRefused(false);
        TextOutputStream::SimulateSyncError(false);
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
        const mode_t umask = ::umask(0777);  // one that would leave the file no bits at all
        ShadowFiler filer(Item(base));
        ::umask(umask);
        EXPECT_EQ(filer.RefStatus(), ShadowFiler::kStatusShadowReady);
        EXPECT_TRUE(filer.RefShadowAvail());
        EXPECT_EQ(filer.RefShadowFile()->ShellPath(), scratch / shadow);
        // Made at once, empty and the user's alone: the name is taken.
        EXPECT_EQ(ReadBytes(scratch / shadow), "");
        EXPECT_EQ(filer.RefShadowFile()->Permissions(), 0600);
    }
}

// Two copies of the game saving at the same moment, both looking for a name before either
// writes: each gets a shadow of its own, and neither's writing empties the other's. One byte is
// as much a file as any.
TEST_F(ShadowFilerTest, TwoCopiesSavingAtOnceEachPutTheirOwnFileInPlace) {
    WriteBytes(scratch / "prefs", "old");
    ShadowFiler first(Item("prefs"));
    ShadowFiler second(Item("prefs"));
    EXPECT_EQ(first.RefShadowFile()->ShellPath(), scratch / "prefs000001");
    EXPECT_EQ(second.RefShadowFile()->ShellPath(), scratch / "prefs000002");
    EXPECT_TRUE(first.CreateOutput()->Write("1"));
    EXPECT_TRUE(second.CreateOutput()->Write("2"));
    first.CleanUp();
    EXPECT_EQ(ReadBytes(scratch / "prefs"), "1");
    second.CleanUp();
    EXPECT_EQ(ReadBytes(scratch / "prefs"), "2");
    EXPECT_EQ(Names(scratch.Path()), std::vector<std::string>{"prefs"});
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
// disk leaves the old file and every leftover as they were; the shadow goes. An item put under
// the shadow's name in its stead (a pipe here) is never put in place, nor removed.
TEST_F(ShadowFilerTest, LeftoversAreSkippedAndOnlyAPlacedShadowClearsThem) {
    WriteBytes(scratch / "prefs", "old");
    ::symlink("prefs", (scratch / "prefs000003").c_str());
    const timespec aged[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 120, 0}};
    ::utimensat(AT_FDCWD, (scratch / "prefs000003").c_str(), aged, AT_SYMLINK_NOFOLLOW);
    for (const std::string how : {"unwritten", "abort", "unflushable", "replaced", "written"}) {
        WriteBytes(scratch / "prefs000001", "old leftover");
        Age(scratch / "prefs000001", 60);  // a minute to the second
        WriteBytes(scratch / "prefs000002", "fresh leftover");
        const int firstFree = ::open("/dev/null", O_RDONLY);  // the shadow's descriptor to be
        ::close(firstFree);
        ClaimingFiler filer(Item("prefs"));
        const std::string shadow = filer.RefShadowFile()->ShellPath();
        EXPECT_EQ(shadow, scratch / "prefs000004");
        TextOutputStream::SimulateSyncError(how == "unflushable");
        if (how == "replaced") {
            std::filesystem::remove(shadow);
            ::mkfifo(shadow.c_str(), 0600);
        } else if (how != "unwritten") {
            WriteBytes(shadow, how);
        }
        how == "abort" ? filer.Abort() : filer.CleanUp();
        EXPECT_EQ(filer.RefStatus(),
                  how == "abort" ? ShadowFiler::kStatusAborted : ShadowFiler::kStatusCleanedUp);
        EXPECT_EQ(filer.RefShadowFile(), nullptr);
        EXPECT_FALSE(filer.RefShadowAvail());
        EXPECT_EQ(::fcntl(firstFree, F_GETFD), -1) << how;  // let go of with the shadow
        const bool placed = how == "written";
        EXPECT_EQ(ReadBytes(scratch / "prefs"), placed ? "written" : "old") << how;
        std::vector<std::string> left = {"prefs", "prefs000001", "prefs000002", "prefs000003"};
        if (placed) {
            left.erase(left.begin() + 1);
        }
        if (how == "replaced") {
            left.push_back("prefs000004");
        }
        EXPECT_EQ(Names(scratch.Path()), left) << how;
        std::filesystem::remove(shadow);
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
