// The main window in the background: the tray icon's events, the main
// menu, hiding and showing, pausing the schedule and the icon coming back.
#include "tests/mainwindow/MainWindowHarness.h"

#include <QAction>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {

// An icon file of one colour, as the program folder delivers them.
void writeIcon(const TempProgramFolder& folder, const QString& relative, const QColor& colour) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    const QString path = folder.file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(image.save(path, "ICO"));
}

QColor iconColour(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage().pixelColor(8, 8);
}

QStringList pictureEntries(const frmMain& w) {
    QStringList texts;
    for (std::size_t k = 1; k < w.mWallpaper.size(); ++k)
        if (w.mWallpaper[k]->isVisible())
            texts << w.mWallpaper[k]->text();
    return texts;
}

void closeMenu(frmMain& w) {
    w.mMenu->hide();
}

} // namespace

class tst_frmMainTray : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void shownBackgroundAndDisabledStates();
    void missingIconFileKeepsTheIcon();
    void doubleClickHidesAndShowsCentred();
    void submenuFollowsTheList();
    void rightPressOnControlsOpensMenuWithHide_data();
    void rightPressOnControlsOpensMenuWithHide();
    void hiddenIconNoticeShownOnce();
    void lostIconComesBack();
    void iconComesBackWhenSystrayTurnsOne();
    void iconStaysAwayWhileSystrayIsZero();
    void restoreReloadsPreviewAndSkin();
    void withoutTrayHidingMinimises_data();
    void withoutTrayHidingMinimises();
    void hostThatDrawsTheMenu();
};

void tst_frmMainTray::shownBackgroundAndDisabledStates() {
    MainWindowHarness h;
    writeIcon(h.folder, QStringLiteral("Icon/Tavorin icon.ico"), Qt::green);
    writeIcon(h.folder, QStringLiteral("Icon/Tavorin disabled.ico"), Qt::red);
    h.set(QStringLiteral("Systray"), QStringLiteral("1"));
    h.set(QStringLiteral("change"), QStringLiteral("Frequently"));
    h.set(QStringLiteral("min"), QStringLiteral("30"));
    h.storeAutomaticList(h.pictures(2));
    frmMain& w = h.start();
    w.show();
    QVERIFY(w.Timer1.isActive());

    // Shown.
    h.fake.tray.Send(kTrayRightDown);
    QVERIFY(w.mMenu->isVisible());
    QCOMPARE(w.mRestore->text(), QStringLiteral("&Hide"));
    QVERIFY(!w.mDisable->isVisible());
    QVERIFY(!w.mChange->isVisible());
    closeMenu(w);

    // Background, by the "&Hide" button.
    w.cmdOK->click();
    QCOMPARE(w.Background().State(), TrayState::Background);
    QVERIFY(!w.isVisible());
    QVERIFY(!(w.windowState() & Qt::WindowMinimized)); // withdrawn, never iconified
    h.fake.tray.Send(kTrayRightDown);
    QCOMPARE(w.mRestore->text(), QStringLiteral("&Show"));
    QVERIFY(w.mDisable->isVisible());
    QCOMPARE(w.mDisable->text(), QStringLiteral("&Disable Tavorin"));
    QVERIFY(w.mChange->isVisible());
    QVERIFY(w.mnuSeperator3->isVisible());
    closeMenu(w);

    // Background, disabled.
    w.mDisable->trigger();
    QCOMPARE(w.Background().State(), TrayState::BackgroundDisabled);
    QVERIFY(!w.Timer1.isActive());
    QCOMPARE(w.mDisable->text(), QStringLiteral("&Enable Tavorin"));
    QCOMPARE(h.fake.tray.data.tip, QStringLiteral("Tavorin (Disabled)"));
    QCOMPARE(iconColour(h.fake.tray.data.icon), QColor(Qt::red));
    QCOMPARE(iconColour(w.windowIcon()), QColor(Qt::red));

    // Enabled again, still in the background.
    w.mDisable->trigger();
    QCOMPARE(w.Background().State(), TrayState::Background);
    QVERIFY(w.Timer1.isActive());
    QCOMPARE(h.fake.tray.data.tip, QStringLiteral("Tavorin"));
    QCOMPARE(iconColour(h.fake.tray.data.icon), QColor(Qt::green));

    // Showing the window resumes a disabled schedule.
    w.mDisable->trigger();
    QVERIFY(!w.Timer1.isActive());
    h.fake.tray.Send(kTrayLeftDoubleClick);
    QCOMPARE(w.Background().State(), TrayState::Shown);
    QVERIFY(w.isVisible());
    QVERIFY(!(w.windowState() & Qt::WindowMinimized));
    QVERIFY(w.Timer1.isActive());
    QVERIFY(!w.mDisable->isVisible());
    QCOMPARE(w.mDisable->text(), QStringLiteral("&Disable Tavorin"));
    QCOMPARE(h.fake.tray.data.tip, QStringLiteral("Tavorin"));
    QCOMPARE(iconColour(w.windowIcon()), QColor(Qt::green));
}

void tst_frmMainTray::missingIconFileKeepsTheIcon() {
    MainWindowHarness h;
    h.set(QStringLiteral("change"), QStringLiteral("Once a day"));
    frmMain& w = h.start();
    QPixmap blue(16, 16);
    blue.fill(Qt::blue);
    w.setWindowIcon(QIcon(blue));
    w.cmdOK_Click();
    w.mDisable_Click();
    QCOMPARE(iconColour(w.windowIcon()), QColor(Qt::blue));
    QCOMPARE(w.mDisable->text(), QStringLiteral("&Enable Tavorin"));
    QCOMPARE(h.fake.tray.data.tip, QStringLiteral("Tavorin (Disabled)"));
    // Enabling outside "Frequently" starts no minute timer.
    w.mDisable_Click();
    QVERIFY(!w.Timer1.isActive());
    QCOMPARE(w.mDisable->text(), QStringLiteral("&Disable Tavorin"));
}

void tst_frmMainTray::doubleClickHidesAndShowsCentred() {
    MainWindowHarness h;
    frmMain& w = h.start();
    w.show();
    w.move(0, 0);
    h.fake.tray.Send(kTrayLeftDoubleClick);
    QVERIFY(!w.isVisible());
    QCOMPARE(w.Background().State(), TrayState::Background);
    h.fake.tray.Send(kTrayLeftDoubleClick);
    QVERIFY(w.isVisible());
    const QRect screen = w.screen()->geometry();
    QCOMPARE(w.frameGeometry().left(), (screen.width() - w.frameGeometry().width()) / 2);
    QCOMPARE(w.frameGeometry().top(), (screen.height() - w.frameGeometry().height()) / 2);
}

void tst_frmMainTray::submenuFollowsTheList() {
    MainWindowHarness h;
    h.storeAutomaticList(h.pictures(3));
    frmMain& w = h.start();
    w.cmdOK_Click();
    h.fake.tray.Send(kTrayRightDown);
    QCOMPARE(pictureEntries(w), QStringList({"1. p1.jpg", "2. p2.jpg", "3. p3.jpg"}));
    QVERIFY(!w.mWallpaper[0]->isVisible());
    closeMenu(w);

    w.Append_Picture(h.picture(QStringLiteral("added.jpg")));
    h.fake.tray.Send(kTrayRightDown);
    QCOMPARE(pictureEntries(w),
             QStringList({"1. p1.jpg", "2. p2.jpg", "3. p3.jpg", "4. added.jpg"}));
    closeMenu(w);

    w.lstWallpaper->setCurrentRow(0);
    h.fake.dialogs.answers = {MsgResult::Yes, MsgResult::Yes};
    w.cmdDelete_Click();
    w.lstWallpaper->setCurrentRow(0);
    w.cmdDelete_Click();
    h.fake.tray.Send(kTrayRightDown);
    QCOMPARE(pictureEntries(w), QStringList({"1. p3.jpg", "2. added.jpg"}));
    QCOMPARE(w.mWallpaper.size(), std::size_t(3));
    closeMenu(w);

    // An empty list offers no submenu, even in the background.
    w.mClear_Click();
    h.fake.tray.Send(kTrayRightDown);
    QVERIFY(!w.mChange->isVisible());
    QVERIFY(w.mWallpaper[0]->isVisible());
    QCOMPARE(w.mWallpaper.size(), std::size_t(1));
}

void tst_frmMainTray::rightPressOnControlsOpensMenuWithHide_data() {
    QTest::addColumn<QString>("control");
    for (const char* name : {"cmdApply", "cmdOK", "cmdSearch", "lblHelp", "Label2", "imgPreview",
                             "Image1", "lblRandom"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_frmMainTray::rightPressOnControlsOpensMenuWithHide() {
    QFETCH(QString, control);
    MainWindowHarness h;
    h.storeAutomaticList(h.pictures(2));
    frmMain& w = h.start();
    w.show();
    auto* widget = w.findChild<QWidget*>(control);
    QVERIFY(widget);
    w.mRestore->setText(QStringLiteral("&Show"));
    // The menu opens where the control was pressed, wherever the pointer is.
    QCursor::setPos(w.mapToGlobal(QPoint(w.width() - 1, w.height() - 1)));
    QTest::mousePress(widget, Qt::RightButton, {}, QPoint(2, 2));
    QVERIFY(w.mMenu->isVisible());
    QCOMPARE(w.mMenu->pos(), widget->mapToGlobal(QPoint(2, 2)));
    QCOMPARE(w.mRestore->text(), QStringLiteral("&Hide"));
    QVERIFY(!w.mChange->isVisible());
    closeMenu(w);
    // A left press opens nothing.
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!w.mMenu->isVisible());
}

void tst_frmMainTray::hiddenIconNoticeShownOnce() {
    MainWindowHarness h;
    h.set(QStringLiteral("Systray"), QStringLiteral("0"));
    frmMain& w = h.start();
    w.show();
    QVERIFY(!h.fake.tray.exists);
    w.cmdOK_Click();
    QCOMPARE(h.fake.dialogs.messages.size(), 1);
    const auto& notice = h.fake.dialogs.messages.first();
    QCOMPARE(notice.text, QStringLiteral("You have choosen to hide the tray icon. To get the "
                                         "icon back, rerun Tavorin."));
    QCOMPARE(notice.icon, MsgIcon::Information);
    QCOMPARE(notice.title, QStringLiteral("Information"));
    QCOMPARE(h.get(QStringLiteral("info")), QStringLiteral("1"));
    w.mRestore_Click();
    w.mRestore_Click();
    QVERIFY(!w.isVisible());
    QCOMPARE(h.fake.dialogs.messages.size(), 1);
}

void tst_frmMainTray::lostIconComesBack() {
    MainWindowHarness h;
    h.set(QStringLiteral("Systray"), QStringLiteral("1"));
    frmMain& w = h.start();
    QVERIFY(h.fake.tray.exists);
    h.fake.tray.exists = false; // the notification area was rebuilt
    w.Timer3_Timer();
    QVERIFY(h.fake.tray.exists);
    QCOMPARE(h.fake.tray.data.tip, QStringLiteral("Tavorin"));
    // While it exists a tick adds nothing.
    const auto adds = h.fake.tray.log.count(QStringLiteral("add"));
    w.Timer3_Timer();
    QCOMPARE(h.fake.tray.log.count(QStringLiteral("add")), adds);
    // A shown icon is never taken down by the tick.
    QVERIFY(!h.fake.tray.log.contains(QStringLiteral("remove")));
}

void tst_frmMainTray::iconComesBackWhenSystrayTurnsOne() {
    MainWindowHarness h;
    h.set(QStringLiteral("Systray"), QStringLiteral("0"));
    frmMain& w = h.start();
    QVERIFY(w.Timer3.isActive());
    QVERIFY(!h.fake.tray.exists);
    // A second copy of the program writes the setting, the way it writes
    // the file: a new file renamed over the old one.
    h.set(QStringLiteral("Systray"), QStringLiteral("1"));
    QTRY_VERIFY_WITH_TIMEOUT(h.fake.tray.exists, 2000);
    QCOMPARE(h.fake.tray.data.tip, QStringLiteral("Tavorin"));
}

void tst_frmMainTray::iconStaysAwayWhileSystrayIsZero() {
    MainWindowHarness h;
    h.set(QStringLiteral("Systray"), QStringLiteral("1"));
    frmMain& w = h.start();
    w.Timer3_Timer(); // "Systray" 1 read and kept
    QVERIFY(h.fake.tray.exists);
    // As the options dialog turns it off: setting first, then the icon.
    h.set(QStringLiteral("Systray"), QStringLiteral("0"));
    w.RemoveTrayIcon();
    w.Timer3_Timer();
    QVERIFY(!h.fake.tray.exists);
    QCOMPARE(h.fake.tray.log.count(QStringLiteral("add")), 1);
}

void tst_frmMainTray::restoreReloadsPreviewAndSkin() {
    MainWindowHarness h;
    QImage skin(40, 30, QImage::Format_RGB32);
    skin.fill(Qt::darkBlue);
    QDir().mkpath(h.folder.file(QStringLiteral("Skins")));
    QVERIFY(skin.save(h.folder.file(QStringLiteral("Skins/Blue.jpg")), "JPG"));
    h.set(QStringLiteral("Skin"), QStringLiteral("Blue"));
    h.storeAutomaticList(h.pictures(2));
    frmMain& w = h.start();
    w.show();
    w.lstWallpaper->setCurrentRow(1);
    QVERIFY(!w.imgPreview->pixmap().isNull());
    QVERIFY(!w.Image1->pixmap().isNull());
    w.cmdOK_Click();
    QVERIFY(w.imgPreview->pixmap().isNull());
    QVERIFY(w.Image1->pixmap().isNull());
    w.mRestore_Click();
    QVERIFY(!w.imgPreview->pixmap().isNull());
    QVERIFY(!w.Image1->pixmap().isNull());
    QCOMPARE(w.ListIndex(), 1);
}

// Where no notification area is, background mode never withdraws the
// window: it waits minimised in the task bar, and a later start of the
// program brings it back.
void tst_frmMainTray::withoutTrayHidingMinimises_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("&Hide") << 0;
    QTest::newRow("close box") << 1;
    QTest::newRow("menu &Hide") << 2;
    QTest::newRow("minimise") << 3;
}

void tst_frmMainTray::withoutTrayHidingMinimises() {
    QFETCH(int, way);
    MainWindowHarness h;
    h.fake.tray.available = false;
    h.storeAutomaticList(h.pictures(2));
    frmMain& w = h.start();
    w.show();
    w.lstWallpaper->setCurrentRow(1);
    const std::function<void()> hide[] = {
        [&] { w.cmdOK->click(); }, [&] { QVERIFY(w.Form_QueryUnload(true)); },
        [&] { w.mRestore_Click(); },
        [&] { w.setWindowState(w.windowState() | Qt::WindowMinimized); }};
    hide[way]();
    QVERIFY(w.isVisible());
    QVERIFY(w.windowState() & Qt::WindowMinimized);
    QCOMPARE(w.Background().State(), TrayState::Background);
    QVERIFY(w.mDisable->isVisible());
    QVERIFY(w.imgPreview->pixmap().isNull());
    w.Rerun();
    QVERIFY(w.isVisible());
    QVERIFY(!(w.windowState() & Qt::WindowMinimized));
    QCOMPARE(w.Background().State(), TrayState::Shown);
    QVERIFY(!w.imgPreview->pixmap().isNull());
    // An open modal dialog comes up instead; the window stays as it is.
    QDialog dialog(&w);
    dialog.setModal(true);
    dialog.show();
    dialog.setWindowState(Qt::WindowMinimized);
    w.cmdOK_Click();
    w.Rerun();
    QVERIFY(!(dialog.windowState() & Qt::WindowMinimized));
    QVERIFY(w.windowState() & Qt::WindowMinimized);
    // With a tray, a later start only brings the icon back.
    h.fake.tray.available = true;
    w.Rerun();
    QVERIFY(w.windowState() & Qt::WindowMinimized);
}

// A host that draws the menu reads it just before it shows it. Without a
// known pointer (Wayland) a host's ContextMenu brings the window up.
void tst_frmMainTray::hostThatDrawsTheMenu() {
    MainWindowHarness h;
    h.fake.tray.hostDrawsMenu = true;
    h.fake.tray.pointerKnown = false;
    h.storeAutomaticList(h.pictures(2));
    frmMain& w = h.start();
    QCOMPARE(h.fake.tray.menu, w.mMenu);
    w.cmdOK_Click();
    Q_EMIT w.mMenu->aboutToShow();
    QCOMPARE(pictureEntries(w), QStringList({"1. p1.jpg", "2. p2.jpg"}));
    h.fake.tray.Send(kTrayRightDown);
    QVERIFY(!w.mMenu->isVisible());
    QCOMPARE(w.Background().State(), TrayState::Shown);
}

QTEST_MAIN(tst_frmMainTray)
#include "tst_frmMainTray.moc"
