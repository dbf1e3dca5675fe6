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

// A root pixel format and how it stores red, green, blue and white.
struct Format {
    const char* name;
    int bits;
    bool msbFirst;
    uint red, green, blue;
    const uint* values;
};
const uint kRgb[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff};
const uint kBgr[] = {0x0000ff, 0x00ff00, 0xff0000, 0xffffff};
const uint k565[] = {0xf800, 0x07e0, 0x001f, 0xffff};

// The server's clients (retained ones too) and all their pixmaps' bytes.
std::pair<int, quint64> ServerUsage() {
    const RootProbe probe;
    xcb_connection_t* c = probe.connection();
    std::pair<int, quint64> usage{0, 0};
    auto* clients = xcb_res_query_clients_reply(c, xcb_res_query_clients(c), nullptr);
    usage.first = clients ? clients->num_clients : 0;
    for (auto it = xcb_res_query_clients_clients_iterator(clients); clients && it.rem;
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

Q_DECLARE_METATYPE(Format)

class tst_X11RootWallpaper : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // The corners of the root pixmap and of the root window show the four colours.
    void checkCorners(int tolerance) {
        RootProbe probe;
        tolerance = probe.depth() < 24 ? qMax(tolerance, 8) : tolerance; // 5 or 6 bits a colour
        const auto pixmap = probe.pixmapProperty("_XROOTPMAP_ID");
        QVERIFY(pixmap);
        QCOMPARE(probe.pixmapProperty("ESETROOT_PMAP_ID"), pixmap);
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

    void showsABigJpegDecodedAtScreenSize() {
        const QString path = dir_.filePath("big photo.jpg");
        QVERIFY(!WriteFile(path, Encoded(FourColours({4000, 3000}), "JPEG", 90)).isEmpty());
        QString error;
        QVERIFY2(X11RootWallpaper().Apply(path, &error), qPrintable(error));
        checkCorners(24);
    }

    void showsADecodedPicture_data() {
        QTest::addColumn<QImage>("image");
        QTest::newRow("smaller than the screen") << FourColours({10, 8});
        QTest::newRow("larger than the screen") << FourColours({2000, 1600});
        QTest::newRow("twice the screen and more") << FourColours({3000, 2000});
        QTest::newRow("transparency")
            << FourColours({40, 40}).convertToFormat(QImage::Format_ARGB32);
        QTest::newRow("24-bit rows")
            << FourColours({30, 20}).convertToFormat(QImage::Format_RGB888);
        QTest::newRow("palette") << FourColours({30, 20}).convertToFormat(QImage::Format_Indexed8);
    }

    void showsADecodedPicture() {
        QFETCH(QImage, image);
        QString error;
        QVERIFY2(X11RootWallpaper().ApplyImage(image, &error), qPrintable(error));
        checkCorners(0);
    }

    void uploadsInPiecesUnderTheRequestLimit() {
        QString error;
        for (const uint limit : {65536u, 1280u * 4 + 100}) { // the second: one row and a bit
            QVERIFY2(X11RootWallpaper({}, limit).ApplyImage(FourColours({64, 64}), &error),
                     qPrintable(error));
            checkCorners(0);
        }
        // A row that does not fit in one request is an error, not a crash.
        QVERIFY(!X11RootWallpaper({}, 100).ApplyImage(FourColours({64, 64}), &error));
        QVERIFY(!error.isEmpty());
    }

    void tenChangesLeaveOnlyTheLastPixmap() {
        const QString path = dir_.filePath("a.png");
        QVERIFY(!WriteFile(path, Encoded(FourColours({32, 32}), "PNG")).isEmpty());
        QString error;
        QVERIFY2(X11RootWallpaper().Apply(path, &error), qPrintable(error));
        const auto first = ServerUsage();
        const QSize screen = RootProbe().screenSize();
        QVERIFY(first.first > 0);
        // The server shares a pixmap's bytes among its references.
        QVERIFY(first.second >= quint64(screen.width()) * screen.height());
        for (int i = 0; i < 10; ++i)
            QVERIFY2(X11RootWallpaper().Apply(path, &error), qPrintable(error));
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

    void aMissingOrBrokenPictureChangesNothing_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("this is no picture");
        QTest::newRow("truncated JPEG") << TruncatedJpeg({64, 64}, 0.05);
        QTest::newRow("30000 x 20000 header, no pixels") << BitmapHeaderOnly(30000, 20000);
    }

    void aMissingOrBrokenPictureChangesNothing() {
        QFETCH(QByteArray, content);
        QString error;
        QVERIFY(X11RootWallpaper().ApplyImage(FourColours({8, 8}), &error));
        const auto before = RootProbe().pixmapProperty("_XROOTPMAP_ID");
        const QString path = dir_.filePath("broken.jpg");
        QFile::remove(path);
        QVERIFY(content.isEmpty() || !WriteFile(path, content).isEmpty());
        QVERIFY(!X11RootWallpaper().Apply(path, &error) && !error.isEmpty());
        QCOMPARE(RootProbe().pixmapProperty("_XROOTPMAP_ID"), before);
        checkCorners(0);
    }

    void convertsToOtherRootFormats_data() {
        QTest::addColumn<Format>("row");
        const Format rows[] = {
            {"32 bits LSB first", 32, false, 0xff0000, 0xff00, 0xff, kRgb},
            {"32 bits MSB first", 32, true, 0xff0000, 0xff00, 0xff, kRgb},
            {"32 bits BGR", 32, false, 0xff, 0xff00, 0xff0000, kBgr},
            {"16 bits 565 LSB first", 16, false, 0xf800, 0x07e0, 0x1f, k565},
            {"16 bits 565 MSB first", 16, true, 0xf800, 0x07e0, 0x1f, k565},
        };
        for (const Format& row : rows)
            QTest::newRow(row.name) << row;
    }

    void convertsToOtherRootFormats() {
        QFETCH(Format, row);
        QImage image(4, 2, QImage::Format_RGB32);
        image.fill(Qt::black);
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, 0, kColours[x]);
        const RootPixelFormat format{
            row.bits == 32 ? 24 : 16, row.bits, 32, row.msbFirst, row.red, row.green, row.blue};
        int bytesPerLine = 0;
        const QByteArray pixels = RootPixels(image, format, &bytesPerLine);
        const int pixelBytes = row.bits / 8;
        QCOMPARE(bytesPerLine, 4 * pixelBytes); // 4 pixels fill whole 32-bit units
        QCOMPARE(pixels.size(), 2 * bytesPerLine);
        for (int i = 0; i < 8; ++i) { // through the masks, as the server reads them
            uint value = 0;
            for (int b = 0; b < pixelBytes; ++b)
                value |= uint(uchar(pixels[i * pixelBytes + b]))
                         << 8 * (row.msbFirst ? pixelBytes - 1 - b : b);
            QCOMPARE(value & (row.red | row.green | row.blue), i < 4 ? row.values[i] : 0u);
        }
    }

    void padsRowsAndRefusesUnknownFormats() {
        RootPixelFormat format{16, 16, 32, false, 0xf800, 0x07e0, 0x001f};
        int bytesPerLine = 0;
        QCOMPARE(RootPixels(QImage(3, 2, QImage::Format_RGB32), format, &bytesPerLine).size(), 16);
        QCOMPARE(bytesPerLine, 8);
        format.bitsPerPixel = 8;
        QVERIFY(RootPixels(QImage(3, 2, QImage::Format_RGB32), format, &bytesPerLine).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_X11RootWallpaper)
#include "tst_X11RootWallpaper.moc"
