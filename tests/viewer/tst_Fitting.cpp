#include "viewer/Fitting.h"

#include <QTest>

using tavorin::FitPicture;
using tavorin::FittedPicture;

class tst_Fitting : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void fits_data();
    void fits();
    void keepsAspectRatioAndFits_data();
    void keepsAspectRatioAndFits();
    void pictureWithoutAreaGivesEmptyResult();
};

void tst_Fitting::fits_data() {
    QTest::addColumn<qint64>("pictureWidth");
    QTest::addColumn<double>("pictureHeight");
    QTest::addColumn<double>("windowWidth");
    QTest::addColumn<double>("windowHeight");
    QTest::addColumn<qint64>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");

    // Twips, as the window measures them.
    QTest::newRow("doubled twice to fill the window exactly")
        << qint64(6000) << 4500.0 << 24000.0 << 18000.0 << qint64(24000) << 18000.0 << 0.0 << 0.0;
    QTest::newRow("doubled once, then fitted to the height")
        << qint64(15000) << 15000.0 << 24000.0 << 18000.0 << qint64(18000) << 18000.0 << 3000.0
        << 0.0;
    QTest::newRow("larger than the window both ways: reduced, not doubled")
        << qint64(48000) << 30000.0 << 24000.0 << 18000.0 << qint64(24000) << 15000.0 << 0.0
        << 1500.0;
    QTest::newRow("taller than the window only: fitted to the height")
        << qint64(6000) << 36000.0 << 24000.0 << 18000.0 << qint64(3000) << 18000.0 << 10500.0
        << 0.0;
    QTest::newRow("wider than the window only: fitted to the width")
        << qint64(48000) << 6000.0 << 24000.0 << 18000.0 << qint64(24000) << 3000.0 << 0.0
        << 7500.0;
    QTest::newRow("exactly the window size is kept")
        << qint64(24000) << 18000.0 << 24000.0 << 18000.0 << qint64(24000) << 18000.0 << 0.0 << 0.0;
    // A 1920 x 1080 screen is 28800 x 16200 twips: the doubling passes
    // 16383 twips, the largest width a 16-bit number holds.
    QTest::newRow("wide screen: doubled past 16-bit widths")
        << qint64(3600) << 2025.0 << 28800.0 << 16200.0 << qint64(28800) << 16200.0 << 0.0 << 0.0;
    QTest::newRow("wide screen: small square picture")
        << qint64(1500) << 1500.0 << 28800.0 << 16200.0 << qint64(16200) << 16200.0 << 6300.0
        << 0.0;
    QTest::newRow("very wide screen 7680 px: 16-bit overflow of the doubling")
        << qint64(12000) << 3000.0 << 115200.0 << 16200.0 << qint64(64800) << 16200.0 << 25200.0
        << 0.0;
    QTest::newRow("width rounded to a whole number")
        << qint64(1000) << 3000.0 << 1000.0 << 1000.0 << qint64(333) << 1000.0 << 333.5 << 0.0;
    QTest::newRow("pixels: 1280 x 720 picture on 1920 x 1200")
        << qint64(1280) << 720.0 << 1920.0 << 1200.0 << qint64(1920) << 1080.0 << 0.0 << 60.0;
}

void tst_Fitting::fits() {
    QFETCH(qint64, pictureWidth);
    QFETCH(double, pictureHeight);
    QFETCH(double, windowWidth);
    QFETCH(double, windowHeight);
    QFETCH(qint64, width);
    QFETCH(double, height);
    QFETCH(double, left);
    QFETCH(double, top);

    const FittedPicture fit = FitPicture(pictureWidth, pictureHeight, windowWidth, windowHeight);
    QCOMPARE(fit.width, width);
    QCOMPARE(fit.height, height);
    QCOMPARE(fit.left, left);
    QCOMPARE(fit.top, top);
}

void tst_Fitting::keepsAspectRatioAndFits_data() {
    QTest::addColumn<qint64>("pictureWidth");
    QTest::addColumn<double>("pictureHeight");
    QTest::addColumn<double>("windowWidth");
    QTest::addColumn<double>("windowHeight");
    for (qint64 w : {1, 7, 640, 4000, 40000})
        for (double h : {1.0, 9.0, 480.0, 3000.0, 40000.0})
            for (const auto& [ww, wh] :
                 {std::pair{28800.0, 16200.0}, {57600.0, 32400.0}, {12000.0, 9000.0}})
                QTest::addRow("%lld x %g in %g x %g", w, h, ww, wh) << w << h << ww << wh;
}

void tst_Fitting::keepsAspectRatioAndFits() {
    QFETCH(qint64, pictureWidth);
    QFETCH(double, pictureHeight);
    QFETCH(double, windowWidth);
    QFETCH(double, windowHeight);

    const FittedPicture fit = FitPicture(pictureWidth, pictureHeight, windowWidth, windowHeight);
    QVERIFY(fit.width <= windowWidth);
    QVERIFY(fit.height <= windowHeight);
    // One side touches the window, or (for a doubled picture) reaches it exactly.
    QVERIFY(fit.width == windowWidth || fit.height == windowHeight);
    const double ratio = double(pictureWidth) / pictureHeight;
    QVERIFY2(std::abs(double(fit.width) - fit.height * ratio) <= 1.0,
             qPrintable(QStringLiteral("%1 x %2").arg(fit.width).arg(fit.height)));
    QCOMPARE(fit.left * 2 + double(fit.width), windowWidth);
    QCOMPARE(fit.top * 2 + fit.height, windowHeight);
}

void tst_Fitting::pictureWithoutAreaGivesEmptyResult() {
    // Doubling nothing would never reach the window.
    const FittedPicture none = FitPicture(0, 0, 28800, 16200);
    QCOMPARE(none.width, qint64(0));
    QCOMPARE(none.height, 0.0);
    QCOMPARE(none.left, 14400.0);
    QCOMPARE(none.top, 8100.0);
    QCOMPARE(FitPicture(-5, 100, 800, 600).width, qint64(0));
    QCOMPARE(FitPicture(100, 0, 800, 600).width, qint64(0));
}

QTEST_APPLESS_MAIN(tst_Fitting)
#include "tst_Fitting.moc"
