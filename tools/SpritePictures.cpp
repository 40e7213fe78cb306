#include "SpritePictures.h"

#include <QPainter>

#include "PixelArt.h"

using PixelArt::Mirror;
using PixelArt::Palette;
using PixelArt::Rows;

namespace {
constexpr int kFrame = 32;
constexpr int kRunnerLeft = 8;  // the runner's 16-column art sits at x 8..23 of its frame

// ---- the lightning rod -------------------------------------------------------------------

struct RodColours {
    QRgb tip, tipShade, light, mid, dark, baseTop, base, baseShade;
};

constexpr RodColours kSteelRod = {0xFFFFE680, 0xFFD8A830, 0xFFD0D8E8, 0xFF98A0B8,
                                  0xFF586078, 0xFFB8B0A8, 0xFF8C8478, 0xFF5C564E};

void Fill(QImage& image, int x, int y, int w, int h, QRgb colour) {
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            image.setPixel(col, row, colour);
        }
    }
}

// A rod whose needle ends in a single pixel at (left + 15, 12), standing on a stone at the
// frame's bottom (the ground starts right below the frame).
void DrawRod(QImage& image, int left, const RodColours& c) {
    Fill(image, left + 15, 12, 1, 4, c.tip);
    Fill(image, left + 14, 16, 3, 2, c.tipShade);
    Fill(image, left + 15, 16, 1, 2, c.tip);
    Fill(image, left + 13, 18, 5, 3, c.tipShade);  // the ball under the needle
    Fill(image, left + 14, 18, 2, 2, c.tip);
    Fill(image, left + 14, 21, 1, 36, c.light);
    Fill(image, left + 15, 21, 1, 36, c.mid);
    Fill(image, left + 16, 21, 1, 36, c.dark);
    for (int ring : {30, 44}) {  // insulators
        Fill(image, left + 12, ring, 7, 2, c.light);
        Fill(image, left + 12, ring + 2, 7, 1, c.dark);
    }
    Fill(image, left + 10, 57, 11, 2, c.baseTop);
    Fill(image, left + 8, 59, 15, 4, c.base);
    Fill(image, left + 8, 63, 15, 1, c.baseShade);
}

// A pennant tied to the pole below the needle, pointing right.
void DrawPennant(QImage& image, int left, QRgb colour, QRgb shade) {
    for (int i = 0; i < 9; ++i) {
        const int half = 4 - i / 2;
        Fill(image, left + 17 + i, 26 - half, 1, 2 * half + 1, i % 3 == 2 ? shade : colour);
    }
}

// ---- the runner --------------------------------------------------------------------------

const Palette& RunnerPalette() {
    static const Palette palette = {{'k', 0xFF1C1C30}, {'Y', 0xFFFFD23F}, {'y', 0xFFD49A1A},
                                    {'h', 0xFFFFF3A0}, {'s', 0xFFFFD2A8}, {'c', 0xFFFF9A8A},
                                    {'m', 0xFFB04040}, {'e', 0xFF202030}, {'H', 0xFF6A3A1A},
                                    {'t', 0xFF8890B0}, {'r', 0xFFD83C3C}, {'R', 0xFF8C2020}};
    return palette;
}

// The struck frames: the same figure, lit up by the bolt, then burnt.
const Palette& FlashPalette() {
    static const Palette palette = {{'k', 0xFFFFFF50}, {'Y', 0xFF70E0FF}, {'y', 0xFF40B0F0},
                                    {'h', 0xFFC0F8FF}, {'s', 0xFFF0F0FF}, {'c', 0xFFF0F0FF},
                                    {'m', 0xFF2040A0}, {'e', 0xFF2040A0}, {'H', 0xFFFFFF50},
                                    {'t', 0xFF70E0FF}, {'r', 0xFF40B0F0}, {'R', 0xFF2080D0}};
    return palette;
}

const Palette& CharredPalette() {
    static const Palette palette = {{'k', 0xFF101014}, {'Y', 0xFF5A5A60}, {'y', 0xFF3C3C44},
                                    {'h', 0xFF78787E}, {'s', 0xFF48484E}, {'c', 0xFF48484E},
                                    {'m', 0xFFE8E8EC}, {'e', 0xFFF0F0F0}, {'H', 0xFF28282C},
                                    {'t', 0xFF404048}, {'r', 0xFF50484C}, {'R', 0xFF302C30}};
    return palette;
}

const Rows kHeadFront = {
    "......kkkk......",  // y 30
    "....kkYYYYkk....",  //
    "...kYhhYYYYYk...",  //
    "..kYhYYYYYYYYk..",  //
    ".kyyyyyyyyyyyyk.",  // the hat's brim
    "..kHHssssssHHk..",  // y 35
    "..kHsessssesHk..",  //
    "..kssssssssssk..",  //
    "..kscssmmsscsk..",  //
    "...kksssssskk...",  // y 39
};

const Rows kHeadRight = {
    "......kkkk......",  // y 30
    "....kkYYYYkk....",  //
    "...kYhhYYYYYk...",  //
    "..kYhYYYYYYYYk..",  //
    ".kyyyyyyyyyyyyyk",  // the brim reaches forward
    "..kHHHHssssssk..",  // y 35
    "..kHHHsssesseck.",  //
    "..kHHssssssssssk",  //
    "..kHHsssssscmsk.",  //
    "...kkksssssskk..",  // y 39
};

const Rows kBody = {
    "....kyYYYYyk....",  // y 40
    "...kYYYYYYYYk...",  //
    "..kYkYYYYYYkYk..",  //
    "..kYkYYYyYYkYk..",  //
    "..kYkYYYYYYkYk..",  //
    "..kYkYYYyYYkYk..",  // y 45
    "..kYkYYYYYYkYk..",  //
    "..kYkYYYyYYkYk..",  //
    "..kykYYYYYYkyk..",  //
    "..kskYYYyYYksk..",  //
    "..kkkyYYYYykkk..",  // y 50
    "....kyyyyyyk....",  //
};

// Arms thrown up, for the strike.
const Rows kBodyArmsUp = {
    ".ks..kyYYYYyk..sk",  // y 40
    ".kYk.kYYYYYYk.kYk",  //
    "..kYkYYYYYYYYkYk.",  //
    "...kYYYYYYYYYYk..",  //
    "....kYYYYYYYYk...",  //
    "....kYYYyYYYYk...",  // y 45
    "....kYYYYYYYYk...",  //
    "....kYYYyYYYYk...",  //
    "....kYYYYYYYYk...",  //
    "....kYYYyYYYYk...",  //
    "....kyYYYYYYyk...",  // y 50
    ".....kyyyyyyk....",  //
};

const Rows kLegsStanding = {
    "....kttkkttk....",  // y 52
    "....kttkkttk....",  //
    "....kttkkttk....",  //
    "....kttkkttk....",  // y 55
    "....krrkkrrk....",  //
    "....krrkkrrk....",  //
    "....krrkkrrk....",  //
    "....krrkkrrk....",  //
    "....krrkkrrk....",  // y 60
    "...krrrkkrrrk...",  //
    "...kRRRkkRRRk...",  //
    "...kkkkk.kkkk...",  // y 63
};

const Rows kLegsApart = {
    "....kttkkttk....",  // y 52
    "...kttk..kttk...",  //
    "...kttk..kttk...",  //
    "..kttk....kttk..",  // y 55
    "..krrk....krrk..",  //
    "..krrk....krrk..",  //
    "..krrk....krrk..",  //
    "..krrk....krrk..",  //
    "..krrk....krrk..",  // y 60
    "..krrrk...krrrk.",  //
    "..kRRRk...kRRRk.",  //
    "..kkkkk...kkkkk.",  // y 63
};

const Rows kLegsTogether = {
    ".....kttttk.....",  // y 52
    ".....kttttk.....",  //
    ".....kttttk.....",  //
    ".....kttttk.....",  // y 55
    ".....krrrrk.....",  //
    ".....krrrrk.....",  //
    ".....krrrrk.....",  //
    ".....krrrrk.....",  //
    ".....krrrrk.....",  // y 60
    ".....krrrrrk....",  //
    ".....kRRRRRk....",  //
    ".....kkkkkkk....",  // y 63
};

struct Pose {
    const Rows& head;
    const Rows& body;
    const Rows& legs;
};

void DrawRunner(QImage& image, int frame, const Pose& pose, const Palette& palette, Mirror mirror) {
    const int left = frame * kFrame + kRunnerLeft;
    PixelArt::Stamp(image, left, 30, pose.head, palette, mirror);
    const int bodyLeft = pose.body.front().size() > 16 ? left - 1 : left;
    PixelArt::Stamp(image, bodyLeft, 40, pose.body, palette, mirror);
    PixelArt::Stamp(image, left, 52, pose.legs, palette, mirror);
}

// Sparks around the lit-up figure.
void DrawSparks(QImage& image, int frame) {
    const Rows spark = {"y.", ".y", "y.", ".y"};
    const Palette palette = {{'y', 0xFFFFFF60}};
    const int left = frame * kFrame;
    for (auto [x, y] : {std::pair{3, 36}, {27, 38}, {2, 50}, {28, 52}, {6, 25}, {24, 26}}) {
        PixelArt::Stamp(image, left + x, y, spark, palette);
    }
}

// Smoke rising from the burnt figure.
void DrawSmoke(QImage& image, int frame) {
    const Rows puff = {".gg.", "gGGg", "gGGg", ".gg."};
    const Palette palette = {{'g', 0xFF9090A0}, {'G', 0xFFC8C8D4}};
    const int left = frame * kFrame;
    for (auto [x, y] : {std::pair{12, 24}, {17, 19}, {13, 13}, {18, 8}}) {
        PixelArt::Stamp(image, left + x, y, puff, palette);
    }
}

void DrawAllRunnerFrames(QImage& image) {
    const Pose standing{kHeadFront, kBody, kLegsStanding};
    const Pose stepping{kHeadRight, kBody, kLegsApart};
    const Pose passing{kHeadRight, kBody, kLegsTogether};
    const Pose struck{kHeadFront, kBodyArmsUp, kLegsApart};
    DrawRunner(image, 1, standing, RunnerPalette(), Mirror::No);
    DrawRunner(image, 2, stepping, RunnerPalette(), Mirror::No);
    DrawRunner(image, 3, passing, RunnerPalette(), Mirror::No);
    DrawRunner(image, 4, stepping, RunnerPalette(), Mirror::Yes);
    DrawRunner(image, 5, passing, RunnerPalette(), Mirror::Yes);
    DrawRunner(image, 6, struck, FlashPalette(), Mirror::No);
    DrawSparks(image, 6);
    DrawRunner(image, 7, standing, CharredPalette(), Mirror::No);
    DrawSmoke(image, 7);
}

// ---- the thunder god ---------------------------------------------------------------------

const Palette& RaijinPalette() {
    static const Palette palette = {{'k', 0xFF0C1C10}, {'G', 0xFF4CC060}, {'q', 0xFF2E8840},
                                    {'H', 0xFFE85A28}, {'e', 0xFFFFF040}, {'m', 0xFFA01010},
                                    {'n', 0xFFF8E8B0}, {'T', 0xFFE0902A}, {'d', 0xFFF8D870},
                                    {'w', 0xFFE4E4F4}, {'g', 0xFFA0A0CC}, {'p', 0xFFF0C020},
                                    {'S', 0xFFC89858}, {'r', 0xFFB87838}};
    return palette;
}

// The left half; the right half is its mirror image.
const Rows kRaijinHalf = {
    "...........n....",  // y 0
    "..kkk.......n...",  //
    ".kTTTk.....kkkkk",  //
    ".kTddk....kHHHHH",  //
    ".kTTTk...kHHGGGG",  //
    "..kkk....kHGeGGG",  // y 5
    "...r......kGGGGm",  //
    "....r......kqGGG",  //
    ".....r...kkGGGGG",  //
    "......rrGGGGpppp",  //
    "..gwwwwwwwwwwwww",  // y 10
    ".gwwwgwwwwwwwwww",  //
    "gwwwwwwwwwwwgwww",  //
    "gwwwwwwwwwwwwwww",  //
    ".ggwwwwwwwgwwwww",  //
    "...gggggwwwwwwww",  // y 15
};

// Frame 0: the left arm raised with its drumstick, the right one resting.
const Rows kRaijinArms = {
    "................................",  // y 0
    "................................",  //
    "................................",  //
    "......S.........................",  //
    ".......S........................",  //
    "........GG......................",  // y 5
    ".........Gk.....................",  //
    "..........G.....................",  //
    "....................qGG.........",  //
    "......................GS........",  //
};

QImage RaijinFrame() {
    QImage frame = PixelArt::Layer(kFrame, 16);
    PixelArt::Stamp(frame, 0, 0, kRaijinHalf, RaijinPalette());
    PixelArt::Stamp(frame, 16, 0, kRaijinHalf, RaijinPalette(), Mirror::Yes);
    PixelArt::Stamp(frame, 0, 0, kRaijinArms, RaijinPalette());
    return frame;
}
}  // namespace

namespace SpritePictures {

QImage Targets() {
    QImage layer = PixelArt::Layer(8 * kFrame, 64);
    DrawRod(layer, 0, kSteelRod);
    DrawAllRunnerFrames(layer);
    return PixelArt::FlattenOnWhite(layer);
}

QImage Raijin() {
    const QImage frame = RaijinFrame();
    QImage layer = PixelArt::Layer(2 * kFrame, 16);
    QPainter painter(&layer);
    painter.drawImage(0, 0, frame);
    // The second frame drums with the other arm.
    painter.drawImage(kFrame, 0, frame.mirrored(true, false));
    painter.end();
    return PixelArt::FlattenOnWhite(layer);
}

QImage FortuneTargets() {
    constexpr RodColours kVermilionRod = {0xFFFFE680, 0xFFD8A830, 0xFFFF8060, 0xFFD83A2A,
                                          0xFF901C14, 0xFFC8B8A0, 0xFF9C8C74, 0xFF6C604E};
    constexpr RodColours kIndigoRod = {0xFFE8F0FF, 0xFF98A8C8, 0xFFB8A8FF, 0xFF7A5AE0,
                                       0xFF42308C, 0xFFA8B0B8, 0xFF78808C, 0xFF4C5460};
    QImage layer = PixelArt::Layer(2 * kFrame, 64);
    DrawRod(layer, 0, kVermilionRod);
    DrawPennant(layer, 0, 0xFFFFD040, 0xFFE0A020);
    DrawRod(layer, kFrame, kIndigoRod);
    DrawPennant(layer, kFrame, 0xFF60E0D0, 0xFF30A8A0);
    return PixelArt::FlattenOnWhite(layer);
}

}  // namespace SpritePictures
