#include "platform/wallpaper/Backends.h"
#include "platform/wallpaper/DesktopDetect.h"

#include <QtTest>

using namespace tavorin;

Q_DECLARE_METATYPE(tavorin::Desktop)

namespace {

// "NAME=value;NAME=value" as an environment.
QProcessEnvironment Environment(const QString& text) {
    QProcessEnvironment env;
    for (const QString& pair : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        env.insert(pair.left(equals), pair.mid(equals + 1));
    }
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
    void detectsTheDesktop_data() {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<Desktop>("desktop");
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<bool>("x11");

        QTest::newRow("nothing") << "" << Desktop::Unknown << false << false;
        QTest::newRow("bare X") << "DISPLAY=:0" << Desktop::Unknown << false << true;
        QTest::newRow("GNOME on Wayland")
            << "XDG_CURRENT_DESKTOP=GNOME;WAYLAND_DISPLAY=wayland-0;DISPLAY=:0" << Desktop::Gnome
            << true << true;
        QTest::newRow("Ubuntu") << "XDG_CURRENT_DESKTOP=ubuntu:GNOME;DISPLAY=:1" << Desktop::Gnome
                                << false << true;
        QTest::newRow("GNOME Flashback")
            << "XDG_CURRENT_DESKTOP=GNOME-Flashback:GNOME" << Desktop::Gnome << false << false;
        QTest::newRow("Budgie before GNOME")
            << "XDG_CURRENT_DESKTOP=Budgie:GNOME" << Desktop::Budgie << false << false;
        QTest::newRow("Unity") << "XDG_CURRENT_DESKTOP=Unity" << Desktop::Unity << false << false;
        QTest::newRow("Cinnamon") << "XDG_CURRENT_DESKTOP=X-Cinnamon" << Desktop::Cinnamon << false
                                  << false;
        QTest::newRow("MATE") << "XDG_CURRENT_DESKTOP=MATE" << Desktop::Mate << false << false;
        QTest::newRow("KDE") << "XDG_CURRENT_DESKTOP=KDE;XDG_SESSION_TYPE=wayland" << Desktop::Kde
                             << true << false;
        QTest::newRow("XFCE") << "XDG_CURRENT_DESKTOP=XFCE" << Desktop::Xfce << false << false;
        QTest::newRow("lower case")
            << "XDG_CURRENT_DESKTOP=xfce" << Desktop::Xfce << false << false;
        QTest::newRow("LXQt") << "XDG_CURRENT_DESKTOP=LXQt" << Desktop::Lxqt << false << false;
        QTest::newRow("LXDE") << "XDG_CURRENT_DESKTOP=LXDE" << Desktop::Lxde << false << false;
        QTest::newRow("sway") << "XDG_CURRENT_DESKTOP=sway;WAYLAND_DISPLAY=wayland-1"
                              << Desktop::Sway << true << false;
        QTest::newRow("unknown entry skipped")
            << "XDG_CURRENT_DESKTOP=Foo:KDE" << Desktop::Kde << false << false;
        QTest::newRow("unknown current desktop, session desktop")
            << "XDG_CURRENT_DESKTOP=Foo;XDG_SESSION_DESKTOP=plasma" << Desktop::Kde << false
            << false;
        QTest::newRow("session desktop")
            << "XDG_SESSION_DESKTOP=cinnamon" << Desktop::Cinnamon << false << false;
        QTest::newRow("desktop session")
            << "DESKTOP_SESSION=mate" << Desktop::Mate << false << false;
        QTest::newRow("desktop session as a file path")
            << "DESKTOP_SESSION=/usr/share/xsessions/xfce.desktop" << Desktop::Xfce << false
            << false;
        QTest::newRow("plasmawayland session")
            << "DESKTOP_SESSION=plasmawayland" << Desktop::Kde << false << false;
        QTest::newRow("current desktop wins over session")
            << "XDG_CURRENT_DESKTOP=MATE;DESKTOP_SESSION=xfce" << Desktop::Mate << false << false;
        QTest::newRow("sway socket only")
            << "SWAYSOCK=/run/user/1000/sway-ipc.sock;WAYLAND_DISPLAY=wayland-1" << Desktop::Sway
            << true << false;
        QTest::newRow("sway socket after a known desktop")
            << "XDG_CURRENT_DESKTOP=LXQt;SWAYSOCK=/tmp/s" << Desktop::Lxqt << false << false;
        QTest::newRow("unknown Wayland") << "XDG_CURRENT_DESKTOP=Hyprland;WAYLAND_DISPLAY=w"
                                         << Desktop::Unknown << true << false;
        QTest::newRow("empty entries")
            << "XDG_CURRENT_DESKTOP=::GNOME:" << Desktop::Gnome << false << false;
    }

    void detectsTheDesktop() {
        QFETCH(QString, environment);
        QFETCH(Desktop, desktop);
        QFETCH(bool, wayland);
        QFETCH(bool, x11);
        const DesktopSession session = DetectDesktop(Environment(environment));
        QCOMPARE(session.desktop, desktop);
        QCOMPARE(session.wayland, wayland);
        QCOMPARE(session.x11, x11);
    }

    void choosesTheBackend_data() {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("backend"); // empty: none

        QTest::newRow("GNOME") << "XDG_CURRENT_DESKTOP=GNOME"
                               << "GNOME";
        QTest::newRow("Budgie uses GNOME's settings") << "XDG_CURRENT_DESKTOP=Budgie:GNOME"
                                                      << "GNOME";
        QTest::newRow("Unity uses GNOME's settings") << "XDG_CURRENT_DESKTOP=Unity"
                                                     << "GNOME";
        QTest::newRow("Cinnamon") << "XDG_CURRENT_DESKTOP=X-Cinnamon"
                                  << "Cinnamon";
        QTest::newRow("MATE") << "XDG_CURRENT_DESKTOP=MATE"
                              << "MATE";
        QTest::newRow("KDE") << "XDG_CURRENT_DESKTOP=KDE"
                             << "KDE Plasma";
        QTest::newRow("XFCE") << "XDG_CURRENT_DESKTOP=XFCE"
                              << "XFCE";
        QTest::newRow("LXQt") << "XDG_CURRENT_DESKTOP=LXQt"
                              << "LXQt";
        QTest::newRow("LXDE") << "XDG_CURRENT_DESKTOP=LXDE"
                              << "LXDE";
        QTest::newRow("sway") << "SWAYSOCK=/tmp/s;WAYLAND_DISPLAY=w"
                              << "sway";
        QTest::newRow("plain X11") << "DISPLAY=:5"
                                   << "X11 root window";
        QTest::newRow("unknown desktop on X11") << "XDG_CURRENT_DESKTOP=Foo;DISPLAY=:5"
                                                << "X11 root window";
        QTest::newRow("unknown Wayland with XWayland")
            << "WAYLAND_DISPLAY=w;DISPLAY=:0" << QString();
        QTest::newRow("unknown Wayland") << "XDG_SESSION_TYPE=wayland" << QString();
        QTest::newRow("no display") << "" << QString();
    }

    void choosesTheBackend() {
        QFETCH(QString, environment);
        QFETCH(QString, backend);
        NoRunner runner;
        const BackendServices services{runner, QDBusConnection(QStringLiteral("none")), {}, {}, {}};
        QString error;
        const auto chosen =
            MakeWallpaperBackend(DetectDesktop(Environment(environment)), services, &error);
        if (backend.isEmpty()) {
            QVERIFY(!chosen);
            QVERIFY(!error.isEmpty());
        } else {
            QVERIFY2(chosen, qPrintable(error));
            QCOMPARE(chosen->Name(), backend);
        }
    }
};

QTEST_GUILESS_MAIN(tst_DesktopDetect)
#include "tst_DesktopDetect.moc"
