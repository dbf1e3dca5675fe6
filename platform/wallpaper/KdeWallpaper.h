#pragma once

#include "platform/wallpaper/WallpaperBackend.h"

#include <QDBusConnection>

namespace tavorin {

// KDE Plasma 5 and 6: a desktop script run by plasmashell over D-Bus sets
// every desktop's wallpaper plugin to the picture, fill mode stretch, and
// prints each desktop's Image back; a desktop showing anything else (or no
// desktop at all) is a refusal.
class KdeWallpaper final : public WallpaperBackend {
  public:
    explicit KdeWallpaper(QDBusConnection bus, int timeoutMs = 25000)
        : bus_(std::move(bus)), timeoutMs_(timeoutMs) {}

    QString Name() const override { return QStringLiteral("KDE Plasma"); }
    bool Apply(const QString& path, QString* error) override;

    // The desktop script that shows path on every desktop and prints each
    // desktop's Image, one a line.
    static QString Script(const QString& path);

    // text as a double-quoted script string: only printable ASCII is
    // written as is; quotes, backslashes and every other character are
    // escaped (\", \\, \uXXXX).
    static QString StringLiteral(const QString& text);

  private:
    QDBusConnection bus_;
    int timeoutMs_;
};

} // namespace tavorin
