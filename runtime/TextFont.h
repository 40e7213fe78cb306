#pragma once

#include <cstdint>

class QFont;
class QWidget;

// The controls' text font. Sizes are given in points of a 72 dpi screen, so they are drawn as
// that many pixels: the fixed window layouts then fit whatever the screen's resolution. The
// Japanese face comes first so that kana and kanji never fall back to a face without them.
// Size 0 keeps the platform's default size.
QFont TextFont(std::int32_t size);
void ApplyTextFont(QWidget& widget, std::int32_t size);
