#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <optional>
#include <xcb/xcb.h>

namespace tavorin::test {

// The test's own look at the X server's root window, on a connection of its own: which pixmap
// the wallpaper setters name, and what it shows.
class RootProbe {
  public:
    RootProbe();
    ~RootProbe() { xcb_disconnect(connection_); }
    RootProbe(const RootProbe&) = delete;
    RootProbe& operator=(const RootProbe&) = delete;

    bool ok() const { return !xcb_connection_has_error(connection_) && screen_; }
    QSize screenSize() const { return {screen_->width_in_pixels, screen_->height_in_pixels}; }
    xcb_window_t root() const { return screen_->root; }
    int depth() const { return screen_->root_depth; }
    xcb_connection_t* connection() const { return connection_; }

    // The pixmap a root property names (_XROOTPMAP_ID, ESETROOT_PMAP_ID).
    std::optional<xcb_pixmap_t> pixmapProperty(const char* name);
    // Size of a drawable; nothing when it does not exist (any more).
    std::optional<QSize> geometry(xcb_drawable_t drawable);
    // One pixel of a drawable of the root's depth, read through the root visual's colour
    // masks; nothing when it cannot be read.
    std::optional<QRgb> pixel(xcb_drawable_t drawable, int x, int y);
    // Where the wallpaper pixmap shows another colour than `expected` (more than `tolerance`
    // per channel apart) at its centre or a corner, or the root window itself at its centre:
    // empty when it shows `expected` everywhere looked at.
    QString wallpaperMismatch(QRgb expected, int tolerance);

  private:
    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
};

// Whether two colours lie within `tolerance` of each other in every channel.
bool NearColour(QRgb a, QRgb b, int tolerance);
QString HexColour(QRgb c);

} // namespace tavorin::test
