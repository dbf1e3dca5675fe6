// The full-screen viewer on an X server: where the picture goes, and how it closes.
#include "tests/viewer/Rows.h"
#include "viewer/Fitting.h"
#include "viewer/frmFullscreen.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>

using namespace tavorin;

namespace {

// Picture and window sizes in twips (or pixels), and where the picture goes.
// clang-format off
struct FitRow { const char* name; qint64 w; double h, windowW, windowH; FittedPicture fit; };
const FitRow kFitRows[] = {
    {"doubled twice to fill the window exactly", 6000, 4500, 24000, 18000, {24000, 18000, 0, 0}},
    {"doubled once, then fitted to the height",
     15000,
     15000,
     24000,
     18000,
     {18000, 18000, 3000, 0}},
    {"larger both ways: reduced, not doubled", 48000, 30000, 24000, 18000, {24000, 15000, 0, 1500}},
    {"taller only: fitted to the height", 6000, 36000, 24000, 18000, {3000, 18000, 10500, 0}},
    {"wider only: fitted to the width", 48000, 6000, 24000, 18000, {24000, 3000, 0, 7500}},
    {"exactly the window size is kept", 24000, 18000, 24000, 18000, {24000, 18000, 0, 0}},
    {"wide screen: doubled past 16-bit widths", 3600, 2025, 28800, 16200, {28800, 16200, 0, 0}},
    {"wide screen: small square picture", 1500, 1500, 28800, 16200, {16200, 16200, 6300, 0}},
    {"7680 px screen: past a 16-bit doubling",
     12000,
     3000,
     115200,
     16200,
     {64800, 16200, 25200, 0}},
    {"width rounded to a whole number", 1000, 3000, 1000, 1000, {333, 1000, 333.5, 0}},
    {"pixels: 1280 x 720 on 1920 x 1200", 1280, 720, 1920, 1200, {1920, 1080, 0, 60}},
    {"no area", 0, 0, 28800, 16200, {0, 0, 14400, 8100}},
    {"negative width", -5, 100, 800, 600, {0, 0, 400, 300}},
    {"no height", 100, 0, 800, 600, {0, 0, 400, 300}},
};
// clang-format on

// A picture in a 1000 x 500 window, and where the viewer shows it.
// clang-format off
struct PlaceRow { const char* name; QSize picture; QRect place; };
const PlaceRow kPlaceRows[] = {
    {"small, doubled", {50, 40}, {188, 0, 625, 500}},
    {"tall", {100, 2000}, {488, 0, 25, 500}},
    {"wide", {3000, 100}, {0, 233, 1000, 33}},
    {"larger both ways", {4000, 3000}, {167, 0, 667, 500}},
};
// clang-format on

QPixmap picture(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::darkGreen);
    QPainter(&pixmap).fillRect(0, 0, size.width() / 2, size.height() / 2, Qt::yellow);
    return pixmap;
}

QPointer<frmFullscreen> openViewer(const QPixmap& pixmap) {
    QPointer<frmFullscreen> viewer = new frmFullscreen();
    viewer->show();
    viewer->Preview_Picture(pixmap);
    return viewer;
}

} // namespace

Q_DECLARE_METATYPE(FitRow)
Q_DECLARE_METATYPE(PlaceRow)

class tst_Viewer : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void fits_data() { test::AddRows(kFitRows); }
    void fits() {
        QFETCH(FitRow, row);
        QCOMPARE(FitPicture(row.w, row.h, row.windowW, row.windowH), row.fit);
    }

    // Whatever the sizes: the aspect ratio kept, inside the window, touching it, centred.
    void keepsAspectRatioAndFits() {
        for (qint64 w : {1, 7, 640, 4000, 40000})
            for (double h : {1.0, 9.0, 480.0, 3000.0, 40000.0})
                for (const auto& [ww, wh] :
                     {std::pair{28800.0, 16200.0}, {57600.0, 32400.0}, {12000.0, 9000.0}}) {
                    const FittedPicture fit = FitPicture(w, h, ww, wh);
                    QVERIFY(fit.width <= ww && fit.height <= wh);
                    QVERIFY(fit.width == ww || fit.height == wh);
                    QVERIFY(std::abs(double(fit.width) - fit.height * double(w) / h) <= 1.0);
                    QCOMPARE(fit.left * 2 + double(fit.width), ww);
                    QCOMPARE(fit.top * 2 + fit.height, wh);
                }
    }

    // Topmost, frameless and covering the screen; black margins around the stretched picture.
    void coversTheScreen() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QPixmap original = picture({200, 100});
        const QImage before = original.toImage();
        auto viewer = openViewer(original);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Preview Image"));
        QVERIFY(
            viewer->windowFlags().testFlags(Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint));
        QVERIFY(viewer->windowState().testFlag(Qt::WindowMaximized));
        QCOMPARE(viewer->size(), screen.size());
        QCOMPARE(viewer->imgPreview().geometry(), QRect(0, 80, 1280, 640)); // 2:1 on 1280 x 800
        const QImage shot = viewer->grab().toImage();
        QCOMPARE(shot.pixelColor(screen.width() / 2, 1), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(screen.width() / 4, screen.height() / 2 - 10), QColor(Qt::yellow));
        QCOMPARE(shot.pixelColor(screen.width() * 3 / 4, screen.height() / 2 + 10),
                 QColor(Qt::darkGreen));
        QCOMPARE(original.toImage(), before); // the caller's picture is untouched
        QTest::mouseClick(viewer.data(), Qt::LeftButton, {}, QPoint(5, 5)); // on the margin
        QTRY_VERIFY(viewer.isNull());
    }

    void place_data() { test::AddRows(kPlaceRows); }
    void place() {
        QFETCH(PlaceRow, row);
        auto viewer = openViewer(picture(row.picture));
        viewer->setWindowState(Qt::WindowNoState);
        viewer->resize(1000, 500);
        QTRY_COMPARE(viewer->imgPreview().geometry(), row.place);
        QVERIFY(viewer->imgPreview().isVisible() && viewer->imgPreview().hasScaledContents());
        auto* image = const_cast<QLabel*>(&viewer->imgPreview());
        QTest::mouseClick(image, Qt::LeftButton, {}, image->rect().center());
        QTRY_VERIFY(viewer.isNull());
    }

    void fitsAgainOnResize() {
        auto viewer = openViewer(picture({480, 270}));
        viewer->setWindowState(Qt::WindowNoState);
        viewer->resize(1920, 1080);
        QTRY_COMPARE(viewer->imgPreview().geometry(), QRect(0, 0, 1920, 1080));
        viewer->resize(2560, 1080);
        QTRY_COMPARE(viewer->imgPreview().geometry(), QRect(320, 0, 1920, 1080));
        delete viewer;
    }

    void nullPictureGivesAnEmptyViewerThatCloses() {
        auto viewer = openViewer(QPixmap());
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QVERIFY(!viewer->imgPreview().isVisible());
        QTest::mouseClick(viewer.data(), Qt::LeftButton, {}, viewer->rect().center());
        QTRY_VERIFY(viewer.isNull());
    }

    void toggleFullScreenSwitchesBothWays() {
        QWidget window;
        window.resize(300, 200);
        window.show();
        for (bool full : {true, false}) {
            frmFullscreen::ToggleFullScreen(window);
            QCOMPARE(window.windowFlags().testFlag(Qt::FramelessWindowHint), full);
            QCOMPARE(window.windowState().testFlag(Qt::WindowMaximized), full);
            QVERIFY(window.isVisible());
        }
    }
};

QTEST_MAIN(tst_Viewer)
#include "tst_Viewer.moc"
