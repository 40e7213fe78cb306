#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <chrono>
#include <filesystem>
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

// A file that is there but is no picture is told once, and not read again, every frame, until it
// changes: even the right bytes written into it go unseen while its size and time stay the same.
TEST_F(ItemsTest, ABrokenPictureIsToldOnceAndReadAgainOnlyOnceItsFileChanges) {
    const std::string path = folder / "TargetsPict.png";
    const std::string png = ReadBytes((kShipped / "TargetsPict.png").string()).value();
    const auto then = fs::file_time_type::clock::now() - std::chrono::seconds(100);
    WriteBytes(path, std::string(png.size(), 'x'));
    fs::last_write_time(path, then);
    testing::internal::CaptureStderr();
    EXPECT_EQ((std::array{TargetsPict(), TargetsPict(), TargetsPict()}),
              (std::array<PicturePtr, 3>{}));
    const std::string told = testing::internal::GetCapturedStderr();
    const std::string line =
        "tembrolo: " + path + " is no picture the game can read; drawing without it\n";
    EXPECT_NE(told.find(line), std::string::npos) << told;
    EXPECT_EQ(told.find("tembrolo:", told.find(line) + 1), std::string::npos) << told;

    WriteBytes(path, png);
    fs::last_write_time(path, then);
    EXPECT_EQ(TargetsPict(), nullptr);
    fs::last_write_time(path, then + std::chrono::seconds(1));
    const PicturePtr fixed = TargetsPict();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->Transparent, 1);

    // Let go, as at the next start, the items forget failures too.
    WriteBytes(path, std::string(png.size(), 'x'));
    fs::last_write_time(path, then);
    ReleasePictureItems();
    EXPECT_EQ(TargetsPict(), nullptr);
    WriteBytes(path, png);
    fs::last_write_time(path, then);
    ReleasePictureItems();
    EXPECT_NE(TargetsPict(), nullptr);
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
