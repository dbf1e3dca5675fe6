#include "platform/wallpaper/X11RootWallpaper.h"
#include "tests/support/RootProbe.h"

#include <QtTest>

#ifdef TAVORIN_HAVE_XCB_RES
#include <xcb/res.h>
#endif
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <optional>

using namespace tavorin;
using tavorin::test::HexColour;
using tavorin::test::NearColour;
using tavorin::test::RootProbe;

namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

// Quadrants: red top left, green top right, blue bottom left, white bottom
// right.
QImage FourColours(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixel(x, y, bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed));
        }
    }
    return image;
}

// A Windows bitmap header that claims 30000 x 20000 pixels of 24 bits,
// followed by no pixels at all.
QByteArray HugeBitmapHeader() {
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(54 + 30000u * 20000u * 3) << quint32(0) << quint32(54);
    out << quint32(40) << qint32(30000) << qint32(20000) << quint16(1) << quint16(24) << quint32(0)
        << quint32(30000u * 20000u * 3) << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    return header;
}

#ifdef TAVORIN_HAVE_XCB_RES
struct Usage {
    int clients = 0;
    quint64 pixmapBytes = 0;
};

// Every client of the server (retained ones too) and their pixmaps' bytes.
Usage ServerUsage() {
    const RootProbe probe;
    xcb_connection_t* connection = probe.connection();
    Usage result;
    auto* reply =
        xcb_res_query_clients_reply(connection, xcb_res_query_clients(connection), nullptr);
    if (!reply)
        return result;
    result.clients = reply->num_clients;
    xcb_res_client_iterator_t it = xcb_res_query_clients_clients_iterator(reply);
    for (; it.rem; xcb_res_client_next(&it)) {
        auto* bytes = xcb_res_query_client_pixmap_bytes_reply(
            connection, xcb_res_query_client_pixmap_bytes(connection, it.data->resource_base),
            nullptr);
        if (bytes)
            result.pixmapBytes += bytes->bytes;
        std::free(bytes);
    }
    std::free(reply);
    return result;
}
#endif

} // namespace

class tst_X11RootWallpaper : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    QString save(const QImage& image, const QString& name, const char* format = nullptr,
                 int quality = -1) {
        const QString path = dir_.filePath(name);
        if (!image.save(path, format, quality))
            return {};
        return path;
    }

    // The corners of the root pixmap and of the root window itself show the
    // four colours.
    void checkCorners(int tolerance) {
        RootProbe probe;
        QVERIFY(probe.ok());
        if (probe.depth() < 24) // 5 or 6 bits a colour
            tolerance = qMax(tolerance, 8);
        const auto pixmap = probe.pixmapProperty("_XROOTPMAP_ID");
        QVERIFY(pixmap);
        QCOMPARE(probe.pixmapProperty("ESETROOT_PMAP_ID"), pixmap);
        const QSize screen = probe.screenSize();
        QCOMPARE(probe.geometry(*pixmap), std::optional<QSize>(screen));
        const struct {
            int x, y;
            QRgb colour;
        } corners[] = {{0, 0, kRed},
                       {screen.width() - 1, 0, kGreen},
                       {0, screen.height() - 1, kBlue},
                       {screen.width() - 1, screen.height() - 1, kWhite}};
        for (const auto& corner : corners) {
            for (const xcb_drawable_t drawable : {xcb_drawable_t(*pixmap), probe.root()}) {
                const auto seen = probe.pixel(drawable, corner.x, corner.y);
                QVERIFY(seen);
                QVERIFY2(NearColour(*seen, corner.colour, tolerance),
                         qPrintable(QStringLiteral("(%1,%2): %3, expected %4")
                                        .arg(corner.x)
                                        .arg(corner.y)
                                        .arg(HexColour(*seen), HexColour(corner.colour))));
            }
        }
    }

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs an X server (run under Xvfb)");
        QVERIFY(RootProbe().ok());
    }

    void showsABigJpegDecodedAtScreenSize() {
        const QString path =
            save(FourColours(4000, 3000), QStringLiteral("big photo.jpg"), "JPEG", 90);
        QVERIFY(!path.isEmpty());
        QString error;
        QVERIFY2(X11RootWallpaper().Apply(path, &error), qPrintable(error));
        checkCorners(24);
    }

    void showsADecodedPicture_data() {
        QTest::addColumn<QImage>("image");
        QTest::newRow("smaller than the screen") << FourColours(10, 8);
        QTest::newRow("larger than the screen") << FourColours(2000, 1600);
        QTest::newRow("twice the screen and more") << FourColours(3000, 2000);
        QTest::newRow("with transparency")
            << FourColours(40, 40).convertToFormat(QImage::Format_ARGB32);
        QTest::newRow("24-bit rows") << FourColours(30, 20).convertToFormat(QImage::Format_RGB888);
        QTest::newRow("palette") << FourColours(30, 20).convertToFormat(QImage::Format_Indexed8);
    }

    void showsADecodedPicture() {
        QFETCH(QImage, image);
        QString error;
        QVERIFY2(X11RootWallpaper().ApplyImage(image, &error), qPrintable(error));
        checkCorners(0);
    }

    void uploadsInPiecesUnderTheRequestLimit_data() {
        QTest::addColumn<uint>("limit");
        QTest::newRow("64 KiB") << 65536u;
        QTest::newRow("one row and a bit") << 1280u * 4 + 100;
    }

    void uploadsInPiecesUnderTheRequestLimit() {
        QFETCH(uint, limit);
        QString error;
        QVERIFY2(X11RootWallpaper({}, limit).ApplyImage(FourColours(64, 64), &error),
                 qPrintable(error));
        checkCorners(0);
        // A row that does not fit in one request is an error, not a crash.
        QVERIFY(!X11RootWallpaper({}, 100).ApplyImage(FourColours(64, 64), &error));
        QVERIFY(!error.isEmpty());
    }

    void tenChangesLeaveOnlyTheLastPixmap() {
#ifndef TAVORIN_HAVE_XCB_RES
        QSKIP("built without xcb-res (libxcb-res0-dev): cannot count the server's pixmaps");
#else
        const QString path = save(FourColours(32, 32), QStringLiteral("a.png"));
        QString error;
        QVERIFY2(X11RootWallpaper().Apply(path, &error), qPrintable(error));
        const Usage first = ServerUsage();
        QVERIFY(first.clients > 0);
        const QSize screen = RootProbe().screenSize();
        const quint64 onePicture = quint64(screen.width()) * screen.height() * 4;
        // The server shares a pixmap's bytes among its references.
        QVERIFY(first.pixmapBytes >= onePicture / 4);

        for (int i = 0; i < 10; ++i)
            QVERIFY2(X11RootWallpaper().Apply(path, &error), qPrintable(error));
        const Usage after = ServerUsage();
        QCOMPARE(after.clients, first.clients);
        QCOMPARE(after.pixmapBytes, first.pixmapBytes);
        QVERIFY(RootProbe().geometry(*RootProbe().pixmapProperty("_XROOTPMAP_ID")));
#endif
    }

    void freesAnotherSettersPixmap() {
        // Another program sets the root the same way, and leaves.
        xcb_connection_t* other = xcb_connect(nullptr, nullptr);
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(other)).data;
        const xcb_pixmap_t foreign = xcb_generate_id(other);
        xcb_create_pixmap(other, screen->root_depth, foreign, screen->root, 16, 16);
        for (const char* name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"}) {
            auto* atom = xcb_intern_atom_reply(
                other, xcb_intern_atom(other, 0, std::uint16_t(std::strlen(name)), name), nullptr);
            xcb_change_property(other, XCB_PROP_MODE_REPLACE, screen->root, atom->atom,
                                XCB_ATOM_PIXMAP, 32, 1, &foreign);
            std::free(atom);
        }
        xcb_set_close_down_mode(other, XCB_CLOSE_DOWN_RETAIN_PERMANENT);
        std::free(xcb_get_input_focus_reply(other, xcb_get_input_focus(other), nullptr));
        xcb_disconnect(other);
        QVERIFY(RootProbe().geometry(foreign));

        QString error;
        QVERIFY2(X11RootWallpaper().ApplyImage(FourColours(8, 8), &error), qPrintable(error));
        QVERIFY(!RootProbe().geometry(foreign));
        checkCorners(0);
    }

    void aMissingOrBrokenPictureChangesNothing_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("this is no picture");
        QTest::newRow("truncated JPEG") << QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF", 10);
        QTest::newRow("30000 x 20000 header, no pixels") << HugeBitmapHeader();
    }

    void aMissingOrBrokenPictureChangesNothing() {
        QFETCH(QByteArray, content);
        QString error;
        QVERIFY(X11RootWallpaper().ApplyImage(FourColours(8, 8), &error));
        const auto before = RootProbe().pixmapProperty("_XROOTPMAP_ID");

        const QString path = dir_.filePath(QStringLiteral("broken.jpg"));
        QFile::remove(path);
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QVERIFY(!X11RootWallpaper().Apply(path, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(RootProbe().pixmapProperty("_XROOTPMAP_ID"), before);
        checkCorners(0);
    }

    void convertsToOtherRootFormats_data() {
        QTest::addColumn<int>("bitsPerPixel");
        QTest::addColumn<bool>("msbFirst");
        QTest::addColumn<uint>("red");
        QTest::addColumn<uint>("green");
        QTest::addColumn<uint>("blue");
        QTest::addColumn<QList<uint>>("values"); // red, green, blue, white

        const QList<uint> rgb = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff};
        QTest::newRow("32 bits, LSB first") << 32 << false << 0xff0000u << 0xff00u << 0xffu << rgb;
        QTest::newRow("32 bits, MSB first") << 32 << true << 0xff0000u << 0xff00u << 0xffu << rgb;
        QTest::newRow("32 bits, BGR masks") << 32 << false << 0xffu << 0xff00u << 0xff0000u
                                            << QList<uint>{0x0000ff, 0x00ff00, 0xff0000, 0xffffff};
        const QList<uint> rgb565 = {0xf800, 0x07e0, 0x001f, 0xffff};
        QTest::newRow("16 bits 565, LSB first")
            << 16 << false << 0xf800u << 0x07e0u << 0x001fu << rgb565;
        QTest::newRow("16 bits 565, MSB first")
            << 16 << true << 0xf800u << 0x07e0u << 0x001fu << rgb565;
    }

    void convertsToOtherRootFormats() {
        QFETCH(int, bitsPerPixel);
        QFETCH(bool, msbFirst);
        QFETCH(uint, red);
        QFETCH(uint, green);
        QFETCH(uint, blue);
        QFETCH(QList<uint>, values);

        QImage image(4, 2, QImage::Format_RGB32);
        image.fill(Qt::black);
        image.setPixel(0, 0, kRed);
        image.setPixel(1, 0, kGreen);
        image.setPixel(2, 0, kBlue);
        image.setPixel(3, 0, kWhite);
        RootPixelFormat format;
        format.depth = bitsPerPixel == 32 ? 24 : 16;
        format.bitsPerPixel = bitsPerPixel;
        format.scanlinePad = 32;
        format.msbFirst = msbFirst;
        format.redMask = red;
        format.greenMask = green;
        format.blueMask = blue;
        int bytesPerLine = 0;
        const QByteArray pixels = RootPixels(image, format, &bytesPerLine);
        const int pixelBytes = bitsPerPixel / 8;
        QCOMPARE(bytesPerLine, 4 * pixelBytes); // 4 pixels fill whole 32-bit units
        QCOMPARE(pixels.size(), 2 * bytesPerLine);
        // Bits outside the colour masks carry nothing; compare what the
        // server reads through the masks.
        const uint used = red | green | blue;
        for (int i = 0; i < 8; ++i) {
            uint value = 0;
            for (int b = 0; b < pixelBytes; ++b) {
                const uchar byte = uchar(pixels[i * pixelBytes + b]);
                value |=
                    msbFirst ? uint(byte) << (8 * (pixelBytes - 1 - b)) : uint(byte) << (8 * b);
            }
            const uint expected = i < 4 ? values[i] : 0u;
            QCOMPARE(QString::number(value & used, 16), QString::number(expected, 16));
        }
    }

    void padsRowsAndRefusesUnknownFormats() {
        RootPixelFormat format;
        format.depth = 16;
        format.bitsPerPixel = 16;
        format.scanlinePad = 32;
        format.redMask = 0xf800;
        format.greenMask = 0x07e0;
        format.blueMask = 0x001f;
        int bytesPerLine = 0;
        QCOMPARE(RootPixels(QImage(3, 2, QImage::Format_RGB32), format, &bytesPerLine).size(), 16);
        QCOMPARE(bytesPerLine, 8);

        format.bitsPerPixel = 8;
        QVERIFY(RootPixels(QImage(3, 2, QImage::Format_RGB32), format, &bytesPerLine).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_X11RootWallpaper)
#include "tst_X11RootWallpaper.moc"
