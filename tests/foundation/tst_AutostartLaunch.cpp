#include "platform/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gio/gdesktopappinfo.h>

using namespace tavorin;

// The autostart entry as the desktop reads it: GIO parses our Exec line
// and must start exactly the Loader we named, whatever its folder is called.
class tst_AutostartLaunch : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void desktopStartsTheNamedLoader_data();
    void desktopStartsTheNamedLoader();

  private:
    QTemporaryDir root_;
};

void tst_AutostartLaunch::initTestCase() {
    qunsetenv("DISPLAY"); // no session bus started for the launches
    qunsetenv("WAYLAND_DISPLAY");
}

void tst_AutostartLaunch::desktopStartsTheNamedLoader_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("spaces") << "My Programs/Tavorin 1.2";
    QTest::newRow("quotes") << "ann's \"best\"";
    QTest::newRow("percent") << "100% %f %u %%";
    QTest::newRow("dollar") << "$HOME ${x} $(ls)";
    QTest::newRow("backslash") << "a\\b\\\\c\\";
    QTest::newRow("backtick") << "`ls` `";
    QTest::newRow("shell characters") << "a;b&c|d<e>f*g?h#i(j)~k";
    QTest::newRow("utf-8") << QString::fromUtf8("Bilder \xE2\x82\xAC caf\xC3\xA9");
}

void tst_AutostartLaunch::desktopStartsTheNamedLoader() {
    QFETCH(QString, folder);
    // A plain base folder per case, the awkward name below it.
    static int cases = 0;
    const QString base = root_.path() + "/case" + QString::number(++cases);
    const QString programFolder = base + '/' + folder;
    QVERIFY(QDir().mkpath(programFolder));
    const QString marker = base + "/started";
    const QString loader = programFolder + "/Loader.exe";
    QFile script(loader);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s' \"$0\" > '" + QFile::encodeName(marker) + ".tmp'\nmv '" +
                 QFile::encodeName(marker) + ".tmp' '" + QFile::encodeName(marker) + "'\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    XdgRegistryStore store(base + "/config");
    QVERIFY(store.SetStringValue(RootKey::LocalMachine,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tavorin",
                                 loader));
    const QByteArray entry = QFile::encodeName(store.AutostartFolder() + "/Tavorin.desktop");
    GDesktopAppInfo* app = g_desktop_app_info_new_from_filename(entry.constData());
    QVERIFY2(app, "GIO refused the entry");
    GError* error = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(app), nullptr, nullptr, &error);
    g_object_unref(app);
    const QByteArray message = error ? QByteArray(error->message) : QByteArray();
    g_clear_error(&error);
    QVERIFY2(launched, message.constData());

    // Waiting for the started program, not for a clock.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    QFile f(marker);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), loader);
}

QTEST_GUILESS_MAIN(tst_AutostartLaunch)
#include "tst_AutostartLaunch.moc"
