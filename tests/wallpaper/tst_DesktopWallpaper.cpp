#include "platform/DesktopWallpaper.h"

#include <QtTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

using namespace tavorin;

namespace {

// The colour at the root window's top left corner, read on a connection
// of the test's own.
std::optional<QRgb> RootCorner() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    std::optional<QRgb> result;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        auto* reply = xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0, 1, 1, ~0u),
            nullptr);
        if (reply && xcb_get_image_data_length(reply) >= 4) {
            const std::uint8_t* data = xcb_get_image_data(reply);
            result = qRgb(data[2], data[1], data[0]);
        }
        std::free(reply);
    }
    xcb_disconnect(connection);
    return result;
}

QImage Filled(QRgb colour) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Sets the desktop variables for one test and puts them back afterwards.
class SessionEnvironment {
  public:
    explicit SessionEnvironment(const QMap<QByteArray, QByteArray>& values) {
        for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
                                 "SWAYSOCK", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"}) {
            if (qEnvironmentVariableIsSet(name))
                saved_.insert(name, qgetenv(name));
            qunsetenv(name);
        }
        for (auto it = values.begin(); it != values.end(); ++it) {
            touched_.append(it.key());
            qputenv(it.key().constData(), it.value());
        }
    }
    ~SessionEnvironment() {
        for (const QByteArray& name : touched_)
            qunsetenv(name.constData());
        for (auto it = saved_.begin(); it != saved_.end(); ++it)
            qputenv(it.key().constData(), it.value());
    }
    SessionEnvironment(const SessionEnvironment&) = delete;
    SessionEnvironment& operator=(const SessionEnvironment&) = delete;

  private:
    QMap<QByteArray, QByteArray> saved_;
    QList<QByteArray> touched_;
};

} // namespace

class tst_DesktopWallpaper : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    QString picture(const QString& name, QRgb colour) {
        const QString path = dir_.filePath(name);
        return Filled(colour).save(path, "PNG") ? path : QString();
    }

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs an X server (run under Xvfb)");
    }

    void plainX11ShowsTheActiveWallpaperOnTheRoot() {
        SessionEnvironment session({});
        const QString path = picture(QStringLiteral("green picture.png"), qRgb(0, 255, 0));
        QString error;
        QVERIFY2(MakeDesktopWallpaper()->SetActiveDesktopWallpaper(path, 2, &error),
                 qPrintable(error));
        QCOMPARE(RootCorner(), std::optional<QRgb>(qRgb(0, 255, 0)));
    }

    void theClassicWallpaperIsTheRoot() {
        const auto wallpaper = MakeDesktopWallpaper();
        wallpaper->SetClassicWallpaper(picture(QStringLiteral("red.png"), qRgb(255, 0, 0)));
        QCOMPARE(RootCorner(), std::optional<QRgb>(qRgb(255, 0, 0)));
        wallpaper->SetClassicWallpaper(QStringLiteral("/ignored.bmp"), Filled(qRgb(0, 0, 255)));
        QCOMPARE(RootCorner(), std::optional<QRgb>(qRgb(0, 0, 255)));
    }

    void aMissingPictureIsRefusedBeforeTheDesktopIsAsked_data() {
        QTest::addColumn<QByteArray>("desktop");
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::newRow("missing, plain X11") << QByteArray() << QByteArray();
        QTest::newRow("missing, LXQt") << QByteArray("LXQt") << QByteArray();
        QTest::newRow("not a picture, KDE") << QByteArray("KDE") << QByteArray("text, no picture");
    }

    void aMissingPictureIsRefusedBeforeTheDesktopIsAsked() {
        QFETCH(QByteArray, desktop);
        QFETCH(QByteArray, content);
        QMap<QByteArray, QByteArray> values;
        if (!desktop.isEmpty())
            values.insert("XDG_CURRENT_DESKTOP", desktop);
        SessionEnvironment session(values);
        const QString path = dir_.filePath(QStringLiteral("no picture.jpg"));
        QFile::remove(path);
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const auto wallpaper = MakeDesktopWallpaper();
        wallpaper->SetClassicWallpaper(picture(QStringLiteral("red.png"), qRgb(255, 0, 0)));
        QString error;
        QVERIFY(!wallpaper->SetActiveDesktopWallpaper(path, 2, &error));
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(RootCorner(), std::optional<QRgb>(qRgb(255, 0, 0)));
    }

    void anUnknownWaylandDesktopIsAnError() {
        SessionEnvironment session({{"WAYLAND_DISPLAY", "wayland-9"}});
        QString error;
        QVERIFY(!MakeDesktopWallpaper()->SetActiveDesktopWallpaper(
            picture(QStringLiteral("w.png"), qRgb(1, 2, 3)), 2, &error));
        QVERIFY(error.contains(QLatin1String("Wayland")));
    }
};

QTEST_GUILESS_MAIN(tst_DesktopWallpaper)
#include "tst_DesktopWallpaper.moc"
