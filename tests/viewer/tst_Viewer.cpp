// The full-screen viewer on an X server: where the picture goes, and how it closes.
#include "tests/support/Rows.h"
#include "viewer/Fitting.h"
#include "viewer/frmFullscreen.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>

using namespace tavorin;

namespace {

// clang-format off
// Picture and window sizes in twips (or pixels), and where the picture goes.
struct FitRow { const char* name; qint64 w; double h, windowW, windowH; FittedPicture fit; };
const FitRow kFitRows[] = {
    {"doubled twice to fill the window exactly", 6000, 4500, 24000, 18000, {24000, 18000, 0, 0}},
    {"doubled once, fitted to the height", 15000, 15000, 24000, 18000, {18000, 18000, 3000, 0}},
    {"larger both ways: reduced, not doubled", 48000, 30000, 24000, 18000, {24000, 15000, 0, 1500}},
    {"taller only: fitted to the height", 6000, 36000, 24000, 18000, {3000, 18000, 10500, 0}},
    {"wider only: fitted to the width", 48000, 6000, 24000, 18000, {24000, 3000, 0, 7500}},
    {"7680 px: past a 16-bit doubling", 12000, 3000, 115200, 16200, {64800, 16200, 25200, 0}},
    {"width rounded to a whole number", 1000, 3000, 1000, 1000, {333, 1000, 333.5, 0}},
    {"no area", 0, 0, 28800, 16200, {0, 0, 14400, 8100}},
};
// clang-format on

// Yellow top left quarter on dark green; opened as every caller opens it.
QPointer<frmFullscreen> openViewer(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::darkGreen);
    if (!pixmap.isNull())
        QPainter(&pixmap).fillRect(0, 0, size.width() / 2, size.height() / 2, Qt::yellow);
    QPointer<frmFullscreen> viewer = new frmFullscreen();
    viewer->show();
    viewer->Preview_Picture(pixmap);
    return viewer;
}

} // namespace

Q_DECLARE_METATYPE(FitRow)

class tst_Viewer : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void fits_data() { test::AddRows(kFitRows); }
    void fits() {
        QFETCH(FitRow, row);
        QCOMPARE(FitPicture(row.w, row.h, row.windowW, row.windowH), row.fit);
    }
    // Topmost, frameless, covering the screen; black margins around the stretched
    // picture; fitted again when the window changes size; a click closes it.
    void coversTheScreen() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        auto viewer = openViewer({200, 100});
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QVERIFY(
            viewer->windowFlags().testFlags(Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint));
        QVERIFY(viewer->windowState().testFlag(Qt::WindowMaximized));
        QCOMPARE(viewer->size(), QSize(1280, 800));
        QCOMPARE(viewer->imgPreview().geometry(), QRect(0, 80, 1280, 640)); // 2:1 doubled, fitted
        const QImage shot = viewer->grab().toImage();
        QCOMPARE(shot.pixelColor(640, 1), QColor(Qt::black));
        QCOMPARE(shot.pixelColor(320, 390), QColor(Qt::yellow));
        QCOMPARE(shot.pixelColor(960, 410), QColor(Qt::darkGreen));
        viewer->setWindowState(Qt::WindowNoState);
        viewer->resize(1000, 800);
        QTRY_COMPARE(viewer->imgPreview().geometry(), QRect(0, 150, 1000, 500));
        QTest::mouseClick(viewer.data(), Qt::LeftButton, {}, QPoint(5, 5)); // on a margin
        QTRY_VERIFY(viewer.isNull());
        viewer = openViewer({50, 40});
        viewer->setWindowState(Qt::WindowNoState);
        viewer->resize(1000, 500);
        QTRY_COMPARE(viewer->imgPreview().geometry(), QRect(188, 0, 625, 500)); // doubled
        QTest::mouseClick(viewer->findChild<QLabel*>(), Qt::LeftButton);        // on the picture
        QTRY_VERIFY(viewer.isNull());
    }
};

QTEST_MAIN(tst_Viewer)
#include "tst_Viewer.moc"
