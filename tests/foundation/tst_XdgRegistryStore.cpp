#include "platform/ProfileFile.h"
#include "platform/RegistryStore.h"
#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace tavorin;

namespace {
const QString kRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kDesktop = QStringLiteral("Control Panel\\Desktop");
} // namespace

// The registry stand-in: the Run key as XDG autostart entries, the
// desktop key as a small record, every other key absent.
class tst_XdgRegistryStore : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();

    void configHomeFromEnvironment();
    void autostartEntryContent();
    void autostartFolderIsCreatedWhenMissing();
    void execQuotingRoundTrips_data();
    void execQuotingRoundTrips();
    void execQuotingIsValidDesktopEntry_data();
    void execQuotingIsValidDesktopEntry();
    void rewritingReplacesTheEntry();
    void deletingRemovesOnlyThatEntry();
    void runKeyNameComparesWithoutCase();
    void badEntryNamesAreRefused_data();
    void badEntryNamesAreRefused();
    void desktopRecordWritesReadsAndDeletes();
    void otherKeysDoNotExist_data();
    void otherKeysDoNotExist();

  private:
    std::unique_ptr<test::TempProgramFolder> folder_;
    std::unique_ptr<XdgRegistryStore> store_;
    QString entryPath(const QString& name) const {
        return folder_->configHome() + "/autostart/" + name + ".desktop";
    }
    static QByteArray readAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

void tst_XdgRegistryStore::init() {
    folder_ = std::make_unique<test::TempProgramFolder>();
    store_ = std::make_unique<XdgRegistryStore>();
}

void tst_XdgRegistryStore::cleanup() {
    store_.reset();
    folder_.reset();
}

void tst_XdgRegistryStore::configHomeFromEnvironment() {
    QCOMPARE(store_->AutostartFolder(), folder_->configHome() + "/autostart");
    QCOMPARE(store_->DesktopRecordFile(), folder_->configHome() + "/Tavorin/Desktop.INI");
    // A relative XDG_CONFIG_HOME is ignored, as the base directory rules say.
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    const XdgRegistryStore relative;
    qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(relative.AutostartFolder(), QDir::homePath() + "/.config/autostart");
    QCOMPARE(XdgRegistryStore("/elsewhere").AutostartFolder(),
             QStringLiteral("/elsewhere/autostart"));
}

void tst_XdgRegistryStore::autostartEntryContent() {
    QVERIFY(
        store_->SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", "/opt/Tavorin/Loader.exe"));
    QCOMPARE(readAll(entryPath("Tavorin")),
             QByteArray("[Desktop Entry]\n"
                        "Type=Application\n"
                        "Name=Tavorin\n"
                        "Comment=Changes the desktop wallpaper at log-on\n"
                        "Exec=\"/opt/Tavorin/Loader.exe\"\n"
                        "Terminal=false\n"
                        "X-GNOME-Autostart-enabled=true\n"));
    QCOMPARE(store_->StringValue(RootKey::LocalMachine, kRun, "Tavorin"),
             std::optional<QString>("/opt/Tavorin/Loader.exe"));
}

void tst_XdgRegistryStore::autostartFolderIsCreatedWhenMissing() {
    // Not even the configuration folder exists yet.
    const QString home = folder_->root() + "/fresh/config";
    XdgRegistryStore store(home);
    QVERIFY(!QDir(home).exists());
    QVERIFY(store.SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", "/a/Loader.exe"));
    QVERIFY(QFile::exists(home + "/autostart/Tavorin.desktop"));

    // A file in the folder's place: the write fails and the file is kept.
    const QString blocked = folder_->root() + "/blocked";
    QDir().mkpath(blocked);
    folder_->write("../blocked/autostart", "not a folder");
    XdgRegistryStore blockedStore(blocked);
    QVERIFY(!blockedStore.SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", "/a/Loader.exe"));
    QCOMPARE(readAll(blocked + "/autostart"), QByteArray("not a folder"));
}

static void addProgramPaths() {
    QTest::addColumn<QString>("program");
    QTest::newRow("plain") << "/opt/Tavorin/Loader.exe";
    QTest::newRow("spaces") << "/home/ann/My Programs/Tavorin 1.2/Loader.exe";
    QTest::newRow("double quote") << "/home/ann/\"best\"/Loader.exe";
    QTest::newRow("single quote") << "/home/ann/ann's/Loader.exe";
    QTest::newRow("percent") << "/home/ann/100%/%f %u/Loader.exe";
    QTest::newRow("dollar") << "/home/ann/$HOME/${x}/Loader.exe";
    QTest::newRow("backslash") << "/home/ann/a\\b\\\\c\\/Loader.exe";
    QTest::newRow("backtick") << "/home/ann/`ls`/Loader.exe";
    QTest::newRow("shell characters") << "/home/ann/a;b&c|d<e>f*g?h#i(j)~k/Loader.exe";
    QTest::newRow("tab") << "/home/ann/a\tb/Loader.exe";
    QTest::newRow("utf-8") << QString::fromUtf8("/home/jos\xC3\xA9/Bilder \xE2\x82\xAC/Loader.exe");
    QTest::newRow("all at once") << "/t/ \" ' % $ \\ ` %% \\\\ \"\"/Loader.exe";
}

void tst_XdgRegistryStore::execQuotingRoundTrips_data() {
    addProgramPaths();
}

void tst_XdgRegistryStore::execQuotingRoundTrips() {
    QFETCH(QString, program);
    QVERIFY(store_->SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", program));
    QCOMPARE(store_->StringValue(RootKey::LocalMachine, kRun, "Tavorin"),
             std::optional<QString>(program));
    // One line per key: nothing in the path can add a key of its own.
    const QByteArray text = readAll(entryPath("Tavorin"));
    QCOMPARE(text.count('\n'), 7);
    const QString exec = *profile::ReadVerbatim(text, "Desktop Entry", "Exec");
    // The path is one quoted argument, the last; alone unless it holds "%".
    QVERIFY2(exec.endsWith('"'), qPrintable(exec));
    QCOMPARE(exec.startsWith('"'), !program.contains('%'));
}

void tst_XdgRegistryStore::execQuotingIsValidDesktopEntry_data() {
    addProgramPaths();
}

void tst_XdgRegistryStore::execQuotingIsValidDesktopEntry() {
    QFETCH(QString, program);
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (Debian: desktop-file-utils)");
    QVERIFY(store_->SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", program));
    QProcess check;
    check.start(validator, {entryPath("Tavorin")});
    QVERIFY(check.waitForFinished(20000));
    const QByteArray said = check.readAllStandardOutput() + check.readAllStandardError();
    QVERIFY2(check.exitCode() == 0, said.constData());
    QVERIFY2(!said.contains("error"), said.constData());
}

void tst_XdgRegistryStore::rewritingReplacesTheEntry() {
    QVERIFY(store_->SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", "/old/Loader.exe"));
    QVERIFY(store_->SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", "/new/Loader.exe"));
    QCOMPARE(store_->StringValue(RootKey::LocalMachine, kRun, "Tavorin"),
             std::optional<QString>("/new/Loader.exe"));
    QCOMPARE(QDir(store_->AutostartFolder()).entryList(QDir::Files),
             QStringList{"Tavorin.desktop"});
}

void tst_XdgRegistryStore::deletingRemovesOnlyThatEntry() {
    QVERIFY(store_->SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", "/a/Loader.exe"));
    folder_->write("../config/autostart/other.desktop", "[Desktop Entry]\nType=Application\n");
    QVERIFY(store_->DeleteValue(RootKey::LocalMachine, kRun, "Tavorin"));
    QVERIFY(!QFile::exists(entryPath("Tavorin")));
    QVERIFY(QFile::exists(entryPath("other")));
    QVERIFY(!store_->StringValue(RootKey::LocalMachine, kRun, "Tavorin"));
    // Deleting again: nothing there, a plain failure.
    QVERIFY(!store_->DeleteValue(RootKey::LocalMachine, kRun, "Tavorin"));
}

void tst_XdgRegistryStore::runKeyNameComparesWithoutCase() {
    QVERIFY(store_->SetStringValue(RootKey::LocalMachine,
                                   "SOFTWARE\\microsoft\\windows\\currentversion\\run", "Tavorin",
                                   "/a/Loader.exe"));
    QCOMPARE(store_->StringValue(RootKey::LocalMachine, kRun, "Tavorin"),
             std::optional<QString>("/a/Loader.exe"));
}

void tst_XdgRegistryStore::badEntryNamesAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("slash") << "../../evil";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
}

void tst_XdgRegistryStore::badEntryNamesAreRefused() {
    QFETCH(QString, name);
    QVERIFY(!store_->SetStringValue(RootKey::LocalMachine, kRun, name, "/a/Loader.exe"));
    QVERIFY(!store_->DeleteValue(RootKey::LocalMachine, kRun, name));
    QVERIFY(!store_->StringValue(RootKey::LocalMachine, kRun, name));
    QVERIFY(!QFile::exists(folder_->root() + "/evil.desktop"));
}

void tst_XdgRegistryStore::desktopRecordWritesReadsAndDeletes() {
    QVERIFY(!store_->StringValue(RootKey::CurrentUser, kDesktop, "Wallpaper"));
    QVERIFY(store_->SetStringValue(RootKey::CurrentUser, kDesktop, "Wallpaper",
                                   "/home/ann/Pictures/\"Sea\" 1.bmp"));
    QCOMPARE(store_->StringValue(RootKey::CurrentUser, "control panel\\desktop", "wallpaper"),
             std::optional<QString>("/home/ann/Pictures/\"Sea\" 1.bmp"));
    QVERIFY(QFile::exists(store_->DesktopRecordFile()));
    QVERIFY(store_->DeleteValue(RootKey::CurrentUser, kDesktop, "Wallpaper"));
    QVERIFY(!store_->StringValue(RootKey::CurrentUser, kDesktop, "Wallpaper"));
    // The desktop key is the user's: not under the machine root.
    QVERIFY(!store_->SetStringValue(RootKey::LocalMachine, kDesktop, "Wallpaper", "/x.bmp"));
}

void tst_XdgRegistryStore::otherKeysDoNotExist_data() {
    QTest::addColumn<int>("root");
    QTest::addColumn<QString>("subKey");
    QTest::newRow("other key") << int(RootKey::CurrentUser) << "Software\\Tavorin";
    QTest::newRow("root itself") << int(RootKey::LocalMachine) << "";
    QTest::newRow("run under classes") << int(RootKey::ClassesRoot) << kRun;
    QTest::newRow("no root") << int(RootKey::None) << kRun;
    QTest::newRow("run below") << int(RootKey::LocalMachine) << kRun + "\\Sub";
}

void tst_XdgRegistryStore::otherKeysDoNotExist() {
    QFETCH(int, root);
    QFETCH(QString, subKey);
    const auto key = static_cast<RootKey>(root);
    QVERIFY(!store_->SetStringValue(key, subKey, "Tavorin", "/a/Loader.exe"));
    QVERIFY(!store_->StringValue(key, subKey, "Tavorin"));
    QVERIFY(!store_->DeleteValue(key, subKey, "Tavorin"));
    // Nothing at all was created.
    QCOMPARE(QDir(folder_->configHome()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_GUILESS_MAIN(tst_XdgRegistryStore)
#include "tst_XdgRegistryStore.moc"
