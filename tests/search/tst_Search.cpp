// The search's criteria, its walk through a folder tree and its thumbnail queue.
#include "search/FolderListing.h"
#include "search/SearchWalk.h"
#include "search/Thumbnail.h"
#include "tests/support/Rows.h"
#include "tests/support/TestPictures.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace tavorin;
using namespace tavorin::search;
using namespace tavorin::test;

namespace {

// clang-format off
struct PatternRow { const char* name; QString pattern, file; bool matches; };
const PatternRow kPatternRows[] = {
    {"upper case", "*.bmp;*.jpg;*.gif", "SKY.JPG", true},
    {"not the type", "*.bmp;*.jpg", "a.gif", false},
    {"ending inside the name", "*.jpg", "a.jpg.bak", false},
    {"question mark takes one letter", "?.jpg", "ä.jpg", true},
    {"question mark takes exactly one", "?.jpg", "ab.jpg", false},
    {"star then more", "a*b*.gif", "aXXbYY.GIF", true},
    {"empty pattern", "", "a.jpg", false},
    {"all types", PatternForFileType("Background Files (*.bmp; *.jpg; *.gif)"), "a.gif", true},
    {"type texts compare exactly", PatternForFileType("jpeg files(*.jpg)"), "a.jpg", false},
};

// The comparison, the picture's size, the boxes' texts: a hit, or why the search refuses.
struct SizeRow { const char* name; QString comparison; int w, h; QString boxW, boxH, result; };
const QString kEmpty = "Type a width and a height in pixels to compare with";
const QString kHuge = "Width and height must be at most 16777216 pixels";
const SizeRow kSizeRows[] = {
    {"any", "Any", 1, 1, "", "", "hit"},
    {"equal, one off", "Equal To", 1024, 769, "1024", "768", "miss"},
    {"less, both below", "Less Than", 639, 479, "6a40", "4,80", "hit"},
    {"less, width equal", "Less Than", 640, 479, "640", "480", "miss"},
    {"less, height equal", "Less Than", 639, 480, "640", "480", "miss"},
    {"greater, height equal", "Greater Than", 1280, 768, "1024", "768", "miss"},
    {"greater, both above", "Greater Than", 1280, 769, "1024", "768", "hit"},
    {"largest", "Equal To", 16777216, 1, "16777216", "1", "hit"},
    {"empty width", "Equal To", 1, 1, "", "768", kEmpty},
    {"one above the largest", "Equal To", 1, 1, "16777217", "1", kHuge},
    {"beyond single precision", "Greater Than", 1, 1, "1", QString(60, '9'), kHuge},
};

// A picture file and the thumbnail it gives (none: it cannot be decoded).
struct ThumbRow { const char* name; QString file; QByteArray bytes; QSize picture, thumbnail; };
const QByteArray kLyingBitmap =
    WithBitmapSize(PictureBytes("BMP", {64, 48}, Qt::red).left(54), 30000, 30000);
const ThumbRow kThumbRows[] = {
    {"jpg 1024 x 768", "a.jpg", {}, {1024, 768}, {102, 77}},
    {"bmp 800 x 800", "b.bmp", {}, {800, 800}, {77, 77}},
    {"gif 50 x 40", "d.gif", {}, {50, 40}, {50, 40}},
    {"bmp 1 x 40000", "f.bmp", {}, {1, 40000}, {1, 77}},
    {"bmp 8000 x 6000", "h.bmp", {}, {8000, 6000}, {102, 77}},
    {"jpg claims 60000 x 60000", "j.jpg", {}, {60000, 60000}, {}},
    {"0-byte photo.jpg", "photo.jpg", "", {}, {}},
    {"bmp header lies", "lie.bmp", kLyingBitmap, {}, {}},
    {"zero-size gif", "zero.gif", GifBytes({0, 0}, {0, 0}), {}, {}},
};
// clang-format on

// Records a walk: "folder <path>", "events", "hit <path>", relative to the root.
struct Walk {
    QString root;
    QStringList log, hits;
    bool stop = false;
    std::function<void()> atEvents;
    WalkCounts counts;
    explicit Walk(const QString& folder, const QStringList& files = {}) : root(folder) {
        for (const QString& file : files)
            WriteFile(root + "/" + file, "x");
    }
    QString relative(const QString& path) const { return path.mid(root.size() + 1); }
    WalkHooks hooks() {
        WalkHooks h;
        h.letEventsRun = [this] {
            log << "events";
            if (atEvents)
                atEvents();
        };
        h.stopRequested = [this] { return stop; };
        h.folderChanged = [this](const QString& f) { log << "folder " + relative(f); };
        h.recordHit = [this](const QString& path, QSize) {
            log << "hit " + relative(path);
            hits << relative(path);
        };
        return h;
    }
    QStringList run() {
        SearchWalk walk({}, hooks());
        walk.Search_Folder(root);
        counts = walk.counts();
        return hits;
    }
};

} // namespace

Q_DECLARE_METATYPE(PatternRow)
Q_DECLARE_METATYPE(SizeRow)
Q_DECLARE_METATYPE(ThumbRow)

class tst_Search : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
  private Q_SLOTS:
    void init() { QVERIFY(QDir(dir.path()).removeRecursively() && QDir().mkpath(dir.path())); }
    void pattern_data() { AddRows(kPatternRows); }
    void pattern() {
        QFETCH(PatternRow, row);
        QCOMPARE(NamePattern(row.pattern).Matches(row.file.toUtf8().toStdString()), row.matches);
    }
    // The boxes as a search reads them (digits only), then the strict test on both sides.
    void sizeTest_data() { AddRows(kSizeRows); }
    void sizeTest() {
        QFETCH(SizeRow, row);
        const Comparison comparison = ComparisonFromText(row.comparison);
        const QString w = DigitsOnly(row.boxW), h = DigitsOnly(row.boxH);
        if (const auto problem = SizeBoxProblem(comparison, w, h)) {
            QCOMPARE(*problem, row.result);
            return;
        }
        const bool hit = PassesSizeTest(comparison, row.w, row.h, ReadDimension(w).value,
                                        ReadDimension(h).value);
        QCOMPARE(QString(hit ? "hit" : "miss"), row.result);
    }
    void texts() {
        QCOMPARE(DigitsOnly(QString::fromUtf8("-1 ١٢3.5")), QString("135"));
        QCOMPARE(DriveEntries({{"/media/usb", true}, {"/", true}, {"/mnt/cd", false}}),
                 QStringList({"/", "/media/usb"}));
    }
    void listingSortsWithoutRegardToCaseAndHidesDotNames() {
        Walk w(dir.path(),
               {"b.jpg", "A.JPG", "a.gif", "B2.jpg", "_x.jpg", "10.jpg", "9.jpg", ".hidden.jpg",
                "notes.txt", "x.jpeg", "c.BMP", "c/x", "B/x", ".git/x", "d.jpg/x"});
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.jpg")).constData(), 0600), 0);
        const FolderListing listing =
            ListFolder(dir.path().toStdString(), NamePattern("*.bmp;*.jpg;*.gif"));
        QVERIFY(listing.listed);
        QCOMPARE(listing.files, std::vector<std::string>({"10.jpg", "9.jpg", "_x.jpg", "a.gif",
                                                          "A.JPG", "b.jpg", "B2.jpg", "c.BMP"}));
        QCOMPARE(listing.subfolders, std::vector<std::string>({"B", "c", "d.jpg"}));
        QVERIFY(!ListFolder(dir.filePath("nowhere").toStdString(), NamePattern("*.jpg")).listed);
    }
    // Depth first, a folder's files before its subfolders; events run before each
    // file and each subfolder.
    void walkGoesDepthFirst() {
        Walk w(dir.path(), {"z.jpg", "M.gif", "B/b1.jpg", "B/Deep/d.bmp", "B/a/x.jpg", "a/A1.jpg",
                            "a/z/last.jpg", "a/Y/y.gif", "a/Y/skip.png", "c/c.jpg"});
        QCOMPARE(w.run(), QStringList({"M.gif", "z.jpg", "a/A1.jpg", "a/Y/y.gif", "a/z/last.jpg",
                                       "B/b1.jpg", "B/a/x.jpg", "B/Deep/d.bmp", "c/c.jpg"}));
        QCOMPARE(w.counts.foldersListed, 8);
        Walk small(dir.filePath("B"));
        small.run();
        QCOMPARE(small.log, QStringList({"folder ", "events", "hit b1.jpg", "events", "folder a",
                                         "events", "hit a/x.jpg", "folder ", "events",
                                         "folder Deep", "events", "hit Deep/d.bmp", "folder "}));
    }
    // The file whose turn it was is still examined; after that nothing is
    // walked, and unwinding lets no further events run.
    void stopEndsTheWalk() {
        Walk w(dir.path(),
               {"1.jpg", "2.jpg", "3.jpg", "A/x.jpg", "A/AA/y.jpg", "A/AB/z.jpg", "B/w.jpg"});
        w.atEvents = [&w] { w.stop = w.log.count("events") == 2; };
        QCOMPARE(w.run(), QStringList({"1.jpg", "2.jpg"}));
        QCOMPARE(w.counts.filesExamined, 2);
        Walk deeper(dir.path());
        deeper.atEvents = [&deeper] { deeper.stop = deeper.hits.contains("A/AA/y.jpg"); };
        QCOMPARE(deeper.run(), QStringList({"1.jpg", "2.jpg", "3.jpg", "A/x.jpg", "A/AA/y.jpg"}));
        QCOMPARE(deeper.log.mid(deeper.log.indexOf("hit A/AA/y.jpg")).count("events"), 1);
    }
    void linksGoneFoldersAndOtherFileSystems() {
        Walk w(dir.path(), {"A/a.jpg", "M/m.jpg", "C/c.jpg", "D/d.jpg"});
        QVERIFY(QFile::link(dir.path(), dir.filePath("A/loop")));
        QVERIFY(QFile::link(dir.filePath("A"), dir.filePath("B")));
        QVERIFY(QFile::link(dir.filePath("A/a.jpg"), dir.filePath("l.jpg")));  // counts
        QVERIFY(QFile::link(dir.filePath("gone.jpg"), dir.filePath("m.jpg"))); // does not
        w.atEvents = [&w] {
            if (w.hits == QStringList({"l.jpg", "A/a.jpg"}))
                QDir(w.root + "/C").removeRecursively();
        };
        WalkHooks hooks = w.hooks();
        hooks.otherFileSystem = [&w](const std::string& f) {
            return f == w.root.toStdString() + "/M";
        };
        SearchWalk walk({}, hooks);
        walk.Search_Folder(w.root);
        QCOMPARE(w.hits, QStringList({"l.jpg", "A/a.jpg", "D/d.jpg"}));
        QCOMPARE(walk.counts().foldersSkipped, 1);
        SearchWalk({}, hooks).Search_Folder(dir.filePath("M")); // the start is always entered
        QCOMPARE(w.hits.last(), QString("M/m.jpg"));
    }
    void thumbnail_data() { AddRows(kThumbRows); }
    void thumbnail() {
        QFETCH(ThumbRow, row);
        const QString path = row.picture.isValid()
                                 ? WritePicture(dir.filePath(row.file), row.picture, Qt::green)
                                 : WriteFile(dir.filePath(row.file), row.bytes);
        const Thumbnail made = MakeThumbnail(path);
        QCOMPARE(made.ok() ? made.image.size() : QSize(), row.thumbnail);
        QCOMPARE(made.ok(), row.thumbnail.isValid());
        QCOMPARE(made.pictureSize, made.ok() ? row.picture : QSize());
        const QColor centre = made.image.pixelColor(made.image.rect().center());
        // Over 4096 pixels a side the test pictures are black.
        QVERIFY(!made.ok() || row.picture.width() > 4096 || row.picture.height() > 4096 ||
                (centre.green() > 200 && centre.red() < 60 && centre.blue() < 60));
    }
    // In submitted order whatever finishes first, a pipe never opened; at most
    // the limit in flight.
    void queueHandsBackInOrder() {
        QStringList paths{WritePicture(dir.filePath("big.jpg"), {4000, 3000}, Qt::red)};
        for (int i = 0; i < 6; ++i)
            paths << WritePicture(dir.filePath(QString("small%1.gif").arg(i)), {8, 6}, Qt::blue);
        paths.insert(3, dir.filePath("pipe.jpg"));
        QCOMPARE(::mkfifo(QFile::encodeName(paths[3]).constData(), 0600), 0);
        QStringList delivered;
        const auto deliver = [&](Thumbnail&& t) {
            delivered << t.path + (t.ok() ? "" : " failed");
        };
        ThumbnailQueue queue(deliver, 2, 3);
        for (const QString& path : paths)
            queue.Submit(path);
        paths[3] += " failed";
        QCOMPARE(delivered, paths.mid(0, 5));
        queue.DeliverAll();
        QCOMPARE(delivered, paths);
        QVERIFY(queue.Empty());
    }
    // Last: the process goes on unprivileged.
    void folderWithoutReadPermissionIsSkipped() {
        dir.remove();
        QVERIFY(DropRoot());
        QTemporaryDir own;
        Walk w(own.path(), {"A/a.jpg", "B/b.jpg", "C/c.jpg"});
        QVERIFY(QFile::setPermissions(own.filePath("B"), {}));
        QCOMPARE(w.run(), QStringList({"A/a.jpg", "C/c.jpg"}));
        QCOMPARE(w.counts.foldersSkipped, 1);
        QFile::setPermissions(own.filePath("B"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(tst_Search)
#include "tst_Search.moc"
