#include "search/Thumbnail.h"
#include "tests/support/TestPictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tavorin::search;
using tavorin::test::WriteFile;
using tavorin::test::WritePicture;

class tst_Thumbnail : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void fitsTheCellWithoutEnlarging_data();
    void fitsTheCellWithoutEnlarging();
    void decodesAtTheFittedSize_data();
    void decodesAtTheFittedSize();
    void eachThumbnailShowsItsOwnFile();
    void filesThatCannotBeDecodedGiveNoThumbnail_data();
    void filesThatCannotBeDecodedGiveNoThumbnail();
    void aPipeIsNeverOpened();
    void queueHandsThumbnailsBackInSubmittedOrder();
    void queueKeepsAtMostItsLimitInFlight();
};

void tst_Thumbnail::fitsTheCellWithoutEnlarging_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::newRow("1024 x 768 fills the cell") << QSize(1024, 768) << 102.4 << 76.8 << 0.0 << 0.0;
    QTest::newRow("800 x 800 centred across") << QSize(800, 800) << 76.8 << 76.8 << 12.8 << 0.0;
    QTest::newRow("2000 x 500, both steps") << QSize(2000, 500) << 102.4 << 25.6 << 0.0 << 25.6;
    QTest::newRow("50 x 40 kept") << QSize(50, 40) << 50.0 << 40.0 << 26.2 << 18.4;
    QTest::newRow("4000 x 3000") << QSize(4000, 3000) << 102.4 << 76.8 << 0.0 << 0.0;
    QTest::newRow("tall 100 x 1000") << QSize(100, 1000) << 7.68 << 76.8 << 47.36 << 0.0;
}

void tst_Thumbnail::fitsTheCellWithoutEnlarging() {
    QFETCH(QSize, picture);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(double, left);
    QFETCH(double, top);
    const CellFit fit = FitIntoCell(picture.width(), picture.height());
    QVERIFY2(qAbs(fit.width - width) < 1e-9, qPrintable(QString::number(fit.width)));
    QVERIFY2(qAbs(fit.height - height) < 1e-9, qPrintable(QString::number(fit.height)));
    QVERIFY2(qAbs(fit.left - left) < 1e-9, qPrintable(QString::number(fit.left)));
    QVERIFY2(qAbs(fit.top - top) < 1e-9, qPrintable(QString::number(fit.top)));
}

void tst_Thumbnail::decodesAtTheFittedSize_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("thumbnail");
    QTest::newRow("jpg 1024 x 768") << "a.jpg" << QSize(1024, 768) << QSize(102, 77);
    QTest::newRow("bmp 800 x 800") << "b.bmp" << QSize(800, 800) << QSize(77, 77);
    QTest::newRow("jpg 2000 x 500") << "c.jpg" << QSize(2000, 500) << QSize(102, 26);
    QTest::newRow("gif 50 x 40") << "d.gif" << QSize(50, 40) << QSize(50, 40);
    QTest::newRow("bmp 1 x 40000") << "f.bmp" << QSize(1, 40000) << QSize(1, 77);
    QTest::newRow("jpg 12000 x 9000") << "g.jpg" << QSize(12000, 9000) << QSize(102, 77);
    QTest::newRow("bmp 8000 x 6000") << "h.bmp" << QSize(8000, 6000) << QSize(102, 77);
    QTest::newRow("gif 8000 x 6000") << "i.gif" << QSize(8000, 6000) << QSize(102, 77);
    // Past the memory bound even at 1/8 scale: refused.
    QTest::newRow("jpg claims 60000 x 60000") << "j.jpg" << QSize(60000, 60000) << QSize();
}

void tst_Thumbnail::decodesAtTheFittedSize() {
    QFETCH(QString, name);
    QFETCH(QSize, picture);
    QFETCH(QSize, thumbnail);
    QTemporaryDir dir;
    const QString path = WritePicture(dir.filePath(name), picture, Qt::green);
    const Thumbnail made = MakeThumbnail(path);
    QCOMPARE(made.ok(), thumbnail.isValid());
    if (!made.ok())
        return;
    QCOMPARE(made.path, path);
    QCOMPARE(made.pictureSize, picture);
    QCOMPARE(made.image.size(), thumbnail);
    QVERIFY(made.image.size().width() <= CellPixelSize().width());
    QVERIFY(made.image.size().height() <= CellPixelSize().height());
}

void tst_Thumbnail::eachThumbnailShowsItsOwnFile() {
    QTemporaryDir dir;
    const QList<QColor> colours = {Qt::red, Qt::blue, Qt::yellow};
    QStringList paths;
    for (int i = 0; i < colours.size(); ++i)
        paths << WritePicture(dir.filePath(QString("%1.bmp").arg(i)), {300, 200}, colours[i]);
    for (int i = 0; i < colours.size(); ++i) {
        const Thumbnail made = MakeThumbnail(paths[i]);
        QCOMPARE(made.image.pixelColor(made.image.width() / 2, made.image.height() / 2),
                 colours[i]);
    }
}

void tst_Thumbnail::filesThatCannotBeDecodedGiveNoThumbnail_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    const QByteArray bmp = tavorin::test::PictureBytes("BMP", {64, 48}, Qt::red);
    // A header that claims 30000 x 30000 pixels over a few bytes of data.
    const QByteArray lyingBmp = tavorin::test::WithBitmapSize(bmp.left(54), 30000, 30000);
    QTest::newRow("0-byte photo.jpg") << QByteArray() << "photo.jpg";
    QTest::newRow("text named .jpg") << QByteArray("hello") << "a.jpg";
    QTest::newRow("bmp header lies") << lyingBmp << "lie.bmp";
    QTest::newRow("zero-size gif")
        << tavorin::test::GifBytes({0, 0}, {0, 0}, Qt::red) << "zero.gif";
}

void tst_Thumbnail::filesThatCannotBeDecodedGiveNoThumbnail() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const Thumbnail made = MakeThumbnail(WriteFile(dir.filePath(name), bytes));
    QVERIFY(!made.ok());
    QVERIFY(made.image.isNull());
}

void tst_Thumbnail::aPipeIsNeverOpened() {
    // Opening a pipe for reading waits for a writer: it would hang the search.
    QTemporaryDir dir;
    const QString path = dir.filePath("pipe.jpg");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const Thumbnail made = MakeThumbnail(path);
    QVERIFY(!made.ok());
    QVERIFY(!made.pictureSize.isValid());
}

void tst_Thumbnail::queueHandsThumbnailsBackInSubmittedOrder() {
    QTemporaryDir dir;
    QStringList paths;
    // A slow picture first, quick ones after it, and one that fails between them.
    paths << WritePicture(dir.filePath("big.jpg"), {4000, 3000}, Qt::red);
    for (int i = 0; i < 6; ++i)
        paths << WritePicture(dir.filePath(QString("small%1.gif").arg(i)), {8, 6}, Qt::blue);
    paths.insert(3, WriteFile(dir.filePath("broken.jpg"), "no"));
    QStringList delivered;
    QList<bool> fine;
    ThumbnailQueue queue(
        [&](Thumbnail&& t) {
            delivered << t.path;
            fine << t.ok();
        },
        2, 100);
    for (const QString& path : paths)
        queue.Submit(path);
    queue.DeliverAll();
    QCOMPARE(delivered, paths);
    QCOMPARE(fine, QList<bool>({true, true, true, false, true, true, true, true}));
    QVERIFY(queue.Empty());
}

void tst_Thumbnail::queueKeepsAtMostItsLimitInFlight() {
    QTemporaryDir dir;
    QStringList delivered;
    ThumbnailQueue queue([&](Thumbnail&& t) { delivered << t.path; }, 2, 3);
    QStringList paths;
    for (int i = 0; i < 8; ++i)
        paths << WritePicture(dir.filePath(QString("%1.bmp").arg(i)), {20, 20});
    for (const QString& path : paths)
        queue.Submit(path);
    // Eight submitted, at most three still pending: the oldest five were handed back.
    QCOMPARE(delivered, paths.mid(0, 5));
    queue.DeliverAll();
    QCOMPARE(delivered, paths);
}

QTEST_GUILESS_MAIN(tst_Thumbnail)
#include "tst_Thumbnail.moc"
