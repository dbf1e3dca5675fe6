#include "tests/mainwindow/MainWindowHarness.h"

#include "engine/ListFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>

using namespace tavorin;
using namespace tavorin::test;

namespace {

struct ListFiles : MainWindowHarness {
    QStringList list;
    explicit ListFiles(int count) {
        list = pictures(count);
        set(QStringLiteral("change"), QStringLiteral("Never (manually only)"));
        start();
        for (const QString& path : list)
            w->Append_Picture(path);
    }
    QString listPath(const QString& name) const {
        QDir().mkpath(folder.root() + QStringLiteral("/lists"));
        return folder.root() + QStringLiteral("/lists/") + name;
    }
    void save(const QString& name) {
        fake.dialogs.saveAnswers.push_back(name);
        w->cmdSave_Click();
    }
    void load(const QString& name) {
        fake.dialogs.openAnswers.push_back(name);
        w->cmdLoad_Click();
    }
    static QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

ino_t inodeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

QByteArray record(const QByteArray& text, int length) {
    QByteArray bytes(kRecordLength, '\0');
    bytes[0] = char(length & 0xFF);
    bytes[1] = char((length >> 8) & 0xFF);
    bytes.replace(2, text.size(), text);
    return bytes;
}

} // namespace

class tst_frmMainListFiles : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void saveAndLoadRoundTrip();
    void applyWritesTheAutomaticList();
    void applyRewritesAListChangedBehindItsBack();
    void anotherExtensionIsKept();
    void savingReplacesALongerList();
    void emptyListSavesOnlyTheMarker();
    void cancelledDialogsChangeNothing();
    void loadStopsAtAnEmptyRecord();
    void loadKeepsPathsAsStored();
    void loadReadsAtMost32700Pictures();
    void badListFilesLoadWhatTheyCan_data();
    void badListFilesLoadWhatTheyCan();
    void tooLongPathsAreNamedNotDropped();
    void aFailedSaveIsReported();
};

void tst_frmMainListFiles::saveAndLoadRoundTrip() {
    ListFiles h(3);
    h.w->lstWallpaper->setCurrentRow(1);
    const QString typed = h.listPath(QStringLiteral("mine"));
    h.save(QStringLiteral("  ") + typed + QStringLiteral(" "));
    const QString file = typed + QStringLiteral(".tl");
    const QByteArray bytes = ListFiles::bytes(file);
    QCOMPARE(bytes.size(), 800);
    const QByteArray first = h.list[0].toUtf8();
    QCOMPARE(quint8(bytes[0]) | (quint8(bytes[1]) << 8), first.size());
    QCOMPARE(bytes.mid(2, first.size()), first);
    QCOMPARE(GetListRecord(file, 4), kEndMarker);
    QCOMPARE(h.get(QStringLiteral("InitSaveDir")), typed.left(79));
    QCOMPARE(h.fake.dialogs.fileDialogs.last().title, QStringLiteral("Save Tavorin Picturelist"));
    QCOMPARE(h.fake.dialogs.fileDialogs.last().filter,
             QStringLiteral("Tavorin Picturelist (*.tl)"));
    QCOMPARE(h.w->ListIndex(), 1); // saving leaves the selection
    QVERIFY(h.w->lblFilePath->text().isEmpty());

    h.w->mClear_Click();
    h.load(file);
    QCOMPARE(h.paths(), h.list);
    QVERIFY(h.listsParallel());
    QCOMPARE(h.w->ListIndex(), -1);
    QCOMPARE(h.w->lblListCount->text(), QStringLiteral("0/3"));
    QVERIFY(!h.w->cmdDelete->isEnabled());
    QCOMPARE(h.fake.dialogs.fileDialogs.last().title, QStringLiteral("Open Tavorin Picturelist"));
    QCOMPARE(h.fake.dialogs.fileDialogs.last().startPath, typed.left(79));
    QCOMPARE(h.get(QStringLiteral("InitSaveDir")), file.left(79));
    QVERIFY(h.fake.dialogs.messages.isEmpty());
}

void tst_frmMainListFiles::applyWritesTheAutomaticList() {
    ListFiles h(3);
    h.w->cmdApply_Click();
    QCOMPARE(ListFiles::bytes(AutomaticListFile(h.m)).size(), 600);
    QCOMPARE(h.get(QStringLiteral("ListCount")), QStringLiteral("3"));
    // Loading a list changes only what is shown until the next Apply.
    const QString other = h.listPath(QStringLiteral("other.tl"));
    WriteSavedList(other, h.list.mid(0, 1));
    h.load(other);
    QCOMPARE(h.paths(), h.list.mid(0, 1));
    QCOMPARE(ListFiles::bytes(AutomaticListFile(h.m)).size(), 600);
    h.w->mClear_Click();
    h.w->cmdApply_Click(); // an empty list: no file, count 0
    QVERIFY(!QFile::exists(AutomaticListFile(h.m)));
    QCOMPARE(h.get(QStringLiteral("ListCount")), QStringLiteral("0"));
}

void tst_frmMainListFiles::applyRewritesAListChangedBehindItsBack() {
    ListFiles h(3);
    h.w->cmdApply_Click();
    const QString automatic = AutomaticListFile(h.m);
    const QByteArray written = ListFiles::bytes(automatic);
    QCOMPARE(written.size(), 600);

    // The same list applied again leaves the file alone (a write replaces
    // it with a new file)...
    const ino_t before = inodeOf(automatic);
    h.w->cmdApply_Click();
    QCOMPARE(inodeOf(automatic), before);

    // ...but one changed meanwhile by something else gets the list shown
    // (a later change: one within the same clock tick leaves no trace).
    PutListRecord(automatic, 1, h.list.at(2));
    QFile changed(automatic);
    QVERIFY(changed.open(QIODevice::ReadWrite) &&
            changed.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                QFileDevice::FileModificationTime));
    changed.close();
    h.w->cmdApply_Click();
    QCOMPARE(ListFiles::bytes(automatic), written);
    QCOMPARE(h.get(QStringLiteral("ListCount")), QStringLiteral("3"));
}

void tst_frmMainListFiles::anotherExtensionIsKept() {
    ListFiles h(2);
    const QString file = h.listPath(QStringLiteral("mine.lst"));
    h.save(file);
    QCOMPARE(ListFiles::bytes(file).size(), 600);
    QVERIFY(!QFile::exists(file + QStringLiteral(".tl")));
}

void tst_frmMainListFiles::savingReplacesALongerList() {
    ListFiles h(5);
    const QString file = h.listPath(QStringLiteral("mine.tl"));
    h.save(file);
    QCOMPARE(ListFiles::bytes(file).size(), 1200);
    h.w->lstWallpaper->setCurrentRow(0);
    h.fake.dialogs.answers = {MsgResult::Yes, MsgResult::Yes, MsgResult::Yes};
    for (int i = 0; i < 3; ++i) {
        h.w->lstWallpaper->setCurrentRow(0);
        h.w->cmdDelete_Click();
    }
    h.save(file);
    QCOMPARE(ListFiles::bytes(file).size(), 600);
    QCOMPARE(ReadSavedList(file), h.list.mid(3));
}

void tst_frmMainListFiles::emptyListSavesOnlyTheMarker() {
    ListFiles h(0);
    const QString file = h.listPath(QStringLiteral("empty.tl"));
    h.save(file);
    QCOMPARE(ListFiles::bytes(file).size(), 200);
    QCOMPARE(GetListRecord(file, 1), kEndMarker);
    h.w->Append_Picture(h.picture(QStringLiteral("x.jpg")));
    h.load(file);
    QVERIFY(h.paths().isEmpty());
    QCOMPARE(h.w->lblListCount->text(), QStringLiteral("0/0"));
}

void tst_frmMainListFiles::cancelledDialogsChangeNothing() {
    ListFiles h(2);
    h.set(QStringLiteral("InitSaveDir"), QStringLiteral("/somewhere/list"));
    h.w->cmdLoad_Click(); // no answer: cancelled
    QCOMPARE(h.paths(), h.list);
    h.w->cmdSave_Click();
    QVERIFY(h.w->lblFilePath->text().isEmpty());
    QCOMPARE(h.get(QStringLiteral("InitSaveDir")), QStringLiteral("/somewhere/list"));
    QCOMPARE(h.fake.dialogs.fileDialogs.size(), 2);
    QCOMPARE(h.fake.dialogs.fileDialogs[0].startPath, QStringLiteral("/somewhere/list"));
}

void tst_frmMainListFiles::loadStopsAtAnEmptyRecord() {
    ListFiles h(0);
    const QString file = h.listPath(QStringLiteral("gap.tl"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(record("/a/one.jpg", 10));
    f.write(record("", 0));
    f.write(record("/a/three.jpg", 12));
    f.write(record(kEndMarker.toUtf8(), int(kEndMarker.size())));
    f.close();
    h.load(file);
    QCOMPARE(h.paths(), QStringList({"/a/one.jpg"}));
}

void tst_frmMainListFiles::loadKeepsPathsAsStored() {
    ListFiles h(0);
    const QString file = h.listPath(QStringLiteral("relative.tl"));
    WriteSavedList(file, {QStringLiteral("rel/a.jpg"), QStringLiteral("/b/c.gif")});
    h.load(file);
    QCOMPARE(h.paths(), QStringList({"rel/a.jpg", "/b/c.gif"}));
    QCOMPARE(h.names(), QStringList({"a.jpg", "c.gif"}));
}

void tst_frmMainListFiles::loadReadsAtMost32700Pictures() {
    ListFiles h(0);
    const QString file = h.listPath(QStringLiteral("huge.tl"));
    QStringList many;
    many.reserve(kMaxLoadRecords + 5);
    for (int i = 0; i < kMaxLoadRecords + 5; ++i)
        many << QStringLiteral("/pictures/picture %1.jpg").arg(i);
    QVERIFY(WriteSavedList(file, many).written);
    h.load(file);
    QCOMPARE(h.paths().size(), kMaxLoadRecords);
    QCOMPARE(h.paths().last(), many[kMaxLoadRecords - 1]);
    QCOMPARE(h.w->lblListCount->text(), QStringLiteral("0/32700"));
    QVERIFY(!h.w->cmdUp->isEnabled());
}

void tst_frmMainListFiles::badListFilesLoadWhatTheyCan_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("readable"); // pictures read before the bad part
    QTest::newRow("random bytes") << "random" << -1;
    QTest::newRow("length over 198") << "length" << 1;
    QTest::newRow("a picture") << "picture" << -1;
    QTest::newRow("empty file") << "empty" << 0;
    QTest::newRow("a folder") << "folder" << 0;
    QTest::newRow("absent") << "absent" << 0;
    QTest::newRow("cut record") << "cut" << 1;
}

void tst_frmMainListFiles::badListFilesLoadWhatTheyCan() {
    QFETCH(QString, kind);
    QFETCH(int, readable);
    ListFiles h(2);
    QString file = h.listPath(QStringLiteral("bad.tl"));
    QByteArray content;
    if (kind == QLatin1String("random")) {
        QRandomGenerator random(42);
        content.resize(4000);
        for (char& c : content)
            c = char(random.bounded(256));
    } else if (kind == QLatin1String("length")) {
        content = record("/a/fine.jpg", 11) + record(QByteArray(198, 'x'), 250);
    } else if (kind == QLatin1String("picture")) {
        file = h.picture(QStringLiteral("not a list.jpg"));
    } else if (kind == QLatin1String("folder")) {
        QDir().mkpath(file);
    } else if (kind == QLatin1String("cut")) {
        content = record("/a/fine.jpg", 11) + record("/a/second.jpg", 13).left(8);
    }
    if (!content.isEmpty() || kind == QLatin1String("empty")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const QByteArray before = ListFiles::bytes(file);
    const bool existed = QFileInfo::exists(file);
    h.load(file);
    QVERIFY(h.listsParallel());
    if (readable >= 0)
        QCOMPARE(h.paths().size(), readable);
    for (const QString& path : h.paths())
        QVERIFY(!path.isEmpty() && path.toUtf8().size() <= kMaxPathBytes);
    QCOMPARE(h.w->lblListCount->text(), QStringLiteral("0/%1").arg(h.paths().size()));
    QCOMPARE(ListFiles::bytes(file), before); // never written
    QCOMPARE(QFileInfo::exists(file), existed);
}

void tst_frmMainListFiles::tooLongPathsAreNamedNotDropped() {
    ListFiles h(2);
    const QString longName = QString(120, QLatin1Char('n'));
    QDir().mkpath(h.folder.root() + QLatin1Char('/') + longName);
    const QString longPath = h.folder.root() + QLatin1Char('/') + longName + QLatin1Char('/') +
                             QString(90, QLatin1Char('m')) + QStringLiteral(".jpg");
    QVERIFY(longPath.toUtf8().size() > kMaxPathBytes);
    h.w->Append_Picture(longPath);
    const QString file = h.listPath(QStringLiteral("long.tl"));
    h.save(file);
    QCOMPARE(h.fake.dialogs.messages.size(), 1);
    QVERIFY(h.fake.dialogs.messages[0].text.contains(longPath));
    QCOMPARE(ReadSavedList(file), h.list);
    QCOMPARE(h.paths().size(), 3); // the list itself keeps it

    // Apply tells it too, and the schedule counts what was stored.
    h.w->cmdApply_Click();
    QCOMPARE(h.fake.dialogs.messages.size(), 2);
    QCOMPARE(h.get(QStringLiteral("ListCount")), QStringLiteral("2"));
    QCOMPARE(h.w->randomOrder().ListTotal, 2);
}

void tst_frmMainListFiles::aFailedSaveIsReported() {
    ListFiles h(2);
    const QString file = h.folder.root() + QStringLiteral("/no such folder/mine.tl");
    h.save(file);
    QVERIFY(!QFile::exists(file));
    QCOMPARE(h.fake.dialogs.messages.size(), 1);
    QCOMPARE(h.fake.dialogs.messages[0].text,
             QStringLiteral("Could not save the list:'") + file + QLatin1Char('\''));
    QCOMPARE(h.fake.dialogs.messages[0].icon, MsgIcon::Critical);
    QCOMPARE(h.paths(), h.list);

    // Apply says so too, and the schedule counts what the disk still holds.
    const QString automatic = AutomaticListFile(h.m);
    QVERIFY(QDir().mkpath(automatic)); // in the way of the automatic list
    h.w->cmdApply_Click();
    QCOMPARE(h.fake.dialogs.messages.size(), 2);
    QCOMPARE(h.fake.dialogs.messages[1].text,
             QStringLiteral("Could not save the list:'") + automatic + QLatin1Char('\''));
    QCOMPARE(h.w->randomOrder().ListTotal, 0);
    QVERIFY(QFileInfo(automatic).isDir());
}

QTEST_MAIN(tst_frmMainListFiles)
#include "tst_frmMainListFiles.moc"
