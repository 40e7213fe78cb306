// Draws the 13 pictures and synthesises the 5 sounds that ship in resources/.
// Usage: make_resources <output folder>

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "FortuneCards.h"
#include "IconPictures.h"
#include "SoundSynthesis.h"
#include "SpritePictures.h"
#include "TextPictures.h"

namespace {
bool LoadJapaneseFont() {
    const QStringList candidates = {"/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc",
                                    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"};
    bool any = false;
    for (const QString& path : candidates) {
        any = QFontDatabase::addApplicationFont(path) >= 0 || any;
    }
    return any && QFontDatabase::hasFamily("Noto Sans CJK JP");
}

bool WritePictures(const QDir& folder) {
    const std::vector<std::pair<const char*, std::function<QImage()>>> pictures = {
        {"QuillmoorPict", IconPictures::Quillmoor},
        {"TargetSystemPict", IconPictures::TargetSystem},
        {"IconPict", IconPictures::Icon},
        {"DigitPict", TextPictures::Digits},
        {"RaijinPict", SpritePictures::Raijin},
        {"TargetsPict", SpritePictures::Targets},
        {"Label0Pict", [] { return TextPictures::Label(0); }},
        {"Label1Pict", [] { return TextPictures::Label(1); }},
        {"Label2Pict", [] { return TextPictures::Label(2); }},
        {"Label3Pict", [] { return TextPictures::Label(3); }},
        {"MessagePict", TextPictures::Messages},
        {"FortuneTargetsPict", SpritePictures::FortuneTargets},
        {"FortuneResultPict", FortuneCards::Results},
    };
    for (const auto& [name, draw] : pictures) {
        // Saved without alpha: the game treats pure white, not alpha, as see-through.
        const QImage image = draw().convertToFormat(QImage::Format_RGB888);
        if (!image.save(folder.filePath(QString(name) + ".png"), "PNG")) {
            std::fprintf(stderr, "make_resources: cannot write %s.png\n", name);
            return false;
        }
    }
    return true;
}

bool WriteSounds(const QDir& folder) {
    using namespace SoundSynthesis;
    const std::vector<std::pair<const char*, std::function<Samples()>>> sounds = {
        {"SilenceSnd", Silence},
        {"SoundVolSnd", VolumeChime},
        {"LightningSnd", Thunderclap},
        {"OpenSnd", DrumRoll},
        {"EndSnd", Gong},
    };
    for (const auto& [name, synthesise] : sounds) {
        const QString path = folder.filePath(QString(name) + ".wav");
        if (!WriteWav(path.toStdString(), synthesise())) {
            std::fprintf(stderr, "make_resources: cannot write %s.wav\n", name);
            return false;
        }
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_resources <output folder>\n");
        return 2;
    }
    if (!LoadJapaneseFont()) {
        std::fprintf(stderr, "make_resources: Noto Sans CJK JP not found (fonts-noto-cjk)\n");
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "make_resources: cannot make %s\n", argv[1]);
        return 1;
    }
    return WritePictures(folder) && WriteSounds(folder) ? 0 : 1;
}
