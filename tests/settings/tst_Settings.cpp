// Module1 over a temporary program folder: the settings store's 79-byte read and
// bad input, the registry paths, and opening documents.
#include "tests/support/Rig.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QTest>
#include <sys/stat.h>

using namespace tavorin;
using namespace tavorin::test;

namespace {
// clang-format off
enum class Thing { File, Unreadable, Folder, Pipe, Dangling, Huge }; // where Settings.INI belongs
struct Bad { Thing thing; QString section, key, value; };
struct Cut { QString stored; int kept; }; // characters read back
struct Mode { ChangeMode mode; QString stored; };
// clang-format on
const QByteArray kStored = "[Settings]\nInitDir=/pictures\n[Memory]\nX=5\n";

void put(Thing thing, const TempProgramFolder& folder) {
    const QString path = folder.file("Settings.INI");
    if (thing == Thing::Pipe)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (thing == Thing::Dangling)
        QVERIFY(QFile::link(folder.file("elsewhere/Settings.INI"), path));
    else if (thing == Thing::Folder)
        folder.write("Settings.INI/keep.txt", "mine");
    else
        folder.write("Settings.INI", kStored);
    if (thing == Thing::Huge) // sparse: cheap to make
        QVERIFY(QFile::resize(path, 17 * 1024 * 1024));
    if (thing == Thing::Unreadable)
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
}
} // namespace

class tst_Settings : public QObject {
    Q_OBJECT
    std::unique_ptr<Rig> r;

  private Q_SLOTS:
    void initTestCase() { QVERIFY(DropRoot()); }
    void init() { r = std::make_unique<Rig>(); }
    // No routine shows a box for ordinary input.
    void cleanup() { QCOMPARE(r->fake.dialogs.messages.size(), 0); }

    void readIsCutTo79Bytes_data() {
        QTest::addColumn<Cut>("row");
        const QString ab = QString(50, 'a') + QString(50, 'b');
        QTest::newRow("79 characters") << Cut{ab.left(79), 79};
        QTest::newRow("80 characters") << Cut{ab.left(80), 79};
        // 39 "é" fill 78 bytes; the 40th would be cut in half.
        QTest::newRow("two-byte characters") << Cut{QString(50, QChar(0xE9)), 39};
        QTest::newRow("three-byte, fits exactly")
            << Cut{"/home/a" + QString(30, QChar(0x20AC)), 31};
    }
    void readIsCutTo79Bytes() {
        QFETCH(Cut, row);
        QVERIFY(r->m.WriteINIFile(ini::kSettings, ini::kInitDir, row.stored));
        QCOMPARE(r->get(ini::kInitDir), row.stored.left(row.kept));
        QVERIFY(r->folder.read("Settings.INI").contains(row.stored.toUtf8())); // stored whole
    }
    // Nothing is stored that could not be read back as written, nothing is
    // read from what is not a plain settings file, and nothing is replaced.
    void badInputIsRefusedAndChangesNothing_data() {
        QTest::addColumn<Bad>("row");
        // clang-format off
        QTest::newRow("value LF") << Bad{Thing::File, "Settings", "InitDir", "/a\n[Memory]\nX=0"};
        QTest::newRow("value CR") << Bad{Thing::File, "Settings", "InitDir", "/a\rb"};
        QTest::newRow("key LF") << Bad{Thing::File, "Settings", "Init\nDir", "x"};
        QTest::newRow("section LF") << Bad{Thing::File, "Sett\nings", "InitDir", "x"};
        QTest::newRow("key with =") << Bad{Thing::File, "Settings", "a=b", "x"};
        QTest::newRow("key like a section") << Bad{Thing::File, "Settings", "[Memory]", "x"};
        QTest::newRow("section with ]") << Bad{Thing::File, "Set]tings", "InitDir", "x"};
        QTest::newRow("empty key") << Bad{Thing::File, "Settings", " ", "x"};
        QTest::newRow("unreadable file") << Bad{Thing::Unreadable, "Settings", "InitDir", "x"};
        QTest::newRow("folder") << Bad{Thing::Folder, "Settings", "InitDir", "x"};
        QTest::newRow("pipe") << Bad{Thing::Pipe, "Settings", "InitDir", "x"};
        QTest::newRow("dangling link") << Bad{Thing::Dangling, "Settings", "InitDir", "x"};
        QTest::newRow("huge file") << Bad{Thing::Huge, "Settings", "InitDir", "x"};
        // clang-format on
    }
    void badInputIsRefusedAndChangesNothing() {
        QFETCH(Bad, row);
        put(row.thing, r->folder);
        const QString path = r->m.SettingsFile();
        const QFileInfo before(path);
        QCOMPARE(r->get(ini::kInitDir), row.thing == Thing::File ? "/pictures" : "");
        QVERIFY(!r->m.WriteINIFile(row.section, row.key, row.value));
        const QFileInfo after(path);
        QCOMPARE(after.isSymLink(), before.isSymLink());
        QCOMPARE(after.isFile(), before.isFile());
        QCOMPARE(after.size(), before.size());
        if (row.thing == Thing::Unreadable)
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (row.thing == Thing::File || row.thing == Thing::Unreadable)
            QCOMPARE(r->folder.read("Settings.INI"), kStored);
    }
    void pathIsBuiltOnEveryCall() {
        // A program folder that cannot be written: the user's data folder.
        QVERIFY(QDir().mkpath(r->folder.file(".data-home")));
        QVERIFY(QFile::setPermissions(r->folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(r->m.SettingsFile(), r->folder.path() + "/.data-home/Settings.INI");
        r->set(ini::kSplash, "1");
        QCOMPARE(r->get(ini::kSplash), "1");
        QFile::setPermissions(r->folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // The change modes as Settings.INI stores them; anything else is none.
    void changeModes_data() {
        QTest::addColumn<Mode>("row");
        QTest::newRow("startup") << Mode{ChangeMode::Startup, "Startup"};
        QTest::newRow("once a day") << Mode{ChangeMode::OnceADay, "Once a day"};
        QTest::newRow("frequently") << Mode{ChangeMode::Frequently, "Frequently"};
        QTest::newRow("never") << Mode{ChangeMode::Never, "Never (manually only)"};
    }
    void changeModes() {
        QFETCH(Mode, row);
        QCOMPARE(ChangeModeText(row.mode), row.stored);
        QCOMPARE(ChangeModeFromText(row.stored), row.mode);
        QCOMPARE(ChangeModeFromText(row.stored.toUpper()), ChangeMode::None); // compared exactly
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
