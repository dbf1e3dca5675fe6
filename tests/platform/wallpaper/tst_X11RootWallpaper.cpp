// The root window wallpaper on a real X server: pictures, pixel formats, leaks, other setters.
#include "platform/wallpaper/X11RootWallpaper.h"
#include "tests/support/RootProbe.h"
#include "tests/support/TestPictures.h"

#include <QtTest>
#include <xcb/res.h>

using namespace tavorin;
using namespace tavorin::test;

namespace {

const QRgb kColours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};
// The server's clients (retained ones too) and all their pixmaps' bytes.
std::pair<int, quint64> ServerUsage() {
    const RootProbe probe;
    xcb_connection_t* c = probe.connection();
    auto* clients = xcb_res_query_clients_reply(c, xcb_res_query_clients(c), nullptr);
    if (!clients)
        return {-1, 0};
    std::pair<int, quint64> usage{clients->num_clients, 0};
    for (auto it = xcb_res_query_clients_clients_iterator(clients); it.rem;
         xcb_res_client_next(&it)) {
        auto* bytes = xcb_res_query_client_pixmap_bytes_reply(
            c, xcb_res_query_client_pixmap_bytes(c, it.data->resource_base), nullptr);
        usage.second += bytes ? bytes->bytes : 0;
        std::free(bytes);
    }
    std::free(clients);
    return usage;
}

} // namespace

class tst_X11RootWallpaper : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    // Both root properties name a screen-sized pixmap; its corners and the root's show kColours.
    void checkCorners(int tolerance) {
        RootProbe probe;
        tolerance = probe.depth() < 24 ? qMax(tolerance, 8) : tolerance; // 5 or 6 bits a colour
        const auto pixmap = probe.pixmapProperty("_XROOTPMAP_ID");
        QVERIFY(pixmap && probe.pixmapProperty("ESETROOT_PMAP_ID") == pixmap);
        const QSize size = probe.screenSize();
        QCOMPARE(probe.geometry(*pixmap), std::optional<QSize>(size));
        for (int corner = 0; corner < 4; ++corner) {
            const int x = corner % 2 ? size.width() - 1 : 0, y = corner / 2 ? size.height() - 1 : 0;
            for (const xcb_drawable_t drawable : {xcb_drawable_t(*pixmap), probe.root()}) {
                const QRgb seen = probe.pixel(drawable, x, y).value_or(1);
                QVERIFY2(NearColour(seen, kColours[corner], tolerance),
                         qPrintable(QString("(%1,%2): %3").arg(x).arg(y).arg(HexColour(seen))));
            }
        }
    }
  private Q_SLOTS:
    void initTestCase() { QVERIFY2(RootProbe().ok(), "needs an X server (run under Xvfb)"); }
    void showsThePictureStretched() {
        const QImage images[] = {FourColours({10, 8}), FourColours({3000, 2000}),
                                 FourColours({40, 40}).convertToFormat(QImage::Format_ARGB32),
                                 FourColours({30, 20}).convertToFormat(QImage::Format_Indexed8)};
        QString error;
        for (const QImage& image : images) {
            QVERIFY2(X11RootWallpaper().ApplyImage(image, &error), qPrintable(error));
            checkCorners(0);
        }
        // A big JPEG file is decoded at the screen's size.
        const QString path =
            WriteFile(dir_.filePath("big.jpg"), Encoded(FourColours({4000, 3000}), "JPEG"));
        QVERIFY2(X11RootWallpaper().Apply(path, &error), qPrintable(error));
        checkCorners(24);
    }
    // In pieces of one row and a bit; a row that does not fit in one request is an error.
    void uploadsInPiecesUnderTheRequestLimit() {
        QString error;
        QVERIFY2(X11RootWallpaper({}, 1280u * 4 + 100).ApplyImage(FourColours({64, 64}), &error),
                 qPrintable(error));
        checkCorners(0);
        QVERIFY(!X11RootWallpaper({}, 100).ApplyImage(FourColours({64, 64}), &error));
    }
    void tenChangesLeaveOnlyTheLastPixmap() {
        QString error;
        QVERIFY2(X11RootWallpaper().ApplyImage(FourColours({32, 32}), &error), qPrintable(error));
        const auto first = ServerUsage();
        const QSize screen = RootProbe().screenSize();
        // The server shares a pixmap's bytes among its references.
        QVERIFY(first.first > 0 && first.second >= quint64(screen.width()) * screen.height());
        for (int i = 0; i < 10; ++i)
            QVERIFY2(X11RootWallpaper().ApplyImage(FourColours({32, 32}), &error),
                     qPrintable(error));
        QCOMPARE(ServerUsage(), first);
        QVERIFY(RootProbe().geometry(*RootProbe().pixmapProperty("_XROOTPMAP_ID")));
    }
    void freesAnotherSettersPixmap() {
        xcb_pixmap_t foreign = 0;
        { // Another program sets the root the same way, and leaves.
            RootProbe other;
            xcb_connection_t* c = other.connection();
            foreign = xcb_generate_id(c);
            xcb_create_pixmap(c, other.depth(), foreign, other.root(), 16, 16);
            for (const char* name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"}) {
                auto* atom =
                    xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, qstrlen(name), name), 0);
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, other.root(), atom->atom,
                                    XCB_ATOM_PIXMAP, 32, 1, &foreign);
                std::free(atom);
            }
            xcb_set_close_down_mode(c, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
            std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        }
        QVERIFY(RootProbe().geometry(foreign));
        QString error;
        QVERIFY2(X11RootWallpaper().ApplyImage(FourColours({8, 8}), &error), qPrintable(error));
        QVERIFY(!RootProbe().geometry(foreign));
        checkCorners(0);
    }
    // Red, green, blue, and grey below them, read through each format's masks as the server
    // reads them; rows padded to 32 bits; formats of other sizes refused.
    void convertsToTheRootsFormat() {
        // clang-format off
        const struct { int bits; bool msbFirst; uint masks[3], grey; int bytesPerLine; }
            formats[] = {
            {32, false, {0xff0000, 0xff00, 0xff}, 0x808080, 12},
            {32, false, {0xff, 0xff00, 0xff0000}, 0x808080, 12},
            {16, false, {0xf800, 0x07e0, 0x1f}, 0x8410, 8},
            {16, true, {0xf800, 0x07e0, 0x1f}, 0x8410, 8},
            {8, false, {0xe0, 0x1c, 0x3}, 0, 0},
        };
        // clang-format on
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::black);
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, 0, kColours[x]);
        image.setPixel(0, 1, qRgb(0x80, 0x80, 0x80));
        for (const auto& f : formats) {
            RootPixelFormat format{f.bits == 32 ? 24 : f.bits, f.bits, 32, f.msbFirst};
            std::tie(format.redMask, format.greenMask, format.blueMask) =
                std::tie(f.masks[0], f.masks[1], f.masks[2]);
            int bytesPerLine = 0;
            const QByteArray pixels = RootPixels(image, format, &bytesPerLine);
            QCOMPARE(bytesPerLine, f.bytesPerLine);
            QCOMPARE(pixels.size(), 2 * f.bytesPerLine);
            const int n = f.bits / 8;
            for (int i = 0; i < 6 && n > 1; ++i) {
                uint value = 0;
                for (int b = 0; b < n; ++b)
                    value |= uint(uchar(pixels[i / 3 * bytesPerLine + i % 3 * n + b]))
                             << 8 * (f.msbFirst ? n - 1 - b : b);
                const uint expected = i < 3 ? f.masks[i] : i == 3 ? f.grey : 0u;
                QCOMPARE(value & (f.masks[0] | f.masks[1] | f.masks[2]), expected);
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_X11RootWallpaper)
#include "tst_X11RootWallpaper.moc"
