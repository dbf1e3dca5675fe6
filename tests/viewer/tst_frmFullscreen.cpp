#include "viewer/Fitting.h"
#include "viewer/frmFullscreen.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using tavorin::frmFullscreen;

namespace {

QPixmap picture(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::red);
    QPainter painter(&pixmap);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::blue);
    return pixmap;
}

// The viewer as every caller opens it.
QPointer<frmFullscreen> openViewer(const QPixmap& pixmap) {
    QPointer<frmFullscreen> viewer = new frmFullscreen();
    viewer->show();
    viewer->Preview_Picture(pixmap);
    return viewer;
}

} // namespace

class tst_frmFullscreen : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void opensTopmostFramelessMaximised();
    void toggleFullScreenSwitchesBothWays();
    void picturePlacedAsFitted_data();
    void picturePlacedAsFitted();
    void fitsAgainWhenTheWindowChangesSize();
    void wideWindowBeyondSixteenBitTwips();
    void clickOnThePictureCloses();
    void clickOnTheMarginCloses();
    void callersPictureIsUntouched();
    void nullPictureGivesEmptyViewerThatCloses();
};

void tst_frmFullscreen::opensTopmostFramelessMaximised() {
    auto viewer = openViewer(picture(40, 30));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Preview Image"));
    QVERIFY(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(viewer->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(viewer->windowState().testFlag(Qt::WindowMaximized));
    QVERIFY(viewer->testAttribute(Qt::WA_DeleteOnClose));
    viewer->close();
}

void tst_frmFullscreen::toggleFullScreenSwitchesBothWays() {
    QWidget window;
    window.resize(300, 200);
    window.show();
    frmFullscreen::ToggleFullScreen(window);
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(window.windowState().testFlag(Qt::WindowMaximized));
    QVERIFY(window.isVisible());
    frmFullscreen::ToggleFullScreen(window);
    QVERIFY(!window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!window.windowState().testFlag(Qt::WindowMaximized));
    QVERIFY(window.isVisible());
}

void tst_frmFullscreen::picturePlacedAsFitted_data() {
    QTest::addColumn<QSize>("pictureSize");
    QTest::newRow("small, doubled") << QSize(50, 40);
    QTest::newRow("tall") << QSize(100, 2000);
    QTest::newRow("wide") << QSize(3000, 100);
    QTest::newRow("larger both ways") << QSize(4000, 3000);
}

void tst_frmFullscreen::picturePlacedAsFitted() {
    QFETCH(QSize, pictureSize);
    auto viewer = openViewer(picture(pictureSize.width(), pictureSize.height()));
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    const auto fit = tavorin::FitPicture(pictureSize.width(), pictureSize.height(), viewer->width(),
                                         viewer->height());
    const QLabel& image = viewer->imgPreview();
    QVERIFY(image.isVisible());
    QVERIFY(image.hasScaledContents());
    QCOMPARE(image.width(), int(fit.width));
    QCOMPARE(image.height(), qRound(fit.height));
    QCOMPARE(image.x(), qRound(fit.left));
    QCOMPARE(image.y(), qRound(fit.top));
    QVERIFY(viewer->rect().contains(image.geometry()));
    viewer->close();
}

void tst_frmFullscreen::fitsAgainWhenTheWindowChangesSize() {
    auto viewer = openViewer(picture(400, 300));
    viewer->setWindowState(Qt::WindowNoState);
    viewer->resize(1000, 500);
    QCOMPARE(viewer->imgPreview().geometry(), QRect(167, 0, 667, 500));
    viewer->close();
}

void tst_frmFullscreen::wideWindowBeyondSixteenBitTwips() {
    // 1920 pixels are 28800 twips, past what a 16-bit width holds.
    auto viewer = openViewer(picture(480, 270));
    viewer->setWindowState(Qt::WindowNoState);
    viewer->resize(1920, 1080);
    QCOMPARE(viewer->imgPreview().geometry(), QRect(0, 0, 1920, 1080));
    viewer->resize(2560, 1080);
    QCOMPARE(viewer->imgPreview().geometry(), QRect(320, 0, 1920, 1080));
    viewer->close();
}

void tst_frmFullscreen::clickOnThePictureCloses() {
    auto viewer = openViewer(picture(4000, 3000));
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    auto* image = const_cast<QLabel*>(&viewer->imgPreview());
    QTest::mouseClick(image, Qt::LeftButton, {}, image->rect().center());
    QTRY_VERIFY(viewer.isNull());
}

void tst_frmFullscreen::clickOnTheMarginCloses() {
    auto viewer = openViewer(picture(10, 1000)); // a narrow picture leaves margins
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QVERIFY(viewer->imgPreview().x() > 1);
    QTest::mouseClick(viewer.data(), Qt::LeftButton, {}, QPoint(1, 1));
    QTRY_VERIFY(viewer.isNull());
}

void tst_frmFullscreen::callersPictureIsUntouched() {
    const QPixmap original = picture(64, 48);
    const QImage before = original.toImage();
    auto viewer = openViewer(original);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    viewer->grab(); // paints the stretched copy
    QCOMPARE(original.size(), QSize(64, 48));
    QCOMPARE(original.toImage(), before);
    viewer->close();
}

void tst_frmFullscreen::nullPictureGivesEmptyViewerThatCloses() {
    auto viewer = openViewer(QPixmap());
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QVERIFY(!viewer->imgPreview().isVisible());
    QTest::mouseClick(viewer.data(), Qt::LeftButton, {}, viewer->rect().center());
    QTRY_VERIFY(viewer.isNull());
}

QTEST_MAIN(tst_frmFullscreen)
#include "tst_frmFullscreen.moc"
