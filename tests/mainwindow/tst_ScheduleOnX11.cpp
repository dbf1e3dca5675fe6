// The list and the schedule end to end: the real main window over the real
// Linux wallpaper and registry record, on an Xvfb screen with no desktop.
// A change on the schedule must really change the root window.
#include "Version.h"
#include "mainwindow/frmMain.h"
#include "platform/DesktopWallpaper.h"
#include "platform/wallpaper/X11RootWallpaper.h"
#include "tests/support/Rig.h"
#include "tests/support/RootProbe.h"
#include "tests/support/TestPictures.h"

#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace tavorin;
using namespace tavorin::test;

namespace {
constexpr int kTolerance =
    16; // JPEG keeps a flat colour within a few levels; a 16-bit screen within 8
const QRgb kGrey = qRgb(128, 128, 128);

// The program as it runs on a user's machine, except for what a test must
// not do for real: message boxes, the tray, the shell, the single-instance
// check and the clock.
struct RealProgram : Rig {
    RealProgram() : Rig(true) {} // with the delivered data: the skin
    std::unique_ptr<IDesktopWallpaper> wallpaper = MakeDesktopWallpaper();
    XdgRegistryStore registry{folder.configHome()};
    Services services{ProgramFolder(folder.path()),
                      fake.dialogs,
                      registry,
                      *wallpaper,
                      fake.shell,
                      fake.instance,
                      fake.clock,
                      fake.tray};
    Module1 real{services};
    struct : SplashStatus {
        void SetStatus(const QString&) override {}
    } splash;
};
} // namespace

class tst_ScheduleOnX11 : public QObject {
    Q_OBJECT
    QTemporaryDir runtime_; // the session's runtime folder, private to this run

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs an X server (run under Xvfb)");
        // No desktop: the desktop's own service is then the root window too.
        for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
                                 "SWAYSOCK", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
            qunsetenv(name);
        QVERIFY(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        QVERIFY(RootProbe().ok());
    }

    void scheduleChangesTheRootWindow() {
        // Machine and Convert: the desktop service, classic converted, classic as it is.
        for (auto [machine, convert] : {std::pair{"1", "1"}, {"2", "1"}, {"2", "0"}}) {
            const bool classic = machine[0] == '2', converted = classic && convert[0] == '1';
            RealProgram p;
            p.fake.clock.now = QDateTime(QDate(2031, 3, 15), QTime(10, 30));
            p.set(ini::kVersion, QString::fromLatin1(version::text));
            p.set(ini::kMachine, machine);
            p.set(ini::kConvert, convert);
            p.set(ini::kChange, ChangeModeText(ChangeMode::Frequently));
            p.set(ini::kMin, "2");
            p.set(ini::kRandom, "0");
            const QList<std::pair<QString, QRgb>> pictures = {
                {p.folder.root() + "/My Pictures/red sunset.jpg", qRgb(220, 30, 30)},
                {p.folder.root() + "/My Pictures/green field.bmp", qRgb(30, 200, 60)},
                {p.folder.root() + "/My Pictures/blue sea.jpg", qRgb(40, 60, 210)}};
            QString error; // whatever the screen showed before: a grey of our own
            QVERIFY2(X11RootWallpaper().ApplyImage(Solid({8, 8}, kGrey), &error),
                     qPrintable(error));
            frmMain w(p.real, p.splash);
            w.LoadData();
            for (const auto& [path, colour] : pictures)
                w.Append_Picture(WritePicture(path, {160, 100}, colour));
            w.cmdApply_Click();
            QVERIFY(w.findChild<QTimer*>("Timer1")->isActive());
            RootProbe probe;
            QCOMPARE(probe.wallpaperMismatch(kGrey, kTolerance), QString());
            const QString tempBitmap = p.folder.file("Temp.bmp");
            // Every second minute the next picture of the list, round and round.
            for (int change = 0; change < 4; ++change) {
                const auto& [path, colour] = pictures[change % pictures.size()];
                const auto before = probe.pixmapProperty("_XROOTPMAP_ID");
                w.Timer1_Timer();
                QCOMPARE(probe.pixmapProperty("_XROOTPMAP_ID"), before); // one minute: not yet
                w.Timer1_Timer();
                QVERIFY(probe.pixmapProperty("_XROOTPMAP_ID") != before);
                QVERIFY2(p.messages().isEmpty(), qPrintable(p.messages().join(" | ")));
                const QString mismatch = probe.wallpaperMismatch(colour, kTolerance);
                QVERIFY2(
                    mismatch.isEmpty(),
                    qPrintable(QString("change %1 (%2): %3").arg(change + 1).arg(path, mismatch)));
                QCOMPARE(probe.pixmapProperty("ESETROOT_PMAP_ID"),
                         probe.pixmapProperty("_XROOTPMAP_ID"));
                QCOMPARE(p.get(ini::kWallpaper), QString::number(change % pictures.size() + 2));
                QCOMPARE(p.get(ini::kLastChangingDate),
                         QLocale::system().toString(QDate(2031, 3, 15), QLocale::ShortFormat));
                // The per-user record of the classic wallpaper: the bitmap when
                // converted (named through a link every other time, so that
                // desktops read it anew), the picture itself when not, nothing
                // for the desktop service.
                const auto recorded = p.registry.StringValue(RootKey::CurrentUser,
                                                             "Control Panel\\Desktop", "Wallpaper");
                if (converted) {
                    QCOMPARE(QFileInfo(recorded.value_or(QString())).canonicalFilePath(),
                             QFileInfo(tempBitmap).canonicalFilePath());
                    const QImage bitmap(tempBitmap);
                    QCOMPARE(bitmap.size(), QSize(160, 100));
                    QVERIFY2(NearColour(bitmap.pixel(80, 50), colour, kTolerance),
                             qPrintable(HexColour(bitmap.pixel(80, 50))));
                } else {
                    QCOMPARE(recorded, classic ? std::optional<QString>(path) : std::nullopt);
                    QVERIFY(!QFileInfo::exists(tempBitmap));
                }
            }
            QCOMPARE(QFileInfo::exists(p.registry.DesktopRecordFile()), classic);
        }
    }
};

QTEST_MAIN(tst_ScheduleOnX11)
#include "tst_ScheduleOnX11.moc"
