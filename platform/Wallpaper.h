#pragma once

#include <QString>

class QImage;

namespace tavorin {

// The desktop's wallpaper.
class IDesktopWallpaper {
  public:
    virtual ~IDesktopWallpaper() = default;

    // The running desktop's own wallpaper service ("active desktop").
    // style 2 = stretch. False when the desktop refused the picture or the
    // value did not take; errorText then says why.
    virtual bool SetActiveDesktopWallpaper(const QString& path, int style,
                                           QString* errorText = nullptr) = 0;

    // The classic wallpaper: the X11 root window background, the picture
    // stretched to the screen. Results are not examined by callers.
    virtual void SetClassicWallpaper(const QString& path) = 0;
    // The same with a picture the caller has already decoded.
    virtual void SetClassicWallpaper(const QString& path, const QImage& decoded) = 0;
};

} // namespace tavorin
