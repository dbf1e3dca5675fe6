// The desktop's side of the platform: the registry stand-in (autostart entries and
// the desktop record) as the desktop reads and starts it, and opening documents
// through GIO, directly and through the program's GIO module.
#include "platform/GioModule.h"
#include "platform/ProfileFile.h"
#include "platform/RegistryStore.h"
#include "platform/wallpaper/GSettingsFamily.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestPictures.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {
const QString kRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kDesktop = QStringLiteral("Control Panel\\Desktop");
// clang-format off
struct Refused { RootKey root; QString subKey, name; };
// clang-format on
// Waits for a started program's record, not for a clock.
QByteArray recordOf(const QString& path) {
    [&] { QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 10000); }();
    const QByteArray text = ReadFile(path);
    QFile::remove(path);
    return text;
}
// A program that writes the path it was started by to `record`.
QString recorder(const QString& path, const QString& record) {
    const QByteArray to = QFile::encodeName(record);
    WriteFile(path, "#!/bin/sh\nprintf '%s\\n' \"$0\" > '" + to + ".tmp'\nmv '" + to + ".tmp' '" +
                        to + "'\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}
} // namespace

class tst_XdgDesktop : public QObject {
    Q_OBJECT
    TempProgramFolder folder;
    const QString config = folder.configHome();
    XdgRegistryStore store;
    QString entry() const { return config + "/autostart/Tavorin.desktop"; }
    QString record() const { return folder.root() + "/record"; }

  private Q_SLOTS:
    void initTestCase() {
        qunsetenv("DISPLAY"); // no session bus started for the launches
        qunsetenv("WAYLAND_DISPLAY");
    }
    // The entry as the desktop reads it: valid, and GIO starts exactly the
    // Loader named, whatever its folder is called.
    void desktopStartsTheNamedLoader_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("spaces") << "My Programs/Tavorin 1.2";
        QTest::newRow("quotes") << "ann's \"best\"";
        QTest::newRow("percent") << "100% %f %u %%";
        QTest::newRow("dollar") << "$HOME ${x} $(ls)";
        QTest::newRow("backslash") << "a\\b\\\\c\\";
        QTest::newRow("backtick") << "`ls` `";
    }
    void desktopStartsTheNamedLoader() {
        QFETCH(QString, name);
        const QString loader = recorder(folder.root() + "/p/" + name + "/Loader.exe", record());
        QVERIFY(store.SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", loader));
        QCOMPARE(store.StringValue(RootKey::LocalMachine, kRun, "Tavorin"), loader);
        // One line a key: nothing in the path adds a key. The path is one
        // quoted argument, the last; alone unless it holds "%".
        const QByteArray text = ReadFile(entry());
        QCOMPARE(text.count('\n'), 7);
        const QString exec = *profile::ReadVerbatim(text, "Desktop Entry", "Exec");
        QVERIFY2(exec.endsWith('"') && exec.startsWith('"') == !loader.contains('%'),
                 qPrintable(exec));
        QCOMPARE(QProcess::execute("desktop-file-validate", {entry()}), 0);
        QCOMPARE(QProcess::execute("gio", {"launch", entry()}), 0);
        QCOMPARE(QString::fromUtf8(recordOf(record())), loader + '\n');
    }
    void autostartEntryIsWrittenOnce() {
        QVERIFY(store.SetStringValue(RootKey::LocalMachine,
                                     "SOFTWARE\\microsoft\\windows\\currentversion\\run", "Tavorin",
                                     "/a/Loader.exe"));
        // clang-format off
        QCOMPARE(ReadFile(entry()), "[Desktop Entry]\nType=Application\nName=Tavorin\nComment=Changes the desktop wallpaper at log-on\nExec=\"/a/Loader.exe\"\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
        // clang-format on
        folder.write("../config/autostart/Tavorin.desktop", "[Desktop Entry]\nTerminal=true\n");
        QVERIFY(store.SetStringValue(RootKey::LocalMachine, kRun, "Tavorin", "/a/Loader.exe"));
        QVERIFY(ReadFile(entry()).contains("Terminal=false")); // brought back
        QVERIFY(store.DeleteValue(RootKey::LocalMachine, kRun, "Tavorin"));
        QVERIFY(!QFile::exists(entry()));
    }
    // Other keys do not exist, and names that are no file names are refused.
    void refused_data() {
        QTest::addColumn<Refused>("row");
        // clang-format off
        QTest::newRow("slash") << Refused{RootKey::LocalMachine, kRun, "../../evil"};
        QTest::newRow("dot dot") << Refused{RootKey::LocalMachine, kRun, ".."};
        QTest::newRow("other key") << Refused{RootKey::CurrentUser, "Software\\Tavorin", "Tavorin"};
        QTest::newRow("machine's desktop") << Refused{RootKey::LocalMachine, kDesktop, "Wallpaper"};
        // clang-format on
    }
    void refused() {
        QFETCH(Refused, row);
        XdgRegistryStore empty(folder.root() + "/empty");
        QVERIFY(!empty.SetStringValue(row.root, row.subKey, row.name, "/a/Loader.exe"));
        QVERIFY(!empty.StringValue(row.root, row.subKey, row.name));
        QVERIFY(!empty.DeleteValue(row.root, row.subKey, row.name));
        QVERIFY(!QDir(folder.root() + "/empty").exists());
        QVERIFY(!QFile::exists(folder.root() + "/evil.desktop"));
    }
    // libtavorin-gio.so from the program folder, loaded on first use; a
    // folder without it fails cleanly.
    void gioModule() {
        const QString none = folder.file("none.txt");
        QCOMPARE(MakeGioModuleShell(TAVORIN_PROGRAM_DIR)->ShellExecuteOpen(none),
                 IShell::kFileNotFound);
        QString error;
        QVERIFY(!MakeGioModuleWallpaper(GSettingsFamily::Gnome, folder.path())
                     ->Apply("/nowhere/a.jpg", &error));
        QVERIFY2(error.contains("module"), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_XdgDesktop)
#include "tst_XdgDesktop.moc"
