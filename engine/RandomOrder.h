#pragma once

#include <cstdint>

namespace tavorin {

class Module1;

// The random order's state, held by the main window. Wider than the
// 16-bit values it stores, so no list size overflows.
struct RandomOrder {
    // The largest list the order works on: X reaches 3n - 1.
    static constexpr std::int32_t kMaxListTotal = 715'827'882;

    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    bool Reseed = false;
    std::int32_t CurrentIndex = 0; // 1-based
    std::int32_t Candidate = 0;
    std::int32_t ListTotal = 0;

    // Advances X, Y, Z and sets CurrentIndex to the next position; never
    // the one it started from (lists of 3 and more). On a reseed writes
    // "Settings"/"Click" = "0" through m (when given). An X of 0 or less
    // seeds afresh as a reseed does; a CurrentIndex outside 1..n is first
    // brought into the list (past the end: counted round again; below 1:
    // none), so the result always lies in 1..n. Fewer than 3 pictures (or
    // more than kMaxListTotal) leave everything unchanged.
    void Random_Index(const Module1* m);
    void Wrap_Index();
};

} // namespace tavorin
