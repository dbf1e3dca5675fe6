// The viewer on a real X server whose screen (1280 pixels, 19200 twips)
// is wider than a 16-bit count of twips allows the doubling to reach.
#include "viewer/Fitting.h"
#include "viewer/frmFullscreen.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTest>

using tavorin::frmFullscreen;

class tst_FullscreenOnX11 : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void coversTheScreenAndFitsThePicture();
};

void tst_FullscreenOnX11::coversTheScreenAndFitsThePicture() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.width() > 1092);

    QPixmap picture(200, 100);
    picture.fill(Qt::darkGreen);
    {
        QPainter painter(&picture);
        painter.fillRect(0, 0, 100, 50, Qt::yellow);
    }
    QPointer<frmFullscreen> viewer = new frmFullscreen();
    viewer->show();
    viewer->Preview_Picture(picture);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QCOMPARE(viewer->size(), screen.size());

    const auto fit =
        tavorin::FitPicture(picture.width(), picture.height(), screen.width(), screen.height());
    QCOMPARE(viewer->imgPreview().width(), int(fit.width));
    QCOMPARE(viewer->imgPreview().width(), screen.width()); // 2:1 meets the sides
    QCOMPARE(viewer->imgPreview().y(), qRound(fit.top));

    QTest::qWait(50);
    const QImage shot = viewer->screen()->grabWindow(viewer->winId()).toImage();
    const QString folder = qEnvironmentVariable("TAVORIN_SHOT_DIR");
    if (!folder.isEmpty())
        shot.save(folder + QStringLiteral("/viewer-shot.png"));
    // The margins are black, the stretched picture shows both its colours.
    QCOMPARE(shot.pixelColor(screen.width() / 2, 1), QColor(Qt::black));
    QCOMPARE(shot.pixelColor(screen.width() / 4, screen.height() / 2 - 10), QColor(Qt::yellow));
    QCOMPARE(shot.pixelColor(screen.width() * 3 / 4, screen.height() / 2 + 10),
             QColor(Qt::darkGreen));

    QTest::mouseClick(viewer.data(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY(viewer.isNull());
}

QTEST_MAIN(tst_FullscreenOnX11)
#include "tst_FullscreenOnX11.moc"
