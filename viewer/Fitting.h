#pragma once

#include <cstdint>

namespace tavorin {

// Where a picture sits in the full-screen viewer, in the window's units.
struct FittedPicture {
    std::int64_t width = 0; // a whole number of units
    double height = 0;
    double left = 0;
    double top = 0;

    bool operator==(const FittedPicture&) const = default;
};

// Fits a picture of natural size (pictureWidth x pictureHeight) into a
// window of (windowWidth x windowHeight):
//  - a picture smaller than the window in both directions is doubled
//    until one side reaches the window;
//  - a picture that then overhangs the window is reduced, from its
//    natural size, to the largest size with its aspect ratio that fits;
//  - the result is centred.
// All comparisons are strict, so a doubled picture that reaches the window
// exactly keeps that size. Every value is held in 64 bits or as a double,
// so no screen or picture size overflows. A picture without area (a
// missing picture) gives an empty result in the centre of the window.
FittedPicture FitPicture(std::int64_t pictureWidth, double pictureHeight, double windowWidth,
                         double windowHeight);

} // namespace tavorin
