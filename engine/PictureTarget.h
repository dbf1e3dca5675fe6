#pragma once

#include <QString>

namespace tavorin {

// What the search window and the image browser do with a picture: add it
// to the main window's list, or make it the wallpaper. The main window
// implements it.
class PictureTarget {
  public:
    virtual ~PictureTarget() = default;
    virtual void Append_Picture(const QString& path) = 0;
    // path is in-out: after a conversion it holds the bitmap's path.
    virtual void Set_Wallpaper(QString& path) = 0;
};

} // namespace tavorin
