// The tests' own look at an X server's root window: wallpaper pixmap properties and pixels.
#include "tests/support/RootProbe.h"

#include <QPoint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tavorin::test {

namespace {
// An xcb reply, freed when it goes.
template <typename T> std::unique_ptr<T, decltype(&std::free)> owned(T* reply) {
    return {reply, &std::free};
}
int channel(std::uint32_t value, std::uint32_t mask) {
    if (!mask)
        return 0;
    const int shift = __builtin_ctz(mask);
    return int(((value & mask) >> shift) * 255 / (mask >> shift));
}
} // namespace

bool NearColour(QRgb a, QRgb b, int tolerance) {
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

QString HexColour(QRgb c) {
    return QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0'));
}

RootProbe::RootProbe() : connection_(xcb_connect(nullptr, nullptr)) {
    if (!xcb_connection_has_error(connection_))
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
}

std::optional<xcb_pixmap_t> RootProbe::pixmapProperty(const char* name) {
    const auto atom = owned(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 1, std::uint16_t(std::strlen(name)), name),
        nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return std::nullopt;
    const auto reply = owned(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, root(), atom->atom, XCB_ATOM_PIXMAP, 0, 1),
        nullptr));
    if (!reply || reply->type != XCB_ATOM_PIXMAP || xcb_get_property_value_length(reply.get()) != 4)
        return std::nullopt;
    return *static_cast<xcb_pixmap_t*>(xcb_get_property_value(reply.get()));
}

std::optional<QSize> RootProbe::geometry(xcb_drawable_t drawable) {
    xcb_generic_error_t* error = nullptr;
    const auto reply =
        owned(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, drawable), &error));
    std::free(error);
    return reply ? std::optional(QSize(reply->width, reply->height)) : std::nullopt;
}

std::optional<QRgb> RootProbe::pixel(xcb_drawable_t drawable, int x, int y) {
    int bytes = 0;
    for (auto it = xcb_setup_pixmap_formats_iterator(xcb_get_setup(connection_)); it.rem;
         xcb_format_next(&it))
        bytes = it.data->depth == screen_->root_depth ? it.data->bits_per_pixel / 8 : bytes;
    const xcb_visualtype_t* visual = nullptr;
    for (auto d = xcb_screen_allowed_depths_iterator(screen_); d.rem; xcb_depth_next(&d))
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
            visual = v.data->visual_id == screen_->root_visual ? v.data : visual;
    xcb_generic_error_t* error = nullptr;
    const auto reply =
        owned(xcb_get_image_reply(connection_,
                                  xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable,
                                                std::int16_t(x), std::int16_t(y), 1, 1, ~0u),
                                  &error));
    std::free(error);
    if (!reply || !visual || bytes <= 0 || xcb_get_image_data_length(reply.get()) < bytes)
        return std::nullopt;
    const std::uint8_t* data = xcb_get_image_data(reply.get());
    const bool msbFirst = xcb_get_setup(connection_)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint32_t(data[i]) << (8 * (msbFirst ? bytes - 1 - i : i));
    return qRgb(channel(value, visual->red_mask), channel(value, visual->green_mask),
                channel(value, visual->blue_mask));
}

QString RootProbe::wallpaperMismatch(QRgb expected, int tolerance) {
    const auto pixmap = pixmapProperty("_XROOTPMAP_ID");
    if (!pixmap)
        return QStringLiteral("the root names no wallpaper pixmap");
    const int w = screenSize().width(), h = screenSize().height();
    const xcb_drawable_t image = *pixmap;
    const std::pair<xcb_drawable_t, QPoint> spots[] = {
        {image, {w / 2, h / 2}}, {image, {0, 0}},         {image, {w - 1, 0}},
        {image, {0, h - 1}},     {image, {w - 1, h - 1}}, {root(), {w / 2, h / 2}}};
    for (const auto& [drawable, at] : spots) {
        const QString what = QStringLiteral("%1 at %2,%3")
                                 .arg(drawable == image ? "pixmap" : "root window")
                                 .arg(at.x())
                                 .arg(at.y());
        const auto seen = pixel(drawable, at.x(), at.y());
        if (!seen)
            return what + QStringLiteral(" cannot be read");
        if (!NearColour(*seen, expected, tolerance))
            return QStringLiteral("%1 shows %2, expected %3")
                .arg(what, HexColour(*seen), HexColour(expected));
    }
    return {};
}

} // namespace tavorin::test
