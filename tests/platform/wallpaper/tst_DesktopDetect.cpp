// Which desktop runs, which backend it gets, and the backends that run a desktop's program.
#include "platform/wallpaper/Backends.h"
#include "platform/wallpaper/CommandWallpapers.h"
#include "tests/support/TestPictures.h"

#include <QtTest>

using namespace tavorin;

namespace {

// "CD=GNOME;WD=w": the variables' names shortened to their initials.
QProcessEnvironment Environment(const QString& text) {
    const QStringList names =
        QString("CD XDG_CURRENT_DESKTOP SD XDG_SESSION_DESKTOP DS DESKTOP_SESSION "
                "ST XDG_SESSION_TYPE WD WAYLAND_DISPLAY SS SWAYSOCK D DISPLAY")
            .split(' ');
    QProcessEnvironment env;
    for (const QString& pair : text.split(';', Qt::SkipEmptyParts))
        env.insert(names.value(names.indexOf(pair.section('=', 0, 0)) + 1), pair.section('=', 1));
    return env;
}

// Records every program run instead of running it.
class RecordingRunner final : public IProcessRunner {
  public:
    QList<QStringList> runs; // program, then its arguments
    bool succeed = true;
    bool Run(const QString& program, const QStringList& arguments, QString* error) override {
        runs.append(QStringList{program} + arguments);
        return succeed || Fail(error, QStringLiteral("exit code 1"));
    }
};

} // namespace

class tst_DesktopDetect : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void detectsTheDesktopAndItsBackend() {
        const struct {
            const char* env;
            Desktop desktop;
            bool wayland, x11;
            const char* backend; // nullptr: none, an error instead
        } rows[] = {
            {"", Desktop::Unknown, false, false, nullptr},
            {"D=:0", Desktop::Unknown, false, true, "X11 root window"},
            {"CD=Foo;D=:5", Desktop::Unknown, false, true, "X11 root window"},
            {"CD=GNOME;WD=wayland-0;D=:0", Desktop::Gnome, true, true, "GNOME"},
            {"CD=ubuntu:GNOME;D=:1", Desktop::Gnome, false, true, "GNOME"},
            {"CD=GNOME-Flashback:GNOME", Desktop::Gnome, false, false, "GNOME"},
            {"CD=::GNOME:", Desktop::Gnome, false, false, "GNOME"},
            {"CD=Budgie:GNOME", Desktop::Budgie, false, false, "GNOME"},
            {"CD=Unity", Desktop::Unity, false, false, "GNOME"},
            {"CD=X-Cinnamon", Desktop::Cinnamon, false, false, "Cinnamon"},
            {"CD=MATE", Desktop::Mate, false, false, "MATE"},
            {"CD=KDE;ST=wayland", Desktop::Kde, true, false, "KDE Plasma"},
            {"CD=Foo:KDE", Desktop::Kde, false, false, "KDE Plasma"},
            {"CD=Foo;SD=plasma", Desktop::Kde, false, false, "KDE Plasma"},
            {"DS=plasmawayland", Desktop::Kde, false, false, "KDE Plasma"},
            {"CD=XFCE", Desktop::Xfce, false, false, "XFCE"},
            {"CD=xfce", Desktop::Xfce, false, false, "XFCE"},
            {"DS=/usr/share/xsessions/xfce.desktop", Desktop::Xfce, false, false, "XFCE"},
            {"CD=LXQt", Desktop::Lxqt, false, false, "LXQt"},
            {"CD=LXQt;SS=/tmp/s", Desktop::Lxqt, false, false, "LXQt"},
            {"CD=LXDE", Desktop::Lxde, false, false, "LXDE"},
            {"CD=sway;WD=wayland-1", Desktop::Sway, true, false, "sway"},
            {"SS=/run/user/1000/sway-ipc.sock;WD=wayland-1", Desktop::Sway, true, false, "sway"},
            {"SD=cinnamon", Desktop::Cinnamon, false, false, "Cinnamon"},
            {"DS=mate", Desktop::Mate, false, false, "MATE"},
            {"CD=MATE;DS=xfce", Desktop::Mate, false, false, "MATE"},
            {"CD=Hyprland;WD=w", Desktop::Unknown, true, false, nullptr},
            {"WD=w;D=:0", Desktop::Unknown, true, true, nullptr},
            {"ST=wayland", Desktop::Unknown, true, false, nullptr},
        };
        for (const auto& row : rows) {
            const DesktopSession session = DetectDesktop(Environment(row.env));
            QVERIFY2(session.desktop == row.desktop && session.wayland == row.wayland &&
                         session.x11 == row.x11,
                     row.env);
            RecordingRunner runner;
            QString error;
            const auto chosen = MakeWallpaperBackend(
                session, {runner, QDBusConnection("none"), {}, {}, {}}, &error);
            QCOMPARE(chosen ? chosen->Name() : QString(), QString::fromLatin1(row.backend));
            QCOMPARE(error.isEmpty(), bool(chosen));
        }
    }

    void pcmanfmShowsThePictureStretched() {
        RecordingRunner runner;
        const QString path = QStringLiteral("/home/u/My Pictures/a;b.jpg");
        QVERIFY(LxqtWallpaper(runner).Apply(path, nullptr));
        QVERIFY(LxdeWallpaper(runner).Apply(path, nullptr));
        QCOMPARE(runner.runs.value(0).value(0), QStringLiteral("pcmanfm-qt"));
        QCOMPARE(runner.runs.value(1).value(0), QStringLiteral("pcmanfm"));
        for (const QStringList& run : runner.runs)
            QVERIFY(run.contains(path) && run.filter(QStringLiteral("stretch")).size() == 1);
        runner.succeed = false;
        QString error;
        QVERIFY(!LxqtWallpaper(runner).Apply(path, &error) && error == "exit code 1");
        QVERIFY(!SwayWallpaper(runner, {}).Apply(path, &error) && !error.isEmpty());
    }

    // sway reads `"'X'"` as X: the quotes keep its parser and its word expansion off the path;
    // what they cannot keep off is shown through a plainly named link.
    void swayGetsAPathItReadsBack() {
        const std::pair<const char*, bool> names[] = {
            {"Ünïcode ~ a;b,c *?.jpg", false}, {"it's.jpg", true},
            {"say \"cheese\".png", true},      {"back\\slash.gif", true},
            {"cost $HOME.jpg", true},          {"two\nlines.jpg", true}};
        QTemporaryDir dir;
        for (const auto& [name, linked] : names) {
            const QString picture =
                test::WriteFile(dir.filePath(QString::fromUtf8(name)), "picture");
            RecordingRunner runner;
            QString error;
            QVERIFY2(SwayWallpaper(runner, dir.filePath("links")).Apply(picture, &error),
                     qPrintable(error));
            const QStringList run = runner.runs.value(0);
            QCOMPARE(run.mid(0, 4) << run.value(5),
                     QStringList({"swaymsg", "output", "*", "bg", "stretch"}));
            const QString quoted = run.value(4), shown = quoted.mid(2, quoted.size() - 4);
            QVERIFY2(quoted.startsWith("\"'") && quoted.endsWith("'\"") &&
                         (shown != picture) == linked,
                     name);
            QVERIFY(!SwayWallpaper::QuotedPath(shown).isEmpty());
            QCOMPARE(QFileInfo(shown).canonicalFilePath(), QFileInfo(picture).canonicalFilePath());
            QCOMPARE(QFileInfo(shown).suffix(), QFileInfo(picture).suffix());
        }
    }

    void theRealRunnerPassesArgumentsWithoutAShellAndReportsFailures() {
        QTemporaryDir dir;
        const QString awkward = dir.filePath(QStringLiteral("it's \"a\" $HOME; `x` *.jpg"));
        QtProcessRunner runner(5000);
        QString error;
        QVERIFY2(runner.Run(QStringLiteral("touch"), {awkward}, &error), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{QFileInfo(awkward).fileName()});
        QVERIFY(!runner.Run(QStringLiteral("tavorin-no-such-program"), {}, &error));
        QVERIFY2(error.contains(QLatin1String("not installed")), qPrintable(error));
        QVERIFY(!runner.Run(QStringLiteral("ls"), {QStringLiteral("/tavorin/none")}, &error));
        QVERIFY2(error.contains("exit code") && error.contains("/tavorin/none"), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_DesktopDetect)
#include "tst_DesktopDetect.moc"
