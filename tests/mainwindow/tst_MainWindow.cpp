// The main window's list and schedule: a user's story through the list and
// its files, the nonsense-settings table, the random order across a restart,
// and the timers ticking under an open message box.
#include "tests/mainwindow/MainWindowHarness.h"

#include "engine/RandomOrder.h"
#include "mainwindow/Schedule.h"

#include <QCheckBox>
#include <QFile>

using namespace tavorin;
using namespace tavorin::test;

namespace {
using M = ChangeMode;
const QString& kMemory = ini::kMemory;
} // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void editSaveLoadAndApplyAList() {
        MainWindowHarness h;
        h.set(ini::kWallpaper, "2");
        frmMain& w = h.withList(4).startShown();
        QCOMPARE(h.on("cmdApplyNow cmdDelete"), "00");
        h.select(2);
        QVERIFY(h.previewShown() && h.text("lblInfo").startsWith("Resolution: 32x24 Pixels"));
        QCOMPARE(h.text("lblListCount") + " " + h.on("cmdUp cmdDown cmdDelete"), "3/4 111");
        h.click("cmdUp");
        QCOMPARE(h.names(), QStringList({"p1.jpg", "p3.jpg", "p2.jpg", "p4.jpg"}));
        QVERIFY(w.ListIndex() == 1 && h.text("lblListCount") == "2/4");
        h.click("mDown");
        QVERIFY(w.ListPaths() == h.list && w.ListIndex() == 2);
        h.select(3);
        w.cmdDown_Click(); // the end stops the move
        QVERIFY(w.ListPaths() == h.list && w.ListIndex() == 3);
        h.select(1);
        w.lstWallpaper_DragDrop(h.lst(), 5, h.lst()->viewport()->height() - 2);
        QCOMPARE(h.names(), QStringList({"p1.jpg", "p3.jpg", "p4.jpg", "p2.jpg"}));
        // A missing picture is reported when selected and removed when confirmed.
        QFile::remove(h.list[0]);
        h.fake.dialogs.answers = {MsgResult::Ok, MsgResult::Yes};
        h.select(0);
        QCOMPARE(h.messages(),
                 QStringList({"File not found:'p1.jpg'",
                              "Are you sure you want to remove p1.jpg from the list?"}));
        QCOMPARE(w.ListPaths(), QStringList({h.list[2], h.list[3], h.list[1]}));
        QVERIFY(w.ListIndex() == -1 && !h.previewShown());
        h.fake.dialogs.defaultAnswer = MsgResult::Yes;
        h.select(2);
        h.click("cmdDelete");
        QCOMPARE(h.names(), QStringList({"p3.jpg", "p4.jpg"}));
        // Saved under the typed name with the list's extension, loaded back.
        const QString typed = h.folder.root() + "/mine", file = typed + ".tl";
        h.fake.dialogs.saveAnswers = {"  " + typed + " "};
        h.click("cmdSave");
        QVERIFY(ReadSavedList(file) == h.list.mid(2, 2));
        QCOMPARE(GetListRecord(file, 3), kEndMarker);
        WriteSavedList(file, {h.list[1], h.list[2], h.list[3]});
        h.fake.dialogs.openAnswers = {file};
        h.click("cmdLoad");
        QCOMPARE(h.names(), QStringList({"p2.jpg", "p3.jpg", "p4.jpg"}));
        QCOMPARE(h.text("lblListCount"), "0/3");
        h.click("cmdLoad"); // a cancelled dialog changes nothing
        QCOMPARE(w.ListPaths(), h.list.mid(1));
        QCOMPARE(h.get(ini::kInitSaveDir), file.left(79));
        // Apply stores the list and the mode; the schedule walks the new list.
        h.find<QComboBox>("cboChange")->setCurrentText(ChangeModeText(M::Frequently));
        w.cboChange_Click();
        h.click("cmdApply");
        QCOMPARE(ReadSavedList(AutomaticListFile(h.m)), h.list.mid(1));
        QCOMPARE(h.get(ini::kChange) + " " + h.get(ini::kListCount), "Frequently 3");
        for (int tick = 0; tick < 4 * h.get(ini::kMin).toInt(); ++tick)
            w.Timer1_Timer();
        QCOMPARE(h.applied(), QStringList({h.list[2], h.list[3], h.list[1], h.list[2]}));
        QCOMPARE(h.get(ini::kLastChangingDate), ChangingDateText(h.fake.clock.Today()));
        h.click("mClear");
        w.cmdApply_Click(); // an empty list: no file, count 0
        QVERIFY(!QFile::exists(AutomaticListFile(h.m)) && h.get(ini::kListCount) == "0");
    }

    void startUpChangesOnceADayAndAtLogOn() {
        struct Row {
            M mode;
            int daysAgo; // the last change; -1: never
            const char *loader, *shutdown;
            int changes;
            bool ended;
        };
        // clang-format off
        const Row rows[] = {
            {M::OnceADay, 0, "0", "0", 0, false},
            {M::OnceADay, 1, "0", "0", 1, false},
            {M::Startup, -1, "0", "1", 0, false},
            {M::Startup, -1, "1", "1", 1, true},
            {M::Startup, -1, "1", "0", 1, false},
        };
        // clang-format on
        for (const Row& r : rows) {
            MainWindowHarness h;
            h.withList(3, r.mode).set(ini::kWallpaper, "2");
            h.set(ini::kLoader, r.loader);
            h.set(ini::kShutdown, r.shutdown);
            const QDate last = h.fake.clock.Today().addDays(-r.daysAgo);
            if (r.daysAgo >= 0)
                h.set(ini::kLastChangingDate, ChangingDateText(last));
            frmMain& w = h.start();
            QCOMPARE(h.applied(), h.list.mid(1, r.changes));
            QVERIFY(w.Ended() == r.ended && h.get(ini::kLoader) == "0");
            QCOMPARE(h.get(ini::kWallpaper), QString::number(2 + r.changes));
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
        w.Timer1_Timer();
        QCOMPARE(h.applied(), QStringList({h.list[4]})); // from 2 with a fresh seed: 5
        QCOMPARE(h.get(ini::kX, kMemory) + h.get(ini::kY, kMemory) + h.get(ini::kZ, kMemory),
                 "1310");
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
        // clang-format off
        const Row rows[] = {
            {s, ini::kMin, "abc", false},
            {s, ini::kWallpaper, "-5", true},
            {s, ini::kWallpaper, "99999999", true},
            {kMemory, ini::kX, "0", true},
            {kMemory, ini::kY, "99999", true},
            {kMemory, ini::kZ, "abc", true},
            {s, ini::kListCount, "99999", true},
            {s, ini::kListCount, "-1", false}, // no picture restored: Apply stores none
            {s, ini::kRandom, "abc", true},
            {s, ini::kChange, "Hourly", false}, // the box keeps "Startup": no Apply
        };
        // clang-format on
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
        h.fake.dialogs.during = [&] {
            for (int i = 0; i < 3; ++i)
                w.Timer1_Timer();
        };
        w.Timer1_Timer();
        QCOMPARE(h.messages(), QStringList({"Image not found:'" + h.list[0] + "'"}));
        QCOMPARE(h.get(ini::kWallpaper), "2"); // the position advances
        h.fake.dialogs.during = nullptr;
        w.Timer1_Timer();
        QCOMPARE(h.applied(), QStringList({h.list[1]}));
        // The preview waits while a missing picture is reported.
        h.click("cmdPreview");
        h.fake.dialogs.answers = {MsgResult::Ok, MsgResult::Yes};
        h.fake.dialogs.during = [&] {
            for (int i = 0; i < 4; ++i)
                w.Timer2_Timer();
        };
        w.Timer2_Timer(); // selects the missing first picture
        QCOMPARE(h.messages().mid(1),
                 QStringList({"File not found:'p1.jpg'",
                              "Are you sure you want to remove p1.jpg from the list?"}));
        QCOMPARE(w.ListPaths(), h.list.mid(1));
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_MainWindow.moc"
