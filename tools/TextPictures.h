#pragma once

#include <QImage>

// The pictures that carry numbers and words: opaque on the night sky unless noted.
namespace TextPictures {

// 10 x 176: eleven 10 x 16 cells, the digits 0-9 then the minus sign.
QImage Digits();
// The labels of the top line, 16 high: 0 "playing", 1 remaining time, 2 score, 3 record.
QImage Label(int index);
// 164 x 66, transparent: the start, time-up and struck messages, one 22-high row each.
QImage Messages();

}  // namespace TextPictures
