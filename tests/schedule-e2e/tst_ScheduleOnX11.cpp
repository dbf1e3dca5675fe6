// The list and the schedule end to end: the real main window over the real
// Linux wallpaper and registry record, on an Xvfb screen with no desktop.
// A change on the schedule must really change the root window.
#include "Version.h"
#include "mainwindow/frmMain.h"
#include "platform/DesktopWallpaper.h"
#include "platform/wallpaper/X11RootWallpaper.h"
#include "tests/support/Fakes.h"
#include "tests/support/RootProbe.h"
#include "tests/support/TempProgramFolder.h"

#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QLocale>
#include <QtTest>

#include <memory>

using namespace tavorin;
using namespace tavorin::test;

namespace {

const QRgb kRed = qRgb(220, 30, 30);
const QRgb kGreen = qRgb(30, 200, 60);
const QRgb kBlue = qRgb(40, 60, 210);
const QRgb kGrey = qRgb(128, 128, 128);

// JPEG keeps a flat colour within a few levels; a 16-bit screen within 8.
constexpr int kTolerance = 16;

const QString kSettings = QStringLiteral("Settings");
const QString kDesktopKey = QStringLiteral("Control Panel\\Desktop");

class NoSplash final : public SplashStatus {
  public:
    void SetStatus(const QString&) override {}
};

// The program as it runs on a user's machine, except for what a test must
// not do for real: message boxes, the tray, the shell, the single-instance
// check and the clock.
struct RealProgram {
    TempProgramFolder folder{true}; // with the delivered data: the skin
    std::unique_ptr<IDesktopWallpaper> wallpaper = MakeDesktopWallpaper();
    XdgRegistryStore registry{folder.configHome()};
    FakeDialogs dialogs;
    FakeShell shell;
    FakeInstance instance;
    FakeClock clock;
    FakeTray tray;
    Services services{
        ProgramFolder(folder.path()), dialogs, registry, *wallpaper, shell, instance, clock, tray};
    Module1 m{services};
    NoSplash splash;

    QString setting(const QString& key) const { return m.GetINIFile(kSettings, key); }
    void set(const QString& key, const QString& value) const {
        m.WriteINIFile(kSettings, key, value);
    }

    // A picture of one flat colour, outside the program folder.
    QString picture(const QString& name, QRgb colour, const char* format) const {
        QImage image(160, 100, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = folder.root() + QStringLiteral("/My Pictures/") + name;
        QDir().mkpath(QFileInfo(path).path());
        return image.save(path, format, 95) ? path : QString();
    }
};

QString Describe(const FakeDialogs& dialogs) {
    QStringList texts;
    for (const auto& shown : dialogs.messages)
        texts << shown.text;
    return texts.join(QStringLiteral(" | "));
}

} // namespace

class tst_ScheduleOnX11 : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir runtime_; // the session's runtime folder, private to this run

  private Q_SLOTS:
    void initTestCase();
    void scheduleChangesTheRootWindow_data();
    void scheduleChangesTheRootWindow();
};

void tst_ScheduleOnX11::initTestCase() {
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs an X server (run under Xvfb)");
    // No desktop: the desktop's own service is then the root window too.
    for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
                             "SWAYSOCK", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
        qunsetenv(name);
    QVERIFY(runtime_.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
    QVERIFY(RootProbe().ok());
}

void tst_ScheduleOnX11::scheduleChangesTheRootWindow_data() {
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QString>("convert");
    QTest::newRow("desktop service") << "1"
                                     << "1";
    QTest::newRow("classic, converted") << "2"
                                        << "1";
    QTest::newRow("classic, as it is") << "2"
                                       << "0";
}

void tst_ScheduleOnX11::scheduleChangesTheRootWindow() {
    QFETCH(QString, machine);
    QFETCH(QString, convert);
    const bool classic = machine == QLatin1String("2");
    const bool converted = classic && convert == QLatin1String("1");

    RealProgram p;
    p.clock.now = QDateTime(QDate(2031, 3, 15), QTime(10, 30));
    p.set(QStringLiteral("Version"), QString::fromLatin1(version::text));
    p.set(QStringLiteral("Machine"), machine);
    p.set(QStringLiteral("Convert"), convert);
    p.set(QStringLiteral("change"), QStringLiteral("Frequently"));
    p.set(QStringLiteral("min"), QStringLiteral("2"));
    p.set(QStringLiteral("random"), QStringLiteral("0"));

    struct Listed {
        QString path;
        QRgb colour;
    };
    const QList<Listed> pictures = {
        {p.picture(QStringLiteral("red sunset.jpg"), kRed, "JPEG"), kRed},
        {p.picture(QStringLiteral("green field.bmp"), kGreen, "BMP"), kGreen},
        {p.picture(QStringLiteral("blue sea.jpg"), kBlue, "JPEG"), kBlue},
    };
    for (const Listed& listed : pictures)
        QVERIFY(!listed.path.isEmpty());

    // Whatever the screen showed before: a grey of our own.
    QImage grey(8, 8, QImage::Format_RGB32);
    grey.fill(kGrey);
    QString error;
    QVERIFY2(X11RootWallpaper().ApplyImage(grey, &error), qPrintable(error));

    frmMain w(p.m, p.splash);
    w.LoadData();
    QCOMPARE(w.ChangeMode(), QStringLiteral("Frequently"));
    for (const Listed& listed : pictures)
        w.Append_Picture(listed.path);
    QCOMPARE(w.lstWallpaper->count(), 3);
    w.cmdApply_Click();
    QVERIFY(w.Timer1.isActive());

    RootProbe probe;
    const auto greyPixmap = probe.pixmapProperty("_XROOTPMAP_ID");
    QVERIFY(greyPixmap);
    QCOMPARE(probe.wallpaperMismatch(kGrey, kTolerance), QString());

    const QString tempBitmap = p.folder.file(QStringLiteral("Temp.bmp"));
    const QString expectedDate =
        QLocale::system().toString(QDate(2031, 3, 15), QLocale::ShortFormat);
    // Every second minute the next picture of the list, round and round.
    for (int change = 0; change < 4; ++change) {
        const Listed& expected = pictures[change % pictures.size()];
        const auto before = probe.pixmapProperty("_XROOTPMAP_ID");
        w.Timer1_Timer();
        QCOMPARE(probe.pixmapProperty("_XROOTPMAP_ID"), before); // one minute: not yet
        w.Timer1_Timer();
        QVERIFY(probe.pixmapProperty("_XROOTPMAP_ID") != before);
        QVERIFY2(p.dialogs.messages.isEmpty(), qPrintable(Describe(p.dialogs)));

        const QString mismatch = probe.wallpaperMismatch(expected.colour, kTolerance);
        QVERIFY2(mismatch.isEmpty(),
                 qPrintable(QStringLiteral("change %1 (%2): %3")
                                .arg(change + 1)
                                .arg(QFileInfo(expected.path).fileName(), mismatch)));
        QCOMPARE(probe.pixmapProperty("ESETROOT_PMAP_ID"), probe.pixmapProperty("_XROOTPMAP_ID"));

        // The schedule's position and date are stored.
        QCOMPARE(p.setting(QStringLiteral("Wallpaper")),
                 QString::number(change % pictures.size() + 2));
        QCOMPARE(p.setting(QStringLiteral("LastChangingDate")), expectedDate);

        // The per-user record of the classic wallpaper: the bitmap when
        // converted, the picture itself when not, nothing for the desktop
        // service.
        const auto recorded =
            p.registry.StringValue(RootKey::CurrentUser, kDesktopKey, QStringLiteral("Wallpaper"));
        if (converted) {
            // Named through a link every other time, so that desktops read it anew.
            QCOMPARE(QFileInfo(recorded.value_or(QString())).canonicalFilePath(),
                     QFileInfo(tempBitmap).canonicalFilePath());
            const QImage bitmap(tempBitmap);
            QCOMPARE(bitmap.size(), QSize(160, 100));
            QVERIFY2(NearColour(bitmap.pixel(80, 50), expected.colour, kTolerance),
                     qPrintable(HexColour(bitmap.pixel(80, 50))));
        } else if (classic) {
            QCOMPARE(recorded, std::optional<QString>(expected.path));
            QVERIFY(!QFileInfo::exists(tempBitmap));
        } else {
            QCOMPARE(recorded, std::nullopt);
            QVERIFY(!QFileInfo::exists(tempBitmap));
        }
    }
    QVERIFY(QFileInfo::exists(p.registry.DesktopRecordFile()) == classic);
    QVERIFY2(p.dialogs.messages.isEmpty(), qPrintable(Describe(p.dialogs)));
}

QTEST_MAIN(tst_ScheduleOnX11)
#include "tst_ScheduleOnX11.moc"
