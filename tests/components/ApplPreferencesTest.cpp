#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "ApplPreferences.h"
#include "ExchangeFiles.h"
#include "FileEvents.h"
#include "FolderItem.h"
#include "ScratchFolder.h"

namespace {
const std::string kName = "Tembroloの設定";
const std::string kDefaults = "0001000";
using NameList = std::vector<std::string>;
using Perms = std::filesystem::perms;

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

// A run that sets a new cloud-hiding record of 456.
std::string RunWithNewRecord() {
    return RunProgram([](ApplPreferences& prefs) { prefs.SetPartInteger(456, 5, 3); });
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

    std::string Path(const std::string& name) const { return config + "/" + name; }
    // A file of ours under `name`, as an earlier run would have left it.
    void Ours(const std::string& name, const std::string& bytes) const {
        WriteBytes(Path(name), bytes);
        SetKind(Path(name), "QVLK", "PREF");
    }
    std::optional<std::string> File(const std::string& name) const { return ReadBytes(Path(name)); }

    void ExpectOnlySettingsFilesAreOurs() const;
    void ExpectFailedSaveKeepsTheOldFile(const std::function<void()>& run) const;

    ScratchFolder scratch;
    std::string config = scratch / "config";
};

// Run after run: the file is written only when the data changed or SaveMode asks, and then
// replaced whole, with our kind and the mode the user gave it.
TEST_F(PrefsFileTest, SavesReplaceTheFileWholeOnlyWhenItChangedOrSaveModeAsks) {
    // The search stops at the free plain name: a file of ours under a number is ignored.
    Ours(kName + "_1", "001231000");
    EXPECT_EQ(RunProgram(), kDefaults);
    EXPECT_EQ(File(kName), "000001000");
    EXPECT_EQ(std::filesystem::status(Path(kName)).permissions(), Perms(0600));  // like the folder

    Age(Path(kName), 1000);
    const auto written = std::filesystem::last_write_time(Path(kName));
    EXPECT_EQ(RunProgram(), kDefaults);
    EXPECT_EQ(std::filesystem::last_write_time(Path(kName)), written);
    RunProgram([](ApplPreferences& prefs) { prefs.SetSaveMode(1); });
    EXPECT_NE(std::filesystem::last_write_time(Path(kName)), written);
    EXPECT_EQ(File(kName), "000001000");

    ::chmod(Path(kName).c_str(), 0640);
    RunWithNewRecord();
    EXPECT_EQ(File(kName), "000001456");
    EXPECT_EQ(std::filesystem::status(Path(kName)).permissions(), Perms(0640));  // the user's
    EXPECT_EQ(Attribute(Path(kName), "creator"), "QVLK");
    EXPECT_EQ(Attribute(Path(kName), "type"), "PREF");
    EXPECT_EQ(Names(config), (NameList{kName, kName + "_1"}));  // no shadow left behind
    EXPECT_EQ(File(kName + "_1"), "001231000");
}

// What a run makes of whatever is under the name, and what it saves after choosing sound B: in
// the same file, or under _1 when the file is too long to be ours (it is then never altered).
TEST_F(PrefsFileTest, FileContentsDecideTheData) {
    const std::string binary("00\0\xff\x80\r\n\x01\x02", 9);
    const std::string longest(ApplPreferences::kLongestFile - 2, '5');
    const std::tuple<const char*, std::string, std::string, std::string, std::string> cases[] = {
        // what, stored, restored, saved, saved under
        {"empty", "", "", "00000B000", kName},
        {"marker only", "00", "", "00000B000", kName},
        {"one data byte", "007", "7", "00700B000", kName},
        {"short data is completed", "0012", "12", "00120B000", kName},
        {"unmarked", "010001000", "", "00000B000", kName},
        {"unmarked, long", "XX" + std::string(5000, '7'), "", "00000B000", kName},
        {"line end is data", "000001000\r", "0001000\r", "00000B000\r", kName},
        {"binary bytes pass unchanged", binary, binary.substr(2),
         binary.substr(0, 5) + "B" + binary.substr(6), kName},
        {"longest", "00" + longest, longest, "00555B" + longest.substr(4), kName},
        {"a byte too long", "00" + longest + "5", "", "00000B000", kName + "_1"},
    };
    // Compared with EXPECT_TRUE, so that a failure does not print a MiB.
    for (const auto& [what, stored, restored, saved, savedUnder] : cases) {
        SCOPED_TRACE(what);
        Ours(kName, stored);
        ApplPreferences prefs(kName, "QVLK");
        prefs.Restore();
        EXPECT_TRUE(prefs.GetData() == restored);
        prefs.DefaultData(kDefaults);
        prefs.SetPartData("B", 4);
        prefs.Save();
        EXPECT_TRUE(File(savedUnder) == saved);
        EXPECT_TRUE(File(kName) == (savedUnder == kName ? saved : stored));
        EXPECT_EQ(Names(config),
                  (savedUnder == kName ? NameList{kName} : NameList{kName, kName + "_1"}));
    }
}

TEST_F(PrefsFileTest, ForeignItemsUnderTheNameAreSkippedAndKept) {
    WriteBytes(Path(kName), "somebody else's notes");
    WriteBytes(Path(kName + "_1"), "00999");
    SetKind(Path(kName + "_1"), "QVLK", "TEXT");
    ::mkdir(Path(kName + "_2").c_str(), 0700);

    EXPECT_EQ(RunProgram(), kDefaults);
    EXPECT_EQ(File(kName + "_3"), "000001000");
    EXPECT_EQ(File(kName), "somebody else's notes");
    EXPECT_EQ(File(kName + "_1"), "00999");

    // The next run finds its file under _3 again.
    EXPECT_EQ(RunProgram([](ApplPreferences& prefs) { prefs.SetPartData("C", 4); }), "000C000");
    EXPECT_EQ(File(kName + "_3"), "00000C000");
    EXPECT_EQ(Names(config).size(), 4u);
}

// Where no item can carry a kind, the contents alone must tell the game's own file, found again
// run after run, from another program's, which is never altered.
void PrefsFileTest::ExpectOnlySettingsFilesAreOurs() const {
    std::string noise = "00";
    for (int i = 0; noise.size() < 4096; ++i) {
        noise += static_cast<char>(i * 7919 % 251);
    }
    // What stands under the name, and what it holds after a save when it is ours: the game's own
    // file (digits, sound codes), with an editor's line end, cut short, or as long as a file we
    // read. Any other stays as it was: too short, another marker, text or random bytes after the
    // marker, too long, and a pipe.
    const std::pair<std::string, std::string> cases[] = {
        {"001231000", "001231456"},
        {"00999AZaz\r\n", "00999A456\r\n"},
        {"0012", "001201456"},
        {"00", ""},
        {"011231000", ""},
        {"00 notes", ""},
        {noise, ""},
        {"00" + std::string(ApplPreferences::kLongestFile - 2, '1'),
         "001111456" + std::string(ApplPreferences::kLongestFile - 9, '1')},
        {"00" + std::string(ApplPreferences::kLongestFile - 1, '1'), ""}};
    ::mkfifo(Path(kName).c_str(), 0600);  // a pipe can't be read: another's
    RunWithNewRecord();
    EXPECT_EQ(File(kName + "_1"), "000001456");
    EXPECT_TRUE(std::filesystem::is_fifo(Path(kName)));
    std::filesystem::remove(Path(kName));
    for (const auto& [stored, saved] : cases) {
        SCOPED_TRACE(stored.substr(0, 12));
        std::filesystem::remove(Path(kName + "_1"));
        WriteBytes(Path(kName), stored);
        RunWithNewRecord();
        const std::string ours = saved.empty() ? "000001456" : saved;
        EXPECT_EQ(File(saved.empty() ? kName + "_1" : kName), ours);
        EXPECT_TRUE(saved.empty() ? File(kName) == stored : Names(config).size() == 1)
            << "another's file altered, or ours passed over";
        EXPECT_EQ("00" + RunProgram(), ours);  // and ours is found again
    }
}

TEST_F(PrefsFileTest, WithoutAttributesOnlyASettingsFileIsOurs) {
    FolderItem::SimulateAttributeError(ENOTSUP);
    ExpectOnlySettingsFilesAreOurs();
}

TEST_F(PrefsFileTest, OnRamfsOnlyASettingsFileIsOurs) {
    if (!scratch.Mount("config", "ramfs", "mode=0700")) {
        GTEST_SKIP() << "can't mount a ramfs here (it takes root)";
    }
    ExpectOnlySettingsFilesAreOurs();
}

// A save that fails, on a disk too full for the new bytes or for their kind, keeps the old file
// with its kind and removes no leftover: a new file without our kind would be taken for another
// program's at the next start, and the records lost.
void PrefsFileTest::ExpectFailedSaveKeepsTheOldFile(const std::function<void()>& run) const {
    Ours(kName, "001231000");
    Ours(kName + "000001", "00123");
    Age(Path(kName + "000001"), 120);
    run();
    EXPECT_EQ(File(kName), "001231000");
    EXPECT_EQ(Attribute(Path(kName), "type"), "PREF");
    EXPECT_EQ(Names(config), (NameList{kName, kName + "000001"}));
}

TEST_F(PrefsFileTest, FullDiskOrAKindThatCantBeWrittenKeepsTheOldFile) {
    // Files may grow to 5 bytes: the shadow is cut short after the marker and three data bytes.
    ExpectFailedSaveKeepsTheOldFile([] { WithFileSizeLimit(5, [] { RunWithNewRecord(); }); });
    // One descriptor left: the shadow is made, but no stream can be had to write it.
    ExpectFailedSaveKeepsTheOldFile([] {
        const int lowestFree = ::open("/dev/null", O_RDONLY);
        ::close(lowestFree);
        rlimit saved{};
        ::getrlimit(RLIMIT_NOFILE, &saved);
        rlimit one = saved;
        one.rlim_cur = static_cast<rlim_t>(lowestFree) + 1;
        ::setrlimit(RLIMIT_NOFILE, &one);
        RunWithNewRecord();
        ::setrlimit(RLIMIT_NOFILE, &saved);
    });
    ExpectFailedSaveKeepsTheOldFile([] {
        FolderItem::SimulateAttributeError(ENOSPC);
        RunWithNewRecord();
    });
}

TEST_F(PrefsFileTest, FullTmpfsKeepsTheOldFile) {
    if (!scratch.Mount("config", "tmpfs", "size=1m,nr_inodes=8,mode=0700")) {
        GTEST_SKIP() << "can't mount a tmpfs here (it takes root)";
    }
    if (::setxattr(config.c_str(), "user.probe", "x", 1, 0) != 0) {
        GTEST_SKIP() << "tmpfs keeps no user attributes before Linux 6.6";
    }
    ExpectFailedSaveKeepsTheOldFile([this] {
        // Attributes take up the room for items, all but one file's: there is room for the shadow
        // but none for its kind.
        WriteBytes(Path("spare"), "");
        int i = 0;
        while (::setxattr(config.c_str(), ("user." + std::to_string(i++)).c_str(), "x", 1, 0) ==
               0) {
        }
        std::filesystem::remove(Path("spare"));
        RunWithNewRecord();
    });
}

// A file the user made read-only is saved run after run all the same, and stays read-only: its
// owner may not give attributes to such a file, so its mode is given last. Root is refused
// nothing, so as root the runs are made by an ordinary user who owns the files.
TEST_F(PrefsFileTest, ReadOnlyFileIsSavedAndKeepsItsMode) {
    GTEST_FLAG_SET(death_test_style, "fast");
    const auto twoRuns = [] {
        RunWithNewRecord();
        RunProgram([](ApplPreferences& prefs) { prefs.SetPartData("B", 4); });
    };
    for (const int mode : {0444, 0400}) {
        SCOPED_TRACE(mode);
        std::filesystem::remove(Path(kName));
        Ours(kName, "001231000");
        ::chmod(Path(kName).c_str(), static_cast<mode_t>(mode));
        if (::geteuid() != 0) {
            twoRuns();
        } else {
            ASSERT_TRUE(HandToNobody({scratch.Path(), config, Path(kName)}));
            EXPECT_EXIT(
                {
                    const bool dropped = BecomeNobody();
                    if (dropped) {
                        twoRuns();
                    }
                    std::_Exit(dropped ? 0 : 1);
                },
                testing::ExitedWithCode(0), "");
        }
        EXPECT_EQ(File(kName), "00123B456");
        EXPECT_EQ(FolderItem(Path(kName)).Permissions(), mode);
        EXPECT_EQ(Attribute(Path(kName), "type"), "PREF");
        EXPECT_EQ(Attribute(Path(kName), "creator"), "QVLK");
        EXPECT_EQ(Names(config), NameList{kName});
    }
}

// Settings kept elsewhere and linked in: the link's target is saved, and the link stays.
TEST_F(PrefsFileTest, SaveThroughALinkWritesItsTarget) {
    ::mkdir((scratch / "elsewhere").c_str(), 0700);
    WriteBytes(scratch / "elsewhere/real", "001231000");
    SetKind(scratch / "elsewhere/real", "QVLK", "PREF");
    ::symlink("../elsewhere/real", Path("link").c_str());
    ::symlink("link", Path(kName).c_str());

    RunWithNewRecord();
    EXPECT_EQ(ReadBytes(scratch / "elsewhere/real"), "001231456");
    EXPECT_EQ(Names(scratch / "elsewhere"), NameList{"real"});
    EXPECT_EQ(Names(config), (NameList{kName, "link"}));
    EXPECT_TRUE(std::filesystem::is_symlink(Path(kName)));
}

// Shadows left by interrupted saves: once a save has put its own file in place, it removes those
// that are provably ours (by kind, or where no item has one by contents) and untouched for a
// minute (another running copy may be writing one).
TEST_F(PrefsFileTest, OldLeftoversOfOursAreRemoved) {
    // After the name; with our kind; contents; age in s; removed by kind; removed by contents.
    const std::tuple<std::string, bool, const char*, int, bool, bool> cases[] = {
        {"000001", true, "001", 120, true, true},    {"000002", true, "001", 30, false, false},
        {"000003", false, "001", 120, false, true},  {"000004", true, "\x01\x02", 120, true, false},
        {"00005", true, "001", 120, false, false},   {"00000x", true, "001", 120, false, false},
        {"_1000001", true, "001", 120, false, false}};
    for (const bool byKind : {true, false}) {
        FolderItem::SimulateAttributeError(byKind ? 0 : ENOTSUP);
        Ours(kName, "001231000");
        for (const auto& [suffix, kind, bytes, age, removedByKind, removedByContents] : cases) {
            kind ? Ours(kName + suffix, bytes) : WriteBytes(Path(kName + suffix), bytes);
            Age(Path(kName + suffix), age);
        }
        RunWithNewRecord();
        EXPECT_EQ(File(kName), "001231456");
        for (const auto& [suffix, kind, bytes, age, removedByKind, removedByContents] : cases) {
            EXPECT_EQ(File(kName + suffix).has_value(),
                      !(byKind ? removedByKind : removedByContents))
                << suffix << (byKind ? " by kind" : " by contents");
        }
    }
}

// A save stopped between making its shadow and marking it leaves that shadow empty and unmarked;
// one stopped at its first data write leaves it empty and marked (where attributes are kept).
// Neither holds anything anyone could lose, and a save a minute later removes both.
TEST_F(PrefsFileTest, SavesStoppedEarlyLeaveLeftoversThatASaveAMinuteLaterRemoves) {
    GTEST_FLAG_SET(death_test_style, "fast");
    const std::string beforeTheMarks = Path(kName + "000001");
    const std::string atTheFirstWrite = Path(kName + "000002");
    const auto marks = [](const std::string& path) {
        return Attribute(path, "type") + Attribute(path, "creator");
    };
    for (const bool byKind : {true, false}) {
        SCOPED_TRACE(byKind ? "by kind" : "by contents");
        std::filesystem::remove_all(config);
        ::mkdir(config.c_str(), 0700);
        FolderItem::SimulateAttributeError(byKind ? 0 : ENOTSUP);
        Ours(kName, "001231000");
        for (const FileEvent stopAt : {FileEvent::Created, FileEvent::Writing}) {
            EXPECT_EXIT(
                {
                    SetFileEventObserver([stopAt](FileEvent event, const std::string&) {
                        if (event == stopAt) {
                            std::raise(SIGKILL);
                        }
                    });
                    RunWithNewRecord();
                    std::_Exit(0);
                },
                testing::KilledBySignal(SIGKILL), "");
        }
        EXPECT_EQ(File(kName), "001231000");
        EXPECT_EQ(ReadBytes(beforeTheMarks), "");
        EXPECT_EQ(marks(beforeTheMarks), "");
        EXPECT_EQ(ReadBytes(atTheFirstWrite), "");
        EXPECT_EQ(marks(atTheFirstWrite), byKind ? "PREFQVLK" : "");

        Age(beforeTheMarks, 60);
        Age(atTheFirstWrite, 60);
        RunWithNewRecord();
        EXPECT_EQ(File(kName), "001231456");
        EXPECT_EQ(Names(config), NameList{kName});
    }
}

TEST_F(PrefsFileTest, UnusablePreferencesFolderLosesNothing) {
    const auto play = [](ApplPreferences& prefs) { prefs.SetPartInteger(5, 1, 3); };
    WriteBytes(scratch / "plain-file", "x");
    ::setenv("XDG_CONFIG_HOME", (scratch / "plain-file/config").c_str(), 1);
    EXPECT_EQ(RunProgram(play), "0051000");
    EXPECT_EQ(ReadBytes(scratch / "plain-file"), "x");

    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    Ours(kName, "001231000");
    if (!ScratchFolder::SetWritable(config, false)) {
        GTEST_SKIP() << "cannot make a folder unwritable here";
    }
    EXPECT_EQ(RunProgram(play), "0051000");
    ScratchFolder::SetWritable(config, true);
    EXPECT_EQ(File(kName), "001231000");
    EXPECT_EQ(Names(config), NameList{kName});
}

// A process killed at any moment of a save leaves under the name either the whole old file or
// the whole new one, and the next run carries on from it.
TEST_F(PrefsFileTest, KilledSaveLeavesOldOrNewFileWhole) {
    GTEST_FLAG_SET(death_test_style, "fast");
    const std::tuple<const char*, bool, bool, FileEvent> cases[] = {
        // what, with an old file, exchange refused, kill at
        {"after the shadow is written", true, false, FileEvent::OutputClosed},
        {"after the exchange", true, false, FileEvent::Exchanged},
        {"before the shadow is deleted", true, false, FileEvent::Deleting},
        {"after the rename that replaces", true, true, FileEvent::Moved},
        {"first run, after the shadow is written", false, false, FileEvent::OutputClosed},
        {"first run, after the shadow is moved", false, false, FileEvent::Moved},
    };
    for (const auto& [what, hasOldFile, exchangeRefused, killAt] : cases) {
        SCOPED_TRACE(what);
        std::filesystem::remove_all(config);
        ::mkdir(config.c_str(), 0700);
        if (hasOldFile) {
            Ours(kName, "001231000");
        }
        EXPECT_EXIT(
            {
                SimulateExchangeRefused(exchangeRefused);
                SetFileEventObserver([&](FileEvent event, const std::string&) {
                    if (event == killAt) {
                        std::raise(SIGKILL);
                    }
                });
                RunWithNewRecord();
                std::_Exit(0);
            },
            testing::KilledBySignal(SIGKILL), "");

        // Whole old or whole new; with no old file, nothing is as good as the old.
        const std::string left = File(kName).value_or("");
        EXPECT_TRUE(hasOldFile ? left == "001231000" || left == "001231456"
                               : left.empty() || left == "000001456")
            << left;
        const std::string next =
            RunProgram([](ApplPreferences& prefs) { prefs.SetPartData("B", 4); });
        EXPECT_EQ(File(kName), "00" + next);
        EXPECT_EQ(next.substr(3, 1), "B");
    }
}
}  // namespace
