#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Picture.h"

namespace fs = std::filesystem;

// The pictures in resources/ are redrawn by a tool; these checks keep a redrawn picture from
// breaking the layouts the game draws them into.
namespace {
const fs::path kShipped = fs::path(TEMBROLO_SOURCE_DIR) / "resources";
constexpr std::uint32_t kSeeThrough = 0xFFFFFF;
constexpr int kDigitCells = 11;

PicturePtr Shipped(const std::string& name) {
    return Picture::Open((kShipped / name).string());
}

bool Shows(const PicturePtr& pic, int x, int y) {
    return pic->PixelAt(x, y) != kSeeThrough;
}

// The topmost drawn pixel of a frame's column must be the rod's tip at (15, 12).
void ExpectRodTip(const PicturePtr& pic, int frameLeft, const std::string& what) {
    EXPECT_TRUE(Shows(pic, frameLeft + 15, 12)) << what;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_FALSE(Shows(pic, frameLeft + x, y)) << what << " above its tip at " << x;
        }
    }
}

struct Wav {
    std::uint32_t format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<std::int16_t> samples;
};

// Reads the "fmt " and "data" chunks of a RIFF WAVE file as our tools write it: one of each.
Wav ReadWav(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const auto number = [&bytes](size_t at, size_t width) {  // little-endian, as RIFF keeps it
        std::uint32_t value = 0;
        for (size_t i = width; i-- > 0;) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    Wav wav;
    const size_t fmt = bytes.find("fmt ");
    const size_t data = bytes.find("data");
    if (bytes.compare(0, 4, "RIFF") != 0 || fmt == std::string::npos || data == std::string::npos) {
        return wav;
    }
    wav.format = number(fmt + 8, 2);
    wav.channels = number(fmt + 10, 2);
    wav.rate = number(fmt + 12, 4);
    wav.bits = number(fmt + 22, 2);
    wav.samples.resize(std::min<size_t>(number(data + 4, 4), bytes.size() - data - 8) / 2);
    for (size_t i = 0; i < wav.samples.size(); ++i) {
        wav.samples[i] = static_cast<std::int16_t>(number(data + 8 + 2 * i, 2));
    }
    return wav;
}

double Seconds(const Wav& wav) {
    return static_cast<double>(wav.samples.size()) / wav.channels / wav.rate;
}
}  // namespace

TEST(ShippedResourcesTest, TheSpriteStripsHaveTheirFrameSizes) {
    const struct {
        const char* file;
        int width, height;
    } strips[] = {{"TargetsPict.png", 256, 64},        {"RaijinPict.png", 64, 16},
                  {"MessagePict.png", 164, 66},        {"FortuneTargetsPict.png", 64, 64},
                  {"FortuneResultPict.png", 200, 100}, {"IconPict.png", 32, 32},
                  {"QuillmoorPict.png", 32, 32}};
    for (const auto& [file, width, height] : strips) {
        const PicturePtr pic = Shipped(file);
        ASSERT_NE(pic, nullptr) << file;
        EXPECT_EQ(pic->Width(), width) << file;
        EXPECT_EQ(pic->Height(), height) << file;
    }
    const PicturePtr badge = Shipped("TargetSystemPict.png");
    ASSERT_NE(badge, nullptr);
    EXPECT_EQ(badge->Width(), 16);
    EXPECT_GE(badge->Height(), 40);  // the badge is its 16 x 8 band at (0, 32)
}

TEST(ShippedResourcesTest, ThreeDigitsFitBeforeTheNextLabelAndLabelsEndBeforeTheirCounters) {
    const PicturePtr digits = Shipped("DigitPict.png");
    ASSERT_NE(digits, nullptr);
    const int cellWidth = digits->Width();
    const int cellHeight = digits->Height() / kDigitCells;
    EXPECT_EQ(digits->Height() % kDigitCells, 0);
    EXPECT_LE(268 + 3 * cellWidth, 320);  // remaining time, then the score label
    EXPECT_LE(354 + 3 * cellWidth, 400);  // score, then the record label
    EXPECT_LE(434 + 3 * cellWidth, 500);  // record, then the window's edge
    EXPECT_GE(cellHeight, 10);
    EXPECT_LE(cellHeight, 22);

    const struct {
        const char* file;
        int left, counterLeft;
    } labels[] = {{"Label0Pict.png", 40, 210},
                  {"Label1Pict.png", 210, 268},
                  {"Label2Pict.png", 320, 354},
                  {"Label3Pict.png", 400, 434}};
    for (const auto& [file, left, counterLeft] : labels) {
        const PicturePtr label = Shipped(file);
        ASSERT_NE(label, nullptr) << file;
        EXPECT_LT(left + label->Width(), counterLeft) << file;
        EXPECT_LE(std::abs(label->Height() - cellHeight), 4) << file;
    }
}

TEST(ShippedResourcesTest, BoltsMeetTheSpritesWhereTheGameAimsThem) {
    const PicturePtr targets = Shipped("TargetsPict.png");
    ASSERT_NE(targets, nullptr);
    ExpectRodTip(targets, 0, "the rod");
    for (int frame = 1; frame <= 7; ++frame) {
        EXPECT_TRUE(Shows(targets, frame * 32 + 15, 48)) << "runner frame " << frame;
    }
    const PicturePtr fortune = Shipped("FortuneTargetsPict.png");
    ASSERT_NE(fortune, nullptr);
    ExpectRodTip(fortune, 0, "the left fortune rod");
    ExpectRodTip(fortune, 32, "the right fortune rod");

    const PicturePtr raijin = Shipped("RaijinPict.png");
    ASSERT_NE(raijin, nullptr);
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_TRUE(Shows(raijin, frame * 32 + 15, 15)) << "god frame " << frame;
        EXPECT_TRUE(Shows(raijin, frame * 32 + 16, 15)) << "god frame " << frame;
    }
}

TEST(ShippedResourcesTest, EveryMessageRowAndEveryStruckFrameIsDrawnAndDistinct) {
    const PicturePtr messages = Shipped("MessagePict.png");
    ASSERT_NE(messages, nullptr);
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(Shows(messages, 82, row * 22 + 11)) << "message row " << row;
    }
    const PicturePtr targets = Shipped("TargetsPict.png");
    int differing = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 32; ++x) {
            differing += targets->PixelAt(6 * 32 + x, y) != targets->PixelAt(7 * 32 + x, y);
        }
    }
    EXPECT_GT(differing, 100) << "the two struck frames look alike";
}

TEST(ShippedResourcesTest, TheSoundsAre16BitPcmOfSensibleLengths) {
    const struct {
        const char* file;
        double longest;
    } sounds[] = {{"SilenceSnd.wav", 0.5},
                  {"SoundVolSnd.wav", 1.0},
                  {"LightningSnd.wav", 2.0},
                  {"OpenSnd.wav", 3.0},
                  {"EndSnd.wav", 4.0}};
    for (const auto& [file, longest] : sounds) {
        const Wav wav = ReadWav(kShipped / file);
        EXPECT_EQ(wav.format, 1) << file;
        EXPECT_EQ(wav.bits, 16) << file;
        ASSERT_GT(wav.channels, 0) << file;
        ASSERT_GT(wav.rate, 0u) << file;
        EXPECT_GT(Seconds(wav), 0.02) << file;
        EXPECT_LE(Seconds(wav), longest) << file;
    }
    for (std::int16_t s : ReadWav(kShipped / "SilenceSnd.wav").samples) {
        ASSERT_EQ(s, 0) << "the filler must be silent";
    }
}
