// The picture list files: record layout, bad bytes, saved lists and the automatic list.
#include "engine/ListFile.h"
#include "tests/support/Rig.h"
#include "tests/support/Rows.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

using namespace tavorin;
using namespace tavorin::test;

namespace {

QByteArray record(const QByteArray& text) {
    QByteArray r(kRecordLength, '\0');
    r[0] = char(text.size() & 0xFF);
    r[1] = char(text.size() >> 8);
    return r.replace(2, text.size(), text);
}
const QByteArray A = record("/a.jpg"), B = record("/b.jpg"), C = record("/c.jpg");
const QByteArray kEmpty(kRecordLength, '\0'), kMarker = record(kEndMarker.toUtf8());

// A path of exactly `bytes` UTF-8 bytes, made of two-byte letters where it can.
QString pathOfBytes(int bytes) {
    QString path = QStringLiteral("/");
    while (path.toUtf8().size() + 2 <= bytes)
        path += QChar(0xE9);
    return path + QString(bytes - path.toUtf8().size(), QLatin1Char('a'));
}
QStringList numbered(int count) {
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths << QStringLiteral("/p/%1.jpg").arg(i);
    return paths;
}
const QStringList kThree = {"/pics/a.jpg", "/pics/b c.bmp", "/pics/\u00e9t\u00e9 $;'.gif"};

struct Bad { // one record read from bytes, alone and by the bulk reader
    const char* name;
    QByteArray bytes;
    int number;
    QString expected;
};
struct Saved { // ReadSavedList over bytes
    const char* name;
    QByteArray bytes;
    int max;
    QStringList expected;
};
struct Automatic { // LoadAutomaticList with that "ListCount" over bytes
    const char* name;
    QString count;
    QByteArray bytes;
    QStringList expected;
};

} // namespace

class tst_ListFile : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file(const QByteArray& bytes = {}) {
        static int n = 0;
        const QString path = dir.filePath(QStringLiteral("%1.tl").arg(++n));
        return bytes.isEmpty() ? path : WriteFile(path, bytes);
    }

  private Q_SLOTS:
    void recordsAreFixedAndRoundTrip() {
        const QString f = file();
        QVERIFY(PutListRecord(f, 1, QStringLiteral("/a.jpg")));
        QCOMPARE(ReadFile(f), QByteArray("\x06\x00/a.jpg", 8) + QByteArray(kRecordLength - 8, 0));
        const QStringList paths = {"/\u65e5/\u00e9 x.jpg", pathOfBytes(198),
                                   pathOfBytes(197) + 'z'};
        for (int i = 0; i < paths.size(); ++i)
            QVERIFY(FitsRecord(paths[i]) && PutListRecord(f, i + 2, paths[i]));
        for (int i = 0; i < paths.size(); ++i)
            QCOMPARE(GetListRecord(f, i + 2), paths[i]);
        QCOMPARE(QFileInfo(f).size(), 4 * kRecordLength);
        // Too long (199 bytes), record 0 or below: refused, nothing written.
        const QByteArray before = ReadFile(f);
        const QString tooLong = pathOfBytes(199), fresh = file();
        QVERIFY(!FitsRecord(tooLong) && !PutListRecord(f, 1, tooLong) &&
                !PutListRecord(fresh, 1, tooLong));
        QVERIFY(!PutListRecord(f, 0, "/z.jpg") && !PutListRecord(f, -1, "/z.jpg"));
        QCOMPARE(ReadFile(f), before);
        QVERIFY(!QFileInfo::exists(fresh));
    }
    void putExtendsAndOverwritesInPlace() {
        const QString f = file();
        QVERIFY(PutListRecord(f, 3, QStringLiteral("/third.jpg")));
        QCOMPARE(ReadFile(f), kEmpty + kEmpty + record("/third.jpg"));
        QVERIFY(PutListRecord(f, 1, "/first-long-name.jpg") && PutListRecord(f, 1, "/1.jpg"));
        QCOMPARE(ReadFile(f), record("/1.jpg") + kEmpty + record("/third.jpg"));
        const int far = 11'000'000; // starts past 2^31 bytes
        QVERIFY(PutListRecord(f, far, QStringLiteral("/far.jpg")));
        QCOMPARE(QFileInfo(f).size(), qint64(far) * kRecordLength);
        QCOMPARE(GetListRecord(f, far), QStringLiteral("/far.jpg"));
        QCOMPARE(GetListRecord(f, far - 1) + GetListRecord(f, far + 1), QString());
        QCOMPARE(ReadSavedList(f), QStringList{"/1.jpg"}); // stops at the first empty record
    }
    void badRecords_data() {
        QByteArray len199 = record(QByteArray(198, 'a'));
        len199[0] = char(199);
        AddRows<Bad>(
            {{"good", A, 1, "/a.jpg"},
             {"empty file", {}, 1, ""},
             {"past the end", A, 2, ""},
             {"record 0", A, 0, ""},
             {"length 0", kEmpty + A, 1, ""},
             {"after length 0", kEmpty + A, 2, "/a.jpg"},
             {"length 199", len199, 1, ""},
             {"length 0xFFFF", "\xFF\xFF" + QByteArray(198, 'a'), 1, ""},
             {"garbage", QByteArray("\x7f\x3a\xff\x00\x12garbage!", 13).repeated(30), 1, ""},
             {"truncated text", QByteArray("\x0A\x00/abc", 6), 1, ""},
             {"truncated last record", A + record("/second.jpg").left(8), 2, ""},
             {"text whole, padding cut", A + record("/second.jpg").left(13), 2, "/second.jpg"},
             {"not UTF-8", record("/caf\xE9.jpg"), 1, ""},
             {"NUL inside", record({"/a\0b.jpg", 8}), 1, ""}});
    }
    void badRecords() {
        QFETCH(Bad, row);
        const QString f = WriteFile(dir.filePath(QStringLiteral("bad.tl")), row.bytes);
        QCOMPARE(GetListRecord(f, row.number), row.expected);
        if (row.number == 1) // the bulk reader sees each record as the single reader does
            QCOMPARE(ReadSavedList(f),
                     row.expected.isEmpty() ? QStringList() : QStringList{row.expected});
    }
    void readingNeverCreatesOrChanges() {
        Rig rig;
        rig.set(ini::kListCount, "5");
        const QString absent = file();
        QVERIFY(GetListRecord(absent, 1).isEmpty() && ReadSavedList(absent).isEmpty());
        QVERIFY(LoadAutomaticList(rig.m).isEmpty());
        QVERIFY(!QFileInfo::exists(absent) && !QFileInfo::exists(AutomaticListFile(rig.m)));
        const QByteArray bytes = A + B + QByteArray(50, 'x');
        const QString f = file(bytes);
        QCOMPARE(ReadSavedList(f).size(), 2);
        for (int i = 1; i <= 4; ++i)
            GetListRecord(f, i);
        QCOMPARE(ReadFile(f), bytes);
        // A folder, or a pipe that would block a reader until someone writes to it.
        const QString folder = dir.filePath(QStringLiteral("folder.tl")),
                      pipe = dir.filePath("pipe.tl");
        QVERIFY(QDir().mkpath(folder) && ::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        for (const QString& f : {folder, pipe})
            QVERIFY(GetListRecord(f, 1).isEmpty() && ReadSavedList(f).isEmpty() &&
                    !PutListRecord(f, 1, "/a.jpg"));
        QVERIFY(!WriteSavedList(folder, kThree).written && QFileInfo(folder).isDir());
    }
    void savedListsEndWithTheMarker() {
        const QString f = file();
        ListWriteResult result = WriteSavedList(f, kThree);
        QVERIFY(result.written && result.skipped.isEmpty());
        QString byRecord = file();
        for (int i = 0; i < 4; ++i)
            QVERIFY(PutListRecord(byRecord, i + 1, (kThree + QStringList{kEndMarker})[i]));
        QCOMPARE(ReadFile(f), ReadFile(byRecord));
        QCOMPARE(ReadSavedList(f), kThree);
        // Too long and empty paths are left out; the long one is named.
        const QString tooLong = pathOfBytes(250);
        result = WriteSavedList(f, {kThree[0], tooLong, kThree[1], QString(), kThree[2]});
        QVERIFY(result.written && result.skipped == QStringList{tooLong});
        QCOMPARE(ReadFile(f), ReadFile(byRecord));
        QVERIFY(WriteSavedList(f, {}).written);
        QCOMPARE(ReadFile(f), kMarker);
        QVERIFY(WriteSavedList(f, numbered(kMaxLoadRecords + 1)).written);
        QCOMPARE(ReadSavedList(f), numbered(kMaxLoadRecords));
    }
    void savedListReaderStops_data() {
        QByteArray badLength = record("/x.jpg");
        badLength[1] = 0x01; // 262
        const QStringList ab = {"/a.jpg", "/b.jpg"};
        AddRows<Saved>({{"marker", A + B + kMarker + C, kMaxLoadRecords, ab},
                        {"no marker", A + B + C, kMaxLoadRecords, ab + QStringList{"/c.jpg"}},
                        {"empty record", A + kEmpty + C, kMaxLoadRecords, {"/a.jpg"}},
                        {"bad record", A + badLength + C, kMaxLoadRecords, {"/a.jpg"}},
                        {"truncated last", A + B + C.left(5), kMaxLoadRecords, ab},
                        {"at most maxRecords", A + B + C + kMarker, 2, ab}});
    }
    void savedListReaderStops() {
        QFETCH(Saved, row);
        QCOMPARE(ReadSavedList(file(row.bytes), row.max), row.expected);
    }
    void listsAreReplacedWhole() {
        // A reader that has the old file open keeps seeing the old list whole: the new list is
        // a new file renamed over it, not the old one rewritten.
        Rig rig;
        const QString f = dir.filePath(QStringLiteral("replace.tl"));
        QVERIFY(WriteSavedList(f, numbered(40)).written &&
                SaveAutomaticList(rig.m, numbered(40)).written);
        QFile saved(f), automatic(AutomaticListFile(rig.m));
        QVERIFY(saved.open(QIODevice::ReadOnly) && automatic.open(QIODevice::ReadOnly));
        QVERIFY(WriteSavedList(f, kThree).written);
        const QString tooLong = pathOfBytes(199);
        const ListWriteResult result =
            SaveAutomaticList(rig.m, {kThree[0], tooLong, kThree[1], kThree[2]});
        QVERIFY(result.written && result.skipped == QStringList{tooLong});
        QCOMPARE(saved.readAll().size(), 41 * kRecordLength);
        QCOMPARE(automatic.readAll().size(), 40 * kRecordLength);
        QCOMPARE(ReadSavedList(f), kThree);
        QCOMPARE(QDir(dir.path()).entryList({"replace*"}, QDir::Files | QDir::Hidden),
                 QStringList{"replace.tl"});
        // The automatic list: the records alone, and their count.
        QCOMPARE(AutomaticListFile(rig.m), rig.folder.file(QStringLiteral("Tavorin.tl")));
        QCOMPARE(ReadFile(AutomaticListFile(rig.m)), ReadFile(f).chopped(kRecordLength));
        QCOMPARE(rig.get(ini::kListCount), QStringLiteral("3"));
        QCOMPARE(LoadAutomaticList(rig.m), kThree);
    }
    void emptyAutomaticListHasNoFile() {
        Rig rig;
        for (const QStringList& nothing : {QStringList(), QStringList{pathOfBytes(300)}}) {
            QVERIFY(SaveAutomaticList(rig.m, kThree).written);
            const ListWriteResult result = SaveAutomaticList(rig.m, nothing);
            QVERIFY(result.written && result.skipped == nothing);
            QVERIFY(!QFileInfo::exists(AutomaticListFile(rig.m)));
            QCOMPARE(rig.get(ini::kListCount), QStringLiteral("0"));
        }
        // A failed write keeps the old list and its count.
        rig.set(ini::kListCount, "7");
        QVERIFY(QDir().mkpath(AutomaticListFile(rig.m)) &&
                !SaveAutomaticList(rig.m, kThree).written);
        QCOMPARE(rig.get(ini::kListCount), QStringLiteral("7"));
        QVERIFY(LoadAutomaticList(rig.m).isEmpty());
    }
    void automaticListLoad_data() {
        const QStringList all = {"/a.jpg", "/b.jpg", "/c.jpg"}, ab = all.mid(0, 2);
        AddRows<Automatic>({{"count 3", "3", A + B + C, all},
                            {"count 2", "2", A + B + C, ab},
                            {"count past the end", "10", A + B + C, all},
                            {"2.5 rounds to 2", "2.5", A + B + C, ab},
                            {"2.7 rounds to 3", "2.7", A + B + C, all},
                            {"huge count", "1e30", A + B + C, all},
                            {"absent", QString(), A + B + C, {}},
                            {"not a number", "many", A + B + C, {}},
                            {"zero", "0", A + B + C, {}},
                            {"empty record inside", "3", A + kEmpty + C, {"/a.jpg"}},
                            {"marker is a path here", "2", A + kMarker, {"/a.jpg", kEndMarker}},
                            {"truncated last record", "3", A + B + C.left(4), ab}});
    }
    void automaticListLoad() {
        QFETCH(Automatic, row);
        Rig rig;
        if (!row.count.isNull())
            rig.set(ini::kListCount, row.count);
        WriteFile(AutomaticListFile(rig.m), row.bytes);
        QCOMPARE(LoadAutomaticList(rig.m), row.expected);
        QCOMPARE(ReadFile(AutomaticListFile(rig.m)), row.bytes);
    }
};

QTEST_GUILESS_MAIN(tst_ListFile)
#include "tst_ListFile.moc"
