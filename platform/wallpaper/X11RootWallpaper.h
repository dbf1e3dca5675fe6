#pragma once

#include "platform/wallpaper/WallpaperBackend.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstdint>

namespace tavorin {

// How the root window stores a pixel.
struct RootPixelFormat {
    int depth = 0;
    int bitsPerPixel = 0;
    int scanlinePad = 32;  // bits
    bool msbFirst = false; // server byte order
    std::uint32_t redMask = 0, greenMask = 0, blueMask = 0;
};

// The picture as the root window's pixel bytes, one padded row after the
// other; empty when the format is not a TrueColor format of 16 or 32 bits
// per pixel.
QByteArray RootPixels(const QImage& image, const RootPixelFormat& format, int* bytesPerLine);

// The X11 root window background, set the way hsetroot and feh do it: the
// whole picture stretched to each monitor (RandR; one monitor = the whole
// screen) in a pixmap that outlives this program's
// connection (RetainPermanent), named in _XROOTPMAP_ID and ESETROOT_PMAP_ID
// so that the next setter frees it and terminals can use it. Every call
// opens its own short-lived connection; Qt's connection is never touched.
class X11RootWallpaper final : public WallpaperBackend {
  public:
    // display: the X display name; empty = $DISPLAY. requestLimit: the
    // largest request sent, in bytes (0 = the server's own limit); a smaller
    // one makes the upload take more pieces.
    explicit X11RootWallpaper(QByteArray display = {}, std::uint32_t requestLimit = 0)
        : display_(std::move(display)), requestLimit_(requestLimit) {}

    QString Name() const override { return QStringLiteral("X11 root window"); }

    // Decodes path straight to the monitors' size (JPEG decoding scales
    // while it decodes, so a big picture is fast).
    bool Apply(const QString& path, QString* error) override;

    // Stretches an already decoded picture to each monitor.
    bool ApplyImage(const QImage& image, QString* error);

  private:
    QByteArray display_;
    std::uint32_t requestLimit_;
};

} // namespace tavorin
