// The X11 root window wallpaper: a pixmap per screen and its root properties.
#include "platform/wallpaper/X11RootWallpaper.h"

#include <QImageReader>
#include <QList>
#include <QRect>

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace tavorin {

namespace {

// ---- pixels ---------------------------------------------------------------

bool IsSupported(const RootPixelFormat& format) {
    return (format.bitsPerPixel == 32 || format.bitsPerPixel == 16) && format.redMask &&
           format.greenMask && format.blueMask && format.scanlinePad >= 8 &&
           format.scanlinePad % 8 == 0;
}

int PaddedBytesPerLine(int width, const RootPixelFormat& format) {
    const int bits = width * format.bitsPerPixel;
    return (bits + format.scanlinePad - 1) / format.scanlinePad * format.scanlinePad / 8;
}

// Qt's RGB32 row is already the server's layout: 0x00RRGGBB words in the
// server's byte order.
bool MatchesRgb32(const RootPixelFormat& format) {
    const bool littleEndianHost = std::endian::native == std::endian::little;
    return format.bitsPerPixel == 32 && format.redMask == 0xff0000 &&
           format.greenMask == 0x00ff00 && format.blueMask == 0x0000ff &&
           format.msbFirst != littleEndianHost;
}

std::uint32_t Channel(int value8, std::uint32_t mask) {
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t scaled =
        bits >= 8 ? std::uint32_t(value8) << (bits - 8) : std::uint32_t(value8) >> (8 - bits);
    return (scaled << shift) & mask;
}

void StorePixel(uchar* out, std::uint32_t value, const RootPixelFormat& format) {
    const int bytes = format.bitsPerPixel / 8;
    for (int i = 0; i < bytes; ++i) {
        const int byteIndex = format.msbFirst ? bytes - 1 - i : i;
        out[byteIndex] = uchar(value >> (8 * i));
    }
}

// The bytes to send, either borrowed from an RGB32 picture or converted.
struct RootPixelData {
    QImage rgb32;
    QByteArray converted;
    const char* data = nullptr;
    qsizetype size = 0;
    int bytesPerLine = 0;
};

QImage ToRgb32(const QImage& image) {
    if (image.format() == QImage::Format_RGB32)
        return image;
    // Transparent parts show black: premultiplied colours are the colours
    // over black.
    if (image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
            .convertToFormat(QImage::Format_RGB32);
    return image.convertToFormat(QImage::Format_RGB32);
}

bool MakeRootPixelData(const QImage& image, const RootPixelFormat& format, RootPixelData* out) {
    if (!IsSupported(format) || image.isNull())
        return false;
    out->rgb32 = ToRgb32(image);
    const QImage& rgb = out->rgb32;
    if (MatchesRgb32(format) && rgb.bytesPerLine() == PaddedBytesPerLine(rgb.width(), format)) {
        out->data = reinterpret_cast<const char*>(rgb.constBits());
        out->size = rgb.sizeInBytes();
        out->bytesPerLine = int(rgb.bytesPerLine());
        return true;
    }
    const int bytesPerLine = PaddedBytesPerLine(rgb.width(), format);
    out->converted = QByteArray(qsizetype(bytesPerLine) * rgb.height(), '\0');
    uchar* target = reinterpret_cast<uchar*>(out->converted.data());
    const int pixelBytes = format.bitsPerPixel / 8;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* line = target + qsizetype(y) * bytesPerLine;
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = row[x];
            const std::uint32_t value = Channel(qRed(pixel), format.redMask) |
                                        Channel(qGreen(pixel), format.greenMask) |
                                        Channel(qBlue(pixel), format.blueMask);
            StorePixel(line + x * pixelBytes, value, format);
        }
    }
    out->rgb32 = QImage();
    out->data = out->converted.constData();
    out->size = out->converted.size();
    out->bytesPerLine = bytesPerLine;
    return true;
}

// ---- the X connection -------------------------------------------------------

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using ConnectionPtr = std::unique_ptr<xcb_connection_t, Disconnect>;

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> TakeReply(T* reply) {
    return Reply<T>(reply, &std::free);
}

struct RootScreen {
    xcb_screen_t* screen = nullptr;
    RootPixelFormat format;
};

xcb_screen_t* ScreenNumber(xcb_connection_t* connection, int number) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; it.rem; --number, xcb_screen_next(&it)) {
        if (number == 0)
            return it.data;
    }
    return nullptr;
}

std::optional<xcb_visualtype_t> RootVisual(const xcb_screen_t* screen) {
    xcb_depth_iterator_t depths = xcb_screen_allowed_depths_iterator(screen);
    for (; depths.rem; xcb_depth_next(&depths)) {
        xcb_visualtype_iterator_t visuals = xcb_depth_visuals_iterator(depths.data);
        for (; visuals.rem; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen->root_visual)
                return *visuals.data;
        }
    }
    return std::nullopt;
}

bool ReadFormat(xcb_connection_t* connection, const xcb_screen_t* screen, RootPixelFormat* format,
                QString* error) {
    const auto visual = RootVisual(screen);
    if (!visual || (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR &&
                    visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR))
        return Fail(error, QStringLiteral("the root window has no true-colour visual"));
    const xcb_setup_t* setup = xcb_get_setup(connection);
    format->depth = screen->root_depth;
    format->redMask = visual->red_mask;
    format->greenMask = visual->green_mask;
    format->blueMask = visual->blue_mask;
    format->msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    xcb_format_iterator_t it = xcb_setup_pixmap_formats_iterator(setup);
    for (; it.rem; xcb_format_next(&it)) {
        if (it.data->depth == screen->root_depth) {
            format->bitsPerPixel = it.data->bits_per_pixel;
            format->scanlinePad = it.data->scanline_pad;
        }
    }
    if (!IsSupported(*format))
        return Fail(error, QStringLiteral("the root window's pixel format (depth %1, %2 bits) is "
                                          "not supported")
                               .arg(format->depth)
                               .arg(format->bitsPerPixel));
    return true;
}

bool Upload(xcb_connection_t* connection, xcb_pixmap_t pixmap, const RootPixelData& pixels,
            int width, int height, int depth, std::uint32_t requestLimit, QString* error) {
    std::uint64_t maxBytes = std::uint64_t(xcb_get_maximum_request_length(connection)) * 4;
    if (requestLimit)
        maxBytes = qMin<std::uint64_t>(maxBytes, requestLimit);
    const std::uint64_t room = maxBytes > 64 ? maxBytes - 64 : 0; // request header and margin
    const int rowsPerChunk = int(qMin<std::uint64_t>(room / pixels.bytesPerLine, height));
    if (rowsPerChunk < 1)
        return Fail(error, QStringLiteral("the screen is too wide for one X request"));
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    for (int y = 0; y < height; y += rowsPerChunk) {
        const int rows = qMin(rowsPerChunk, height - y);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, std::uint16_t(width),
                      std::uint16_t(rows), 0, std::int16_t(y), 0, std::uint8_t(depth),
                      std::uint32_t(qsizetype(rows) * pixels.bytesPerLine),
                      reinterpret_cast<const std::uint8_t*>(pixels.data) +
                          qsizetype(y) * pixels.bytesPerLine);
    }
    xcb_free_gc(connection, gc);
    return true;
}

// The previous setter's pixmap, as the root's properties name it.
class PreviousPixmap {
  public:
    // Asks without waiting for the answer.
    PreviousPixmap(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t rootPmap,
                   xcb_atom_t esetrootPmap)
        : connection_(connection),
          current_(xcb_get_property(connection, 0, root, rootPmap, XCB_ATOM_PIXMAP, 0, 1)),
          esetroot_(xcb_get_property(connection, 0, root, esetrootPmap, XCB_ATOM_PIXMAP, 0, 1)) {}

    // The pixmap another program (or an earlier run) left on the root is
    // freed by ending its retained client, the convention every root setter
    // follows. The owner may be gone already; Synchronise ignores that error.
    void Free() {
        const auto current = Value(current_);
        const auto esetroot = Value(esetroot_);
        if (current && esetroot && *current == *esetroot && *current != XCB_NONE)
            xcb_kill_client(connection_, *current);
    }

  private:
    std::optional<xcb_pixmap_t> Value(xcb_get_property_cookie_t cookie) {
        auto reply = TakeReply(xcb_get_property_reply(connection_, cookie, nullptr));
        if (!reply || reply->type != XCB_ATOM_PIXMAP || reply->format != 32 ||
            xcb_get_property_value_length(reply.get()) != 4)
            return std::nullopt;
        return *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(reply.get()));
    }

    xcb_connection_t* connection_;
    xcb_get_property_cookie_t current_;
    xcb_get_property_cookie_t esetroot_;
};

// Waits until the server has handled every request and collects the
// first error among them (but KillClient's, whose target may be gone).
bool Synchronise(xcb_connection_t* connection, QString* error) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    bool ok = true;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        const auto* x = reinterpret_cast<xcb_generic_error_t*>(event);
        if (event->response_type == 0 && ok && x->major_code != XCB_KILL_CLIENT) {
            ok = Fail(error, QStringLiteral("the X server refused request %1 (error %2)")
                                 .arg(x->major_code)
                                 .arg(x->error_code));
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection))
        return Fail(error, QStringLiteral("the X connection broke"));
    return ok;
}

xcb_intern_atom_cookie_t AskAtom(xcb_connection_t* connection, const char* name) {
    return xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
}

xcb_atom_t AtomReply(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
    auto reply = TakeReply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QList<QRect> MonitorAreas(xcb_connection_t* connection, xcb_randr_get_monitors_cookie_t cookie,
                          const QRect& screen) {
    QList<QRect> areas;
    // A server without RandR answers with an error, which is dropped here.
    auto reply = TakeReply(xcb_randr_get_monitors_reply(connection, cookie, nullptr));
    if (reply) {
        xcb_randr_monitor_info_iterator_t it =
            xcb_randr_get_monitors_monitors_iterator(reply.get());
        for (; it.rem; xcb_randr_monitor_info_next(&it)) {
            const QRect area =
                QRect(it.data->x, it.data->y, it.data->width, it.data->height) & screen;
            if (!area.isEmpty())
                areas.append(area);
        }
    }
    if (areas.isEmpty())
        areas.append(screen);
    return areas;
}

// Each 2 x 2 block of an RGB32 picture averaged into one pixel: a quick
// first step down for a photo far larger than the screen, so that the
// smooth scaling after it reads a quarter of the pixels.
QImage Halved(const QImage& rgb32) {
    QImage half(rgb32.width() / 2, rgb32.height() / 2, QImage::Format_RGB32);
    for (int y = 0; y < half.height(); ++y) {
        const auto* upper = reinterpret_cast<const QRgb*>(rgb32.constScanLine(2 * y));
        const auto* lower = reinterpret_cast<const QRgb*>(rgb32.constScanLine(2 * y + 1));
        auto* out = reinterpret_cast<QRgb*>(half.scanLine(y));
        for (int x = 0; x < half.width(); ++x) {
            const QRgb a = upper[2 * x], b = upper[2 * x + 1], c = lower[2 * x],
                       d = lower[2 * x + 1];
            const QRgb redBlue =
                (a & 0xff00ff) + (b & 0xff00ff) + (c & 0xff00ff) + (d & 0xff00ff) + 0x020002;
            const QRgb green = (a & 0xff00) + (b & 0xff00) + (c & 0xff00) + (d & 0xff00) + 0x200;
            out[x] = 0xff000000 | ((redBlue >> 2) & 0xff00ff) | ((green >> 2) & 0xff00);
        }
    }
    return half;
}

QImage Stretched(const QImage& picture, const QSize& size) {
    QImage rgb = ToRgb32(picture);
    if (rgb.size() == size)
        return rgb;
    while (rgb.width() >= 2 * size.width() && rgb.height() >= 2 * size.height())
        rgb = Halved(rgb);
    return rgb.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The screen's image: the whole picture stretched to every monitor (as
// feh --bg-scale and hsetroot -fill do), black where no monitor is.
QImage ScreenImage(const QImage& picture, const QSize& screen, const QList<QRect>& monitors) {
    if (monitors.size() == 1 && monitors.front() == QRect(QPoint(), screen))
        return Stretched(picture, screen);
    QImage image(screen, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (const QRect& monitor : monitors) {
        const QImage part = Stretched(picture, monitor.size());
        const qsizetype rowBytes = qsizetype(monitor.width()) * 4;
        for (int y = 0; y < monitor.height(); ++y)
            std::memcpy(image.scanLine(monitor.y() + y) + qsizetype(monitor.x()) * 4,
                        part.constScanLine(y), size_t(rowBytes));
    }
    return image;
}

// The size to decode a picture at so that it covers every monitor.
QSize LargestMonitor(const QList<QRect>& monitors) {
    QSize size;
    for (const QRect& monitor : monitors)
        size = size.expandedTo(monitor.size());
    return size;
}

// One short-lived connection that sets the root. Questions to the server
// are sent early and their answers collected late, so that the picture's
// decoding and upload overlap the round trips.
class RootSetter {
  public:
    bool Open(const QByteArray& display, std::uint32_t requestLimit, QString* error) {
        requestLimit_ = requestLimit;
        int screenNumber = 0;
        connection_.reset(
            xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber));
        xcb_connection_t* c = connection_.get();
        if (!c || xcb_connection_has_error(c))
            return Fail(error, QStringLiteral("cannot connect to the X display"));
        screen_ = ScreenNumber(c, screenNumber);
        if (!screen_)
            return Fail(error, QStringLiteral("the X display has no screen %1").arg(screenNumber));
        if (!ReadFormat(c, screen_, &format_, error))
            return false;
        monitorsCookie_ = xcb_randr_get_monitors(c, screen_->root, 1);
        rootPmapCookie_ = AskAtom(c, "_XROOTPMAP_ID");
        esetrootPmapCookie_ = AskAtom(c, "ESETROOT_PMAP_ID");
        xcb_prefetch_maximum_request_length(c);
        xcb_flush(c);
        return true;
    }

    QSize Size() const { return QSize(screen_->width_in_pixels, screen_->height_in_pixels); }

    // The active monitors' areas on the screen (RandR), clipped to it; the
    // whole screen when the server names none.
    QList<QRect> Monitors() {
        if (monitorsAsked_) {
            monitorsAsked_ = false;
            monitors_ = MonitorAreas(connection_.get(), monitorsCookie_, QRect(QPoint(), Size()));
        }
        return monitors_;
    }

    // The picture stretched to each monitor.
    bool ShowOnEachMonitor(const QImage& picture, QString* error) {
        return Show(ScreenImage(picture, Size(), Monitors()), error);
    }

    // image has the screen's size.
    bool Show(const QImage& image, QString* error) {
        xcb_connection_t* c = connection_.get();
        const xcb_atom_t rootPmap = AtomReply(c, rootPmapCookie_);
        const xcb_atom_t esetrootPmap = AtomReply(c, esetrootPmapCookie_);
        if (rootPmap == XCB_ATOM_NONE || esetrootPmap == XCB_ATOM_NONE)
            return Fail(error, QStringLiteral("the X server gave no root pixmap atoms"));
        const xcb_window_t root = screen_->root;
        PreviousPixmap previous(c, root, rootPmap, esetrootPmap);

        RootPixelData pixels;
        if (!MakeRootPixelData(image, format_, &pixels))
            return Fail(error, QStringLiteral("the picture cannot be converted for the screen"));
        const xcb_pixmap_t pixmap = xcb_generate_id(c);
        xcb_create_pixmap(c, std::uint8_t(format_.depth), pixmap, root,
                          std::uint16_t(image.width()), std::uint16_t(image.height()));
        if (!Upload(c, pixmap, pixels, image.width(), image.height(), format_.depth, requestLimit_,
                    error))
            return false;
        pixels = RootPixelData();

        previous.Free();
        for (const xcb_atom_t atom : {rootPmap, esetrootPmap})
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, atom, XCB_ATOM_PIXMAP, 32, 1,
                                &pixmap);
        xcb_change_window_attributes(c, root, XCB_CW_BACK_PIXMAP, &pixmap);
        xcb_clear_area(c, 0, root, 0, 0, 0, 0);
        xcb_set_close_down_mode(c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
        return Synchronise(c, error);
    }

  private:
    ConnectionPtr connection_;
    xcb_screen_t* screen_ = nullptr;
    RootPixelFormat format_;
    std::uint32_t requestLimit_ = 0;
    xcb_randr_get_monitors_cookie_t monitorsCookie_{};
    bool monitorsAsked_ = true;
    QList<QRect> monitors_;
    xcb_intern_atom_cookie_t rootPmapCookie_{};
    xcb_intern_atom_cookie_t esetrootPmapCookie_{};
};

// The size JPEG decoding can scale to by itself (M/8 of the natural size,
// libjpeg's DCT scaling) that still covers target; invalid when there is
// none smaller than the picture or it does not come out in whole pixels.
QSize DctScaledSize(const QSize& natural, const QSize& target) {
    const double factor =
        qMin(double(natural.width()) / target.width(), double(natural.height()) / target.height());
    const int eighths = qBound(1, int(std::ceil(8 / factor)), 8);
    if (eighths == 8 || natural.width() * eighths % 8 || natural.height() * eighths % 8)
        return {};
    return {natural.width() * eighths / 8, natural.height() * eighths / 8};
}

// Decodes path at (or, for JPEG, near) size and stretches it to size.
// Decoding a JPEG at its exact DCT-scaled size and scaling once here is
// faster than leaving the last step to the reader.
QImage ReadAtSize(const QString& path, const QSize& size, QString* error) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QSize natural = reader.size();
    if (natural.isValid()) {
        const QSize dct = reader.format() == "jpeg" ? DctScaledSize(natural, size) : QSize();
        reader.setScaledSize(dct.isValid() ? dct : size);
    }
    QImage image = reader.read();
    if (image.isNull()) {
        Fail(error,
             QStringLiteral("cannot read the picture %1: %2").arg(path, reader.errorString()));
        return image;
    }
    if (image.size() != size)
        image = ToRgb32(image).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace

QByteArray RootPixels(const QImage& image, const RootPixelFormat& format, int* bytesPerLine) {
    RootPixelData pixels;
    if (!MakeRootPixelData(image, format, &pixels))
        return {};
    if (bytesPerLine)
        *bytesPerLine = pixels.bytesPerLine;
    return QByteArray(pixels.data, pixels.size);
}

bool X11RootWallpaper::Apply(const QString& path, QString* error) {
    RootSetter setter;
    if (!setter.Open(display_, requestLimit_, error))
        return false;
    const QImage image = ReadAtSize(path, LargestMonitor(setter.Monitors()), error);
    if (image.isNull())
        return false;
    return setter.ShowOnEachMonitor(image, error);
}

bool X11RootWallpaper::ApplyImage(const QImage& image, QString* error) {
    if (image.isNull())
        return Fail(error, QStringLiteral("no picture"));
    RootSetter setter;
    if (!setter.Open(display_, requestLimit_, error))
        return false;
    return setter.ShowOnEachMonitor(image, error);
}

} // namespace tavorin
