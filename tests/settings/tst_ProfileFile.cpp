#include "platform/ProfileFile.h"
#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

using namespace tavorin;

class tst_ProfileFile : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void readsHandEditedFiles_data();
    void readsHandEditedFiles();
    void writeReplacesInPlaceAndKeepsTheRest();
    void writeAddsKeyToExistingSectionAndNewSectionAtEnd();
    void writeKeepsLineEndings();
    void failedWriteLeavesOldFileWhole();
    void refusesLineBreaks();
    void absentFileReadsNothingAndCreatesNothing();
    void valueAlreadyStoredLeavesFileUntouched();
    void replacingKeepsPermissionsAndLinks();
    void replacingRefusesWhatIsNotAPlainFile();
};

namespace {
// The file's identity: a file written anew is another file.
ino_t inodeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

mode_t permissionsOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot |
                                  QDir::System);
}
} // namespace

void tst_ProfileFile::readsHandEditedFiles_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("present");
    QTest::newRow("lf") << QByteArray("[Settings]\nSplash=1\n") << "Settings"
                        << "Splash"
                        << "1" << true;
    QTest::newRow("crlf") << QByteArray("[Settings]\r\nSplash=0\r\n") << "Settings"
                          << "Splash"
                          << "0" << true;
    QTest::newRow("case") << QByteArray("[settings]\nRandom=1\n") << "SETTINGS"
                          << "random"
                          << "1" << true;
    QTest::newRow("spaces") << QByteArray("  [ Settings ]  \n  min =  90  \n") << "Settings"
                            << "min"
                            << "90" << true;
    QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF[Settings]\nSkin=Metalic\n") << "Settings"
                         << "Skin"
                         << "Metalic" << true;
    QTest::newRow("first duplicate key wins")
        << QByteArray("[Settings]\nchange=Startup\nchange=Frequently\n") << "Settings"
        << "change"
        << "Startup" << true;
    QTest::newRow("section twice, first wins")
        << QByteArray("[Memory]\nX=1\n[Settings]\n[Memory]\nX=2\nY=3\n") << "Memory"
        << "Y"
        << "" << false;
    QTest::newRow("quoted") << QByteArray("[Settings]\nInitDir=\"/a b\"\n") << "Settings"
                            << "InitDir"
                            << "/a b" << true;
    QTest::newRow("other section") << QByteArray("[Memory]\nX=5\n") << "Settings"
                                   << "X"
                                   << "" << false;
    QTest::newRow("empty value") << QByteArray("[Settings]\nmin=\n") << "Settings"
                                 << "min"
                                 << "" << true;
    QTest::newRow("utf8") << QByteArray("[Settings]\nInitDir=/home/jos\xC3\xA9\n") << "Settings"
                          << "InitDir" << QString::fromUtf8("/home/jos\xC3\xA9") << true;
    QTest::newRow("garbage") << QByteArray("\x00\x01\xff[[=]\n==\n", 11) << "Settings"
                             << "x"
                             << "" << false;
}

void tst_ProfileFile::readsHandEditedFiles() {
    QFETCH(QByteArray, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QFETCH(bool, present);
    const auto value = profile::ReadValue(text, section, key);
    QCOMPARE(value.has_value(), present);
    if (present)
        QCOMPARE(*value, expected);
}

void tst_ProfileFile::writeReplacesInPlaceAndKeepsTheRest() {
    const QByteArray before = "; mine\n[Settings]\nSplash=1\nSkin=Metalic\n\n[Memory]\nX=4\n";
    const QByteArray after = profile::WithValue(before, "settings", "SPLASH", "0");
    QCOMPARE(after, QByteArray("; mine\n[Settings]\nSplash=0\nSkin=Metalic\n\n[Memory]\nX=4\n"));
}

void tst_ProfileFile::writeAddsKeyToExistingSectionAndNewSectionAtEnd() {
    QByteArray text = "[Settings]\nSplash=1\n\n[Memory]\nX=4";
    text = profile::WithValue(text, "Settings", "Machine", "2");
    QCOMPARE(text, QByteArray("[Settings]\nSplash=1\nMachine=2\n\n[Memory]\nX=4"));
    text = profile::WithValue(text, "Memory", "Y", "7");
    QCOMPARE(text, QByteArray("[Settings]\nSplash=1\nMachine=2\n\n[Memory]\nX=4\nY=7\n"));
    text = profile::WithValue(text, "Other", "a", "b");
    QVERIFY(text.endsWith("Y=7\n[Other]\na=b\n"));
    QCOMPARE(profile::WithValue({}, "Settings", "Version", "1.2.35"),
             QByteArray("[Settings]\nVersion=1.2.35\n"));
}

void tst_ProfileFile::writeKeepsLineEndings() {
    const QByteArray crlf = "[Settings]\r\nSplash=1\r\n";
    QCOMPARE(profile::WithValue(crlf, "Settings", "Startup", "0"),
             QByteArray("[Settings]\r\nSplash=1\r\nStartup=0\r\n"));
    QCOMPARE(profile::WithValue(crlf, "Settings", "Splash", "0"),
             QByteArray("[Settings]\r\nSplash=0\r\n"));
}

void tst_ProfileFile::failedWriteLeavesOldFileWhole() {
    test::TempProgramFolder folder;
    const QString path = folder.write("Settings.INI", "[Settings]\nSplash=1\nSkin=Blue\n");
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool written = profile::Write(path, "Settings", "Splash", "0");
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (written) // root may write anywhere: the write must then be whole
        QCOMPARE(folder.read("Settings.INI"), QByteArray("[Settings]\nSplash=0\nSkin=Blue\n"));
    else
        QCOMPARE(folder.read("Settings.INI"), QByteArray("[Settings]\nSplash=1\nSkin=Blue\n"));

    // A folder in the file's place: nothing written, nothing crashes.
    const QString dirPath = folder.file("Folder.INI");
    QDir().mkpath(dirPath);
    QVERIFY(!profile::Write(dirPath, "Settings", "Splash", "0"));
    QVERIFY(!profile::Read(dirPath, "Settings", "Splash").has_value());
}

void tst_ProfileFile::refusesLineBreaks() {
    test::TempProgramFolder folder;
    const QString path = folder.write("Settings.INI", "[Settings]\nInitDir=/a\n");
    QVERIFY(!profile::Write(path, "Settings", "InitDir", "/a\n[Memory]\nX=0"));
    QCOMPARE(folder.read("Settings.INI"), QByteArray("[Settings]\nInitDir=/a\n"));
}

void tst_ProfileFile::absentFileReadsNothingAndCreatesNothing() {
    test::TempProgramFolder folder;
    QVERIFY(!profile::Read(folder.file("Settings.INI"), "Settings", "Version").has_value());
    QVERIFY(!QFile::exists(folder.file("Settings.INI")));
}

void tst_ProfileFile::valueAlreadyStoredLeavesFileUntouched() {
    test::TempProgramFolder folder;
    const QString path = folder.write("Settings.INI", "[Settings]\nSplash=\"0\"\nSkin=Blue\n");
    const ino_t before = inodeOf(path);
    // Stored as written: nothing to do, even where nothing could be written.
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY(profile::Write(path, "Settings", "skin", "Blue"));
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(inodeOf(path), before);
    // Quotes read away are not the text stored: the line is written.
    QVERIFY(profile::Write(path, "Settings", "Splash", "0"));
    QCOMPARE(folder.read("Settings.INI"), QByteArray("[Settings]\nSplash=0\nSkin=Blue\n"));
    QVERIFY(inodeOf(path) != before);
    // An empty value of a key that is absent is a new line.
    QVERIFY(profile::Write(path, "Memory", "X", ""));
    QCOMPARE(folder.read("Settings.INI"),
             QByteArray("[Settings]\nSplash=0\nSkin=Blue\n[Memory]\nX=\n"));
}

void tst_ProfileFile::replacingKeepsPermissionsAndLinks() {
    test::TempProgramFolder folder;
    const QString real = folder.write("../dotfiles/Tavorin.INI", "[Settings]\nSkin=Ocean\n");
    QVERIFY(::chmod(QFile::encodeName(real).constData(), 0640) == 0);
    const QString link = folder.file("Settings.INI");
    QVERIFY(QFile::link(real, link));
    QVERIFY(profile::Write(link, "Settings", "Splash", "0"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(permissionsOf(real), mode_t(0640));
    QCOMPARE(folder.read("../dotfiles/Tavorin.INI"),
             QByteArray("[Settings]\nSkin=Ocean\nSplash=0\n"));
    // Nothing is left beside the files written.
    QCOMPARE(entriesOf(QFileInfo(real).absolutePath()), QStringList{"Tavorin.INI"});
    QCOMPARE(entriesOf(folder.path()), QStringList{"Settings.INI"});

    // A new file gets the permissions every new file of the user gets.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    QVERIFY(profile::WriteWhole(folder.file("New.INI"), "[Settings]\n"));
    QCOMPARE(permissionsOf(folder.file("New.INI")), mode_t(0666 & ~mask));
}

void tst_ProfileFile::replacingRefusesWhatIsNotAPlainFile() {
    test::TempProgramFolder folder;
    QVERIFY(QDir().mkpath(folder.file("Folder.INI")));
    QVERIFY(!profile::WriteWhole(folder.file("Folder.INI"), "x"));
    QVERIFY(QFileInfo(folder.file("Folder.INI")).isDir());
    QVERIFY(QFile::link("/dev/null", folder.file("Device.INI")));
    QVERIFY(!profile::WriteWhole(folder.file("Device.INI"), "x"));
    QVERIFY(QFileInfo(folder.file("Device.INI")).isSymLink());
    // A folder that cannot be written: the old file stays whole, no
    // temporary file is left.
    const QString path = folder.write("Settings.INI", "[Settings]\nSplash=1\n");
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool written = profile::WriteWhole(path, "[Settings]\nSplash=0\n");
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (written)
        QSKIP("The folder stays writable for this user (root)");
    QCOMPARE(folder.read("Settings.INI"), QByteArray("[Settings]\nSplash=1\n"));
    QCOMPARE(entriesOf(folder.path()), (QStringList{"Device.INI", "Folder.INI", "Settings.INI"}));
}

QTEST_GUILESS_MAIN(tst_ProfileFile)
#include "tst_ProfileFile.moc"
