#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ApplPreferences.h"
#include "ExchangeFiles.h"
#include "FileEvents.h"
#include "FolderItem.h"
#include "ScratchFolder.h"

namespace {
const std::string kName = "Tembroloの設定";
const std::string kDefaults = "0001000";

// A run of the program as far as its preferences go: open, complete from the defaults, let the
// game change what it changes, quit.
std::string RunProgram(const std::function<void(ApplPreferences&)>& play = {}) {
    ApplPreferences prefs(kName, "QVLK");
    prefs.Restore();
    prefs.DefaultData(kDefaults);
    if (play) {
        play(prefs);
    }
    prefs.Save();
    return prefs.GetData();
}

class PrefsFileTest : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        ::mkdir(config.c_str(), 0700);
    }
    void TearDown() override {
        FolderItem::SimulateAttributeError(0);
        SimulateExchangeRefused(false);
        SetFileEventObserver({});
    }

    // A file of ours under `name`, as an earlier run would have left it.
    void Ours(const std::string& name, const std::string& bytes) const {
        WriteBytes(config + "/" + name, bytes);
        SetKind(config + "/" + name, "QVLK", "PREF");
    }
    std::optional<std::string> File(const std::string& name) const {
        return ReadBytes(config + "/" + name);
    }

    ScratchFolder scratch;
    std::string config = scratch / "config";
};

TEST_F(PrefsFileTest, FirstRunWritesTheMarkerAndTheDefaults) {
    ApplPreferences prefs(kName, "QVLK");
    prefs.Restore();
    EXPECT_EQ(prefs.GetData(), "");
    EXPECT_TRUE(prefs.DefaultData(kDefaults));
    prefs.Save();

    EXPECT_EQ(File(kName), "000001000");
    EXPECT_EQ(Attribute(config + "/" + kName, "creator"), "QVLK");
    EXPECT_EQ(Attribute(config + "/" + kName, "type"), "PREF");
    EXPECT_EQ(Names(config), std::vector<std::string>{kName});  // no shadow left behind
}

TEST_F(PrefsFileTest, UnchangedRunLeavesTheFileAloneUnlessSaveModeAsks) {
    Ours(kName, "001231000");
    const std::string path = config + "/" + kName;
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), old, 0);

    EXPECT_EQ(RunProgram(), "1231000");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mtim.tv_sec, 1000000000);

    RunProgram([](ApplPreferences& prefs) { prefs.SetSaveMode(1); });
    ::stat(path.c_str(), &info);
    EXPECT_NE(info.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(File(kName), "001231000");
}

TEST_F(PrefsFileTest, NewRecordReplacesTheFileWhole) {
    Ours(kName, "001231000");
    RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(456, 5, 3); });
    EXPECT_EQ(File(kName), "001231456");
    EXPECT_EQ(Attribute(config + "/" + kName, "type"), "PREF");
    EXPECT_EQ(Names(config), std::vector<std::string>{kName});
}

// What a run makes of whatever is under the name, and what it leaves there at quit.
TEST_F(PrefsFileTest, FileContentsDecideTheData) {
    struct Case {
        const char* what;
        std::string stored;
        std::string restored;
        std::string afterDefaults;
    };
    const std::string binary("00\0\xff\x80\r\n\x01\x02", 9);
    const std::vector<Case> cases = {
        {"empty", "", "", kDefaults},
        {"one byte", "0", "", kDefaults},
        {"marker only", "00", "", kDefaults},
        {"short data is completed", "0012", "12", "1201000"},
        {"unmarked", "010001000", "", kDefaults},
        {"unmarked, long", "XX" + std::string(5000, '7'), "", kDefaults},
        {"line end is data", "000001000\r", "0001000\r", "0001000\r"},
        {"binary bytes pass unchanged", binary, binary.substr(2), binary.substr(2)},
        {"huge", "00" + std::string(ApplPreferences::kLongestFile, '5'), "", kDefaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ours(kName, c.stored);
        ApplPreferences prefs(kName, "QVLK");
        prefs.Restore();
        EXPECT_EQ(prefs.GetData(), c.restored);
        prefs.DefaultData(kDefaults);
        EXPECT_EQ(prefs.GetData(), c.afterDefaults);
        prefs.Save();
        EXPECT_EQ(File(kName), c.restored == c.afterDefaults ? c.stored : "00" + c.afterDefaults);
        EXPECT_EQ(Names(config), std::vector<std::string>{kName});
    }
}

TEST_F(PrefsFileTest, LineEndAfterTheDataSurvivesASave) {
    Ours(kName, "000001000\n");
    EXPECT_EQ(RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(12, 1, 3); }),
              "0121000\n");
    EXPECT_EQ(File(kName), "000121000\n");
}

TEST_F(PrefsFileTest, ForeignItemsUnderTheNameAreSkippedAndKept) {
    WriteBytes(config + "/" + kName, "somebody else's notes");
    WriteBytes(config + "/" + kName + "_1", "00999");
    SetKind(config + "/" + kName + "_1", "QVLK", "TEXT");
    ::mkdir((config + "/" + kName + "_2").c_str(), 0700);

    EXPECT_EQ(RunProgram(), kDefaults);
    EXPECT_EQ(File(kName + "_3"), "000001000");
    EXPECT_EQ(File(kName), "somebody else's notes");
    EXPECT_EQ(File(kName + "_1"), "00999");

    // The next run finds its file under _3 again.
    EXPECT_EQ(RunProgram([](ApplPreferences& prefs) { prefs.SetPartData("C", 4); }), "000C000");
    EXPECT_EQ(File(kName + "_3"), "00000C000");
    EXPECT_EQ(Names(config).size(), 4u);
}

TEST_F(PrefsFileTest, OwnFileUnderANumberIsIgnoredWhileThePlainNameIsFree) {
    Ours(kName + "_1", "001231000");
    EXPECT_EQ(RunProgram(), kDefaults);
    EXPECT_EQ(File(kName), "000001000");
    EXPECT_EQ(File(kName + "_1"), "001231000");
}

// Where the file system refuses extended attributes no file can carry our kind; the program's own
// file must still be found run after run, not passed over for a new numbered one each time.
TEST_F(PrefsFileTest, WithoutAttributesTheFileUnderTheNameIsOurs) {
    FolderItem::SimulateAttributeError(ENOTSUP);
    RunProgram();
    RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(77, 1, 3); });
    EXPECT_EQ(RunProgram(), "0771000");
    EXPECT_EQ(Names(config), std::vector<std::string>{kName});
    EXPECT_EQ(File(kName), "000771000");

    // The marker still decides; a folder is still no file.
    WriteBytes(config + "/" + kName, "notes");
    EXPECT_EQ(RunProgram(), kDefaults);
    std::filesystem::remove(config + "/" + kName);
    ::mkdir((config + "/" + kName).c_str(), 0700);
    RunProgram();
    EXPECT_EQ(File(kName + "_1"), "000001000");
}

TEST_F(PrefsFileTest, LeftoverShadowsAreLeftAlone) {
    Ours(kName, "001231000");
    WriteBytes(config + "/" + kName + "000001", "00half");
    RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(1, 1, 3); });
    EXPECT_EQ(File(kName), "000011000");
    EXPECT_EQ(File(kName + "000001"), "00half");
    EXPECT_EQ(Names(config).size(), 2u);
}

TEST_F(PrefsFileTest, UnusablePreferencesFolderLosesNothing) {
    WriteBytes(scratch / "plain-file", "x");
    ::setenv("XDG_CONFIG_HOME", (scratch / "plain-file/config").c_str(), 1);
    EXPECT_EQ(RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(5, 1, 3); }), "0051000");
    EXPECT_EQ(ReadBytes(scratch / "plain-file"), "x");

    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    Ours(kName, "001231000");
    if (!ScratchFolder::SetWritable(config, false)) {
        GTEST_SKIP() << "cannot make a folder unwritable here";
    }
    EXPECT_EQ(RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(5, 1, 3); }), "0051000");
    ScratchFolder::SetWritable(config, true);
    EXPECT_EQ(File(kName), "001231000");
    EXPECT_EQ(Names(config), std::vector<std::string>{kName});
}

TEST_F(PrefsFileTest, FullDiskKeepsTheOldFile) {
    Ours(kName, "001231000");
    // Files may grow to 5 bytes: the shadow is cut short after the marker and three data bytes.
    WithFileSizeLimit(
        5, [] { RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(999, 1, 3); }); });

    EXPECT_EQ(File(kName), "001231000");
    EXPECT_EQ(Names(config), std::vector<std::string>{kName});
}

// A process killed at any moment of a save leaves under the name either the whole old file or
// the whole new one, and the next run carries on from it.
TEST_F(PrefsFileTest, KilledSaveLeavesOldOrNewFileWhole) {
    GTEST_FLAG_SET(death_test_style, "fast");
    struct Case {
        const char* what;
        bool hasOldFile;
        bool exchangeRefused;
        FileEvent killAt;
    };
    const std::vector<Case> cases = {
        {"after the shadow is written", true, false, FileEvent::OutputClosed},
        {"after the exchange", true, false, FileEvent::Exchanged},
        {"before the shadow is deleted", true, false, FileEvent::Deleting},
        {"after the rename that replaces", true, true, FileEvent::Moved},
        {"first run, after the shadow is written", false, false, FileEvent::OutputClosed},
        {"first run, after the shadow is moved", false, false, FileEvent::Moved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(config);
        ::mkdir(config.c_str(), 0700);
        if (c.hasOldFile) {
            Ours(kName, "001231000");
        }
        EXPECT_EXIT(
            {
                SimulateExchangeRefused(c.exchangeRefused);
                SetFileEventObserver([&](FileEvent event, const std::string&) {
                    if (event == c.killAt) {
                        std::raise(SIGKILL);
                    }
                });
                RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(456, 5, 3); });
                std::_Exit(0);
            },
            testing::KilledBySignal(SIGKILL), "");

        // Whole old or whole new; with no old file, nothing is as good as the old.
        const auto left = File(kName);
        if (c.hasOldFile) {
            EXPECT_TRUE(left == "001231000" || left == "001231456") << left.value_or("(none)");
        } else {
            EXPECT_TRUE(!left || left == "000001456") << *left;
        }
        const std::string next =
            RunProgram([](ApplPreferences& prefs) { prefs.SetPartData("B", 4); });
        EXPECT_EQ(File(kName), "00" + next);
        EXPECT_EQ(next.substr(3, 1), "B");
    }
}
}  // namespace
