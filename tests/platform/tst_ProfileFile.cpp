// The byte parsers of profile files, internet shortcuts and the kernel's mount
// list, and how a profile file is replaced on disk.
#include "platform/InternetShortcut.h"
#include "platform/Mounts.h"
#include "platform/ProfileFile.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QTest>
#include <sys/stat.h>

using namespace tavorin;
using namespace tavorin::test;

namespace {
// clang-format off
struct Read { QByteArray text; QString section, key; std::optional<QString> value; };
struct Edit { QByteArray before; QString section, key, value; QByteArray after; };
// clang-format on
struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}
QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot |
                                  QDir::System);
}
const auto kReadOnly = QFile::ReadOwner | QFile::ExeOwner;
const auto kWritable = kReadOnly | QFile::WriteOwner;
} // namespace

Q_DECLARE_METATYPE(Edit)

class tst_ProfileFile : public QObject {
    Q_OBJECT
    std::unique_ptr<TempProgramFolder> folder;

  private Q_SLOTS:
    void initTestCase() { QVERIFY(DropRoot()); }
    void init() { folder = std::make_unique<TempProgramFolder>(); }
    void reads_data() {
        QTest::addColumn<Read>("row");
        // clang-format off
        QTest::newRow("case") << Read{"[settings]\nRandom=1\n", "SETTINGS", "random", "1"};
        QTest::newRow("spaces") << Read{"  [ Settings ]  \n  min =  90  \n", "Settings", "min", "90"};
        QTest::newRow("first duplicate key") << Read{"[Settings]\nchange=Startup\nchange=Frequently\n", "Settings", "change", "Startup"};
        QTest::newRow("first of two sections") << Read{"[Memory]\nX=1\n[Settings]\n[Memory]\nX=2\nY=3\n", "Memory", "Y", {}};
        QTest::newRow("double quotes") << Read{"[Settings]\nInitDir=\"/a b\"\n", "Settings", "InitDir", "/a b"};
        QTest::newRow("before any section") << Read{"X=5\n[Memory]\n", "Memory", "X", {}};
        QTest::newRow("garbage") << Read{QByteArray("\x00\x01\xff[[=]\n==\n", 11), "Settings", "x", {}};
        // clang-format on
    }
    void reads() {
        QFETCH(Read, row);
        QCOMPARE(profile::ReadValue(row.text, row.section, row.key), row.value);
    }
    // The key's line replaced in place, or a new line after the section's
    // last entry, or a new section at the end; the rest kept byte for byte.
    void edits_data() {
        QTest::addColumn<Edit>("row");
        // clang-format off
        QTest::newRow("in place") << Edit{"; mine\n[Settings]\nSplash=1\nSkin=Metalic\n\n[Memory]\nX=4\n", "settings", "SPLASH", "0", "; mine\n[Settings]\nSplash=0\nSkin=Metalic\n\n[Memory]\nX=4\n"};
        QTest::newRow("after last entry") << Edit{"[Settings]\nSplash=1\n\n[Memory]\nX=4", "Settings", "Machine", "2", "[Settings]\nSplash=1\nMachine=2\n\n[Memory]\nX=4"};
        QTest::newRow("no last line end") << Edit{"[Memory]\nX=4", "Memory", "Y", "7", "[Memory]\nX=4\nY=7\n"};
        QTest::newRow("new section") << Edit{"[Settings]\nA=1", "Other", "a", "b", "[Settings]\nA=1\n[Other]\na=b\n"};
        QTest::newRow("crlf replaced") << Edit{"[Settings]\r\nSplash=1\r\n", "Settings", "Splash", "0", "[Settings]\r\nSplash=0\r\n"};
        QTest::newRow("hand-edited") << Edit{"\xEF\xBB\xBF; my\r\n[ settings ]\r\n  Splash = 1  \r\n\r\n[Settings]\r\nX=2\r\n", "Settings", "Startup", "0", "\xEF\xBB\xBF; my\r\n[ settings ]\r\n  Splash = 1  \r\nStartup=0\r\n\r\n[Settings]\r\nX=2\r\n"};
        // clang-format on
    }
    void edits() {
        QFETCH(Edit, row);
        QCOMPARE(profile::WithValue(row.before, row.section, row.key, row.value), row.after);
        const QString path = folder->write("Settings.INI", row.before);
        QVERIFY(profile::Write(path, row.section, row.key, row.value));
        QCOMPARE(folder->read("Settings.INI"), row.after);
        QCOMPARE(profile::Read(path, row.section, row.key).value_or(""), row.value);
    }
    // An absent file is not created by reading; a stored value is not written
    // again; a failed replace leaves the old file whole.
    void valueAlreadyStoredLeavesFileUntouched() {
        QVERIFY(!profile::Read(folder->file("Settings.INI"), "Settings", "Version"));
        QCOMPARE(entriesOf(folder->path()), QStringList());
        const QString path = folder->write("Settings.INI", "[Settings]\nSplash=\"0\"\nSkin=Blue\n");
        const ino_t before = statOf(path).st_ino;
        QFile::setPermissions(folder->path(), kReadOnly); // nothing could be written
        QVERIFY(profile::Write(path, "Settings", "skin", "Blue"));
        QVERIFY(!profile::Write(path, "Settings", "Splash", "0")); // quotes are not the text
        QVERIFY(!profile::WriteWhole(path, "[Settings]\n")); // a failed replace leaves it whole
        QFile::setPermissions(folder->path(), kWritable);
        QCOMPARE(statOf(path).st_ino, before);
        QCOMPARE(folder->read("Settings.INI"), "[Settings]\nSplash=\"0\"\nSkin=Blue\n");
    }
    void replacingKeepsPermissionsAndLinks() {
        const QString real = folder->write("../dotfiles/Tavorin.INI", "[Settings]\nSkin=Ocean\n");
        QVERIFY(::chmod(QFile::encodeName(real).constData(), 0640) == 0);
        const QString link = folder->file("Settings.INI");
        QVERIFY(QFile::link(real, link));
        QVERIFY(profile::Write(link, "Settings", "Splash", "0"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(statOf(real).st_mode & 07777, 0640u);
        QCOMPARE(folder->read("../dotfiles/Tavorin.INI"), "[Settings]\nSkin=Ocean\nSplash=0\n");
        QCOMPARE(entriesOf(QFileInfo(real).path()), QStringList{"Tavorin.INI"});
    }
    void internetShortcutUrl_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("url");
        // clang-format off
        QTest::newRow("crlf, bom") << QByteArray("\xEF\xBB\xBF[InternetShortcut]\r\nURL=https://a.b/\r\n") << "https://a.b/";
        QTest::newRow("names in any case") << QByteArray("[internetshortcut]\nurl=https://a.b/c\n") << "https://a.b/c";
        QTest::newRow("verbatim") << QByteArray("[InternetShortcut]\n URL = https://a.b/?q=1;x=\"2\"&%41#f\n") << "https://a.b/?q=1;x=\"2\"&%41#f";
        QTest::newRow("other keys first") << QByteArray("[InternetShortcut]\nIconIndex=0\nURLX=no\nURL=https://a.b/\n") << "https://a.b/";
        QTest::newRow("other section") << QByteArray("[Other]\nURL=https://no/\n[InternetShortcut]\nURL=https://yes/\n") << "https://yes/";
        QTest::newRow("before any section") << QByteArray("URL=https://no/\n") << "";
        // clang-format on
    }
    void internetShortcutUrl() {
        QFETCH(QByteArray, text);
        QFETCH(QString, url);
        QCOMPARE(InternetShortcutUrl(text), url);
    }
    // A line of /proc/self/mountinfo and the drive it gives ("": none, or no line at all).
    void mountedDrives() {
        // clang-format off
        const std::pair<QByteArray, QString> rows[] = {
            {"28 26 8:17 / /media/ann/STICK\\040ONE rw - vfat /dev/sdb1 rw", "/media/ann/STICK ONE"},
            {"31 26 0:51 / /mnt/box rw shared:5 - fuse.sshfs a@b:/ rw", "/mnt/box"},
            {"21 26 0:20 / /proc rw - proc proc rw", ""},
            {"33 26 0:41 / /mnt/ram rw - tmpfs tmpfs rw", ""},
            {"37 26 8:49 / /mnt rw - ext4 /dev/sdd1 rw", ""},
            {"rubbish", ""}};
        // clang-format on
        for (const auto& [line, drive] : rows) {
            const QByteArray text = "26 1 254:0 / / rw - ext4 /dev/vda rw\n" + line + '\n' + line;
            QCOMPARE(UserDrives(ParseMountInfo(text)),
                     (drive.isEmpty() ? QStringList{"/"} : QStringList{"/", drive}));
        }
    }
};

QTEST_GUILESS_MAIN(tst_ProfileFile)
#include "tst_ProfileFile.moc"
