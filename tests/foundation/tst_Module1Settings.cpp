#include "settings/Module1.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

using namespace tavorin;

// GetINIFile / WriteINIFile on Settings.INI in a temporary program folder.
class tst_Module1Settings : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();

    void absentFileReadsEmptyAndCreatesNothing();
    void longValueReadsBackAs79Bytes_data();
    void longValueReadsBackAs79Bytes();
    void namesCompareWithoutCase();
    void writeCreatesFileSectionAndKeyAndKeepsOtherKeys();
    void writeReplacesTheFirstOfDuplicateKeys();
    void handEditedFileIsReadAndKeptOnWrite();
    void folderInPlaceOfSettingsFile();
    void unreadableOldFileIsNeverReplaced();
    void otherThingsInPlaceOfSettingsFile_data();
    void otherThingsInPlaceOfSettingsFile();
    void lineBreaksAreRefusedAndChangeNothing_data();
    void lineBreaksAreRefusedAndChangeNothing();
    void pathIsBuiltOnEveryCall();
    void writeThroughALinkKeepsTheLink();
    void readOnlyProgramFolderUsesDataHome();
    void numericComparison_data();
    void numericComparison();

  private:
    std::unique_ptr<test::TempProgramFolder> folder_;
    std::unique_ptr<test::FakePlatform> platform_;
    std::unique_ptr<Module1> m_;
    QByteArray settings() const { return folder_->read(QStringLiteral("Settings.INI")); }
};

void tst_Module1Settings::init() {
    folder_ = std::make_unique<test::TempProgramFolder>();
    platform_ = std::make_unique<test::FakePlatform>(folder_->path());
    m_ = std::make_unique<Module1>(platform_->services);
}

void tst_Module1Settings::cleanup() {
    // No routine of the store shows a box for ordinary input.
    QVERIFY2(platform_->dialogs.messages.isEmpty(),
             qPrintable(platform_->dialogs.messages.value(0).text));
    m_.reset();
    platform_.reset();
    folder_.reset();
}

void tst_Module1Settings::absentFileReadsEmptyAndCreatesNothing() {
    QCOMPARE(m_->GetINIFile("Settings", "Version"), QString());
    QCOMPARE(m_->GetINIFile("Memory", "X"), QString());
    QVERIFY(!QFile::exists(folder_->file("Settings.INI")));
    QCOMPARE(QDir(folder_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

void tst_Module1Settings::longValueReadsBackAs79Bytes_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    const QString ascii100 =
        QString(QLatin1Char('a')).repeated(50) + QString(QLatin1Char('b')).repeated(50);
    QTest::newRow("100 characters") << ascii100 << ascii100.left(79);
    QTest::newRow("79 characters") << ascii100.left(79) << ascii100.left(79);
    QTest::newRow("80 characters") << ascii100.left(80) << ascii100.left(79);
    // "é" is two bytes: 39 of them fill 78 bytes, the 40th would be cut in
    // half and is left out whole.
    const QString accents = QString(QChar(0xE9)).repeated(50);
    QTest::newRow("two-byte characters") << accents << accents.left(39);
    const QString mixed = QStringLiteral("/home/a") + QString(QChar(0x20AC)).repeated(30);
    // 7 + 24 * 3 = 79 bytes: exactly fits.
    QTest::newRow("three-byte characters") << mixed << mixed.left(7 + 24);
}

void tst_Module1Settings::longValueReadsBackAs79Bytes() {
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    QVERIFY(m_->WriteINIFile("Settings", "InitDir", stored));
    QCOMPARE(m_->GetINIFile("Settings", "InitDir"), expected);
    // The file keeps the whole value: only the read is cut.
    QVERIFY(settings().contains(stored.toUtf8()));
}

void tst_Module1Settings::namesCompareWithoutCase() {
    QVERIFY(m_->WriteINIFile("Settings", "random", "1"));
    QCOMPARE(m_->GetINIFile("Settings", "Random"), QStringLiteral("1"));
    QCOMPARE(m_->GetINIFile("SETTINGS", "RANDOM"), QStringLiteral("1"));
    QVERIFY(m_->WriteINIFile("settings", "Random", "0"));
    QCOMPARE(m_->GetINIFile("Settings", "random"), QStringLiteral("0"));
    // One key, one section: the second write replaced the first.
    QCOMPARE(settings(), QByteArray("[Settings]\nrandom=0\n"));
}

void tst_Module1Settings::writeCreatesFileSectionAndKeyAndKeepsOtherKeys() {
    QVERIFY(m_->WriteINIFile("Settings", "Splash", "1"));
    QVERIFY(m_->WriteINIFile("Memory", "X", "12"));
    QVERIFY(m_->WriteINIFile("Settings", "Skin", "Ocean"));
    QVERIFY(m_->WriteINIFile("Memory", "Y", "-3"));
    QVERIFY(m_->WriteINIFile("Settings", "Splash", "0"));
    QCOMPARE(settings(), QByteArray("[Settings]\nSplash=0\nSkin=Ocean\n[Memory]\nX=12\nY=-3\n"));
    QCOMPARE(m_->GetINIFile("Memory", "X"), QStringLiteral("12"));
    QCOMPARE(m_->GetINIFile("Settings", "Skin"), QStringLiteral("Ocean"));
    // An empty value is stored and reads back empty, the key stays.
    QVERIFY(m_->WriteINIFile("Settings", "Skin", ""));
    QCOMPARE(m_->GetINIFile("Settings", "Skin"), QString());
    QVERIFY(settings().contains("\nSkin=\n"));
}

void tst_Module1Settings::writeReplacesTheFirstOfDuplicateKeys() {
    folder_->write("Settings.INI", "[Settings]\nchange=Startup\nchange=Never (manually only)\n");
    QCOMPARE(m_->GetINIFile("Settings", "change"), QStringLiteral("Startup"));
    QVERIFY(m_->WriteINIFile("Settings", "change", "Frequently"));
    QCOMPARE(m_->GetINIFile("Settings", "change"), QStringLiteral("Frequently"));
    QCOMPARE(settings(),
             QByteArray("[Settings]\nchange=Frequently\nchange=Never (manually only)\n"));
}

void tst_Module1Settings::handEditedFileIsReadAndKeptOnWrite() {
    const QByteArray edited = "\xEF\xBB\xBF; my settings\r\n"
                              "[ settings ]\r\n"
                              "  Splash = 1  \r\n"
                              "Skin=Forest\r\n"
                              "\r\n"
                              "[Memory]\r\n"
                              "X=1\r\n"
                              "[Settings]\r\n"
                              "Machine=2\r\n";
    folder_->write("Settings.INI", edited);
    QCOMPARE(m_->GetINIFile("Settings", "Splash"), QStringLiteral("1"));
    QCOMPARE(m_->GetINIFile("Settings", "skin"), QStringLiteral("Forest"));
    QCOMPARE(m_->GetINIFile("Memory", "x"), QStringLiteral("1"));
    // Only the first of two sections of one name counts.
    QCOMPARE(m_->GetINIFile("Settings", "Machine"), QString());

    QVERIFY(m_->WriteINIFile("Settings", "Startup", "0"));
    QVERIFY(m_->WriteINIFile("Memory", "X", "9"));
    const QByteArray expected = "\xEF\xBB\xBF; my settings\r\n"
                                "[ settings ]\r\n"
                                "  Splash = 1  \r\n"
                                "Skin=Forest\r\n"
                                "Startup=0\r\n"
                                "\r\n"
                                "[Memory]\r\n"
                                "X=9\r\n"
                                "[Settings]\r\n"
                                "Machine=2\r\n";
    QCOMPARE(settings(), expected);
}

void tst_Module1Settings::folderInPlaceOfSettingsFile() {
    QVERIFY(QDir().mkpath(folder_->file("Settings.INI")));
    folder_->write("Settings.INI/keep.txt", "mine");
    QCOMPARE(m_->GetINIFile("Settings", "Version"), QString());
    QVERIFY(!m_->WriteINIFile("Settings", "Version", "1.2.35"));
    QVERIFY(QFileInfo(folder_->file("Settings.INI")).isDir());
    QCOMPARE(folder_->read("Settings.INI/keep.txt"), QByteArray("mine"));
}

void tst_Module1Settings::unreadableOldFileIsNeverReplaced() {
    const QByteArray before = "[Settings]\nSkin=Dusk\nSplash=1\n";
    const QString path = folder_->write("Settings.INI", before);
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QSKIP("The file stays readable for this user (root)");
    }
    const bool written = m_->WriteINIFile("Settings", "Splash", "0");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(!written);
    QCOMPARE(settings(), before);
}

void tst_Module1Settings::otherThingsInPlaceOfSettingsFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("link to a device") << "device";
    QTest::newRow("dangling link") << "dangling";
    QTest::newRow("huge file") << "huge";
}

void tst_Module1Settings::otherThingsInPlaceOfSettingsFile() {
    QFETCH(QString, kind);
    const QString path = folder_->file("Settings.INI");
    if (kind == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "device")
        QVERIFY(QFile::link("/dev/zero", path));
    else if (kind == "dangling")
        QVERIFY(QFile::link(folder_->file("elsewhere/Settings.INI"), path));
    else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Settings]\nSplash=1\n");
        QVERIFY(f.resize(17 * 1024 * 1024)); // sparse: cheap to make
    }
    const QFileInfo before(path);
    // Neither blocks nor reads without end; nothing is replaced.
    QCOMPARE(m_->GetINIFile("Settings", "Splash"), QString());
    QVERIFY(!m_->WriteINIFile("Settings", "Splash", "0"));
    const QFileInfo after(path);
    QCOMPARE(after.isSymLink(), before.isSymLink());
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.isFile(), before.isFile());
}

void tst_Module1Settings::lineBreaksAreRefusedAndChangeNothing_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("value LF") << "Settings"
                              << "InitDir"
                              << "/a\n[Memory]\nX=0";
    QTest::newRow("value CR") << "Settings"
                              << "InitDir"
                              << "/a\rb";
    QTest::newRow("key LF") << "Settings"
                            << "Init\nDir"
                            << "x";
    QTest::newRow("section LF") << "Sett\nings"
                                << "InitDir"
                                << "x";
    QTest::newRow("key with =") << "Settings"
                                << "a=b"
                                << "x";
    QTest::newRow("key like a section") << "Settings"
                                        << "[Memory]"
                                        << "x";
    QTest::newRow("section with ]") << "Set]tings"
                                    << "InitDir"
                                    << "x";
    QTest::newRow("empty key") << "Settings"
                               << ""
                               << "x";
}

void tst_Module1Settings::lineBreaksAreRefusedAndChangeNothing() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QByteArray before = "[Settings]\nInitDir=/pictures\n[Memory]\nX=5\n";
    folder_->write("Settings.INI", before);
    QVERIFY(!m_->WriteINIFile(section, key, value));
    QCOMPARE(settings(), before);
}

void tst_Module1Settings::pathIsBuiltOnEveryCall() {
    QCOMPARE(m_->SettingsFile(), folder_->file("Settings.INI"));
    QVERIFY(m_->WriteINIFile("Settings", "Splash", "1"));
    // Replaced behind the store's back: the next read sees the new file.
    folder_->write("Settings.INI", "[Settings]\nSplash=0\n");
    QCOMPARE(m_->GetINIFile("Settings", "Splash"), QStringLiteral("0"));
    QFile::remove(folder_->file("Settings.INI"));
    QCOMPARE(m_->GetINIFile("Settings", "Splash"), QString());
}

void tst_Module1Settings::writeThroughALinkKeepsTheLink() {
    // Settings kept elsewhere (a dotfiles folder) and linked in.
    const QString real = folder_->write("../dotfiles/Tavorin.INI", "[Settings]\nSkin=Ocean\n");
    QVERIFY(QFile::link(real, folder_->file("Settings.INI")));
    QVERIFY(m_->WriteINIFile("Settings", "Splash", "0"));
    QVERIFY(QFileInfo(folder_->file("Settings.INI")).isSymLink());
    QFile f(real);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("[Settings]\nSkin=Ocean\nSplash=0\n"));
}

void tst_Module1Settings::readOnlyProgramFolderUsesDataHome() {
    QFile::setPermissions(folder_->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool stillWritable = QFileInfo(folder_->path()).isWritable();
    const QString file = m_->SettingsFile();
    if (!stillWritable) {
        QCOMPARE(file, folder_->path() + QStringLiteral("/.data-home/Settings.INI"));
        QVERIFY(m_->WriteINIFile("Settings", "Splash", "0"));
        QCOMPARE(m_->GetINIFile("Settings", "Splash"), QStringLiteral("0"));
    }
    QFile::setPermissions(folder_->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (stillWritable)
        QSKIP("The folder stays writable for this user (root)");
}

void tst_Module1Settings::numericComparison_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isOne");
    QTest::addColumn<bool>("isNumber");
    QTest::newRow("1") << "1" << true << true;
    QTest::newRow("spaces") << " 1 " << true << true;
    QTest::newRow("1.0") << "1.0" << true << true;
    QTest::newRow("0") << "0" << false << true;
    QTest::newRow("2") << "2" << false << true;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("abc") << "abc" << false << false;
    QTest::newRow("1abc") << "1abc" << false << false;
}

void tst_Module1Settings::numericComparison() {
    QFETCH(QString, text);
    QFETCH(bool, isOne);
    QFETCH(bool, isNumber);
    QCOMPARE(EqualsNumber(text, 1), isOne);
    QCOMPARE(NumericValue(text).has_value(), isNumber);
}

QTEST_GUILESS_MAIN(tst_Module1Settings)
#include "tst_Module1Settings.moc"
