#include "tests/support/RootProbe.h"

#include <QList>
#include <QPoint>

#include <cstdlib>
#include <cstring>

namespace tavorin::test {

namespace {

int Channel(std::uint32_t value, std::uint32_t mask) {
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    const std::uint32_t maximum = mask >> shift;
    return int(((value & mask) >> shift) * 255 / maximum);
}

} // namespace

bool NearColour(QRgb a, QRgb b, int tolerance) {
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

QString HexColour(QRgb c) {
    return QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0'));
}

RootProbe::RootProbe() {
    connection_ = xcb_connect(nullptr, nullptr);
    if (!xcb_connection_has_error(connection_))
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
}

RootProbe::~RootProbe() {
    xcb_disconnect(connection_);
}

bool RootProbe::ok() const {
    return !xcb_connection_has_error(connection_) && screen_;
}

QSize RootProbe::screenSize() const {
    return {screen_->width_in_pixels, screen_->height_in_pixels};
}

xcb_window_t RootProbe::root() const {
    return screen_->root;
}

int RootProbe::depth() const {
    return screen_->root_depth;
}

std::optional<xcb_pixmap_t> RootProbe::pixmapProperty(const char* name) {
    auto* atomReply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 1, std::uint16_t(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = atomReply ? atomReply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atomReply);
    if (atom == XCB_ATOM_NONE)
        return std::nullopt;
    auto* reply = xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, root(), atom, XCB_ATOM_PIXMAP, 0, 1),
        nullptr);
    std::optional<xcb_pixmap_t> result;
    if (reply && reply->type == XCB_ATOM_PIXMAP && xcb_get_property_value_length(reply) == 4)
        result = *static_cast<xcb_pixmap_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return result;
}

std::optional<QSize> RootProbe::geometry(xcb_drawable_t drawable) {
    xcb_generic_error_t* error = nullptr;
    auto* reply =
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, drawable), &error);
    std::free(error);
    std::optional<QSize> result;
    if (reply)
        result = QSize(reply->width, reply->height);
    std::free(reply);
    return result;
}

std::optional<QRgb> RootProbe::pixel(xcb_drawable_t drawable, int x, int y) {
    xcb_generic_error_t* error = nullptr;
    auto* reply =
        xcb_get_image_reply(connection_,
                            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable,
                                          std::int16_t(x), std::int16_t(y), 1, 1, ~0u),
                            &error);
    std::free(error);
    std::optional<QRgb> result;
    const int bytes = bitsPerPixel() / 8;
    const xcb_visualtype_t* visual = rootVisual();
    if (reply && visual && bytes > 0 && xcb_get_image_data_length(reply) >= bytes) {
        const std::uint8_t* data = xcb_get_image_data(reply);
        const bool msbFirst =
            xcb_get_setup(connection_)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint32_t(data[i]) << (8 * (msbFirst ? bytes - 1 - i : i));
        result = qRgb(Channel(value, visual->red_mask), Channel(value, visual->green_mask),
                      Channel(value, visual->blue_mask));
    }
    std::free(reply);
    return result;
}

QString RootProbe::wallpaperMismatch(QRgb expected, int tolerance) {
    const auto pixmap = pixmapProperty("_XROOTPMAP_ID");
    if (!pixmap)
        return QStringLiteral("the root names no wallpaper pixmap");
    const QSize size = screenSize();
    const QPoint centre(size.width() / 2, size.height() / 2);
    struct Spot {
        xcb_drawable_t drawable;
        QPoint at;
        const char* what;
    };
    const QList<Spot> spots = {
        {*pixmap, centre, "pixmap centre"},
        {*pixmap, QPoint(0, 0), "pixmap top left"},
        {*pixmap, QPoint(size.width() - 1, 0), "pixmap top right"},
        {*pixmap, QPoint(0, size.height() - 1), "pixmap bottom left"},
        {*pixmap, QPoint(size.width() - 1, size.height() - 1), "pixmap bottom right"},
        {root(), centre, "root window centre"},
    };
    for (const Spot& spot : spots) {
        const auto seen = pixel(spot.drawable, spot.at.x(), spot.at.y());
        if (!seen)
            return QStringLiteral("%1 cannot be read").arg(QLatin1String(spot.what));
        if (!NearColour(*seen, expected, tolerance))
            return QStringLiteral("%1 shows %2, expected %3")
                .arg(QLatin1String(spot.what), HexColour(*seen), HexColour(expected));
    }
    return {};
}

int RootProbe::bitsPerPixel() const {
    xcb_format_iterator_t it = xcb_setup_pixmap_formats_iterator(xcb_get_setup(connection_));
    for (; it.rem; xcb_format_next(&it)) {
        if (it.data->depth == screen_->root_depth)
            return it.data->bits_per_pixel;
    }
    return 0;
}

const xcb_visualtype_t* RootProbe::rootVisual() const {
    xcb_depth_iterator_t depths = xcb_screen_allowed_depths_iterator(screen_);
    for (; depths.rem; xcb_depth_next(&depths)) {
        xcb_visualtype_iterator_t visuals = xcb_depth_visuals_iterator(depths.data);
        for (; visuals.rem; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen_->root_visual)
                return visuals.data;
        }
    }
    return nullptr;
}

} // namespace tavorin::test
