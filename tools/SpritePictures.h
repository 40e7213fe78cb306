#pragma once

#include <QImage>

// The transparent sprite strips: pure white is see-through when the game draws them.
namespace SpritePictures {

// 256 x 64: frame 0 the lightning rod (tip at (15, 12)), frames 1-7 the runner: standing,
// walking right (2), walking left (2), struck (2). The runner is hit at (15, 48) of its frame.
QImage Targets();
// 64 x 16: the thunder god on his cloud, two frames; bolts leave from (15..16, 15).
QImage Raijin();
// 64 x 64: the fortune's left and right rods, tips at (15, 12).
QImage FortuneTargets();

}  // namespace SpritePictures
