#pragma once

#include <array>
#include <cstdint>

// The table through which the actors of one play field meet: row 0 is where the lightning
// starts, rows 1..ItsSize are what it can strike, and ItsGround is the ground line. Writers and
// readers use the fields directly.
class GamePointArrey {
public:
    static constexpr std::int32_t kRows = 10;
    static constexpr std::int32_t kUnset = -1;

    GamePointArrey();

    // ItsData[k][0] is the x and ItsData[k][1] the y of point k, in pixels of the field's
    // picture; -1 in both means unset.
    std::array<std::array<std::int32_t, 2>, kRows> ItsData{};
    // Highest row that is a target; 0 means there is none.
    std::int32_t ItsSize = 0;
    // y of the ground line, pixels.
    std::int32_t ItsGround = 300;
};
