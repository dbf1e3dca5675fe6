#pragma once

#include <QString>

namespace tavorin {

// One desktop's own way of showing a picture as its wallpaper, stretched
// over the screen.
class WallpaperBackend {
  public:
    virtual ~WallpaperBackend() = default;

    // A short name for messages ("GNOME", "XFCE", ...).
    virtual QString Name() const = 0;

    // False when the desktop refused the picture or the value did not take;
    // error (when given) then says why.
    virtual bool Apply(const QString& path, QString* error) = 0;
};

// True when path names an existing, readable file that holds a picture.
bool CheckPictureFile(const QString& path, QString* error);

// Stores text in error when error is given; always returns false so that
// callers can write `return Fail(error, ...)`.
bool Fail(QString* error, const QString& text);

} // namespace tavorin
