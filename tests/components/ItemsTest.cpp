#include <gtest/gtest.h>

#include <QImage>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "PictureItems.h"
#include "ResourcesFolder.h"
#include "ScratchFolder.h"
#include "SoundItems.h"

namespace fs = std::filesystem;

namespace {
const fs::path kShipped = fs::path(TEMBROLO_SOURCE_DIR) / "resources";

// An empty resources folder of the test's own.
class ItemsTest : public testing::Test {
protected:
    void SetUp() override { SetResourcesFolder(folder.Path()); }
    void Ship(const std::string& file) { fs::copy_file(kShipped / file, folder / file); }

    ScratchFolder folder;
};
}  // namespace

// Without a resources folder or without the file, a picture is looked for again at every call.
TEST_F(ItemsTest, AMissingPictureIsPickedUpOnceAddedAndThenKept) {
    SetResourcesFolder(std::nullopt);
    EXPECT_EQ(TargetsPict(), nullptr);
    SetResourcesFolder(folder.Path());
    EXPECT_EQ(TargetsPict(), nullptr);

    Ship("TargetsPict.png");
    const PicturePtr first = TargetsPict();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Transparent, 1);
    fs::remove(folder / "TargetsPict.png");
    EXPECT_EQ(TargetsPict(), first);  // the very same object, without looking again
    ReleasePictureItems();
    EXPECT_EQ(TargetsPict(), nullptr);
}

// What this process has read from files so far (bytes), by the kernel's count.
std::int64_t BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value && key != "rchar:") {
    }
    return value;
}

// Writes `bytes` over a file and sets its modification time back, once the clock has moved on from
// its status-change time: only that time tells the new bytes.
void OverwriteKeepingTheTime(const std::string& path, const std::string& bytes) {
    struct stat before {};
    struct stat after {};
    ::stat(path.c_str(), &before);
    do {
        WriteBytes(path, bytes);
        const timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        ::stat(path.c_str(), &after);
    } while (after.st_ctim.tv_sec == before.st_ctim.tv_sec &&
             after.st_ctim.tv_nsec == before.st_ctim.tv_nsec);
}

// A file that is there but is no picture is told once, and not read again, every frame, until it
// changes in any way: even the right bytes written into it with its size and modification time
// kept are seen. A file too long to be a picture is judged by its size, unread.
TEST_F(ItemsTest, ABrokenPictureIsToldOnceAndReadAgainOnlyOnceItsFileChanges) {
    const std::string path = folder / "TargetsPict.png";
    const std::string png = ReadBytes((kShipped / "TargetsPict.png").string()).value();
    const std::string told =
        "tembrolo: " + path + " is no picture the game can read; drawing without it\n";
    constexpr std::int64_t kSlack = 64 * 1024;  // what else the process reads meanwhile
    constexpr std::int64_t kLongest = Picture::kMaxFileBytes;
    // Junk of the longest size a picture may have is read once, whole; longer junk not at all.
    const struct {
        std::int64_t size, readAtLeast, readAtMost;
    } junk[] = {{kLongest, kLongest, kLongest + kSlack}, {kLongest + 1, 0, kSlack}};
    for (const auto& [size, readAtLeast, readAtMost] : junk) {
        WriteBytes(path, "x");
        fs::resize_file(path, static_cast<std::uintmax_t>(size));  // sparse: no disk taken
        testing::internal::CaptureStderr();
        const std::int64_t before = BytesRead();
        EXPECT_EQ((std::array{TargetsPict(), TargetsPict(), TargetsPict()}),
                  (std::array<PicturePtr, 3>{}));
        const std::int64_t read = BytesRead() - before;
        EXPECT_GE(read, readAtLeast) << size;
        EXPECT_LE(read, readAtMost) << size;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), told) << size;
    }

    WriteBytes(path, std::string(png.size(), 'x'));
    testing::internal::CaptureStderr();
    EXPECT_EQ(TargetsPict(), nullptr);
    OverwriteKeepingTheTime(path, png);
    const PicturePtr fixed = TargetsPict();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->Transparent, 1);

    // Let go, as at the next start, the items forget failures too: the same junk is told again.
    WriteBytes(path, std::string(png.size(), 'x'));
    ReleasePictureItems();
    EXPECT_EQ(TargetsPict(), nullptr);
    ReleasePictureItems();
    EXPECT_EQ(TargetsPict(), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), told + told + told);
}

// A picture that can't be read for now (by its permissions; or no descriptor free) is told once,
// tried at every call, and drawn as soon as it can be read. Root reads anything, so as root an
// ordinary user who owns the file makes the calls.
TEST_F(ItemsTest, APictureMadeReadableIsPickedUpAtTheNextCall) {
    GTEST_FLAG_SET(death_test_style, "fast");
    const std::string path = folder / "TargetsPict.png";
    const std::string log = folder / "stderr.log";
    Ship("TargetsPict.png");
    ::chmod(path.c_str(), 0);
    if (::geteuid() == 0) {
        ASSERT_TRUE(HandToNobody({folder.Path(), path}));
    }
    EXPECT_EXIT(
        {
            ::dup2(::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
            const bool ordinary = ::geteuid() != 0 || BecomeNobody();
            const bool unread = ordinary && TargetsPict() == nullptr && TargetsPict() == nullptr;
            ::chmod(path.c_str(), 0644);
            std::_Exit(unread && TargetsPict() != nullptr ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(log),
              "tembrolo: " + path + " is no picture the game can read; drawing without it\n");
}

// A sound is looked for once: missing then, by folder or by file, it stays nothing for the run.
TEST_F(ItemsTest, ASoundMissingAtItsFirstCallStaysSilentForTheRun) {
    SetResourcesFolder(std::nullopt);
    EXPECT_EQ(OpenSnd(), nullptr);
    SetResourcesFolder(folder.Path());
    Ship("OpenSnd.wav");
    Ship("EndSnd.wav");
    EXPECT_EQ(OpenSnd(), nullptr);
    EXPECT_EQ(SilenceSnd(), nullptr);
    Ship("SilenceSnd.wav");
    EXPECT_EQ(SilenceSnd(), nullptr);

    const SoundPtr gong = EndSnd();
    ASSERT_NE(gong, nullptr);
    EXPECT_EQ(EndSnd(), gong);
    fs::remove(folder / "EndSnd.wav");
    EXPECT_EQ(EndSnd(), gong);
    ResetSoundItems();  // as at the next start
    EXPECT_NE(SilenceSnd(), nullptr);
    SetResourcesFolder(std::nullopt);
    EXPECT_EQ(EndSnd(), nullptr);  // nothing of the run before is kept
}

TEST(ShippedItemsTest, EveryItemLoadsAndOnlyTheFourSpritesSeeThroughWhite) {
    SetResourcesFolder(kShipped.string());
    const struct {
        const char* name;
        std::function<PicturePtr()> item;
        int transparent;
    } pictures[] = {
        {"QuillmoorPict", QuillmoorPict, 0},
        {"TargetSystemPict", TargetSystemPict, 0},
        {"IconPict", IconPict, 0},
        {"DigitPict", DigitPict, 0},
        {"RaijinPict", RaijinPict, 1},
        {"TargetsPict", TargetsPict, 1},
        {"Label0Pict", Label0Pict, 0},
        {"Label1Pict", Label1Pict, 0},
        {"Label2Pict", Label2Pict, 0},
        {"Label3Pict", Label3Pict, 0},
        {"MessagePict", MessagePict, 1},
        {"FortuneTargetsPict", FortuneTargetsPict, 1},
        {"FortuneResultPict", FortuneResultPict, 0},
    };
    for (const auto& [name, item, transparent] : pictures) {
        const PicturePtr pic = item();
        ASSERT_NE(pic, nullptr) << name;
        EXPECT_TRUE(pic->Image() == Picture::Open((kShipped / name).string() + ".png")->Image())
            << name << " is not its own file";
        EXPECT_EQ(pic->Transparent, transparent) << name;
        EXPECT_EQ(item(), pic) << name;
    }
    std::vector<std::string> sounds;  // each named after its own file
    for (const auto& item : {SilenceSnd, SoundVolSnd, LightningSnd, OpenSnd, EndSnd}) {
        ASSERT_NE(item(), nullptr);
        sounds.push_back(item()->Name());
    }
    EXPECT_EQ(sounds, (std::vector<std::string>{"SilenceSnd", "SoundVolSnd", "LightningSnd",
                                                "OpenSnd", "EndSnd"}));
}
