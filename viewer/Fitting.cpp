// Where a picture sits in the full-screen viewer.
#include "viewer/Fitting.h"

#include <cmath>
#include <limits>

namespace tavorin {

namespace {

FittedPicture centred(std::int64_t width, double height, double windowWidth, double windowHeight) {
    FittedPicture fit;
    fit.width = width;
    fit.height = height;
    fit.top = windowHeight / 2 - height / 2;
    fit.left = windowWidth / 2 - static_cast<double>(width) / 2;
    return fit;
}

} // namespace

FittedPicture FitPicture(std::int64_t pictureWidth, double pictureHeight, double windowWidth,
                         double windowHeight) {
    // Doubling a picture without area would never reach the window.
    if (pictureWidth <= 0 || !(pictureHeight > 0))
        return centred(0, 0, windowWidth, windowHeight);
    // Keeps the doubling inside 64 bits even for an absurd window.
    constexpr std::int64_t kLargestDoubled = std::numeric_limits<std::int64_t>::max() / 4;

    std::int64_t w = pictureWidth;
    double h = pictureHeight;
    while (static_cast<double>(w) < windowWidth && h < windowHeight && w < kLargestDoubled) {
        h *= 2;
        w *= 2;
    }
    if (h > windowHeight) {
        w = std::llround(static_cast<double>(pictureWidth) * windowHeight / pictureHeight);
        h = windowHeight;
    }
    if (static_cast<double>(w) > windowWidth) {
        h = pictureHeight * windowWidth / static_cast<double>(pictureWidth);
        w = static_cast<std::int64_t>(std::llround(windowWidth));
    }
    return centred(w, h, windowWidth, windowHeight);
}

} // namespace tavorin
