// The dialogs on a real X server, and the log-on entry they write as the
// real autostart file.
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "tests/dialogs/FakeOptionsHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {

// The dialog as the X server shows it; saved when TAVORIN_SHOT_DIR is set.
QImage screenshot(QWidget& window, const QString& name) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return {};
    QTest::qWait(50); // let the first paint reach the server
    const QImage shot = window.screen()->grabWindow(window.winId()).toImage();
    const QString folder = qEnvironmentVariable("TAVORIN_SHOT_DIR");
    if (!folder.isEmpty())
        shot.save(folder + QLatin1Char('/') + name);
    return shot;
}

int distinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

class tst_DialogsOnX11 : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void optionsDialogShows();
    void aboutDialogShows();
    void logOnEntryIsTheAutostartFile();
};

void tst_DialogsOnX11::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void tst_DialogsOnX11::optionsDialogShows() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("Skins/Metalic.jpg"), "x");
    FakePlatform platform(folder.path());
    Module1 module(platform.services);
    FakeOptionsHost host;
    frmOption dialog(module, host);
    const QImage shot = screenshot(dialog, QStringLiteral("options-shot.png"));
    QVERIFY(!shot.isNull());
    QCOMPARE(shot.size(), dialog.size() * dialog.devicePixelRatio());
    QVERIFY(distinctColours(shot) > 3);
}

void tst_DialogsOnX11::aboutDialogShows() {
    TempProgramFolder folder;
    FakePlatform platform(folder.path());
    Module1 module(platform.services);
    frmAbout dialog(module);
    const QImage shot = screenshot(dialog, QStringLiteral("about-shot.png"));
    QVERIFY(!shot.isNull());
    QVERIFY(distinctColours(shot) > 10); // the drawn picture is there
}

void tst_DialogsOnX11::logOnEntryIsTheAutostartFile() {
    TempProgramFolder folder; // XDG_CONFIG_HOME inside it
    FakePlatform fakes(folder.path());
    XdgRegistryStore registry(folder.configHome());
    Services services{ProgramFolder(folder.path(), folder.root() + QStringLiteral("/data")),
                      fakes.dialogs,
                      registry,
                      fakes.wallpaper,
                      fakes.shell,
                      fakes.instance,
                      fakes.clock,
                      fakes.tray};
    Module1 module(services);
    module.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Startup"), QStringLiteral("0"));
    FakeOptionsHost host;
    host.modes.removeFirst();

    const QString entry = folder.configHome() + QStringLiteral("/autostart/Tavorin.desktop");
    {
        frmOption dialog(module, host);
        dialog.chkStartup->setChecked(true);
        dialog.cmdOK_Click();
    }
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    QVERIFY(text.contains(QStringLiteral("Type=Application")));
    // The program folder has a space in its name: the path is quoted.
    QVERIFY2(
        text.contains(QStringLiteral("Exec=\"") + folder.path() + QStringLiteral("/Loader.exe\"")),
        qPrintable(text));
    QCOMPARE(host.modes.first(), QStringLiteral("Startup"));

    {
        frmOption dialog(module, host);
        QVERIFY(dialog.chkStartup->isChecked());
        dialog.chkStartup->setChecked(false);
        dialog.cmdOK_Click();
    }
    QVERIFY(!QFile::exists(entry));
    QCOMPARE(host.modes.first(), QStringLiteral("Once a day"));
}

QTEST_MAIN(tst_DialogsOnX11)
#include "tst_DialogsOnX11.moc"
