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
const QStringList kThree = {"/pics/a.jpg", "/pics/b c.bmp", "/pics/\u00e9t\u00e9 $;'.gif"};

// A path of exactly `bytes` UTF-8 bytes, made of two-byte letters where it can.
QString pathOfBytes(int bytes) {
    QString path = QStringLiteral("/");
    while (path.toUtf8().size() + 2 <= bytes)
        path += QChar(0xE9);
    return path + QString(bytes - path.toUtf8().size(), QLatin1Char('a'));
}

struct Bad { // record `number` read from bytes; ReadSavedList(bytes, max) when max > 0
    const char* name;
    QByteArray bytes;
    int number;
    QStringList expected;
    int max = 0;
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
        QVERIFY(PutListRecord(f, 3, QStringLiteral("/third.jpg")));
        QVERIFY(PutListRecord(f, 1, "/first-long-name.jpg") && PutListRecord(f, 1, "/a.jpg"));
        QCOMPARE(ReadFile(f), A + kEmpty + record("/third.jpg"));
        const QString longest = pathOfBytes(198), tooLong = pathOfBytes(199);
        QVERIFY(PutListRecord(f, 2, longest) && GetListRecord(f, 2) == longest);
        QVERIFY(!PutListRecord(f, 1, tooLong) && !PutListRecord(f, 0, "/z.jpg"));
        QCOMPARE(GetListRecord(f, 1), QStringLiteral("/a.jpg"));
        const int far = 11'000'000; // starts past 2^31 bytes
        QVERIFY(PutListRecord(f, far, QStringLiteral("/far.jpg")));
        QCOMPARE(QFileInfo(f).size(), qint64(far) * kRecordLength);
        QCOMPARE(GetListRecord(f, far), QStringLiteral("/far.jpg"));
        // A folder, or a pipe that would block a reader until someone writes to it.
        const QString folder = dir.filePath("folder.tl"), pipe = dir.filePath("pipe.tl");
        QVERIFY(QDir().mkpath(folder) && ::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        for (const QString& f : {folder, pipe})
            QVERIFY(GetListRecord(f, 1).isEmpty() && ReadSavedList(f).isEmpty() &&
                    !PutListRecord(f, 1, "/a.jpg"));
    }
    void badRecords_data() {
        QByteArray len199 = record(QByteArray(198, 'a'));
        len199[0] = char(199);
        const QStringList ab = {"/a.jpg", "/b.jpg"};
        // clang-format off
        AddRows<Bad>({{"good", A, 1, {"/a.jpg"}},
                      {"past the end", A, 2, {}},
                      {"record 0", A, 0, {}},
                      {"length 0", kEmpty + A, 1, {}},
                      {"after length 0", kEmpty + A, 2, {"/a.jpg"}},
                      {"length 199", len199, 1, {}},
                      {"truncated text", QByteArray("\x0A\x00/abc", 6), 1, {}},
                      {"not UTF-8", record("/caf\xE9.jpg"), 1, {}},
                      {"NUL inside", record({"/a\0b.jpg", 8}), 1, {}},
                      {"saved: marker", A + B + kMarker + C, 0, ab, kMaxLoadRecords},
                      {"saved: empty record", A + kEmpty + C, 0, {"/a.jpg"}, kMaxLoadRecords},
                      {"saved: bad record", A + len199 + C, 0, {"/a.jpg"}, kMaxLoadRecords},
                      {"saved: at most max", A + B + C + kMarker, 0, ab, 2}});
        // clang-format on
    }
    void badRecords() {
        QFETCH(Bad, row);
        const QString f = WriteFile(dir.filePath(QStringLiteral("bad.tl")), row.bytes);
        if (row.max > 0)
            QCOMPARE(ReadSavedList(f, row.max), row.expected);
        else
            QCOMPARE(GetListRecord(f, row.number), row.expected.value(0));
        QCOMPARE(ReadFile(f), row.bytes);
    }
    void savedListsEndWithTheMarker() {
        const QString f = dir.filePath(QStringLiteral("replace.tl")), tooLong = pathOfBytes(250);
        QVERIFY(WriteSavedList(f, kThree + QStringList{kThree[0]}).written);
        QFile old(f); // an open reader keeps the old list whole: the new one is renamed over it
        QVERIFY(old.open(QIODevice::ReadOnly));
        const ListWriteResult result =
            WriteSavedList(f, {kThree[0], tooLong, kThree[1], QString(), kThree[2]});
        QVERIFY(result.written && result.skipped == QStringList{tooLong});
        QCOMPARE(old.readAll().size(), 5 * kRecordLength);
        QCOMPARE(ReadFile(f), record(kThree[0].toUtf8()) + record(kThree[1].toUtf8()) +
                                  record(kThree[2].toUtf8()) + kMarker);
        QCOMPARE(ReadSavedList(f), kThree);
        QCOMPARE(QDir(dir.path()).entryList({"replace*"}, QDir::Files | QDir::Hidden),
                 QStringList{"replace.tl"});
    }
    void automaticList() {
        Rig rig;
        const ListWriteResult result =
            SaveAutomaticList(rig.m, kThree + QStringList{pathOfBytes(199)});
        QVERIFY(result.written && result.skipped.size() == 1);
        QCOMPARE(AutomaticListFile(rig.m), rig.folder.file(QStringLiteral("Tavorin.tl")));
        QCOMPARE(QFileInfo(AutomaticListFile(rig.m)).size(), 3 * kRecordLength); // no marker
        QCOMPARE(rig.get(ini::kListCount), QStringLiteral("3"));
        QCOMPARE(LoadAutomaticList(rig.m), kThree);
        QVERIFY(SaveAutomaticList(rig.m, {}).written); // an empty list has no file
        QVERIFY(!QFileInfo::exists(AutomaticListFile(rig.m)));
        QCOMPARE(rig.get(ini::kListCount), QStringLiteral("0"));
        // A failed write keeps the old count.
        rig.set(ini::kListCount, "7");
        QVERIFY(QDir().mkpath(AutomaticListFile(rig.m)) &&
                !SaveAutomaticList(rig.m, kThree).written);
        QCOMPARE(rig.get(ini::kListCount), QStringLiteral("7"));
        QVERIFY(LoadAutomaticList(rig.m).isEmpty());
        // "ListCount" rounds half to even, and no count or nonsense is an empty list.
        QVERIFY(QDir(AutomaticListFile(rig.m)).removeRecursively());
        WriteFile(AutomaticListFile(rig.m), A + B + C);
        const QStringList abc = {"/a.jpg", "/b.jpg", "/c.jpg"};
        for (const auto& [count, n] : QList<std::pair<QString, int>>{
                 {"2", 2}, {"10", 3}, {"2.5", 2}, {"2.7", 3}, {"", 0}, {"many", 0}}) {
            rig.set(ini::kListCount, count);
            QCOMPARE(LoadAutomaticList(rig.m), abc.mid(0, n));
        }
    }
};

QTEST_GUILESS_MAIN(tst_ListFile)
#include "tst_ListFile.moc"
