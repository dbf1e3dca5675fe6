// The main window in the background: with a tray icon and its menu, and
// minimised in the task bar where no notification area is.
#include "tests/mainwindow/MainWindowHarness.h"

using namespace tavorin;
using namespace tavorin::test;

class tst_MainWindowTray : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void withATrayTheWindowWaitsBehindTheIcon() {
        MainWindowHarness h;
        h.set(ini::kSystray, "1");
        frmMain& w = h.withList(3, ChangeMode::Frequently, "30").startShown();
        QTimer* minute = h.timer("Timer1");
        QMenu* menu = h.find<QMenu>("mMenu");
        auto rightPress = [&] {
            h.fake.tray.Send(kTrayRightDown);
            const bool shown = menu->isVisible();
            menu->hide();
            return QString(shown ? "" : "no menu ") + h.action("mRestore")->text() + " " +
                   h.on("mDisable mChange");
        };
        QCOMPARE(rightPress(), "&Hide 00");
        h.click("cmdOK");
        QVERIFY(w.Background().State() == TrayState::Background && !w.isVisible());
        QVERIFY(!(w.windowState() & Qt::WindowMinimized)); // withdrawn, never iconified
        QCOMPARE(rightPress(), "&Show 11");
        QCOMPARE(h.pictureEntries(), QStringList({"1. p1.jpg", "2. p2.jpg", "3. p3.jpg"}));
        h.click("mDisable");
        QVERIFY(w.Background().State() == TrayState::BackgroundDisabled && !minute->isActive());
        QCOMPARE(h.action("mDisable")->text() + "|" + h.fake.tray.data.tip,
                 "&Enable Tavorin|Tavorin (Disabled)");
        h.click("mDisable");
        QVERIFY(w.Background().State() == TrayState::Background && minute->isActive());
        QCOMPARE(h.fake.tray.data.tip, "Tavorin");
        h.action("mWallpaper2")->trigger();
        QCOMPARE(h.applied(), QStringList({h.list[1]}));
        h.click("mDisable"); // showing the window resumes a disabled schedule
        h.fake.tray.Send(kTrayLeftDoubleClick);
        QVERIFY(w.Background().State() == TrayState::Shown && w.isVisible() && minute->isActive());
        QVERIFY(w.ListIndex() == 1 && h.previewShown());
        h.fake.tray.exists = false; // the notification area was rebuilt
        w.Timer3_Timer();
        QVERIFY(h.fake.tray.exists && h.fake.tray.data.tip == "Tavorin");
        QVERIFY(w.Form_QueryUnload(true)); // the close box hides
        QVERIFY(w.Background().State() == TrayState::Background && !w.Ended());
        h.click("cmdExit");
        QVERIFY(w.Ended() && !minute->isActive() && !h.fake.tray.exists);
    }

    // Where no notification area is, background mode never withdraws the
    // window: it waits minimised in the task bar, and a later start brings it back.
    void withoutATrayTheWindowWaitsMinimised() {
        MainWindowHarness h;
        h.fake.tray.available = false;
        WritePicture(h.folder.file("Skins/Blue.jpg"), {40, 30}, Qt::darkGray);
        h.set(ini::kSkin, "Blue");
        frmMain& w = h.withList(2).startShown();
        const QLabel* skin = h.find<QLabel>("Image1");
        h.select(1);
        h.click("cmdOK");
        QVERIFY(w.isVisible() && (w.windowState() & Qt::WindowMinimized));
        QVERIFY(w.Background().State() == TrayState::Background && !h.previewShown() &&
                skin->pixmap().isNull());
        w.Rerun(); // preview and skin are loaded again
        QVERIFY(w.isVisible() && !(w.windowState() & Qt::WindowMinimized));
        QVERIFY(w.Background().State() == TrayState::Shown && h.previewShown() &&
                !skin->pixmap().isNull() && w.ListIndex() == 1);
        w.setWindowState(w.windowState() | Qt::WindowMinimized); // as the user minimises it
        QVERIFY(w.Background().State() == TrayState::Background && !h.previewShown());
        h.fake.tray.available = true; // with a tray, a later start only brings the icon back
        w.Rerun();
        QVERIFY(w.windowState() & Qt::WindowMinimized);
    }
};

QTEST_MAIN(tst_MainWindowTray)
#include "tst_MainWindowTray.moc"
