#include "engine/PictureInfo.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

class tst_PictureInfo : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void sizeInKBRoundsHalfToEven_data();
    void sizeInKBRoundsHalfToEven();
    void textLayout_data();
    void textLayout();
    void pictureSize_data();
    void pictureSize();
    void notAPicture_data();
    void notAPicture();
    void imageInfoOfAFile();
    void largeFilesShowTheirRealSize();
};

void tst_PictureInfo::sizeInKBRoundsHalfToEven_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("kb");
    QTest::newRow("0") << qint64(0) << qint64(0);
    QTest::newRow("511") << qint64(511) << qint64(0);
    QTest::newRow("512 half to 0") << qint64(512) << qint64(0);
    QTest::newRow("513") << qint64(513) << qint64(1);
    QTest::newRow("600") << qint64(600) << qint64(1);
    QTest::newRow("1024") << qint64(1024) << qint64(1);
    QTest::newRow("1535") << qint64(1535) << qint64(1);
    QTest::newRow("1536 half to 2") << qint64(1536) << qint64(2);
    QTest::newRow("2560 half to 2") << qint64(2560) << qint64(2);
    QTest::newRow("2561") << qint64(2561) << qint64(3);
    QTest::newRow("3584 half to 4") << qint64(3584) << qint64(4);
    QTest::newRow("32 MB") << qint64(32) * 1024 * 1024 << qint64(32768);
    QTest::newRow("5 GB and a half KB")
        << qint64(5) * 1024 * 1024 * 1024 + 512 << qint64(5) * 1024 * 1024;
}

void tst_PictureInfo::sizeInKBRoundsHalfToEven() {
    QFETCH(qint64, bytes);
    QFETCH(qint64, kb);
    QCOMPARE(SizeInKB(bytes), kb);
}

void tst_PictureInfo::textLayout_data() {
    QTest::addColumn<QSize>("resolution");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("example")
        << QSize(1024, 768) << qint64(600) << QStringLiteral("/Pictures/a.jpg")
        << QStringLiteral("Resolution: 1024x768 Pixels     Size: 1KB\r\nFolder: /Pictures");
    QTest::newRow("root") << QSize(1, 1) << qint64(512) << QStringLiteral("/a.gif")
                          << QStringLiteral("Resolution: 1x1 Pixels     Size: 0KB\r\nFolder: /");
    QTest::newRow("no grouping")
        << QSize(30000, 20000) << qint64(123456789) << QString::fromUtf8("/h\xC3\xA9/x y/b.bmp")
        << QString::fromUtf8(
               "Resolution: 30000x20000 Pixels     Size: 120563KB\r\nFolder: /h\xC3\xA9/x y");
}

void tst_PictureInfo::textLayout() {
    QFETCH(QSize, resolution);
    QFETCH(qint64, bytes);
    QFETCH(QString, path);
    QFETCH(QString, text);
    QCOMPARE(ImageInfoText(resolution, bytes, path), text);
}

void tst_PictureInfo::pictureSize_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::newRow("jpeg") << "a.jpg" << Encoded(FourColours(QSize(640, 480)), "JPEG")
                          << QSize(640, 480);
    QTest::newRow("bmp") << "a.bmp" << Encoded(FourColours(QSize(33, 17)), "BMP") << QSize(33, 17);
    QTest::newRow("1x1 gif") << "a.gif" << TinyGif() << QSize(1, 1);
    QTest::newRow("jpeg named gif")
        << "photo.gif" << Encoded(FourColours(QSize(40, 30)), "JPEG") << QSize(40, 30);
    QTest::newRow("no extension") << "picture" << Encoded(FourColours(QSize(8, 6)), "BMP")
                                  << QSize(8, 6);
    QTest::newRow("16-bit bmp") << "b16.bmp" << Bitmap16() << QSize(2, 2);
    QTest::newRow("truncated jpeg")
        << "cut.jpg" << TruncatedJpeg(QSize(200, 100), 0.5) << QSize(200, 100);
    // Read from the header alone: decoding would need 800 MB and more.
    QTest::newRow("20000x10000 bmp header")
        << "huge.bmp" << BitmapHeaderOnly(20000, 10000) << QSize(20000, 10000);
    QTest::newRow("30000x20000 jpeg header")
        << "huge.jpg" << JpegClaiming(30000, 20000) << QSize(30000, 20000);
}

void tst_PictureInfo::pictureSize() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(!WriteFile(path, bytes).isEmpty());
    const auto got = PictureSize(path);
    QVERIFY(got.has_value());
    QCOMPARE(*got, size);
}

void tst_PictureInfo::notAPicture_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text named jpg") << "notes.jpg" << QByteArray("just some words\n");
    QTest::newRow("empty file") << "empty.bmp" << QByteArray();
    QTest::newRow("garbage") << "noise.gif" << QByteArray(4096, '\x5A');
    QTest::newRow("missing") << "missing.jpg" << QByteArray();
    QTest::newRow("folder") << "folder.jpg" << QByteArray();
    // Qt's bitmap reader refuses a header this large outright.
    QTest::newRow("30000x20000 bmp header") << "huge.bmp" << BitmapHeaderOnly(30000, 20000);
}

void tst_PictureInfo::notAPicture() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (name.startsWith(QLatin1String("folder")))
        QVERIFY(QDir().mkpath(path));
    else if (!name.startsWith(QLatin1String("missing")))
        QVERIFY(!WriteFile(path, bytes).isEmpty());
    QVERIFY(!PictureSize(path).has_value());
    QVERIFY(!Image_Info(path).has_value());
}

void tst_PictureInfo::imageInfoOfAFile() {
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("My Pictures"))));
    const QString path = dir.filePath(QStringLiteral("My Pictures/sea.jpg"));
    const QByteArray jpeg = Encoded(FourColours(QSize(320, 200)), "JPEG");
    QVERIFY(!WriteFile(path, jpeg).isEmpty());
    const auto info = Image_Info(path);
    QVERIFY(info.has_value());
    QCOMPARE(*info, QStringLiteral("Resolution: 320x200 Pixels     Size: ") +
                        QString::number(SizeInKB(jpeg.size())) + QStringLiteral("KB\r\nFolder: ") +
                        dir.filePath(QStringLiteral("My Pictures")));
    QCOMPARE(info->count(QStringLiteral("\r\n")), 1);
}

void tst_PictureInfo::largeFilesShowTheirRealSize() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.bmp"));
    QVERIFY(!WriteFile(path, Encoded(FourColours(QSize(4, 4)), "BMP")).isEmpty());
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(qint64(40) * 1024 * 1024 + 1536)); // past the old 32 MB limit
    }
    const auto info = Image_Info(path);
    QVERIFY(info.has_value());
    QVERIFY2(info->startsWith(QStringLiteral("Resolution: 4x4 Pixels     Size: 40962KB\r\n")),
             qPrintable(*info));
}

QTEST_MAIN(tst_PictureInfo)
#include "tst_PictureInfo.moc"
