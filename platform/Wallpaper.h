#pragma once

#include <QImage>
#include <QString>

#include <functional>

namespace tavorin {

// A picture for the classic wallpaper: its file and, after a conversion,
// the picture decoded from it, handed over while the file may still be
// being written.
struct ClassicPicture {
    QString path;
    QImage decoded; // null: read the file
    // Empty: the file is complete. Otherwise waits until it is written;
    // false when it could not be.
    std::function<bool()> fileWritten;
};

// The desktop's wallpaper.
class IDesktopWallpaper {
  public:
    virtual ~IDesktopWallpaper() = default;

    // The running desktop's own wallpaper service ("active desktop").
    // style 2 = stretch. False when the desktop refused the picture or the
    // value did not take; errorText then says why.
    virtual bool SetActiveDesktopWallpaper(const QString& path, int style,
                                           QString* errorText = nullptr) = 0;

    // The classic wallpaper, shown the way the session shows wallpapers:
    // where a desktop paints its own background (every desktop the active
    // method knows, every Wayland session) through that desktop's service,
    // as above; only on plain X11 on the root window, each monitor filled
    // with the whole picture. False, with errorText, when refused.
    virtual bool SetClassicWallpaper(const ClassicPicture& picture,
                                     QString* errorText = nullptr) = 0;
};

} // namespace tavorin
