#pragma once

#include <QImage>

namespace FortuneCards {

// 200 x 100, opaque: two 100 x 100 cards side by side, the result of a strike on the left rod
// (great luck) and on the right rod (bad luck).
QImage Results();

}  // namespace FortuneCards
