#pragma once

#include "platform/wallpaper/WallpaperBackend.h"

#include <QDBusConnection>
#include <QStringList>
#include <QVariant>

namespace tavorin {

// XFCE: the xfconf settings daemon over D-Bus. Every monitor's and
// workspace's "last-image" under /backdrop gets the picture and its sibling
// "image-style" 3 (stretched); then both are read back.
class XfceWallpaper final : public WallpaperBackend {
  public:
    explicit XfceWallpaper(QDBusConnection bus, int timeoutMs = 25000)
        : bus_(std::move(bus)), timeoutMs_(timeoutMs) {}

    QString Name() const override { return QStringLiteral("XFCE"); }
    bool Apply(const QString& path, QString* error) override;

    // The "last-image" properties among the names of the /backdrop tree;
    // the first screen's first monitor and workspace when there is none.
    static QStringList ImageProperties(const QStringList& backdropProperties);

    // The "image-style" property beside a "last-image" property.
    static QString StyleProperty(const QString& imageProperty);

  private:
    bool ListBackdrop(QStringList* properties, QString* error) const;
    bool Set(const QString& property, const QVariant& value, QString* error) const;
    bool Get(const QString& property, QVariant* value, QString* error) const;
    QDBusMessage Call(const QString& method, const QVariantList& arguments) const;

    QDBusConnection bus_;
    int timeoutMs_;
};

} // namespace tavorin
