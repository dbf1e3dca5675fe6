#pragma once

#include <cstdint>

namespace tavorin {

class Module1;

// The random order's state, held by the main window. Wider than the
// 16-bit values it stores, so no list size overflows.
struct RandomOrder {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    bool Reseed = false;
    std::int32_t CurrentIndex = 0; // 1-based
    std::int32_t Candidate = 0;
    std::int32_t ListTotal = 0;

    // Advances X, Y, Z and sets CurrentIndex to the next position; never
    // the one it started from (lists of 3 and more). On a reseed writes
    // "Settings"/"Click" = "0" through m (when given).
    void Random_Index(const Module1* m);
    void Wrap_Index();
};

} // namespace tavorin
