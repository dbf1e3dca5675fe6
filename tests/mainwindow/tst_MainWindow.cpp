// The main window's schedule and list: the mode box, the change on the
// minute tick, the preview, editing the list, and one load/save scenario.
#include "tests/mainwindow/MainWindowHarness.h"
#include "tests/support/TestPictures.h"

#include "engine/ListFile.h"
#include "engine/RandomOrder.h"
#include "mainwindow/Schedule.h"
#include "viewer/frmFullscreen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <sys/stat.h>

using namespace tavorin;
using namespace tavorin::test;

namespace {
using M = ChangeMode;
const QString& kMemory = ini::kMemory;

QList<frmFullscreen*> viewers() {
    QList<frmFullscreen*> open;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<frmFullscreen*>(widget); viewer && viewer->isVisible())
            open << viewer;
    return open;
}
ino_t inodeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}
} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void startUpModesIntervalAndLogOnEntry() {
        MainWindowHarness h;
        h.start();
        QCOMPARE(h.splash.statuses,
                 QStringList({"Loading Settings......", "Loading Wallpaper List......",
                              "Setting up interface......"}));
        const QString run =
            FakeRegistry::KeyId(RootKey::LocalMachine,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Run") +
            "|tavorin";
        QCOMPARE(h.fake.registry.values.value(run), h.m.App_Path() + "/Loader.exe");
        QCOMPARE(h.find<QComboBox>("cboChange")->count(), 4);
        h.set(ini::kStartup, "0"); // no "Startup" offered, a stored one is not taken
        h.set(ini::kChange, "Startup");
        h.set(ini::kMin, "90");
        h.start();
        QVERIFY(!h.fake.registry.values.contains(run) &&
                h.fake.registry.log.last().startsWith("delete"));
        QCOMPARE(h.find<QComboBox>("cboChange")->itemText(0) + "|" + h.text("cboChange"),
                 "Once a day|Once a day");
        QCOMPARE(h.on("txtHour scrMin Label7"), "000");
        QCOMPARE(h.text("txtHour") + ":" + h.text("txtMin"), "1:30");
        for (auto [min, shown] : {std::pair{"1439", "23:59"}, {"1", "0:1"}, {"abc", "0:30"}}) {
            h.set(ini::kChange, "Frequently");
            h.set(ini::kMin, min);
            h.start();
            QCOMPARE(h.text("txtHour") + ":" + h.text("txtMin"), QString(shown));
            QCOMPARE(h.text("txtMin").toInt(), 59 - h.find<QScrollBar>("scrMin")->value());
            QCOMPARE(h.text("txtHour").toInt(), 23 - h.find<QScrollBar>("scrHour")->value());
            QCOMPARE(h.on("txtHour scrMin Label7"), "111");
        }
    }

    void scrollBarsKeepAtLeastOneMinute() {
        MainWindowHarness h;
        h.withList(0, M::Frequently, "60").start();
        auto* hour = h.find<QScrollBar>("scrHour");
        auto* minute = h.find<QScrollBar>("scrMin");
        hour->setValue(23); // 0 hours
        QCOMPARE(h.text("txtHour") + ":" + h.text("txtMin"), "0:1");
        minute->setValue(59); // the very bottom
        QCOMPARE(h.text("txtMin"), "1");
        hour->setValue(0);
        minute->setValue(59);
        QCOMPARE(h.text("txtHour") + ":" + h.text("txtMin"), "23:0");
        h.click("cmdApply");
        QCOMPARE(h.get(ini::kMin), "1380");
    }

    void modeChoiceSetsShutdownPreviewAndTimer() {
        MainWindowHarness h;
        frmMain& w = h.withList(2, M::OnceADay).start();
        auto choose = [&](M m) {
            h.find<QComboBox>("cboChange")->setCurrentText(ChangeModeText(m));
            w.cboChange_Click();
        };
        QTimer* minute = h.timer("Timer1");
        QVERIFY(!minute->isActive());
        h.find<QCheckBox>("chkShutdown")->setChecked(true);
        choose(M::Frequently);
        QVERIFY(!h.find<QCheckBox>("chkShutdown")->isChecked());
        QCOMPARE(h.on("chkShutdown lblShutdown cmdPreview txtMin"), "0011");
        h.click("cmdPreview");
        QCOMPARE(h.text("cmdPreview"), "S&top");
        choose(M::Startup); // stops the preview
        QCOMPARE(h.text("cmdPreview"), "Pre&view");
        QVERIFY(!h.timer("Timer2")->isActive());
        QCOMPARE(h.on("chkShutdown lblShutdown cmdPreview txtMin"), "1100");
        choose(M::Never);
        QCOMPARE(h.on("chkShutdown lblShutdown cmdPreview txtMin"), "0000");
        // The minute timer runs in "Frequently" only; a resume follows the
        // mode last applied.
        w.cmdApply_Click();
        w.Resume_Schedule();
        QVERIFY(!minute->isActive());
        choose(M::Frequently);
        w.cmdApply_Click();
        QVERIFY(minute->isActive() && minute->interval() == 60000);
        minute->stop();
        choose(M::OnceADay);
        w.Resume_Schedule();
        QVERIFY(minute->isActive());
    }

    void frequentlyWalksTheListOnTheMinuteTicks() {
        struct Row {
            int stored, ticks; // Wallpaper before; ticks of a 2-minute interval
            bool shrink;       // the automatic list loses its last record first
            QList<int> applied;
            const char* after;
        };
        const Row rows[] = {{1, 4, false, {1, 2}, "3"},
                            {3, 4, false, {3, 1}, "2"},
                            {7, 2, false, {1}, "2"},
                            {3, 2, true, {1}, "2"},
                            {5, 6, false, {2, 3, 1}, "2"}};
        for (const Row& r : rows) {
            MainWindowHarness h;
            h.set(ini::kWallpaper, QString::number(r.stored));
            frmMain& w = h.withList(3, M::Frequently, "2").start();
            if (r.shrink)
                QFile::resize(AutomaticListFile(h.m), 2 * kRecordLength);
            for (int tick = 1; tick <= r.ticks; ++tick) {
                w.Timer1_Timer();
                QCOMPARE(h.applied().size(), tick / 2);
            }
            QStringList expected;
            for (int i : r.applied)
                expected << h.list[i - 1];
            QCOMPARE(h.applied(), expected);
            QCOMPARE(h.get(ini::kWallpaper), r.after);
            QCOMPARE(h.get(ini::kLastChangingDate), ChangingDateText(h.fake.clock.Today()));
            w.Timer1_Timer(); // Apply starts the minute count again
            w.cmdApply_Click();
            w.Timer1_Timer();
            QCOMPARE(h.applied(), expected);
        }
    }

    void onceADayAndAtLogOn() {
        struct Row {
            M mode;
            int daysAgo; // the last change; -1: never
            const char *loader, *shutdown;
            int changes;
            bool ended;
        };
        const Row rows[] = {
            {M::OnceADay, 0, "0", "0", 0, false},  {M::OnceADay, 1, "0", "0", 1, false},
            {M::OnceADay, -1, "0", "0", 1, false}, {M::Startup, -1, "0", "1", 0, false},
            {M::Startup, -1, "1", "1", 1, true},   {M::Startup, -1, "1", "0", 1, false}};
        for (const Row& r : rows) {
            MainWindowHarness h;
            h.withList(3, r.mode);
            h.set(ini::kWallpaper, "2");
            h.set(ini::kLoader, r.loader);
            h.set(ini::kShutdown, r.shutdown);
            if (r.daysAgo >= 0)
                h.set(ini::kLastChangingDate,
                      ChangingDateText(h.fake.clock.Today().addDays(-r.daysAgo)));
            frmMain& w = h.start();
            QCOMPARE(h.applied(), h.list.mid(1, r.changes));
            QCOMPARE(w.Ended(), r.ended);
            QVERIFY(h.get(ini::kLoader) == "0" && !h.timer("Timer1")->isActive());
            QCOMPARE(h.get(ini::kWallpaper), QString::number(2 + r.changes));
            QCOMPARE(h.get(ini::kX, kMemory), r.ended ? "0" : "");
            if (r.ended || r.mode != M::OnceADay)
                continue;
            w.cmdApply_Click(); // the same day again: nothing
            QCOMPARE(h.applied().size(), r.changes);
            h.fake.clock.now = h.fake.clock.now.addDays(1);
            w.cmdApply_Click();
            QCOMPARE(h.applied().size(), r.changes + 1);
        }
    }

    void randomPickFollowsTheStoredStateAndARestart() {
        MainWindowHarness h;
        h.withList(5, M::Frequently);
        h.set(ini::kRandom, "1");
        h.set(ini::kWallpaper, "2");
        for (const QString& key : {ini::kX, ini::kY, ini::kZ})
            h.set(key, "0", kMemory);
        frmMain& w = h.start();
        QCOMPARE(h.get(ini::kClick) + h.get(ini::kFirstRun), "11");
        w.Timer1_Timer();
        QCOMPARE(h.applied(), QStringList({h.list[4]})); // from 2 with a fresh seed: 5
        QCOMPARE(h.get(ini::kX, kMemory) + h.get(ini::kY, kMemory) + h.get(ini::kZ, kMemory),
                 "1310");
        QCOMPARE(h.get(ini::kClick) + h.get(ini::kWallpaper), "06");
        for (int i = 0; i < 20; ++i)
            w.Timer1_Timer();
        const QStringList all = h.applied();
        for (int i = 1; i < all.size(); ++i)
            QVERIFY2(all[i] != all[i - 1], "the same picture twice in a row");
        // Ending keeps the state; the next run picks from it as the order would.
        h.click("cmdExit");
        QVERIFY(w.Ended());
        RandomOrder expected = w.randomOrder();
        QCOMPARE(h.get(ini::kX, kMemory) + " " + h.get(ini::kY, kMemory) + " " +
                     h.get(ini::kZ, kMemory),
                 QString("%1 %2 %3").arg(expected.X).arg(expected.Y).arg(expected.Z));
        const int stored = h.get(ini::kWallpaper).toInt();
        expected.Reseed = true; // Apply at start-up
        expected.CurrentIndex = WrapPosition(stored, 5);
        expected.Random_Index(nullptr);
        const int next =
            expected.CurrentIndex == stored ? StepPastStored(stored, 5) : expected.CurrentIndex;
        h.fake.wallpaper.calls.clear();
        h.start().Timer1_Timer();
        QCOMPARE(h.applied(), QStringList({h.list[next - 1]}));
    }

    // Nonsense in the settings never stops the program or the schedule.
    void settingsNonsenseNeverHangs() {
        struct Row {
            const QString &section, &key;
            const char* value;
            bool changes; // the schedule still changes the wallpaper
        };
        const QString& s = ini::kSettings;
        const Row rows[] = {
            {s, ini::kMin, "abc", false},
            {s, ini::kMin, "0", false},
            {s, ini::kWallpaper, "-5", true},
            {s, ini::kWallpaper, "abc", true},
            {s, ini::kWallpaper, "99999999", true},
            {kMemory, ini::kX, "0", true},
            {kMemory, ini::kX, "-7", true},
            {kMemory, ini::kY, "99999", true},
            {kMemory, ini::kZ, "abc", true},
            {s, ini::kListCount, "99999", true},
            {s, ini::kListCount, "-1", false}, // no picture restored: Apply stores none
            {s, ini::kRandom, "abc", true},
            {s, ini::kChange, "Hourly", false}, // the box keeps "Startup": no Apply
        };
        for (const Row& r : rows) {
            MainWindowHarness h;
            h.withList(4, M::Frequently).set(ini::kRandom, "1");
            h.start(); // Apply stores a sound state first
            h.set(r.key, r.value, r.section);
            frmMain& w = h.start();
            QVERIFY(!w.Ended() && h.names().size() <= 4 &&
                    w.ListPaths().size() == h.names().size());
            h.set(r.key, r.value, r.section); // again, in case Apply overwrote it
            for (int i = 0; i < 5; ++i)
                w.Timer1_Timer();
            for (const QString& path : h.applied())
                QVERIFY(h.list.contains(path));
            QVERIFY2(h.applied().isEmpty() != r.changes, r.value);
            QVERIFY(!r.changes || WholeNumber(h.get(ini::kWallpaper), 1, 5));
            for (const QString& key : {ini::kX, ini::kY, ini::kZ})
                QVERIFY(!r.changes || r.key == ini::kRandom ||
                        WholeNumber(h.get(key, kMemory), -32768, 32767));
        }
    }

    // A real message box runs an event loop in which the timers go on.
    void ticksWaitForAnOpenMessage() {
        MainWindowHarness h;
        h.set(ini::kWallpaper, "1");
        frmMain& w = h.withList(3, M::Frequently).start();
        QFile::remove(h.list[0]); // the desktop refuses it: "Image not found"
        h.ticking.during = [&] {
            for (int i = 0; i < 3; ++i)
                w.Timer1_Timer();
        };
        w.Timer1_Timer();
        QCOMPARE(h.messages(), QStringList({"Image not found:'" + h.list[0] + "'"}));
        QCOMPARE(h.get(ini::kWallpaper), "2"); // the position advances
        h.ticking.during = nullptr;
        w.Timer1_Timer();
        QCOMPARE(h.applied(), QStringList({h.list[1]}));
        // The preview waits while a missing picture is reported.
        h.click("cmdPreview");
        h.fake.dialogs.answers = {MsgResult::Ok, MsgResult::Yes};
        h.ticking.during = [&] {
            for (int i = 0; i < 4; ++i)
                w.Timer2_Timer();
        };
        w.Timer2_Timer(); // selects the missing first picture
        QCOMPARE(h.messages().mid(1),
                 QStringList({"File not found:'p1.jpg'",
                              "Are you sure you want to remove p1.jpg from the list?"}));
        QCOMPARE(w.ListPaths(), h.list.mid(1));
    }

    void previewWalksTheListAndNeverApplies() {
        MainWindowHarness h;
        h.set(ini::kWallpaper, "2");
        frmMain& w = h.withList(4, M::Frequently, "3").start();
        h.click("cmdPreview");
        QVERIFY(h.timer("Timer2")->isActive() && h.timer("Timer2")->interval() == 1000);
        QList<int> selections;
        for (int second = 1; second <= 15; ++second) {
            w.Timer2_Timer();
            if (second % 3 == 0)
                selections << w.ListIndex();
            QCOMPARE(w.ListIndex(), selections.isEmpty() ? -1 : selections.last());
        }
        QCOMPARE(selections, QList<int>({0, 1, 2, 3, 0}));
        h.click("cmdPreview");
        QVERIFY(!h.timer("Timer2")->isActive());
        h.click("cmdPreview"); // goes on where it stopped
        for (int second = 0; second < 3; ++second)
            w.Timer2_Timer();
        QCOMPARE(w.ListIndex(), 1);
        // Apply now sets the selected picture and keeps the schedule's place.
        h.select(2);
        h.click("cmdApplyNow");
        QCOMPARE(h.applied(), QStringList({h.list[2]}));
        QCOMPARE(h.get(ini::kWallpaper) + h.get(ini::kLastChangingDate), "2");
        // In random order the preview stays inside a list that shrank.
        h.set(ini::kRandom, "1");
        h.find<QCheckBox>("chkRandom")->setChecked(true);
        h.set(ini::kWallpaper, "4");
        w.Timer1_Timer();
        w.Timer1_Timer();
        w.Timer1_Timer(); // the schedule stands at the end of the list
        h.fake.dialogs.defaultAnswer = MsgResult::Yes;
        for (int row : {3, 2, 1}) {
            h.select(row);
            h.click("mDelete");
            for (int step = 0, previous = -2; step < 4; ++step) {
                for (int second = 0; second < 3; ++second)
                    w.Timer2_Timer();
                QVERIFY(w.ListIndex() >= 0 && w.ListIndex() < row);
                QVERIFY(row < 3 || w.ListIndex() != previous);
                previous = w.ListIndex();
            }
        }
        QCOMPARE(h.applied().size(), 2);
    }

    void closeBoxMinimisesAndExitStoresTheState() {
        MainWindowHarness h;
        frmMain& w = h.withList(3, M::Frequently).start();
        w.show();
        QVERIFY(w.Form_QueryUnload(true));
        QVERIFY(w.Background().State() == TrayState::Background && !w.Ended());
        h.fake.tray.exists = true;
        h.set(ini::kX, "77", kMemory);
        h.click("cmdExit");
        QVERIFY(w.Ended() && !h.timer("Timer1")->isActive() && !h.fake.tray.exists);
        QCOMPARE(h.get(ini::kX, kMemory), QString::number(w.randomOrder().X));
        h.start(); // a close request that is not the close box unloads
        QVERIFY(!h.w->Form_QueryUnload(false) && h.w->Ended());
    }

    void selectionDeleteAndMissingPictures() {
        MainWindowHarness h;
        frmMain& w = h.withList(3).startShown();
        QCOMPARE(h.on("cmdApplyNow cmdDelete"), "00");
        w.cmdDelete_Click();
        QCOMPARE(h.messages(), QStringList({"You did not select an item from listbox to delete."}));
        h.select(1);
        QVERIFY(h.previewShown() && !h.find<QLabel>("lblLoading")->isVisible());
        QVERIFY(h.text("lblInfo").startsWith("Resolution: 32x24 Pixels     Size: "));
        QVERIFY(h.text("lblInfo").contains("\r\nFolder: "));
        QCOMPARE(h.text("lblListCount"), "2/3");
        QCOMPARE(h.on("cmdApplyNow cmdUp mUp cmdDown mDown cmdDelete mDelete"), "1111111");
        h.select(2);
        QCOMPARE(h.on("cmdUp cmdDown mDown"), "100");
        QTest::mouseDClick(h.find<QLabel>("imgPreview"), Qt::LeftButton); // the viewer
        QCOMPARE(viewers().size(), 1);
        viewers()[0]->close();
        h.select(0);
        QTest::mouseDClick(h.lst()->viewport(), Qt::LeftButton, {}, QPoint(5, h.rowY(0)));
        QCOMPARE(h.applied(), QStringList({h.list[0]}));
        QCOMPARE(h.on("cmdUp cmdDown"), "01");
        QFile::remove(h.list[1]);
        h.fake.dialogs.answers = {MsgResult::Ok, MsgResult::No};
        h.select(1);
        QCOMPARE(h.messages().mid(1),
                 QStringList({"File not found:'p2.jpg'",
                              "Are you sure you want to remove p2.jpg from the list?"}));
        const auto& shown = h.fake.dialogs.messages;
        QVERIFY(shown[0].icon == MsgIcon::Critical && shown[1].icon == MsgIcon::Critical &&
                shown[1].title == "Tavorin");
        QVERIFY(shown[2].title == "Confirm" && shown[2].buttons == MsgButtons::YesNo &&
                shown[2].icon == MsgIcon::Question);
        QVERIFY(h.names().size() == 3 && !h.find<QLabel>("lblLoading")->isVisible());
        h.fake.dialogs.answers = {MsgResult::Ok, MsgResult::Yes};
        h.select(0);
        h.select(1);
        QCOMPARE(w.ListPaths(), QStringList({h.list[0], h.list[2]}));
        QCOMPARE(h.names(), QStringList({"p1.jpg", "p3.jpg"}));
        QVERIFY(w.ListIndex() == -1 && !h.previewShown());
        QCOMPARE(h.on("cmdApplyNow cmdDelete"), "00");
        QCOMPARE(h.text("lblInfo") + " " + h.text("lblListCount"), "Picture information 0/2");
        // A picture appended gets its absolute path; the buttons wait for the next selection.
        h.select(0);
        const QString old = QDir::currentPath();
        QDir::setCurrent(h.folder.root());
        w.Append_Picture("pictures/p3.jpg");
        QDir::setCurrent(old);
        QCOMPARE(w.ListPaths(), QStringList({h.list[0], h.list[2], h.list[2]}));
        QCOMPARE(h.names().last() + " " + h.text("lblListCount") + " " + h.on("cmdDown"),
                 "p3.jpg 1/3 1");
    }

    void moveClearPressesAndTheListMenu() {
        MainWindowHarness h;
        frmMain& w = h.withList(4, M::Frequently).startShown();
        h.select(2);
        h.click("cmdUp");
        QCOMPARE(w.ListPaths(), QStringList({h.list[0], h.list[2], h.list[1], h.list[3]}));
        QCOMPARE(h.names(), QStringList({"p1.jpg", "p3.jpg", "p2.jpg", "p4.jpg"}));
        QVERIFY(w.ListIndex() == 1 && h.text("lblListCount") == "2/4" && h.previewShown());
        h.click("mDown");
        QVERIFY(w.ListPaths() == h.list && w.ListIndex() == 2);
        h.select(0);
        w.cmdUp_Click(); // the ends stop the move
        h.select(3);
        w.cmdDown_Click();
        QVERIFY(w.ListPaths() == h.list && w.ListIndex() == 3);
        auto press = [&](Qt::MouseButton button, int y) {
            QTest::mousePress(h.lst()->viewport(), button, {}, QPoint(5, y));
            h.find<QMenu>("mlist")->hide();
        };
        press(Qt::LeftButton, h.belowLastRowY());
        QVERIFY(w.ListIndex() == -1 && !h.previewShown());
        QCOMPARE(h.text("lblInfo") + " " + h.text("lblListCount") + " " + h.on("cmdApplyNow"),
                 "Picture information 0/4 0");
        QTest::mousePress(h.lst()->viewport(), Qt::RightButton, {}, QPoint(5, h.rowY(3)));
        QVERIFY(w.ListIndex() == 3 && h.previewShown() && h.find<QMenu>("mlist")->isVisible());
        QCOMPARE(
            h.on("mApply mnuListSeperator mSearch mAdd mDelete mUp mDown mnuListSeperator2 mClear",
                 true),
            "111111111");
        press(Qt::RightButton, h.belowLastRowY());
        QCOMPARE(
            h.on("mApply mnuListSeperator mSearch mAdd mDelete mUp mDown mnuListSeperator2 mClear",
                 true),
            "001100011");
        // Clear asks nothing and stops a running preview.
        h.click("cmdPreview");
        h.click("mClear");
        QCOMPARE(h.text("cmdPreview") + " " + h.text("lblListCount"), "Pre&view 0/0");
        QVERIFY(!h.timer("Timer2")->isActive() && w.ListPaths().isEmpty() && h.names().isEmpty());
        QCOMPARE(h.on("cmdPreview cmdApplyNow cmdUp cmdDown cmdDelete"), "00000");
        QVERIFY(h.messages().isEmpty());
        press(Qt::RightButton, 5);
        QCOMPARE(
            h.on("mApply mnuListSeperator mSearch mAdd mDelete mUp mDown mnuListSeperator2 mClear",
                 true),
            "001100000");
    }

    void dropMovesTheSelectedEntry() {
        MainWindowHarness h;
        frmMain& w = h.withList(4).startShown();
        QListWidget* list = h.lst();
        h.select(1);
        w.lstWallpaper_DragDrop(list, 5, h.rowY(1));                            // its own row
        w.lstWallpaper_DragDrop(h.find<QPushButton>("cmdApply"), 5, h.rowY(0)); // from elsewhere
        w.lstWallpaper_DragDrop(nullptr, 5, h.rowY(0));
        QVERIFY(w.ListPaths() == h.list && w.ListIndex() == 1);
        w.lstWallpaper_DragDrop(list, 5, h.belowLastRowY());
        QCOMPARE(w.ListPaths(), QStringList({h.list[0], h.list[2], h.list[3], h.list[1]}));
        QCOMPARE(h.names(), QStringList({"p1.jpg", "p3.jpg", "p4.jpg", "p2.jpg"}));
        QCOMPARE(h.text("lblListCount"), "4/4");
        w.lstWallpaper_DragDrop(list, 5, h.rowY(0));
        QCOMPARE(w.ListPaths(), QStringList({h.list[1], h.list[0], h.list[2], h.list[3]}));
        QVERIFY(w.ListIndex() == 0 && !h.enabled("cmdUp") &&
                h.text("lblInfo").contains("Folder: "));
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, QPoint(5, h.belowLastRowY()));
        w.lstWallpaper_DragDrop(list, 5, h.rowY(2)); // nothing selected: the order stays
        QCOMPARE(w.ListPaths(), QStringList({h.list[1], h.list[0], h.list[2], h.list[3]}));
    }

    void captionsToggleTheirCheckBoxes() {
        MainWindowHarness h;
        h.withList(1, M::OnceADay).startShown();
        for (auto [label, box] :
             {std::pair{"lblRandom", "chkRandom"}, {"lblShutdown", "chkShutdown"}}) {
            const bool before = h.find<QCheckBox>(box)->isChecked();
            QTest::mouseClick(h.find<QLabel>(label), Qt::LeftButton, {}, QPoint(3, 3));
            QCOMPARE(h.find<QCheckBox>(box)->isChecked(), !before);
        }
    }

    void saveAndLoadAList() {
        MainWindowHarness h;
        frmMain& w = h.withList(3).startShown();
        h.select(1);
        const QString typed = h.folder.root() + "/mine", file = typed + ".tl";
        h.fake.dialogs.saveAnswers = {"  " + typed + " ",
                                      typed + ".lst"}; // another extension is kept
        h.click("cmdSave");
        h.click("cmdSave");
        QVERIFY(ReadSavedList(file) == h.list && ReadSavedList(typed + ".lst") == h.list);
        QCOMPARE(GetListRecord(file, 4), kEndMarker);
        const auto& dialogs = h.fake.dialogs.fileDialogs;
        QCOMPARE(dialogs[0].title + "|" + dialogs[0].filter,
                 "Save Tavorin Picturelist|Tavorin Picturelist (*.tl)");
        QCOMPARE(dialogs[1].startPath, typed.left(79));
        QVERIFY(w.ListIndex() == 1 &&
                h.text("lblFilePath").isEmpty()); // saving leaves the selection
        WriteSavedList(file, h.list.mid(1));
        h.fake.dialogs.openAnswers = {file};
        h.click("cmdLoad");
        QCOMPARE(w.ListPaths(), h.list.mid(1));
        QCOMPARE(h.names(), QStringList({"p2.jpg", "p3.jpg"}));
        QCOMPARE(h.text("lblListCount") + " " + h.on("cmdDelete"), "0/2 0");
        QCOMPARE(dialogs[2].title + "|" + dialogs[2].startPath,
                 "Open Tavorin Picturelist|" + (typed + ".lst").left(79));
        h.click("cmdLoad"); // cancelled dialogs change nothing
        h.click("cmdSave");
        QCOMPARE(w.ListPaths(), h.list.mid(1));
        QCOMPARE(h.get(ini::kInitSaveDir), file.left(79));
        QVERIFY(h.messages().isEmpty());
        QStringList many; // at most 32700 pictures are read
        for (int i = 0; i < kMaxLoadRecords + 5; ++i)
            many << QString("/pictures/picture %1.jpg").arg(i);
        QVERIFY(WriteSavedList(file, many).written);
        h.fake.dialogs.openAnswers = {file};
        h.click("cmdLoad");
        QCOMPARE(h.text("lblListCount"), "0/32700");
    }

    void applyWritesTheAutomaticListOnlyWhenChanged() {
        MainWindowHarness h;
        frmMain& w = h.withList(3).startShown();
        const QString automatic = AutomaticListFile(h.m);
        h.set(ini::kListCount, "0");
        w.cmdApply_Click();
        const QByteArray written = ReadFile(automatic);
        QCOMPARE(h.get(ini::kListCount), "3");
        const ino_t before = inodeOf(automatic);
        w.cmdApply_Click(); // the same list: the file stays
        QCOMPARE(inodeOf(automatic), before);
        PutListRecord(automatic, 1, h.list.at(2)); // changed behind its back
        QFile changed(automatic);
        QVERIFY(changed.open(QIODevice::ReadWrite) &&
                changed.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
        changed.close();
        w.cmdApply_Click();
        QCOMPARE(ReadFile(automatic), written);
        h.click("mClear");
        w.cmdApply_Click(); // an empty list: no file, count 0
        QVERIFY(!QFile::exists(automatic) && h.get(ini::kListCount) == "0");
    }

    void unsavedPicturesAreReported() {
        MainWindowHarness h;
        frmMain& w = h.withList(2).startShown();
        const QString longPath =
            h.folder.root() + "/" + QString(120, 'n') + "/" + QString(90, 'm') + ".jpg";
        w.Append_Picture(longPath);
        const QString file = h.folder.root() + "/long.tl",
                      nowhere = h.folder.root() + "/no such folder/mine.tl";
        h.fake.dialogs.saveAnswers = {file, nowhere};
        h.click("cmdSave");
        QVERIFY(h.messages().size() == 1 && h.messages()[0].contains(longPath));
        QVERIFY(ReadSavedList(file) == h.list && w.ListPaths().size() == 3); // the list keeps it
        w.cmdApply_Click(); // Apply tells it too; the schedule counts what was stored
        QVERIFY(h.messages().size() == 2 && h.get(ini::kListCount) == "2" &&
                w.randomOrder().ListTotal == 2);
        h.click("cmdSave"); // a list that cannot be written at all
        QCOMPARE(h.messages().last(), "Could not save the list:'" + nowhere + "'");
        QCOMPARE(h.fake.dialogs.messages.last().icon, MsgIcon::Critical);
        const QString automatic = AutomaticListFile(h.m);
        QFile::remove(automatic);
        QVERIFY(QDir().mkpath(automatic)); // in the way of the automatic list
        w.cmdApply_Click();
        QCOMPARE(h.messages().last(), "Could not save the list:'" + automatic + "'");
        QCOMPARE(w.randomOrder().ListTotal, 0); // what the disk still holds
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
