#include "browser/BrowseRules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace tavorin::browse;

class tst_BrowseRules : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void filterKeepsByLastThreeCharacters_data();
    void filterKeepsByLastThreeCharacters();
    void filterKeepsOrder();
    void thumbnailFitsCell_data();
    void thumbnailFitsCell();
    void thumbnailRectIsCentredInWholePixels_data();
    void thumbnailRectIsCentredInWholePixels();
    void itemTextShowsNaturalSize();
    void percentText_data();
    void percentText();
    void previewFit_data();
    void previewFit();
    void previewOfNothingIsEmpty();
    void pathHelpers();
    void listFilesKeepsFileSystemOrderAndSkipsFolders();
    void listFilesOfMissingFolderIsEmpty();
    void listFoldersSortedWithoutHidden();
    void driveOfPath_data();
    void driveOfPath();
};

void tst_BrowseRules::filterKeepsByLastThreeCharacters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("kept");
    const QString all = DefaultFileType();
    QTest::newRow("A.JPG") << all << "/p/A.JPG" << true;
    QTest::newRow("b.Gif") << all << "/p/b.Gif" << true;
    QTest::newRow("c.bmp") << all << "/p/c.bmp" << true;
    QTest::newRow("photo.jpeg") << all << "/p/photo.jpeg" << false;
    QTest::newRow("x.png") << all << "/p/x.png" << false;
    QTest::newRow("no dot, ends in jpg") << all << "/p/notajpg" << true;
    QTest::newRow("short name") << all << "/p/g" << false;
    QTest::newRow("bitmap keeps bmp") << "Bitmap Files(*.bmp)"
                                      << "/p/a.BMP" << true;
    QTest::newRow("bitmap drops jpg") << "Bitmap Files(*.bmp)"
                                      << "/p/a.jpg" << false;
    QTest::newRow("jpeg keeps jpg") << "JPEG Files(*.jpg)"
                                    << "/p/a.jpg" << true;
    QTest::newRow("jpeg drops gif") << "JPEG Files(*.jpg)"
                                    << "/p/a.gif" << false;
    QTest::newRow("gif keeps gif") << "CompuServe Graphics Interchange(*.gif)"
                                   << "/p/a.GIF" << true;
    QTest::newRow("gif drops bmp") << "CompuServe Graphics Interchange(*.gif)"
                                   << "/p/a.bmp" << false;
    QTest::newRow("unknown filter keeps png") << "All"
                                              << "/p/x.png" << true;
    QTest::newRow("empty filter keeps txt") << ""
                                            << "/p/readme.txt" << true;
}

void tst_BrowseRules::filterKeepsByLastThreeCharacters() {
    QFETCH(QString, filter);
    QFETCH(QString, path);
    QFETCH(bool, kept);
    QCOMPARE(KeepsFile(path, filter), kept);
}

void tst_BrowseRules::filterKeepsOrder() {
    const QStringList files{"/p/z.gif", "/p/x.png", "/p/a.jpg", "/p/m.bmp", "/p/photo.jpeg"};
    QCOMPARE(FilterFiles(files, DefaultFileType()),
             QStringList({"/p/z.gif", "/p/a.jpg", "/p/m.bmp"}));
    QCOMPARE(FileTypeEntries().size(), 4);
    QCOMPARE(FileTypeEntries().last(), DefaultFileType());
    QCOMPARE(DefaultFileType(), QStringLiteral("Background Files (*.jpg;*.bmp;*.gif)"));
}

void tst_BrowseRules::thumbnailFitsCell_data() {
    QTest::addColumn<QSizeF>("natural");
    QTest::addColumn<QSizeF>("fitted");
    QTest::newRow("1024x768 fills") << QSizeF(1024, 768) << QSizeF(102.4, 76.8);
    QTest::newRow("800x800 square") << QSizeF(800, 800) << QSizeF(76.8, 76.8);
    QTest::newRow("2000x500 wide") << QSizeF(2000, 500) << QSizeF(102.4, 25.6);
    QTest::newRow("50x40 kept") << QSizeF(50, 40) << QSizeF(50, 40);
    QTest::newRow("100x77 reduced") << QSizeF(100, 77) << QSizeF(100 * 76.8 / 77, 76.8);
    QTest::newRow("100x76 kept") << QSizeF(100, 76) << QSizeF(100, 76);
    QTest::newRow("4000x3000") << QSizeF(4000, 3000) << QSizeF(102.4, 76.8);
    QTest::newRow("tall 300x3000") << QSizeF(300, 3000) << QSizeF(7.68, 76.8);
}

void tst_BrowseRules::thumbnailFitsCell() {
    QFETCH(QSizeF, natural);
    QFETCH(QSizeF, fitted);
    const QSizeF got = FitIntoCell(natural);
    QVERIFY2(qAbs(got.width() - fitted.width()) < 1e-9 &&
                 qAbs(got.height() - fitted.height()) < 1e-9,
             qPrintable(QStringLiteral("%1 x %2").arg(got.width()).arg(got.height())));
}

void tst_BrowseRules::thumbnailRectIsCentredInWholePixels_data() {
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("1024x768 whole cell") << QSize(1024, 768) << QRect(0, 0, 102, 77);
    QTest::newRow("800x800 centred across") << QSize(800, 800) << QRect(12, 0, 77, 77);
    QTest::newRow("2000x500 centred down") << QSize(2000, 500) << QRect(0, 25, 102, 26);
    QTest::newRow("50x40 in the middle") << QSize(50, 40) << QRect(26, 18, 50, 40);
    QTest::newRow("1x1") << QSize(1, 1) << QRect(50, 38, 1, 1);
    QTest::newRow("a line 10000x1") << QSize(10000, 1) << QRect(0, 38, 102, 1);
    QTest::newRow("empty") << QSize(0, 10) << QRect();
}

void tst_BrowseRules::thumbnailRectIsCentredInWholePixels() {
    QFETCH(QSize, natural);
    QFETCH(QRect, rect);
    QCOMPARE(ThumbnailRect(natural), rect);
}

void tst_BrowseRules::itemTextShowsNaturalSize() {
    QCOMPARE(ItemText("/photos/sea.jpg", QSize(1024, 768)),
             QStringLiteral("sea.jpg \r\n1024 * 768"));
    QCOMPARE(ItemText("/photos/big.jpg", QSize(4000, 3000)),
             QStringLiteral("big.jpg \r\n4000 * 3000"));
    // Unreadable: the name alone, never a size.
    QCOMPARE(ItemText("/photos/broken.jpg", QSize()), QStringLiteral("broken.jpg"));
}

void tst_BrowseRules::percentText_data() {
    QTest::addColumn<int>("i");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("1/3") << 1 << 3 << "33.33";
    QTest::newRow("2/3") << 2 << 3 << "66.67";
    QTest::newRow("3/3") << 3 << 3 << "100.00";
    QTest::newRow("1/200 no leading zero") << 1 << 200 << ".50";
    QTest::newRow("1/2") << 1 << 2 << "50.00";
    QTest::newRow("1/10000") << 1 << 10000 << ".01";
    QTest::newRow("1/30000 rounds to nothing") << 1 << 30000 << ".00";
    QTest::newRow("half to even down 1/32 = 3.125") << 1 << 32 << "3.12";
    QTest::newRow("half to even up 3/32 = 9.375") << 3 << 32 << "9.38";
    QTest::newRow("199/200") << 199 << 200 << "99.50";
    QTest::newRow("no count") << 1 << 0 << "";
}

void tst_BrowseRules::percentText() {
    QFETCH(int, i);
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(PercentText(i, count), text);
}

void tst_BrowseRules::previewFit_data() {
    QTest::addColumn<QSizeF>("natural"); // twips
    QTest::addColumn<QRectF>("box");     // twips
    QTest::newRow("100x100 doubled five times then fitted")
        << QSizeF(100, 100) << QRectF(412.5, 0, 2490, 2490);
    QTest::newRow("exact box") << QSizeF(3315, 2490) << QRectF(0, 0, 3315, 2490);
    QTest::newRow("4000x3000 px reduced to the width")
        << QSizeF(60000, 45000) << QRectF(0, (2490 - 2486.25) / 2, 3315, 2486.25);
    QTest::newRow("wide 2000x500 px")
        << QSizeF(30000, 7500) << QRectF(0, 2490 / 2.0 - 828.75 / 2, 3315, 828.75);
    QTest::newRow("small wide doubled to the width")
        << QSizeF(200, 50) << QRectF(0, 2490 / 2.0 - 3315 / 8.0, 3315, 3315 / 4.0);
}

void tst_BrowseRules::previewFit() {
    QFETCH(QSizeF, natural);
    QFETCH(QRectF, box);
    const QRectF got = PreviewFit(natural);
    QVERIFY2(qAbs(got.x() - box.x()) < 1e-6 && qAbs(got.y() - box.y()) < 1e-6 &&
                 qAbs(got.width() - box.width()) < 1e-6 && qAbs(got.height() - box.height()) < 1e-6,
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(got.x())
                            .arg(got.y())
                            .arg(got.width())
                            .arg(got.height())));
}

void tst_BrowseRules::previewOfNothingIsEmpty() {
    // A picture without area would double for ever: no preview instead.
    QVERIFY(PreviewFit(QSizeF(0, 0)).isEmpty());
    QVERIFY(PreviewFit(QSizeF(0, 100)).isEmpty());
    QVERIFY(PreviewRect(QSize()).isEmpty());
    QCOMPARE(PreviewRect(QSize(1024, 768)), QRect(0, 0, 221, 166));
    QCOMPARE(PreviewRect(QSize(100, 100)), QRect(28, 0, 166, 166));
}

void tst_BrowseRules::pathHelpers() {
    QCOMPARE(Fix_Path(""), QStringLiteral("/"));
    QCOMPARE(Fix_Path("/a"), QStringLiteral("/a/"));
    QCOMPARE(Fix_Path("/a/"), QStringLiteral("/a/"));
    QCOMPARE(Get_FileName("/a/b c.jpg"), QStringLiteral("b c.jpg"));
    QCOMPARE(Get_FileName("x.jpg"), QStringLiteral("x.jpg"));
    QCOMPARE(FileEnding("/a/B.JpG"), QStringLiteral("jpg"));
}

void tst_BrowseRules::listFilesKeepsFileSystemOrderAndSkipsFolders() {
    QTemporaryDir dir;
    const QString root = dir.path();
    const QStringList names{"b.jpg",        ".hidden.gif",    "a.bmp",
                            "odd|name.jpg", "space name.JPG", "é.gif"};
    for (const QString& name : names) {
        QFile f(root + "/" + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(root).mkdir("folder.jpg"));
    QVERIFY(QFile::link(root + "/folder.jpg", root + "/link-to-folder.jpg"));
    QVERIFY(QFile::link(root + "/gone", root + "/dangling.jpg"));

    const QStringList files = List_Files(root);
    // The order is the file system's: compare against a plain listing.
    QStringList expected;
    for (const QString& name :
         QDir(root).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted))
        expected.append(root + "/" + name);
    QCOMPARE(files, expected);
    QCOMPARE(files.size(), names.size() + 1); // the dangling link is a file
    QVERIFY(files.contains(root + "/.hidden.gif"));
    QVERIFY(!files.contains(root + "/folder.jpg"));
    QVERIFY(!files.contains(root + "/link-to-folder.jpg"));
    // A trailing "/" on the folder gives the same paths.
    QCOMPARE(List_Files(root + "/"), files);
}

void tst_BrowseRules::listFilesOfMissingFolderIsEmpty() {
    QTemporaryDir dir;
    QVERIFY(List_Files(dir.path() + "/nothing").isEmpty());
    QVERIFY(List_Files("").size() >= 0); // the root: must not fail
    if (::geteuid() != 0) {
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        QFile::setPermissions(dir.path() + "/locked", QFileDevice::Permissions());
        QVERIFY(List_Files(dir.path() + "/locked").isEmpty());
    }
}

void tst_BrowseRules::listFoldersSortedWithoutHidden() {
    QTemporaryDir dir;
    for (const char* name : {"beta", "Alpha", ".git", "gamma"})
        QVERIFY(QDir(dir.path()).mkdir(name));
    QFile f(dir.path() + "/file.jpg");
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(List_Folders(dir.path()),
             QStringList({dir.path() + "/Alpha", dir.path() + "/beta", dir.path() + "/gamma"}));
}

void tst_BrowseRules::driveOfPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("home") << "/home/u/pics"
                          << "/";
    QTest::newRow("usb") << "/media/usb/DCIM"
                         << "/media/usb";
    QTest::newRow("usb itself") << "/media/usb"
                                << "/media/usb";
    QTest::newRow("prefix is not a parent") << "/media/usb2/x"
                                            << "/";
    QTest::newRow("nested mount wins") << "/media/usb/inner/a"
                                       << "/media/usb/inner";
    QTest::newRow("relative") << "photos"
                              << "";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_BrowseRules::driveOfPath() {
    QFETCH(QString, path);
    QFETCH(QString, drive);
    QCOMPARE(DriveOf(path, {"/", "/media/usb", "/media/usb/inner"}), drive);
}

QTEST_GUILESS_MAIN(tst_BrowseRules)
#include "tst_BrowseRules.moc"
