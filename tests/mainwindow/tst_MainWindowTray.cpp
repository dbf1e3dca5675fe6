// The main window in the background and its face: the tray icon and its
// menu, hiding and showing, pausing the schedule, skins, help and dialogs.
#include "tests/mainwindow/MainWindowHarness.h"
#include "tests/support/TestPictures.h"

#include "browser/frmBrowse.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "search/frmSearch.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace tavorin;
using namespace tavorin::test;

namespace {
QIcon icon(Qt::GlobalColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}
QColor colourOf(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage().pixelColor(8, 8);
}
QColor colourOf(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}
template <typename T> int openWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        count += qobject_cast<T*>(widget) && widget->isVisible();
    return count;
}
void writeIcon(const MainWindowHarness& h, const char* name, Qt::GlobalColor colour) {
    QDir().mkpath(h.folder.file("Icon"));
    QVERIFY(
        icon(colour).pixmap(16, 16).save(h.folder.file(QString("Icon/%1.ico").arg(name)), "ICO"));
}
void writeSkin(const MainWindowHarness& h, const char* name) {
    WritePicture(h.folder.file(QStringLiteral("Skins/%1.jpg").arg(name)), {40, 30}, Qt::darkGray);
}
} // namespace

class tst_MainWindowTray : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void trayModuleKeepsItsRecord() {
        FakeTray tray;
        TrayModule module(tray);
        int received = 0;
        module.AddTrayIcon([&](int) { ++received; }, icon(Qt::red), "Tavorin");
        module.ModifyTrayIcon({}, icon(Qt::gray), QString()); // an empty tip keeps the tip
        QCOMPARE(tray.data.tip, "Tavorin");
        module.ModifyTrayIcon({}, QIcon(), "Tavorin (Disabled)"); // the icon is always replaced
        QVERIFY(module.Data().icon.isNull() && tray.log.last() == "modify");
        QCOMPARE(module.Data().tip, "Tavorin (Disabled)");
        QVERIFY(module.RemoveTrayIcon() && !tray.exists && !module.RemoveTrayIcon());
        module.ModifyTrayIcon({}, icon(Qt::red), "Tavorin");
        QVERIFY(module.AddTrayIcon({}, QIcon(), QString())); // no icon or owner: the stored ones
        QVERIFY(!tray.data.icon.isNull() && tray.data.tip == "Tavorin");
        tray.Send(kTrayRightDown);
        QCOMPARE(received, 1);
    }

    void shownBackgroundAndDisabledStates() {
        MainWindowHarness h;
        writeIcon(h, "Tavorin icon", Qt::green);
        writeIcon(h, "Tavorin disabled", Qt::red);
        h.set(ini::kSystray, "1");
        frmMain& w = h.withList(2, ChangeMode::Frequently, "30").startShown();
        QTimer* minute = h.timer("Timer1");
        QMenu* menu = h.find<QMenu>("mMenu");
        auto rightPress = [&] {
            h.fake.tray.Send(kTrayRightDown);
            const bool shown = menu->isVisible();
            menu->hide();
            return QString(shown ? "" : "no menu ") + h.action("mRestore")->text() + " " +
                   h.on("mDisable mChange mnuSeperator3", true);
        };
        QCOMPARE(rightPress(), "&Hide 000");
        h.click("cmdOK");
        QVERIFY(w.Background().State() == TrayState::Background && !w.isVisible());
        QVERIFY(!(w.windowState() & Qt::WindowMinimized)); // withdrawn, never iconified
        QCOMPARE(rightPress(), "&Show 111");
        QCOMPARE(h.action("mDisable")->text(), "&Disable Tavorin");
        h.click("mDisable");
        QVERIFY(w.Background().State() == TrayState::BackgroundDisabled && !minute->isActive());
        QCOMPARE(h.action("mDisable")->text() + "|" + h.fake.tray.data.tip,
                 "&Enable Tavorin|Tavorin (Disabled)");
        QVERIFY(colourOf(h.fake.tray.data.icon) == Qt::red && colourOf(w.windowIcon()) == Qt::red);
        h.click("mDisable");
        QVERIFY(w.Background().State() == TrayState::Background && minute->isActive());
        QVERIFY(h.fake.tray.data.tip == "Tavorin" && colourOf(h.fake.tray.data.icon) == Qt::green);
        h.click("mDisable"); // showing the window resumes a disabled schedule
        h.fake.tray.Send(kTrayLeftDoubleClick);
        QVERIFY(w.Background().State() == TrayState::Shown && w.isVisible() && minute->isActive());
        QVERIFY(!(w.windowState() & Qt::WindowMinimized) && !h.action("mDisable")->isVisible());
        QCOMPARE(h.action("mDisable")->text() + "|" + h.fake.tray.data.tip,
                 "&Disable Tavorin|Tavorin");
        QCOMPARE(colourOf(w.windowIcon()), QColor(Qt::green));
        // Centred when it comes back.
        w.move(0, 0);
        h.fake.tray.Send(kTrayLeftDoubleClick);
        h.fake.tray.Send(kTrayLeftDoubleClick);
        const QRect screen = w.screen()->geometry(), frame = w.frameGeometry();
        QCOMPARE(frame.topLeft(), QPoint((screen.width() - frame.width()) / 2,
                                         (screen.height() - frame.height()) / 2));
        // Without the icon files the icon stays; outside "Frequently" no timer starts.
        MainWindowHarness other;
        frmMain& o = other.withList(0, ChangeMode::OnceADay).start();
        o.setWindowIcon(icon(Qt::blue));
        o.cmdOK_Click();
        o.mDisable_Click();
        QVERIFY(colourOf(o.windowIcon()) == Qt::blue &&
                other.fake.tray.data.tip == "Tavorin (Disabled)");
        o.mDisable_Click();
        QVERIFY(!other.timer("Timer1")->isActive() &&
                other.action("mDisable")->text() == "&Disable Tavorin");
    }

    void submenuFollowsTheList() {
        MainWindowHarness h;
        frmMain& w = h.withList(3).start();
        h.click("cmdOK");
        auto entries = [&] {
            h.fake.tray.Send(kTrayRightDown);
            h.find<QMenu>("mMenu")->hide();
            return h.pictureEntries().join(", ") + " " + h.on("mChange mWallpaper0", true);
        };
        QCOMPARE(entries(), "1. p1.jpg, 2. p2.jpg, 3. p3.jpg 10");
        w.Append_Picture(h.picture("added.jpg"));
        QCOMPARE(entries(), "1. p1.jpg, 2. p2.jpg, 3. p3.jpg, 4. added.jpg 10");
        h.fake.dialogs.defaultAnswer = MsgResult::Yes;
        for (int i = 0; i < 2; ++i) {
            h.select(0);
            h.click("cmdDelete");
        }
        QCOMPARE(entries(), "1. p3.jpg, 2. added.jpg 10");
        QCOMPARE(h.find<QMenu>("mChangeMenu")->actions().size(), 3);
        h.action("mWallpaper2")->trigger();
        QCOMPARE(h.applied(), QStringList({h.picture("added.jpg")}));
        h.click("mClear"); // an empty list offers no submenu, even in the background
        QCOMPARE(entries(), " 01");
        QCOMPARE(h.find<QMenu>("mChangeMenu")->actions().size(), 1);
        // A host that draws the menu reads it just before it shows it; without
        // a known pointer (Wayland) its right press brings the window up.
        MainWindowHarness host;
        host.fake.tray.hostDrawsMenu = true;
        host.fake.tray.pointerKnown = false;
        frmMain& hw = host.withList(2).start();
        QCOMPARE(host.fake.tray.menu, host.find<QMenu>("mMenu"));
        hw.cmdOK_Click();
        Q_EMIT host.find<QMenu>("mMenu")->aboutToShow();
        QCOMPARE(host.pictureEntries(), QStringList({"1. p1.jpg", "2. p2.jpg"}));
        host.fake.tray.Send(kTrayRightDown);
        QVERIFY(!host.find<QMenu>("mMenu")->isVisible() &&
                hw.Background().State() == TrayState::Shown);
    }

    void rightPressOnControlsOpensTheMenuWithHide() {
        MainWindowHarness h;
        frmMain& w = h.withList(2).startShown();
        QMenu* menu = h.find<QMenu>("mMenu");
        for (const char* name : {"cmdApply", "cmdOK", "cmdSearch", "lblHelp", "Label2",
                                 "imgPreview", "Image1", "lblRandom"}) {
            QWidget* control = h.find<QWidget>(name);
            h.action("mRestore")->setText("&Show");
            // The menu opens where the control was pressed, wherever the pointer is.
            QCursor::setPos(w.mapToGlobal(QPoint(w.width() - 1, w.height() - 1)));
            QTest::mousePress(control, Qt::RightButton, {}, QPoint(2, 2));
            QVERIFY2(menu->isVisible() && menu->pos() == control->mapToGlobal(QPoint(2, 2)), name);
            QCOMPARE(h.action("mRestore")->text() + h.on("mChange", true), "&Hide0");
            menu->hide();
            if (name[0] != 'c') // a left press opens nothing (a button's click does its own)
                QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(2, 2));
            QVERIFY(!menu->isVisible());
        }
    }

    void theIconComesBackWhileSystrayIsOne() {
        MainWindowHarness h;
        h.set(ini::kSystray, "1");
        frmMain& w = h.start();
        QVERIFY(h.fake.tray.exists && h.timer("Timer3")->isActive());
        h.fake.tray.exists = false; // the notification area was rebuilt
        w.Timer3_Timer();
        QVERIFY(h.fake.tray.exists && h.fake.tray.data.tip == "Tavorin");
        w.Timer3_Timer(); // while it exists a tick adds nothing, and never removes it
        QCOMPARE(h.fake.tray.log, QStringList({"add", "add"}));
        h.set(ini::kSystray, "0"); // as the options dialog turns it off
        w.RemoveTrayIcon();
        w.Timer3_Timer();
        QVERIFY(!h.fake.tray.exists);
        // A second copy of the program writes the setting: a new file renamed over the old.
        h.set(ini::kSystray, "1");
        QTRY_VERIFY_WITH_TIMEOUT(h.fake.tray.exists, 2000);
        // Hidden with "Systray" 0: the notice once.
        h.set(ini::kSystray, "0");
        w.RemoveTrayIcon();
        w.show();
        w.cmdOK_Click();
        w.mRestore_Click();
        w.mRestore_Click();
        QCOMPARE(
            h.messages(),
            QStringList(
                {"You have choosen to hide the tray icon. To get the icon back, rerun Tavorin."}));
        QVERIFY(h.fake.dialogs.messages[0].icon == MsgIcon::Information &&
                h.fake.dialogs.messages[0].title == "Information");
        QVERIFY(h.get(ini::kInfo) == "1" && !w.isVisible());
    }

    // Where no notification area is, background mode never withdraws the
    // window: it waits minimised in the task bar, and a later start brings it back.
    void withoutTrayHidingMinimises() {
        for (int way = 0; way < 4; ++way) {
            MainWindowHarness h;
            h.fake.tray.available = false;
            writeSkin(h, "Blue");
            h.set(ini::kSkin, "Blue");
            frmMain& w = h.withList(2).startShown();
            const QLabel* skin = h.find<QLabel>("Image1");
            h.select(1);
            const std::function<void()> hide[] = {
                [&] { h.click("cmdOK"); }, [&] { QVERIFY(w.Form_QueryUnload(true)); },
                [&] { w.mRestore_Click(); },
                [&] { w.setWindowState(w.windowState() | Qt::WindowMinimized); }};
            hide[way]();
            QVERIFY(w.isVisible() && (w.windowState() & Qt::WindowMinimized));
            QVERIFY(w.Background().State() == TrayState::Background && !h.previewShown() &&
                    skin->pixmap().isNull() && h.action("mDisable")->isVisible());
            w.Rerun();
            QVERIFY(w.isVisible() && !(w.windowState() & Qt::WindowMinimized));
            // Preview and skin are loaded again.
            QVERIFY(w.Background().State() == TrayState::Shown && h.previewShown() &&
                    !skin->pixmap().isNull() && w.ListIndex() == 1);
            QDialog dialog(&w); // an open modal dialog comes up instead
            dialog.setModal(true);
            dialog.show();
            dialog.setWindowState(Qt::WindowMinimized);
            w.cmdOK_Click();
            w.Rerun();
            QVERIFY(!(dialog.windowState() & Qt::WindowMinimized) &&
                    (w.windowState() & Qt::WindowMinimized));
            h.fake.tray.available = true; // with a tray, a later start only brings the icon back
            w.Rerun();
            QVERIFY(w.windowState() & Qt::WindowMinimized);
        }
    }

    void skinsAndTheHelpLabel() {
        struct Row {
            const char* skin;
            bool picture;
            QColor labels, help, hover;
        };
        const Row rows[] = {{"Blue", true, kSkinLabelColour, kHelpRestColour, kHelpHoverColour},
                            {"[none]", false, kPlainColour, kPlainColour, kPlainColour},
                            {"", true, kSkinLabelColour, kHelpRestColour, kHelpHoverColour}};
        for (const Row& r : rows) {
            MainWindowHarness h;
            writeSkin(h, "Blue");
            writeSkin(h, "Metalic");
            h.set(ini::kSkin, r.skin);
            h.startShown();
            QCOMPARE(!h.find<QLabel>("Image1")->pixmap().isNull(), r.picture);
            for (const char* label : {"Label2", "Label3", "lblListCount"})
                QCOMPARE(colourOf(h.find<QLabel>(label)), r.labels);
            QLabel* help = h.find<QLabel>("lblHelp");
            QCOMPARE(colourOf(help), r.help);
            QVERIFY(h.messages().isEmpty());
            QEvent enter(QEvent::Enter);
            QApplication::sendEvent(help, &enter);
            QVERIFY(colourOf(help) == r.hover && help->font().underline());
            QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(h.find<QLabel>("Image1"),
                                    &move); // the rest look comes back over the skin
            QVERIFY(colourOf(help) == r.help && !help->font().underline());
        }
    }

    void documentCommandsOpenTheirFiles() {
        for (auto [command, document] : {std::pair{"lblHelp", "Help/main ref.htm"},
                                         {"mnuHelp", "Help/index.htm"},
                                         {"mnuReadme", "readme.txt"},
                                         {"mnuWebsite", "URLS/Updates.url"}}) {
            MainWindowHarness h;
            h.folder.write(document, "x");
            h.startShown();
            if (command[0] == 'l')
                QTest::mouseClick(h.find<QLabel>(command), Qt::LeftButton, {}, QPoint(3, 3));
            else
                h.click(command);
            QCOMPARE(h.fake.shell.opened, QStringList({h.folder.file(document)}));
        }
    }

    void optionsChangeTrayModesAndSkinAtOnce() {
        MainWindowHarness h;
        writeSkin(h, "Blue");
        h.set(ini::kSystray, "1");
        h.set(ini::kChange, "Startup");
        frmMain& w = h.start();
        bool lockedWhileOpen = false;
        auto options = [&](bool on, const char* skin) {
            frmOption dialog(h.m, w, &w);
            lockedWhileOpen = h.on("mAbout mRestore") == "00";
            h.fake.tray.Send(kTrayLeftDoubleClick); // leaves the window under the dialog
            lockedWhileOpen = lockedWhileOpen && w.Background().State() == TrayState::Shown;
            dialog.chkSystray->setChecked(on);
            dialog.chkStartup->setChecked(on);
            dialog.cboSkin->setCurrentText(skin);
            dialog.cmdOK_Click();
        };
        w.Openers().Options = [&] { options(false, "Blue"); };
        h.click("cmdOption");
        QVERIFY(lockedWhileOpen && h.on("mAbout mRestore") == "11" && !h.fake.tray.exists);
        QCOMPARE(h.text("cboChange"), "Once a day");
        QCOMPARE(h.find<QComboBox>("cboChange")->findText("Startup"), -1);
        QVERIFY(!h.find<QLabel>("Image1")->pixmap().isNull() &&
                colourOf(h.find<QLabel>("Label2")) == kSkinLabelColour);
        w.Timer3_Timer(); // the next tick keeps the icon away
        QVERIFY(!h.fake.tray.exists);
        w.Openers().Options = [&] { options(true, "[none]"); };
        h.click("mOption");
        QVERIFY(h.fake.tray.exists && h.fake.tray.data.tip == "Tavorin");
        QCOMPARE(h.find<QComboBox>("cboChange")->itemText(0), "Startup");
        QVERIFY(h.find<QLabel>("Image1")->pixmap().isNull() &&
                colourOf(h.find<QLabel>("Label2")) == kPlainColour);
        {
            frmOption dialog(h.m, w, &w); // a cancelled dialog gives the entries back too
            dialog.cmdCancel_Click();
        }
        QCOMPARE(h.on("mAbout mRestore"), "11");
    }

    void otherWindowsOpenOnce() {
        MainWindowHarness h;
        frmMain& w = h.start();
        int modal = 0;
        w.Openers().AboutModal = [&] { ++modal; };
        h.click("cmdAbout");
        QVERIFY(modal == 1 && openWindows<frmAbout>() == 0);
        h.click("mAbout");
        h.click("mAbout");
        QCOMPARE(openWindows<frmAbout>(), 1);
        QVERIFY(!w.findChild<frmAbout*>()->isModal());
        w.findChild<frmAbout*>()->close();
        QTRY_COMPARE(w.findChildren<frmAbout*>().size(), 0);
        for (auto [button, entry] : {std::pair{"cmdBrowse", "mAdd"}, {"cmdSearch", "mSearch"}}) {
            h.click(button);
            h.click(entry);
        }
        QVERIFY(openWindows<frmBrowse>() == 1 && openWindows<frmSearch>() == 1);
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<frmBrowse*>(widget) || qobject_cast<frmSearch*>(widget))
                widget->close();
        QTRY_COMPARE(openWindows<frmBrowse>() + openWindows<frmSearch>(), 0);
    }
};

QTEST_MAIN(tst_MainWindowTray)
#include "tst_MainWindowTray.moc"
