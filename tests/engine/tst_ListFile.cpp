#include "engine/ListFile.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using namespace tavorin;
using namespace tavorin::test;

namespace {

QByteArray record(const QByteArray& text) {
    QByteArray r(kRecordLength, '\0');
    r[0] = static_cast<char>(text.size() & 0xFF);
    r[1] = static_cast<char>(text.size() >> 8);
    r.replace(2, text.size(), text);
    return r;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A path of exactly `bytes` UTF-8 bytes, made of two-byte letters where it can.
QString pathOfBytes(int bytes) {
    QString path = QStringLiteral("/");
    while (path.toUtf8().size() + 2 <= bytes)
        path += QChar(0xE9); // é, two bytes
    while (path.toUtf8().size() < bytes)
        path += QLatin1Char('a');
    return path;
}

const QStringList kThree = {QStringLiteral("/pics/a.jpg"), QStringLiteral("/pics/b c.bmp"),
                            QString::fromUtf8("/pics/\xC3\xA9t\xC3\xA9 $;'.gif")};

} // namespace

class tst_ListFile : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void recordLayout();
    void roundTripsPathsUpTo198Bytes();
    void refusesPathsOver198BytesAndWritesNothing();
    void putExtendsWithEmptyRecordsAndOverwritesInPlace();
    void recordsPastTwoGigabytes();
    void badRecordsReadEmpty_data();
    void badRecordsReadEmpty();
    void readingNeverCreatesOrChangesTheFile();
    void notAPlainFile();
    void savedListLayoutAndSkippedPaths();
    void emptySavedListIsTheMarkerAlone();
    void savedListReadsAtMost32700();
    void bulkWriteEqualsRecordByRecord();
    void savedListReaderStops_data();
    void savedListReaderStops();
    void savedListReplacesTheFileWhole();
    void automaticListSaveAndCount();
    void automaticListEmptyDeletesFile();
    void automaticListFailedWriteKeepsOldListAndCount();
    void automaticListLoad_data();
    void automaticListLoad();
};

void tst_ListFile::recordLayout() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("one.tl"));
    QVERIFY(PutListRecord(file, 1, QStringLiteral("/a.jpg")));
    const QByteArray bytes = fileBytes(file);
    QCOMPARE(bytes.size(), kRecordLength);
    QCOMPARE(bytes.left(8), QByteArray("\x06\x00/a.jpg", 8));
    QCOMPARE(bytes.mid(8), QByteArray(kRecordLength - 8, '\0'));
}

void tst_ListFile::roundTripsPathsUpTo198Bytes() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("round.tl"));
    const QStringList paths = {QStringLiteral("/a.jpg"),
                               QString::fromUtf8("/\xE6\x97\xA5/\xC3\xA9 x.jpg"), pathOfBytes(198),
                               pathOfBytes(197) + QStringLiteral("z")};
    for (int i = 0; i < paths.size(); ++i) {
        QVERIFY(FitsRecord(paths[i]));
        QVERIFY(PutListRecord(file, i + 1, paths[i]));
    }
    for (int i = 0; i < paths.size(); ++i)
        QCOMPARE(GetListRecord(file, i + 1), paths[i]);
    QCOMPARE(QFileInfo(file).size(), qint64(paths.size()) * kRecordLength);
}

void tst_ListFile::refusesPathsOver198BytesAndWritesNothing() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("long.tl"));
    const QString tooLong = pathOfBytes(199);
    QCOMPARE(tooLong.toUtf8().size(), 199);
    QVERIFY(!FitsRecord(tooLong));
    QVERIFY(!PutListRecord(file, 1, tooLong));
    QVERIFY(!QFileInfo::exists(file));

    QVERIFY(PutListRecord(file, 1, QStringLiteral("/x.jpg")));
    QVERIFY(PutListRecord(file, 2, QStringLiteral("/y.jpg")));
    const QByteArray before = fileBytes(file);
    QVERIFY(!PutListRecord(file, 1, tooLong));
    QCOMPARE(fileBytes(file), before);
    QVERIFY(!PutListRecord(file, 0, QStringLiteral("/z.jpg")));
    QVERIFY(!PutListRecord(file, -1, QStringLiteral("/z.jpg")));
    QCOMPARE(fileBytes(file), before);
}

void tst_ListFile::putExtendsWithEmptyRecordsAndOverwritesInPlace() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("gap.tl"));
    QVERIFY(PutListRecord(file, 3, QStringLiteral("/third.jpg")));
    QCOMPARE(QFileInfo(file).size(), qint64(600));
    QCOMPARE(GetListRecord(file, 1), QString());
    QCOMPARE(GetListRecord(file, 2), QString());
    QCOMPARE(GetListRecord(file, 3), QStringLiteral("/third.jpg"));

    QVERIFY(PutListRecord(file, 1, QStringLiteral("/first-long-name.jpg")));
    QVERIFY(PutListRecord(file, 1, QStringLiteral("/1.jpg")));
    QCOMPARE(QFileInfo(file).size(), qint64(600));
    QCOMPARE(fileBytes(file).left(kRecordLength), record("/1.jpg"));
    QCOMPARE(GetListRecord(file, 3), QStringLiteral("/third.jpg"));
}

void tst_ListFile::recordsPastTwoGigabytes() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sparse.tl"));
    const int far = 11'000'000; // starts past 2^31 bytes
    QVERIFY(PutListRecord(file, far, QStringLiteral("/far.jpg")));
    QCOMPARE(QFileInfo(file).size(), qint64(far) * kRecordLength);
    QCOMPARE(GetListRecord(file, far), QStringLiteral("/far.jpg"));
    QCOMPARE(GetListRecord(file, far - 1), QString());
    QCOMPARE(GetListRecord(file, far + 1), QString());
    // Readers of a huge, mostly empty file stop at its first empty record.
    QVERIFY(ReadSavedList(file).isEmpty());
}

void tst_ListFile::badRecordsReadEmpty_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("recordNumber");
    QTest::addColumn<QString>("expected");
    const QByteArray good = record("/ok.jpg");
    QTest::newRow("good") << good << 1 << "/ok.jpg";
    QTest::newRow("empty file") << QByteArray() << 1 << "";
    QTest::newRow("past the end") << good << 2 << "";
    QTest::newRow("record 0") << good << 0 << "";
    QTest::newRow("negative record") << good << -3 << "";
    QTest::newRow("length 0") << QByteArray(kRecordLength, '\0') + good << 1 << "";
    QTest::newRow("after length 0") << QByteArray(kRecordLength, '\0') + good << 2 << "/ok.jpg";
    QByteArray len199 = record(QByteArray(198, 'a'));
    len199[0] = static_cast<char>(199);
    QTest::newRow("length 199") << len199 << 1 << "";
    QTest::newRow("length 0xFFFF") << QByteArray("\xFF\xFF", 2) + QByteArray(198, 'a') << 1 << "";
    QTest::newRow("garbage") << QByteArray("\x7f\x3a\xff\x00\x12garbage!", 13).repeated(30) << 1
                             << "";
    QTest::newRow("one byte only") << QByteArray("\x06", 1) << 1 << "";
    QTest::newRow("truncated text") << QByteArray("\x0A\x00/abc", 6) << 1 << "";
    QTest::newRow("truncated last record") << good + record("/second.jpg").left(8) << 2 << "";
    QTest::newRow("text whole, padding cut")
        << good + record("/second.jpg").left(13) << 2 << "/second.jpg";
    QTest::newRow("not UTF-8") << record("/caf\xE9.jpg") << 1 << "";
    QTest::newRow("NUL inside") << record(QByteArray("/a\0b.jpg", 8)) << 1 << "";
}

void tst_ListFile::badRecordsReadEmpty() {
    QFETCH(QByteArray, content);
    QFETCH(int, recordNumber);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bad.tl"));
    writeBytes(file, content);
    QCOMPARE(GetListRecord(file, recordNumber), expected);
    // The bulk reader sees each record exactly as the single reader does.
    if (recordNumber == 1)
        QCOMPARE(ReadSavedList(file), expected.isEmpty() ? QStringList() : QStringList{expected});
}

void tst_ListFile::readingNeverCreatesOrChangesTheFile() {
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    const QString absent = folder.file(QStringLiteral("absent.tl"));
    QCOMPARE(GetListRecord(absent, 1), QString());
    QVERIFY(ReadSavedList(absent).isEmpty());
    m.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("ListCount"), QStringLiteral("5"));
    QVERIFY(LoadAutomaticList(m).isEmpty());
    QVERIFY(!QFileInfo::exists(absent));
    QVERIFY(!QFileInfo::exists(AutomaticListFile(m)));

    const QString file = folder.file(QStringLiteral("kept.tl"));
    writeBytes(file, record("/a.jpg") + record("/b.jpg") + QByteArray(50, 'x'));
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const QByteArray before = fileBytes(file);
    QCOMPARE(ReadSavedList(file).size(), 2);
    for (int i = 1; i <= 4; ++i)
        GetListRecord(file, i);
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(QFileInfo(file).lastModified().toUTC().toSecsSinceEpoch(), old.toSecsSinceEpoch());
}

void tst_ListFile::notAPlainFile() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("folder.tl"));
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(GetListRecord(folder, 1), QString());
    QVERIFY(!PutListRecord(folder, 1, QStringLiteral("/a.jpg")));
    QVERIFY(ReadSavedList(folder).isEmpty());
    QVERIFY(!WriteSavedList(folder, kThree).written);
    QVERIFY(QFileInfo(folder).isDir());

    // A pipe would block a reader until someone writes to it.
    const QString pipe = dir.filePath(QStringLiteral("pipe.tl"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QCOMPARE(GetListRecord(pipe, 1), QString());
    QVERIFY(ReadSavedList(pipe).isEmpty());
    QVERIFY(!PutListRecord(pipe, 1, QStringLiteral("/a.jpg")));
}

void tst_ListFile::savedListLayoutAndSkippedPaths() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("three.tl"));
    ListWriteResult result = WriteSavedList(file, kThree);
    QVERIFY(result.written);
    QVERIFY(result.skipped.isEmpty());
    QCOMPARE(QFileInfo(file).size(), qint64(800));
    QCOMPARE(GetListRecord(file, 4), kEndMarker);
    QCOMPARE(ReadSavedList(file), kThree);

    const QString tooLong = pathOfBytes(250);
    const QStringList withLong = {kThree[0], tooLong, kThree[1], QString(), kThree[2]};
    result = WriteSavedList(file, withLong);
    QVERIFY(result.written);
    QCOMPARE(result.skipped, QStringList{tooLong});
    QCOMPARE(ReadSavedList(file), kThree);
    QCOMPARE(QFileInfo(file).size(), qint64(800));
}

void tst_ListFile::emptySavedListIsTheMarkerAlone() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("empty.tl"));
    QVERIFY(WriteSavedList(file, {}).written);
    QCOMPARE(fileBytes(file), record(kEndMarker.toUtf8()));
    QVERIFY(ReadSavedList(file).isEmpty());
}

void tst_ListFile::savedListReadsAtMost32700() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("many.tl"));
    QStringList many;
    for (int i = 1; i <= kMaxLoadRecords + 1; ++i)
        many << QStringLiteral("/p/%1.jpg").arg(i);
    QVERIFY(WriteSavedList(file, many).written);
    const QStringList read = ReadSavedList(file);
    QCOMPARE(read.size(), kMaxLoadRecords);
    QCOMPARE(read.last(), QStringLiteral("/p/32700.jpg"));
}

void tst_ListFile::bulkWriteEqualsRecordByRecord() {
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    const QString byRecord = folder.file(QStringLiteral("by-record.tl"));
    const QString saved = folder.file(QStringLiteral("saved.tl"));
    for (int i = 0; i < kThree.size(); ++i)
        QVERIFY(PutListRecord(byRecord, i + 1, kThree[i]));
    const QByteArray automaticBytes = fileBytes(byRecord);
    QVERIFY(PutListRecord(byRecord, 4, kEndMarker));

    QVERIFY(WriteSavedList(saved, kThree).written);
    QCOMPARE(fileBytes(saved), fileBytes(byRecord));
    QVERIFY(SaveAutomaticList(m, kThree).written);
    QCOMPARE(fileBytes(AutomaticListFile(m)), automaticBytes);
    QCOMPARE(automaticBytes.size(), 600);
}

void tst_ListFile::savedListReaderStops_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("maxRecords");
    QTest::addColumn<QStringList>("expected");
    const QByteArray a = record("/a.jpg"), b = record("/b.jpg"), c = record("/c.jpg");
    const QByteArray marker = record(kEndMarker.toUtf8());
    QTest::newRow("marker") << a + b + marker + c << kMaxLoadRecords
                            << QStringList{"/a.jpg", "/b.jpg"};
    QTest::newRow("no marker") << a + b + c << kMaxLoadRecords
                               << QStringList{"/a.jpg", "/b.jpg", "/c.jpg"};
    QTest::newRow("empty record") << a + QByteArray(kRecordLength, '\0') + c << kMaxLoadRecords
                                  << QStringList{"/a.jpg"};
    QByteArray badLength = record("/x.jpg");
    badLength[1] = 0x01; // 262
    QTest::newRow("bad record") << a + badLength + c << kMaxLoadRecords << QStringList{"/a.jpg"};
    QTest::newRow("truncated last")
        << a + b + c.left(5) << kMaxLoadRecords << QStringList{"/a.jpg", "/b.jpg"};
    QTest::newRow("at most maxRecords")
        << a + b + c + marker << 2 << QStringList{"/a.jpg", "/b.jpg"};
    QTest::newRow("zero bytes") << QByteArray() << kMaxLoadRecords << QStringList{};
    QTest::newRow("garbage") << QByteArray(1000, '\xA5') << kMaxLoadRecords << QStringList{};
}

void tst_ListFile::savedListReaderStops() {
    QFETCH(QByteArray, content);
    QFETCH(int, maxRecords);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.tl"));
    writeBytes(file, content);
    QCOMPARE(ReadSavedList(file, maxRecords), expected);
}

void tst_ListFile::savedListReplacesTheFileWhole() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("replace.tl"));
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("/p/%1.jpg").arg(i);
    QVERIFY(WriteSavedList(file, many).written);
    const QByteArray oldBytes = fileBytes(file);

    // A reader that has the old file open keeps seeing the old list whole:
    // the new list is a new file renamed over it, not the old one rewritten.
    QFile reader(file);
    QVERIFY(reader.open(QIODevice::ReadOnly));
    QVERIFY(WriteSavedList(file, kThree).written);
    QCOMPARE(reader.readAll(), oldBytes);
    QCOMPARE(ReadSavedList(file), kThree);
    QCOMPARE(QFileInfo(file).size(), qint64(800));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"replace.tl"});
}

void tst_ListFile::automaticListSaveAndCount() {
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    QCOMPARE(AutomaticListFile(m), folder.file(QStringLiteral("Tavorin.tl")));

    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("/old/%1.jpg").arg(i);
    QVERIFY(SaveAutomaticList(m, many).written);
    QFile reader(AutomaticListFile(m));
    QVERIFY(reader.open(QIODevice::ReadOnly));

    const QString tooLong = pathOfBytes(199);
    const ListWriteResult result = SaveAutomaticList(m, {kThree[0], tooLong, kThree[1], kThree[2]});
    QVERIFY(result.written);
    QCOMPARE(result.skipped, QStringList{tooLong});
    QCOMPARE(m.GetINIFile(QStringLiteral("Settings"), QStringLiteral("ListCount")),
             QStringLiteral("3"));
    QCOMPARE(QFileInfo(AutomaticListFile(m)).size(), qint64(600));
    QCOMPARE(LoadAutomaticList(m), kThree);
    QCOMPARE(reader.readAll().size(), 40 * kRecordLength); // the old file was replaced, not cut
}

void tst_ListFile::automaticListEmptyDeletesFile() {
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    QVERIFY(SaveAutomaticList(m, kThree).written);
    QVERIFY(QFileInfo::exists(AutomaticListFile(m)));
    ListWriteResult result = SaveAutomaticList(m, {});
    QVERIFY(result.written);
    QVERIFY(!QFileInfo::exists(AutomaticListFile(m)));
    QCOMPARE(m.GetINIFile(QStringLiteral("Settings"), QStringLiteral("ListCount")),
             QStringLiteral("0"));

    // Only paths that cannot be stored: nothing is stored, and they are named.
    QVERIFY(SaveAutomaticList(m, kThree).written);
    const QString tooLong = pathOfBytes(300);
    result = SaveAutomaticList(m, {tooLong});
    QVERIFY(result.written);
    QCOMPARE(result.skipped, QStringList{tooLong});
    QVERIFY(!QFileInfo::exists(AutomaticListFile(m)));
    QCOMPARE(m.GetINIFile(QStringLiteral("Settings"), QStringLiteral("ListCount")),
             QStringLiteral("0"));
    QVERIFY(LoadAutomaticList(m).isEmpty());
}

void tst_ListFile::automaticListFailedWriteKeepsOldListAndCount() {
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    m.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("ListCount"), QStringLiteral("7"));
    QVERIFY(QDir().mkpath(AutomaticListFile(m))); // a folder where the list belongs
    QVERIFY(!SaveAutomaticList(m, kThree).written);
    QCOMPARE(m.GetINIFile(QStringLiteral("Settings"), QStringLiteral("ListCount")),
             QStringLiteral("7"));
    QVERIFY(QFileInfo(AutomaticListFile(m)).isDir());
    QVERIFY(LoadAutomaticList(m).isEmpty());
}

void tst_ListFile::automaticListLoad_data() {
    QTest::addColumn<QString>("listCount");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    const QByteArray a = record("/a.jpg"), b = record("/b.jpg"), c = record("/c.jpg");
    const QByteArray abc = a + b + c;
    const QStringList all = {"/a.jpg", "/b.jpg", "/c.jpg"};
    QTest::newRow("count 3") << "3" << abc << all;
    QTest::newRow("count 2") << "2" << abc << QStringList{"/a.jpg", "/b.jpg"};
    QTest::newRow("count past the end") << "10" << abc << all;
    QTest::newRow("count 99999") << "99999" << abc << all;
    QTest::newRow("count 2.5 rounds to 2") << "2.5" << abc << QStringList{"/a.jpg", "/b.jpg"};
    QTest::newRow("count 2.7 rounds to 3") << "2.7" << abc << all;
    QTest::newRow("huge count") << "1e30" << abc << all;
    QTest::newRow("absent") << "" << abc << QStringList{};
    QTest::newRow("not a number") << "many" << abc << QStringList{};
    QTest::newRow("zero") << "0" << abc << QStringList{};
    QTest::newRow("negative") << "-5" << abc << QStringList{};
    QTest::newRow("empty record in the middle")
        << "3" << a + QByteArray(kRecordLength, '\0') + c << QStringList{"/a.jpg"};
    QTest::newRow("marker is just a path here")
        << "2" << a + record(kEndMarker.toUtf8()) << QStringList{"/a.jpg", kEndMarker};
    QTest::newRow("truncated last record")
        << "3" << a + b + c.left(4) << QStringList{"/a.jpg", "/b.jpg"};
    QTest::newRow("zero-byte file") << "3" << QByteArray() << QStringList{};
}

void tst_ListFile::automaticListLoad() {
    QFETCH(QString, listCount);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    if (!listCount.isEmpty())
        m.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("ListCount"), listCount);
    writeBytes(AutomaticListFile(m), content);
    QCOMPARE(LoadAutomaticList(m), expected);
    QCOMPARE(fileBytes(AutomaticListFile(m)), content);
}

QTEST_GUILESS_MAIN(tst_ListFile)
#include "tst_ListFile.moc"
