// Which desktop runs and which backend it gets.
#include "platform/wallpaper/Backends.h"

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

class NoRunner final : public IProcessRunner {
  public:
    bool Run(const QString&, const QStringList&, QString*) override { return false; }
};
} // namespace

class tst_DesktopDetect : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void detectsTheDesktopAndItsBackend() {
        // clang-format off
        const struct { const char* env; Desktop desktop; bool wayland, x11; const char* backend; }
            rows[] = {
            {"", Desktop::Unknown, false, false, nullptr},
            {"CD=Foo;D=:5", Desktop::Unknown, false, true, "X11 root window"},
            {"CD=GNOME;WD=wayland-0;D=:0", Desktop::Gnome, true, true, "GNOME"},
            {"CD=::GNOME:", Desktop::Gnome, false, false, "GNOME"},
            {"CD=Budgie:GNOME", Desktop::Budgie, false, false, "GNOME"},
            {"CD=Unity", Desktop::Unity, false, false, "GNOME"},
            {"CD=X-Cinnamon", Desktop::Cinnamon, false, false, "Cinnamon"},
            {"CD=KDE;ST=wayland", Desktop::Kde, true, false, "KDE Plasma"},
            {"CD=Foo:KDE", Desktop::Kde, false, false, "KDE Plasma"},
            {"CD=Foo;SD=plasma", Desktop::Kde, false, false, "KDE Plasma"},
            {"DS=/usr/share/xsessions/xfce.desktop", Desktop::Xfce, false, false, "XFCE"},
            {"CD=LXQt;SS=/tmp/s", Desktop::Lxqt, false, false, "LXQt"},
            {"CD=LXDE", Desktop::Lxde, false, false, "LXDE"},
            {"SS=/run/user/1000/sway-ipc.sock;WD=wayland-1", Desktop::Sway, true, false, "sway"},
            {"CD=MATE;DS=xfce", Desktop::Mate, false, false, "MATE"},
            {"CD=Hyprland;WD=w", Desktop::Unknown, true, false, nullptr},
            {"WD=w;D=:0", Desktop::Unknown, true, true, nullptr}, // no backend: an error
        };
        // clang-format on
        for (const auto& row : rows) {
            const DesktopSession session = DetectDesktop(Environment(row.env));
            QVERIFY2(session.desktop == row.desktop && session.wayland == row.wayland &&
                         session.x11 == row.x11,
                     row.env);
            NoRunner runner;
            QString error;
            const auto chosen = MakeWallpaperBackend(
                session, {runner, QDBusConnection("none"), {}, {}, {}}, &error);
            QCOMPARE(chosen ? chosen->Name() : QString(), QString::fromLatin1(row.backend));
            QCOMPARE(error.isEmpty(), bool(chosen));
        }
    }
};

QTEST_GUILESS_MAIN(tst_DesktopDetect)
#include "tst_DesktopDetect.moc"
