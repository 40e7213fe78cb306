#include "GamePointArrey.h"

GamePointArrey::GamePointArrey() {
    ItsSize = 0;
    for (auto& row : ItsData) {
        row[0] = kUnset;
        row[1] = kUnset;
    }
    ItsGround = 300;
}
