// The image browser's rules without a window, and its thumbnail scan on hostile files.
#include "browser/BrowseRules.h"
#include "browser/ThumbnailScan.h"
#include "tests/support/Rows.h"
#include "tests/support/TestPictures.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QTemporaryDir>

using namespace tavorin::browse;
using namespace tavorin::test;

namespace {

const QColor kBackground(250, 250, 250);
const QString kAll = QStringLiteral("Background Files (*.jpg;*.bmp;*.gif)");

// clang-format off
struct FilterRow { const char* name; QString filter, path; bool kept; };
const FilterRow kFilterRows[] = {
    {"A.JPG", kAll, "/p/A.JPG", true},
    {"jpeg", kAll, "/p/photo.jpeg", false},
    {"no dot, ends in jpg", kAll, "/p/notajpg", true},
    {"short name", kAll, "/p/g", false},
    {"bitmap drops jpg", "Bitmap Files(*.bmp)", "/p/a.jpg", false},
    {"gif keeps gif", "CompuServe Graphics Interchange(*.gif)", "/p/a.GIF", true},
    {"unknown filter keeps png", "All", "/p/x.png", true},
};

// The shared fit into the 102.4 x 76.8 cell, then centred in 102 x 77 whole
// pixels; a format names a picture file to draw it from.
struct CellRow { const char* name; QSize natural; QSizeF fitted; QRect rect; const char* format; };
const CellRow kCellRows[] = {
    {"1024x768 fills", {1024, 768}, {102.4, 76.8}, {0, 0, 102, 77}, nullptr},
    {"800x800 square", {800, 800}, {76.8, 76.8}, {12, 0, 77, 77}, "JPG"},
    {"2000x500 wide", {2000, 500}, {102.4, 25.6}, {0, 25, 102, 26}, "JPG"},
    {"50x40 kept", {50, 40}, {50, 40}, {26, 18, 50, 40}, "BMP"},
    {"40x90 tall gif", {40, 90}, {512.0 / 15, 76.8}, {34, 0, 34, 77}, "GIF"},
    {"100x77 reduced", {100, 77}, {7680.0 / 77, 76.8}, {1, 0, 100, 77}, nullptr},
    {"100x76 kept", {100, 76}, {100, 76}, {1, 0, 100, 76}, nullptr},
    {"empty", {0, 10}, {0, 10}, {}, nullptr},
};

struct PercentRow { const char* name; int i, count; QString text; };
const PercentRow kPercentRows[] = {
    {"2/3", 2, 3, "66.67"},
    {"1/200", 1, 200, ".50"},
    {"1/30000", 1, 30000, ".00"},
    {"3.125 to even", 1, 32, "3.12"},
    {"9.375 to even", 3, 32, "9.38"},
    {"no count", 1, 0, ""},
};

struct DriveRow { const char* name; QString path, drive; };
const DriveRow kDriveRows[] = {
    {"home", "/home/u/pics", "/"},
    {"usb itself", "/media/usb", "/media/usb"},
    {"prefix is not a parent", "/media/usb2/x", "/"},
    {"nested mount wins", "/media/usb/inner/a", "/media/usb/inner"},
    {"relative", "photos", ""},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(FilterRow)
Q_DECLARE_METATYPE(CellRow)
Q_DECLARE_METATYPE(PercentRow)
Q_DECLARE_METATYPE(DriveRow)

class tst_BrowseRules : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void filter_data() { AddRows(kFilterRows); }
    void filter() {
        QFETCH(FilterRow, row);
        QCOMPARE(KeepsFile(row.path, row.filter), row.kept);
    }
    // The rule, and the cell the scan draws: the picture inside the rectangle,
    // the background around it.
    void cell_data() { AddRows(kCellRows); }
    void cell() {
        QFETCH(CellRow, row);
        QCOMPARE(FitIntoCell(QSizeF(row.natural)), row.fitted);
        QCOMPARE(ThumbnailRect(row.natural), row.rect);
        if (!row.format)
            return;
        QTemporaryDir dir;
        const Thumbnail t = MakeThumbnail(
            WritePicture(dir.filePath("p"), row.natural, Qt::red, row.format), kBackground);
        QCOMPARE(t.natural, row.natural);
        const QRect in = row.rect, cell(0, 0, 102, 77);
        for (QPoint p : {in.center(), in.topLeft() + QPoint(1, 1), in.bottomRight() - QPoint(1, 1)})
            QVERIFY(QColor(t.cell.pixel(p)).red() > 200 && QColor(t.cell.pixel(p)).blue() < 50);
        for (QPoint p : {in.topLeft() - QPoint(1, 1), in.bottomRight() + QPoint(1, 1)})
            QVERIFY(!cell.contains(p) || t.cell.pixel(p) == kBackground.rgb());
    }
    void texts() {
        QCOMPARE(ItemText("/photos/broken.jpg", QSize()), QStringLiteral("broken.jpg"));
        QCOMPARE(AddedText(1), QStringLiteral("Total: 1 image added to the list"));
        QCOMPARE(AddedText(2), QStringLiteral("Total: 2 images added to the list"));
        QCOMPARE(PreviewRect(QSize(100, 100)), QRect(28, 0, 166, 166)); // doubled, then fitted
        QCOMPARE(PreviewRect(QSize(4000, 1000)), QRect(0, 55, 221, 55));
        QVERIFY(PreviewRect(QSize()).isEmpty());
        QCOMPARE(Fix_Path("/a"), QStringLiteral("/a/"));
        QCOMPARE(FileEnding("/a/B.JpG"), QStringLiteral("jpg"));
        const QStringList files{"/p/z.gif", "/p/x.png", "/p/a.jpg", "/p/m.bmp", "/p/photo.jpeg"};
        QCOMPARE(FilterFiles(files, kAll), QStringList({"/p/z.gif", "/p/a.jpg", "/p/m.bmp"}));
    }
    void percent_data() { AddRows(kPercentRows); }
    void percent() {
        QFETCH(PercentRow, row);
        QCOMPARE(PercentText(row.i, row.count), row.text);
    }
    void drive_data() { AddRows(kDriveRows); }
    void drive() {
        QFETCH(DriveRow, row);
        QCOMPARE(DriveOf(row.path, {"/", "/media/usb", "/media/usb/inner"}), row.drive);
    }
    void listFilesKeepsFileSystemOrderAndSkipsFolders() {
        QTemporaryDir dir;
        const QString root = dir.path();
        for (const char* name : {"b.jpg", ".hidden.gif", "a.bmp", "folder.jpg/x", "Alpha/x"})
            WriteFile(root + "/" + name, "x");
        QVERIFY(QFile::link(root + "/folder.jpg", root + "/link-to-folder.jpg"));
        QVERIFY(QFile::link(root + "/gone", root + "/dangling.jpg"));
        QStringList expected; // the file system's order, dangling links included
        for (const QString& name :
             QDir(root).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted))
            expected.append(root + "/" + name);
        QCOMPARE(expected.size(), 4);
        QCOMPARE(List_Files(root + "/"), expected);
        QCOMPARE(List_Folders(root), QStringList({root + "/Alpha", root + "/folder.jpg",
                                                  root + "/link-to-folder.jpg"}));
    }
    void scanHandsOverInOrder() {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 40; ++i)
            paths << WritePicture(dir.filePath(QString::number(i)), QSize(100 + i, 50 + i), Qt::red,
                                  i % 2 ? "BMP" : "JPG");
        paths.insert(7, dir.filePath("missing.jpg"));
        int next = 0;
        const auto handOver = [&](int i, Thumbnail&& t) {
            QCOMPARE(i, next++);
            const int n = i < 7 ? i : i - 1;
            QCOMPARE(t.natural, i == 7 ? QSize() : QSize(100 + n, 50 + n));
        };
        ThumbnailScan::Run(paths, kBackground, handOver, 2);
        QCOMPARE(next, 41);
        ThumbnailScan::Run({}, kBackground, [](int, Thumbnail&&) { QFAIL("called"); });
    }
    // Each cell is handed over; an undecodable file gets an empty cell and no
    // size, never the picture before it.
    void hostileFiles() {
        QTemporaryDir dir;
        QStringList paths{WritePicture(dir.filePath("good.bmp"), {1024, 768}, Qt::red, "BMP")};
        for (const QString& name : WriteHostileFiles(dir.path()))
            paths.append(dir.filePath(name));
        paths.append(dir.filePath("vanished.jpg"));
        QStringList seen;
        ThumbnailScan::Run(paths, kBackground, [&](int i, Thumbnail&& t) {
            const QString name = Get_FileName(paths.at(i));
            seen.append(paths.at(i));
            QCOMPARE(t.decoded, t.natural.isValid());
            QVERIFY(!t.decoded || !(name.startsWith("bad-") || name == "vanished.jpg"));
            QVERIFY(t.decoded || t.cell.pixel(51, 38) == kBackground.rgb());
            if (QStringList{"new\nline.jpg", "-dash.gif", "quote'\"pipe|.bmp"}.contains(name))
                QCOMPARE(t.natural, QSize(30, 20));
        });
        QCOMPARE(seen, paths);
    }
    // Last: the process goes on unprivileged.
    void lockedFolderListsNothing() {
        QVERIFY(DropRoot());
        QTemporaryDir dir;
        WriteFile(dir.filePath("locked/a.jpg"), "x");
        QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFileDevice::Permissions()));
        QVERIFY(List_Files(dir.filePath("locked")).isEmpty());
        QVERIFY(List_Folders(dir.filePath("locked")).isEmpty());
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(tst_BrowseRules)
#include "tst_BrowseRules.moc"
