#include "search/FolderListing.h"
#include "search/SearchWalk.h"
#include "tests/support/TestPictures.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tavorin::search;
using tavorin::test::WriteFile;
using tavorin::test::WritePicture;

namespace {

// Records what a walk does, in order: "events", "folder <path>", "hit <path>".
struct Recorder {
    QStringList log;
    QStringList hits;
    QList<QSize> measured;
    bool stop = false;
    std::function<void(int)> atEvents; // called with the number of event points so far
    int events = 0;

    WalkHooks hooks() {
        WalkHooks h;
        h.letEventsRun = [this] {
            ++events;
            log << "events";
            if (atEvents)
                atEvents(events);
        };
        h.stopRequested = [this] { return stop; };
        h.folderChanged = [this](const QString& folder) { log << "folder " + folder; };
        h.recordHit = [this](const QString& path, QSize size) {
            log << "hit " + path;
            hits << path;
            measured << size;
        };
        return h;
    }
};

QStringList Relative(const QStringList& paths, const QString& root) {
    QStringList relative;
    for (const QString& path : paths)
        relative << path.mid(root.size() + 1);
    return relative;
}

} // namespace

class tst_SearchWalk : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void listingSortsWithoutRegardToCaseAndHidesDotNames();
    void walkGoesDepthFirstFilesBeforeSubfolders();
    void eventsRunBeforeEachFileAndEachSubfolderOnly();
    void singleFolderSearchLetsNoEventsRunAndStaysInTheFolder();
    void stopAtAFileEventExaminesThatFileAndNothingAfter();
    void stopAtASubfolderEventWalksNoFurther();
    void measuringSearchReadsSizesFromHeaders();
    void unreadablePicturesAreNeverHits();
    void linksAndOtherFileSystemsAreNotEntered();
    void folderDeletedDuringTheWalkIsSkipped();
    void folderWithoutReadPermissionIsSkipped();
    void hostileNamesAreFoundAndSorted();
};

void tst_SearchWalk::listingSortsWithoutRegardToCaseAndHidesDotNames() {
    QTemporaryDir dir;
    for (const char* name : {"b.jpg", "A.JPG", "a.gif", "B2.jpg", "_x.jpg", "10.jpg", "9.jpg",
                             ".hidden.jpg", "notes.txt", "x.jpeg", "photo.jpg.bak", "c.BMP"})
        WriteFile(dir.filePath(name), "x");
    for (const char* folder : {"c", "B", "a", ".git", "d.jpg"})
        QDir(dir.path()).mkdir(folder);
    mkfifo(dir.filePath("pipe.jpg").toLocal8Bit().constData(), 0600);

    const FolderListing listing =
        ListFolder(dir.path().toStdString(), NamePattern("*.bmp;*.jpg;*.gif"));
    QVERIFY(listing.listed);
    const std::vector<std::string> files = {"10.jpg", "9.jpg", "_x.jpg", "a.gif",
                                            "A.JPG",  "b.jpg", "B2.jpg", "c.BMP"};
    QCOMPARE(listing.files, files);
    const std::vector<std::string> folders = {"a", "B", "c", "d.jpg"};
    QCOMPARE(listing.subfolders, folders);

    const FolderListing missing =
        ListFolder(dir.filePath("nowhere").toStdString(), NamePattern("*.jpg"));
    QVERIFY(!missing.listed);
    QVERIFY(missing.files.empty() && missing.subfolders.empty());
}

void tst_SearchWalk::walkGoesDepthFirstFilesBeforeSubfolders() {
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"z.jpg", "M.gif", "B/b1.jpg", "B/Deep/d.bmp", "B/a/x.jpg", "a/A1.jpg",
                             "a/z/last.jpg", "a/Y/y.gif", "a/Y/skip.png", "c/c.jpg"})
        WriteFile(root + "/" + name, "x");
    Recorder recorder;
    SearchWalk walk({}, recorder.hooks());
    walk.Search_Folder(root);
    QCOMPARE(Relative(recorder.hits, root),
             QStringList({"M.gif", "z.jpg", "a/A1.jpg", "a/Y/y.gif", "a/z/last.jpg", "B/b1.jpg",
                          "B/a/x.jpg", "B/Deep/d.bmp", "c/c.jpg"}));
    QCOMPARE(walk.counts().foldersListed, 8);
    // "Any" measures nothing.
    for (const QSize& size : recorder.measured)
        QVERIFY(!size.isValid());
}

void tst_SearchWalk::eventsRunBeforeEachFileAndEachSubfolderOnly() {
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"a.jpg", "b.txt", "S/s.jpg"})
        WriteFile(root + "/" + name, "x");
    Recorder recorder;
    SearchWalk walk({}, recorder.hooks());
    walk.Search_Folder(root);
    QCOMPARE(recorder.log, QStringList({"folder " + root, "events", "hit " + root + "/a.jpg",
                                        "events", "folder " + root + "/S", "events",
                                        "hit " + root + "/S/s.jpg", "folder " + root}));
}

void tst_SearchWalk::singleFolderSearchLetsNoEventsRunAndStaysInTheFolder() {
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"b.jpg", "a.jpg", "S/s.jpg"})
        WriteFile(root + "/" + name, "x");
    Recorder recorder;
    SearchWalk walk({}, recorder.hooks());
    walk.SearchSingleFolder(root);
    QCOMPARE(Relative(recorder.hits, root), QStringList({"a.jpg", "b.jpg"}));
    QCOMPARE(recorder.events, 0);
}

void tst_SearchWalk::stopAtAFileEventExaminesThatFileAndNothingAfter() {
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "S/s.jpg"})
        WriteFile(root + "/" + name, "x");
    Recorder recorder;
    recorder.atEvents = [&recorder](int n) {
        if (n == 2)
            recorder.stop = true; // "Stop" clicked while events ran before 2.jpg
    };
    SearchWalk walk({}, recorder.hooks());
    walk.Search_Folder(root);
    QCOMPARE(Relative(recorder.hits, root), QStringList({"1.jpg", "2.jpg"}));
    QCOMPARE(walk.counts().filesExamined, 2);
    QCOMPARE(recorder.events, 2);
}

void tst_SearchWalk::stopAtASubfolderEventWalksNoFurther() {
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"a.jpg", "A/x.jpg", "A/AA/y.jpg", "A/AB/z.jpg", "B/w.jpg"})
        WriteFile(root + "/" + name, "x");
    Recorder recorder;
    qsizetype stoppedAt = -1;
    recorder.atEvents = [&recorder, &stoppedAt, root](int) {
        if (!recorder.stop && recorder.hits.contains(root + "/A/AA/y.jpg")) {
            recorder.stop = true; // the event point before A/AB
            stoppedAt = recorder.log.size();
        }
    };
    SearchWalk walk({}, recorder.hooks());
    walk.Search_Folder(root);
    QCOMPARE(Relative(recorder.hits, root), QStringList({"a.jpg", "A/x.jpg", "A/AA/y.jpg"}));
    // Unwinding lets no further events run.
    QVERIFY(stoppedAt > 0);
    QVERIFY2(!recorder.log.mid(stoppedAt).contains("events"), qPrintable(recorder.log.join("\n")));
    QVERIFY(!recorder.log.contains("folder " + root + "/B"));
    QVERIFY(!recorder.log.contains("folder " + root + "/A/AB"));
}

void tst_SearchWalk::measuringSearchReadsSizesFromHeaders() {
    QTemporaryDir dir;
    const QString root = dir.path();
    WritePicture(root + "/a 1024x768.jpg", {1024, 768});
    WritePicture(root + "/b 1024x769.bmp", {1024, 769});
    WritePicture(root + "/c 1024x768.gif", {1024, 768});
    WritePicture(root + "/d 639x479.jpg", {639, 479});
    WritePicture(root + "/e 640x479.jpg", {640, 479});
    WritePicture(root + "/f 1280x768.bmp", {1280, 768});
    WritePicture(root + "/g 1281x769.jpg", {1281, 769});

    const auto search = [&](Comparison comparison, float w, float h) {
        Recorder recorder;
        SearchWalk walk({"*.bmp;*.jpg;*.gif", comparison, w, h}, recorder.hooks());
        walk.Search_Folder(root);
        QStringList names;
        for (const QString& hit : recorder.hits)
            names << Get_FileName(hit).section(' ', 0, 0);
        return std::make_pair(names, recorder.measured);
    };
    const auto [equal, equalSizes] = search(Comparison::EqualTo, 1024, 768);
    QCOMPARE(equal, QStringList({"a", "c"}));
    QCOMPARE(equalSizes, QList<QSize>({{1024, 768}, {1024, 768}}));
    QCOMPARE(search(Comparison::LessThan, 640, 480).first, QStringList({"d"}));
    QCOMPARE(search(Comparison::GreaterThan, 1024, 768).first, QStringList({"g"}));
}

void tst_SearchWalk::unreadablePicturesAreNeverHits() {
    QTemporaryDir dir;
    const QString root = dir.path();
    WriteFile(root + "/a photo.jpg", QByteArray());                  // 0 bytes
    WriteFile(root + "/b text.jpg", "this is not a picture at all"); // wrong content
    WriteFile(root + "/c zero frame.gif",
              tavorin::test::GifBytes({0, 0}, {0, 0}, Qt::blue)); // zero-size GIF
    WritePicture(root + "/d good.jpg", {800, 600});
    Recorder recorder;
    SearchWalk walk({"*.jpg;*.gif", Comparison::GreaterThan, 0, 0}, recorder.hooks());
    walk.Search_Folder(root);
    QCOMPARE(Relative(recorder.hits, root), QStringList({"d good.jpg"}));
    QCOMPARE(recorder.measured, QList<QSize>({{800, 600}}));
    QCOMPARE(walk.counts().picturesUnreadable, 3);
}

void tst_SearchWalk::linksAndOtherFileSystemsAreNotEntered() {
    QTemporaryDir dir;
    const QString root = dir.path();
    WriteFile(root + "/A/a.jpg", "x");
    QVERIFY(QFile::link(root, root + "/A/loop"));              // a loop back to the top
    QVERIFY(QFile::link(root + "/A", root + "/B"));            // a second way into A
    QVERIFY(QFile::link(root + "/A/a.jpg", root + "/l.jpg"));  // a link to a file counts
    QVERIFY(QFile::link(root + "/gone.jpg", root + "/m.jpg")); // a dangling link does not
    WriteFile(root + "/M/m.jpg", "x"); // another file system: entered only as the start
    Recorder recorder;
    WalkHooks hooks = recorder.hooks();
    hooks.otherFileSystem = [root](const std::string& folder) {
        return folder == root.toStdString() || folder == (root + "/M").toStdString();
    };
    SearchWalk walk({}, hooks);
    walk.Search_Folder(root);
    QCOMPARE(Relative(recorder.hits, root), QStringList({"l.jpg", "A/a.jpg"}));
    QCOMPARE(walk.counts().foldersListed, 2);
    SearchWalk({}, hooks).Search_Folder(root + "/M");
    QCOMPARE(Relative(recorder.hits, root), QStringList({"l.jpg", "A/a.jpg", "M/m.jpg"}));
}

void tst_SearchWalk::folderDeletedDuringTheWalkIsSkipped() {
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"A/a.jpg", "B/b.jpg", "B/Sub/s.jpg", "C/c.jpg"})
        WriteFile(root + "/" + name, "x");
    Recorder recorder;
    recorder.atEvents = [&recorder, root](int) {
        if (recorder.hits == QStringList({root + "/A/a.jpg"}))
            QDir(root + "/B").removeRecursively();
    };
    SearchWalk walk({}, recorder.hooks());
    walk.Search_Folder(root);
    // B is not given A's (or anyone's) listing; the walk goes on with C.
    QCOMPARE(Relative(recorder.hits, root), QStringList({"A/a.jpg", "C/c.jpg"}));
    QCOMPARE(walk.counts().foldersSkipped, 1);
}

void tst_SearchWalk::folderWithoutReadPermissionIsSkipped() {
    if (geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"A/a.jpg", "B/b.jpg", "C/c.jpg"})
        WriteFile(root + "/" + name, "x");
    QFile::setPermissions(root + "/B", QFileDevice::Permissions());
    Recorder recorder;
    SearchWalk walk({}, recorder.hooks());
    walk.Search_Folder(root);
    QFile::setPermissions(root + "/B",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(Relative(recorder.hits, root), QStringList({"A/a.jpg", "C/c.jpg"}));
}

void tst_SearchWalk::hostileNamesAreFoundAndSorted() {
    QTemporaryDir dir;
    const QString root = dir.path();
    const QStringList names = {QString::fromUtf8("Ärger.jpg"),
                               QString::fromUtf8("äpfel.jpg"),
                               "new\nline.jpg",
                               "it's \"quoted\".jpg",
                               "back\\slash.jpg",
                               "  spaced  .jpg"};
    for (const QString& name : names)
        WritePicture(root + "/" + name, {40, 30});
    Recorder recorder;
    SearchWalk walk({"*.jpg", Comparison::EqualTo, 40, 30}, recorder.hooks());
    walk.Search_Folder(root);
    QCOMPARE(
        Relative(recorder.hits, root),
        QStringList({"  spaced  .jpg", "back\\slash.jpg", "it's \"quoted\".jpg", "new\nline.jpg",
                     QString::fromUtf8("äpfel.jpg"), QString::fromUtf8("Ärger.jpg")}));
}

QTEST_GUILESS_MAIN(tst_SearchWalk)
#include "tst_SearchWalk.moc"
