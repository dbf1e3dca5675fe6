#include "tests/support/TestPictures.h"
#include "browser/BrowseRules.h"
#include "browser/ThumbnailScan.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace tavorin::browse;
using tavorin::test::WriteHostileFiles;
using tavorin::test::WritePicture;

namespace {

const QColor kBackground(250, 250, 250);

bool near(QRgb a, QColor b, int tolerance = 12) {
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance &&
           qAbs(qBlue(a) - b.blue()) <= tolerance;
}

bool allBackground(const QImage& cell) {
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (cell.pixel(x, y) != kBackground.rgb())
                return false;
    return true;
}

} // namespace

class tst_ThumbnailScan : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void pictureIsFittedAndCentred_data();
    void pictureIsFittedAndCentred();
    void undecodableFileGetsEmptyCellAndNoSize();
    void hostileFilesNeitherCrashNorHang();
    void scanHandsThumbnailsOverInOrder();
    void scanOfNothingCallsNothing();
};

void tst_ThumbnailScan::pictureIsFittedAndCentred_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("size");
    QTest::newRow("bmp 200x100") << "BMP" << QSize(200, 100);
    QTest::newRow("bmp 50x40 small") << "BMP" << QSize(50, 40);
    QTest::newRow("jpg 800x800") << "JPG" << QSize(800, 800);
    QTest::newRow("jpg 2000x500") << "JPG" << QSize(2000, 500);
    QTest::newRow("gif 40x90") << "GIF" << QSize(40, 90);
}

void tst_ThumbnailScan::pictureIsFittedAndCentred() {
    QFETCH(QString, format);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    const QColor red(220, 20, 20);
    const QString path =
        WritePicture(dir.path() + "/p." + format.toLower(), size,
                     format == "GIF" ? QColor(255, 0, 0) : red, qPrintable(format));
    const Thumbnail t = MakeThumbnail(path, kBackground);
    QVERIFY(t.decoded);
    QCOMPARE(t.natural, size);
    QCOMPARE(t.cell.size(), kCellPixels);
    const QRect inside = ThumbnailRect(size);
    const QColor expected = format == "GIF" ? QColor(255, 0, 0) : red;
    // Inside the fitted rectangle the picture, around it the background.
    QVERIFY(near(t.cell.pixel(inside.center()), expected));
    QVERIFY(near(t.cell.pixel(inside.topLeft() + QPoint(1, 1)), expected, 40));
    QVERIFY(near(t.cell.pixel(inside.bottomRight() - QPoint(1, 1)), expected, 40));
    if (inside.left() > 0)
        QCOMPARE(t.cell.pixel(inside.left() - 1, inside.center().y()), kBackground.rgb());
    if (inside.top() > 0)
        QCOMPARE(t.cell.pixel(inside.center().x(), inside.top() - 1), kBackground.rgb());
    if (inside.right() < kCellPixels.width() - 1)
        QCOMPARE(t.cell.pixel(inside.right() + 1, inside.center().y()), kBackground.rgb());
}

void tst_ThumbnailScan::undecodableFileGetsEmptyCellAndNoSize() {
    QTemporaryDir dir;
    WriteHostileFiles(dir.path());
    // A good picture first: the broken one after it must not show it.
    const QString good = WritePicture(dir.path() + "/good.bmp", QSize(1024, 768), Qt::red, "BMP");
    QVERIFY(MakeThumbnail(good, kBackground).decoded);
    for (const char* name : {"bad-empty.jpg", "bad-empty.gif", "bad-text.bmp",
                             "bad-header-only.jpg", "bad-zero-size.gif", "bad-pipe.jpg"}) {
        const Thumbnail t = MakeThumbnail(dir.path() + "/" + name, kBackground);
        QVERIFY2(!t.decoded, name);
        QVERIFY2(!t.natural.isValid(), name);
        QCOMPARE(t.cell.size(), kCellPixels);
        QVERIFY2(allBackground(t.cell), name);
    }
    const Thumbnail missing = MakeThumbnail(dir.path() + "/vanished.jpg", kBackground);
    QVERIFY(!missing.decoded);
    QVERIFY(allBackground(missing.cell));
}

void tst_ThumbnailScan::hostileFilesNeitherCrashNorHang() {
    QTemporaryDir dir;
    const QStringList names = WriteHostileFiles(dir.path());
    QStringList paths;
    for (const QString& name : names)
        paths.append(dir.path() + "/" + name);
    QElapsedTimer timer;
    timer.start();
    QStringList seen;
    ThumbnailScan::Run(paths, kBackground, [&](int i, Thumbnail&& t) {
        seen.append(paths.at(i));
        QCOMPARE(t.cell.size(), kCellPixels);
        // A cell either holds a picture with its size, or is empty with none.
        QCOMPARE(t.decoded, t.natural.isValid());
        if (!t.decoded)
            QVERIFY2(allBackground(t.cell), qPrintable(paths.at(i)));
    });
    QCOMPARE(seen, paths);
    QVERIFY2(timer.elapsed() < 20000, "hostile files took too long");
    // The odd names are real pictures and read as such.
    for (const char* name : {"new\nline.jpg", "-dash.gif", "quote'\"pipe|.bmp"})
        QCOMPARE(MakeThumbnail(dir.path() + "/" + name, kBackground).natural, QSize(30, 20));
}

void tst_ThumbnailScan::scanHandsThumbnailsOverInOrder() {
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 40; ++i) {
        const char* format = i % 3 == 0 ? "JPG" : i % 3 == 1 ? "BMP" : "GIF";
        const QString suffix = QString::fromLatin1(format).toLower();
        paths.append(WritePicture(dir.path() + QStringLiteral("/%1.").arg(i) + suffix,
                                  QSize(100 + i, 50 + i), Qt::red, format));
    }
    paths.insert(7, dir.path() + "/missing.jpg");
    QList<int> order;
    ThumbnailScan::Run(
        paths, kBackground,
        [&](int i, Thumbnail&& t) {
            order.append(i);
            if (paths.at(i).endsWith("missing.jpg")) {
                QVERIFY(!t.decoded);
                return;
            }
            const int n = QFileInfo(paths.at(i)).baseName().toInt();
            QCOMPARE(t.natural, QSize(100 + n, 50 + n));
        },
        2);
    QList<int> expected;
    for (int i = 0; i < paths.size(); ++i)
        expected.append(i);
    QCOMPARE(order, expected);
}

void tst_ThumbnailScan::scanOfNothingCallsNothing() {
    int calls = 0;
    ThumbnailScan::Run({}, kBackground, [&](int, Thumbnail&&) { ++calls; });
    QCOMPARE(calls, 0);
}

QTEST_GUILESS_MAIN(tst_ThumbnailScan)
#include "tst_ThumbnailScan.moc"
