#pragma once

#include "platform/wallpaper/ProcessRunner.h"
#include "platform/wallpaper/WallpaperBackend.h"

namespace tavorin {

// LXQt: its desktop manager pcmanfm-qt sets the wallpaper.
class LxqtWallpaper final : public WallpaperBackend {
  public:
    explicit LxqtWallpaper(IProcessRunner& runner) : runner_(runner) {}
    QString Name() const override { return QStringLiteral("LXQt"); }
    bool Apply(const QString& path, QString* error) override;

  private:
    IProcessRunner& runner_;
};

// LXDE: its desktop manager pcmanfm sets the wallpaper.
class LxdeWallpaper final : public WallpaperBackend {
  public:
    explicit LxdeWallpaper(IProcessRunner& runner) : runner_(runner) {}
    QString Name() const override { return QStringLiteral("LXDE"); }
    bool Apply(const QString& path, QString* error) override;

  private:
    IProcessRunner& runner_;
};

// sway: "swaymsg output * bg <path> stretch". sway splits its command line
// at blanks, ';' and ',', replaces its $variables and expands the path like
// a shell word, so the path is quoted for all of that; a path that cannot
// be (quote characters, backslash, '$', control characters) is shown
// through a link with a plain name in linkFolder.
class SwayWallpaper final : public WallpaperBackend {
  public:
    SwayWallpaper(IProcessRunner& runner, QString linkFolder)
        : runner_(runner), linkFolder_(std::move(linkFolder)) {}
    QString Name() const override { return QStringLiteral("sway"); }
    bool Apply(const QString& path, QString* error) override;

    // The picture argument as sway must receive it; empty when the path
    // cannot be quoted.
    static QString QuotedPath(const QString& path);

  private:
    bool PlainLink(const QString& path, QString* link, QString* error) const;

    IProcessRunner& runner_;
    QString linkFolder_;
};

} // namespace tavorin
