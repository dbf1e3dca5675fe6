#include "tests/mainwindow/MainWindowHarness.h"

#include "engine/ListFile.h"
#include "engine/RandomOrder.h"
#include "mainwindow/Schedule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {

// A harness with `count` pictures in the automatic list and the window's
// mode set up in the settings.
struct Scheduled : MainWindowHarness {
    QStringList list;
    Scheduled(int count, const QString& mode, const QString& min = QStringLiteral("1")) {
        list = pictures(count);
        storeAutomaticList(list);
        set(QStringLiteral("change"), mode);
        set(QStringLiteral("min"), min);
        set(QStringLiteral("random"), QStringLiteral("0"));
    }
};

} // namespace

class tst_frmMainSchedule : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void loadDataReportsItsStepsInOrder();
    void logOnEntryFollowsStartup();
    void modesWithoutStartingWithTheSystem();
    void intervalBoxesFromMin_data();
    void intervalBoxesFromMin();
    void scrollBarsKeepAtLeastOneMinute();
    void modeChoiceSetsShutdownAndPreview();
    void frequentlyChangesAtSecondAndFourthTick();
    void applyRestartsTheMinuteCount();
    void timerRunsOnlyInFrequently();
    void listOrderWalksAndWraps();
    void storedPositionPastTheListIsReduced();
    void emptyRecordAtStoredPositionStartsAgain();
    void onceADayComparesTodaysDate();
    void startupModeWithoutLoaderChangesNothing();
    void logOnStartWithShutdownEndsBeforeShowing();
    void logOnStartWithoutShutdownStaysRunning();
    void randomPickFollowsTheStoredState();
    void randomOrderContinuesAcrossARestart();
    void settingsNonsenseNeverHangs_data();
    void settingsNonsenseNeverHangs();
    void applyNowKeepsThePosition();
    void minuteTicksWaitForAnOpenMessage();
    void previewMovesEverySecondsInListOrder();
    void previewInRandomOrderStaysInsideTheList();
    void closeBoxMinimisesAndExitStoresTheState();
};

void tst_frmMainSchedule::loadDataReportsItsStepsInOrder() {
    MainWindowHarness h;
    h.start();
    QCOMPARE(h.splash.statuses,
             QStringList({"Loading Settings......", "Loading Wallpaper List......",
                          "Setting up interface......"}));
    QCOMPARE(h.w->size(), QSize(445, 271));
}

void tst_frmMainSchedule::logOnEntryFollowsStartup() {
    MainWindowHarness h;
    h.start();
    const QString key = FakeRegistry::KeyId(
        RootKey::LocalMachine, QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
    QCOMPARE(h.fake.registry.values.value(key + QStringLiteral("|tavorin")),
             h.m.App_Path() + QStringLiteral("/Loader.exe"));

    h.set(QStringLiteral("Startup"), QStringLiteral("0"));
    h.start();
    QVERIFY(!h.fake.registry.values.contains(key + QStringLiteral("|tavorin")));
    QVERIFY(h.fake.registry.log.last().startsWith(QStringLiteral("delete")));
}

void tst_frmMainSchedule::modesWithoutStartingWithTheSystem() {
    MainWindowHarness h;
    h.set(QStringLiteral("Startup"), QStringLiteral("0"));
    frmMain& w = h.start();
    QCOMPARE(w.cboChange->count(), 3);
    QCOMPARE(w.cboChange->itemText(0), QStringLiteral("Once a day"));
    QCOMPARE(w.ChangeMode(), QStringLiteral("Once a day"));

    // A stored mode that is not offered leaves the box as it was.
    MainWindowHarness h2;
    h2.set(QStringLiteral("Startup"), QStringLiteral("0"));
    h2.set(QStringLiteral("change"), QStringLiteral("Startup"));
    QCOMPARE(h2.start().ChangeMode(), QStringLiteral("Once a day"));

    MainWindowHarness h3;
    h3.set(QStringLiteral("change"), QStringLiteral("Frequently"));
    frmMain& w3 = h3.start();
    QCOMPARE(w3.cboChange->count(), 4);
    QCOMPARE(w3.ChangeMode(), QStringLiteral("Frequently"));
    QVERIFY(w3.txtHour->isEnabled());
    QVERIFY(w3.scrMin->isEnabled());
}

void tst_frmMainSchedule::intervalBoxesFromMin_data() {
    QTest::addColumn<QString>("min");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("minutes");
    QTest::newRow("90") << "90"
                        << "1"
                        << "30";
    QTest::newRow("45") << "45"
                        << "0"
                        << "45";
    QTest::newRow("1") << "1"
                       << "0"
                       << "1";
    QTest::newRow("1439") << "1439"
                          << "23"
                          << "59";
    QTest::newRow("abc keeps the design") << "abc"
                                          << "0"
                                          << "30";
}

void tst_frmMainSchedule::intervalBoxesFromMin() {
    QFETCH(QString, min);
    MainWindowHarness h;
    h.set(QStringLiteral("change"), QStringLiteral("Never (manually only)"));
    h.set(QStringLiteral("min"), min);
    frmMain& w = h.start();
    QTEST(w.txtHour->text(), "hours");
    QTEST(w.txtMin->text(), "minutes");
    // Box and bar agree: the box shows the maximum minus the bar.
    QCOMPARE(w.txtHour->text().toInt(), 23 - w.scrHour->value());
    QCOMPARE(w.txtMin->text().toInt(), 59 - w.scrMin->value());
}

void tst_frmMainSchedule::scrollBarsKeepAtLeastOneMinute() {
    MainWindowHarness h;
    h.set(QStringLiteral("change"), QStringLiteral("Frequently"));
    h.set(QStringLiteral("min"), QStringLiteral("60"));
    frmMain& w = h.start();
    QCOMPARE(w.txtMin->text(), QStringLiteral("0"));
    w.scrHour->setValue(23); // 0 hours
    QCOMPARE(w.txtHour->text(), QStringLiteral("0"));
    QCOMPARE(w.txtMin->text(), QStringLiteral("1"));
    w.scrMin->setValue(59); // the very bottom
    QCOMPARE(w.txtMin->text(), QStringLiteral("1"));
    w.scrHour->setValue(0);
    QCOMPARE(w.txtHour->text(), QStringLiteral("23"));
    w.scrMin->setValue(59);
    QCOMPARE(w.txtMin->text(), QStringLiteral("0"));
    w.cmdApply_Click();
    QCOMPARE(h.get(QStringLiteral("min")), QStringLiteral("1380"));
}

void tst_frmMainSchedule::modeChoiceSetsShutdownAndPreview() {
    Scheduled h(2, QStringLiteral("Once a day"));
    frmMain& w = h.start();
    w.chkShutdown->setChecked(true);
    w.cboChange->setCurrentText(QStringLiteral("Frequently"));
    w.cboChange_Click();
    QVERIFY(!w.chkShutdown->isChecked());
    QVERIFY(!w.chkShutdown->isEnabled());
    QVERIFY(w.cmdPreview->isEnabled());
    QVERIFY(w.txtMin->isEnabled());

    w.cmdPreview_Click();
    QCOMPARE(w.cmdPreview->text(), QStringLiteral("S&top"));
    w.cboChange->setCurrentText(QStringLiteral("Startup"));
    w.cboChange_Click();
    QCOMPARE(w.cmdPreview->text(), QStringLiteral("Pre&view")); // stopped
    QVERIFY(!w.Timer2.isActive());
    QVERIFY(!w.cmdPreview->isEnabled());
    QVERIFY(w.chkShutdown->isEnabled());
    QVERIFY(!w.txtMin->isEnabled());

    w.cboChange->setCurrentText(QStringLiteral("Never (manually only)"));
    w.cboChange_Click();
    QVERIFY(!w.chkShutdown->isEnabled());
    QVERIFY(!w.lblShutdown->isEnabled());
}

void tst_frmMainSchedule::frequentlyChangesAtSecondAndFourthTick() {
    Scheduled h(3, QStringLiteral("Frequently"), QStringLiteral("2"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("1"));
    frmMain& w = h.start();
    QCOMPARE(h.get(QStringLiteral("min")), QStringLiteral("2"));
    QVERIFY(w.Timer1.isActive());
    QCOMPARE(w.Timer1.interval(), 60000);
    QVERIFY(h.applied().isEmpty());
    w.Timer1_Timer();
    QVERIFY(h.applied().isEmpty());
    w.Timer1_Timer();
    QCOMPARE(h.applied(), QStringList({h.list[0]}));
    w.Timer1_Timer();
    QCOMPARE(h.applied().size(), 1);
    w.Timer1_Timer();
    QCOMPARE(h.applied(), QStringList({h.list[0], h.list[1]}));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("3"));
}

void tst_frmMainSchedule::applyRestartsTheMinuteCount() {
    Scheduled h(3, QStringLiteral("Frequently"), QStringLiteral("2"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("1"));
    frmMain& w = h.start();
    w.Timer1_Timer();
    QCOMPARE(w.MinuteCount(), 1);
    w.cmdApply_Click();
    QCOMPARE(w.MinuteCount(), 0);
    w.Timer1_Timer();
    QVERIFY(h.applied().isEmpty());
    w.Timer1_Timer();
    QCOMPARE(h.applied().size(), 1);
}

void tst_frmMainSchedule::timerRunsOnlyInFrequently() {
    Scheduled h(3, QStringLiteral("Frequently"));
    frmMain& w = h.start();
    QVERIFY(w.Timer1.isActive());
    w.cboChange->setCurrentText(QStringLiteral("Never (manually only)"));
    w.cboChange_Click();
    w.cmdApply_Click();
    QVERIFY(!w.Timer1.isActive());
    w.Resume_Schedule(); // the tray's enable command: not in this mode
    QVERIFY(!w.Timer1.isActive());
    w.cboChange->setCurrentText(QStringLiteral("Frequently"));
    w.cboChange_Click();
    w.cmdApply_Click();
    QVERIFY(w.Timer1.isActive());
    w.Timer1.stop();
    // A mode picked in the box without Apply does not stop the schedule.
    w.cboChange->setCurrentText(QStringLiteral("Once a day"));
    w.cboChange_Click();
    w.Resume_Schedule();
    QVERIFY(w.Timer1.isActive());

    Scheduled once(3, QStringLiteral("Once a day"));
    QVERIFY(!once.start().Timer1.isActive());
}

void tst_frmMainSchedule::listOrderWalksAndWraps() {
    Scheduled h(3, QStringLiteral("Frequently"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("3"));
    frmMain& w = h.start();
    w.Timer1_Timer();
    QCOMPARE(h.applied(), QStringList({h.list[2]}));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("4"));
    w.Timer1_Timer();
    QCOMPARE(h.applied(), QStringList({h.list[2], h.list[0]}));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("2"));
    QCOMPARE(h.get(QStringLiteral("LastChangingDate")), ChangingDateText(h.fake.clock.Today()));
}

void tst_frmMainSchedule::storedPositionPastTheListIsReduced() {
    Scheduled h(3, QStringLiteral("Frequently"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("7"));
    h.start().Timer1_Timer();
    QCOMPARE(h.applied(), QStringList({h.list[0]}));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("2"));
}

void tst_frmMainSchedule::emptyRecordAtStoredPositionStartsAgain() {
    Scheduled h(3, QStringLiteral("Frequently"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("3"));
    frmMain& w = h.start();
    // The automatic list shrinks behind the schedule's back.
    QFile::resize(AutomaticListFile(h.m), 2 * kRecordLength);
    w.Timer1_Timer();
    QCOMPARE(h.applied(), QStringList({h.list[0]}));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("2"));
}

void tst_frmMainSchedule::onceADayComparesTodaysDate() {
    Scheduled same(3, QStringLiteral("Once a day"));
    same.set(QStringLiteral("Wallpaper"), QStringLiteral("1"));
    same.set(QStringLiteral("LastChangingDate"), ChangingDateText(same.fake.clock.Today()));
    same.start();
    QVERIFY(same.applied().isEmpty());

    Scheduled other(3, QStringLiteral("Once a day"));
    other.set(QStringLiteral("Wallpaper"), QStringLiteral("2"));
    other.set(QStringLiteral("LastChangingDate"),
              ChangingDateText(other.fake.clock.Today().addDays(-1)));
    frmMain& w = other.start();
    QCOMPARE(other.applied(), QStringList({other.list[1]}));
    const QString today = ChangingDateText(other.fake.clock.Today());
    QCOMPARE(other.get(QStringLiteral("LastChangingDate")), today);
    w.cmdApply_Click(); // same day again: nothing
    QCOMPARE(other.applied().size(), 1);
    other.fake.clock.now = other.fake.clock.now.addDays(1);
    w.cmdApply_Click();
    QCOMPARE(other.applied().size(), 2);

    Scheduled absent(3, QStringLiteral("Once a day"));
    absent.set(QStringLiteral("Wallpaper"), QStringLiteral("1"));
    absent.start();
    QCOMPARE(absent.applied().size(), 1);
}

void tst_frmMainSchedule::startupModeWithoutLoaderChangesNothing() {
    Scheduled h(3, QStringLiteral("Startup"));
    h.set(QStringLiteral("shutdown"), QStringLiteral("1"));
    frmMain& w = h.start();
    QVERIFY(h.applied().isEmpty());
    QVERIFY(!w.Ended());
    QVERIFY(!w.Timer1.isActive());
}

void tst_frmMainSchedule::logOnStartWithShutdownEndsBeforeShowing() {
    Scheduled h(3, QStringLiteral("Startup"));
    h.set(QStringLiteral("shutdown"), QStringLiteral("1"));
    h.set(QStringLiteral("Loader"), QStringLiteral("1"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("2"));
    frmMain& w = h.start();
    QCOMPARE(h.applied(), QStringList({h.list[1]}));
    QVERIFY(w.Ended());
    QVERIFY(!w.isVisible());
    QCOMPARE(h.get(QStringLiteral("Loader")), QStringLiteral("0"));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("3"));
    QCOMPARE(h.get(QStringLiteral("X"), QStringLiteral("Memory")), QStringLiteral("0"));
}

void tst_frmMainSchedule::logOnStartWithoutShutdownStaysRunning() {
    Scheduled h(3, QStringLiteral("Startup"));
    h.set(QStringLiteral("shutdown"), QStringLiteral("0"));
    h.set(QStringLiteral("Loader"), QStringLiteral("1"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("1"));
    frmMain& w = h.start();
    QCOMPARE(h.applied().size(), 1);
    QVERIFY(!w.Ended());
    QCOMPARE(h.get(QStringLiteral("Loader")), QStringLiteral("0"));
}

void tst_frmMainSchedule::randomPickFollowsTheStoredState() {
    Scheduled h(5, QStringLiteral("Frequently"));
    h.set(QStringLiteral("random"), QStringLiteral("1"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("2"));
    for (const char* key : {"X", "Y", "Z"})
        h.set(QLatin1String(key), QStringLiteral("0"), QStringLiteral("Memory"));
    frmMain& w = h.start();
    QCOMPARE(h.get(QStringLiteral("Click")), QStringLiteral("1"));
    w.Timer1_Timer();
    // From position 2 with a fresh seed the order goes to 5.
    QCOMPARE(h.applied(), QStringList({h.list[4]}));
    QCOMPARE(h.get(QStringLiteral("X"), QStringLiteral("Memory")), QStringLiteral("13"));
    QCOMPARE(h.get(QStringLiteral("Y"), QStringLiteral("Memory")), QStringLiteral("1"));
    QCOMPARE(h.get(QStringLiteral("Z"), QStringLiteral("Memory")), QStringLiteral("0"));
    QCOMPARE(h.get(QStringLiteral("Click")), QStringLiteral("0"));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("6"));
    for (int i = 0; i < 20; ++i)
        w.Timer1_Timer();
    const QStringList all = h.applied();
    for (int i = 1; i < all.size(); ++i)
        QVERIFY2(all[i] != all[i - 1], "the same picture twice in a row");
}

void tst_frmMainSchedule::randomOrderContinuesAcrossARestart() {
    Scheduled h(6, QStringLiteral("Frequently"));
    h.set(QStringLiteral("random"), QStringLiteral("1"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("1"));
    frmMain& first = h.start();
    first.Timer1_Timer(); // absent X, Y, Z are repaired on the way
    first.Timer1_Timer();
    QCOMPARE(h.applied().size(), 2);
    first.Timer1_Timer();
    first.mExit_Click();
    QVERIFY(first.Ended());
    const RandomOrder kept = first.randomOrder();
    QCOMPARE(h.get(QStringLiteral("X"), QStringLiteral("Memory")), QString::number(kept.X));
    QCOMPARE(h.get(QStringLiteral("Y"), QStringLiteral("Memory")), QString::number(kept.Y));
    QCOMPARE(h.get(QStringLiteral("Z"), QStringLiteral("Memory")), QString::number(kept.Z));

    // The next run picks from the stored state, as the order itself would.
    const int stored = h.get(QStringLiteral("Wallpaper")).toInt();
    RandomOrder expected = kept;
    expected.ListTotal = 6;
    expected.Reseed = true; // Apply at start-up
    expected.CurrentIndex = WrapPosition(stored, 6);
    expected.Random_Index(nullptr);
    int position = expected.CurrentIndex;
    if (position == stored)
        position = StepPastStored(position, 6);

    h.fake.wallpaper.calls.clear();
    frmMain& second = h.start();
    second.Timer1_Timer();
    QCOMPARE(h.applied(), QStringList({h.list[position - 1]}));
}

void tst_frmMainSchedule::settingsNonsenseNeverHangs_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("changes"); // the schedule still changes the wallpaper
    QTest::newRow("min abc") << "Settings"
                             << "min"
                             << "abc" << false;
    QTest::newRow("min 0") << "Settings"
                           << "min"
                           << "0" << false;
    QTest::newRow("Wallpaper -5") << "Settings"
                                  << "Wallpaper"
                                  << "-5" << true;
    QTest::newRow("Wallpaper abc") << "Settings"
                                   << "Wallpaper"
                                   << "abc" << true;
    QTest::newRow("Wallpaper huge") << "Settings"
                                    << "Wallpaper"
                                    << "99999999" << true;
    QTest::newRow("X 0") << "Memory"
                         << "X"
                         << "0" << true;
    QTest::newRow("X -7") << "Memory"
                          << "X"
                          << "-7" << true;
    QTest::newRow("Y huge") << "Memory"
                            << "Y"
                            << "99999" << true;
    QTest::newRow("Z abc") << "Memory"
                           << "Z"
                           << "abc" << true;
    QTest::newRow("ListCount 99999") << "Settings"
                                     << "ListCount"
                                     << "99999" << true;
    // No picture restored: the next Apply stores an empty list.
    QTest::newRow("ListCount -1") << "Settings"
                                  << "ListCount"
                                  << "-1" << false;
    QTest::newRow("random abc") << "Settings"
                                << "random"
                                << "abc" << true;
    // The box keeps "Startup": no Apply at start, the schedule is idle.
    QTest::newRow("change nonsense") << "Settings"
                                     << "change"
                                     << "Hourly" << false;
}

void tst_frmMainSchedule::settingsNonsenseNeverHangs() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, changes);
    Scheduled h(4, QStringLiteral("Frequently"));
    h.set(QStringLiteral("random"), QStringLiteral("1"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("1"));
    h.start(); // Apply stores a sound state first
    h.set(key, value, section);
    // The next start reads the nonsense; the schedule goes on regardless.
    frmMain& w = h.start();
    QVERIFY(!w.Ended());
    QVERIFY(h.listsParallel());
    QVERIFY(h.names().size() <= 4);
    h.set(key, value, section); // again, in case Apply overwrote it
    for (int i = 0; i < 5; ++i)
        w.Timer1_Timer();
    for (const QString& path : h.applied())
        QVERIFY(h.list.contains(path));
    QCOMPARE(!h.applied().isEmpty(), changes);
    if (changes)
        QVERIFY(WholeNumber(h.get(QStringLiteral("Wallpaper")), 1, 5).has_value());
    if (changes && key != QLatin1String("random")) {
        for (const char* memory : {"X", "Y", "Z"})
            QVERIFY(
                WholeNumber(h.get(QLatin1String(memory), QStringLiteral("Memory")), -32768, 32767));
    }
}

void tst_frmMainSchedule::minuteTicksWaitForAnOpenMessage() {
    Scheduled h(3, QStringLiteral("Frequently"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("1"));
    QFile::remove(h.list[0]); // the desktop refuses it: "Image not found"
    TickingDialogs dialogs(h.fake.dialogs);
    Services services{h.fake.services.folder, dialogs,         h.fake.registry, h.fake.wallpaper,
                      h.fake.shell,           h.fake.instance, h.fake.clock,    h.fake.tray};
    Module1 module(services);
    frmMain w(module, h.splash);
    w.LoadData();
    dialogs.during = [&] {
        for (int i = 0; i < 3; ++i)
            w.Timer1_Timer();
    };
    w.Timer1_Timer();
    QCOMPARE(h.fake.dialogs.messages.size(), 1);
    QCOMPARE(h.fake.dialogs.messages[0].text,
             QStringLiteral("Image not found:'") + h.list[0] + QLatin1Char('\''));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("2")); // the position advances
    dialogs.during = nullptr;
    w.Timer1_Timer();
    QCOMPARE(h.applied(), QStringList({h.list[1]}));
}

void tst_frmMainSchedule::applyNowKeepsThePosition() {
    Scheduled h(3, QStringLiteral("Never (manually only)"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("2"));
    frmMain& w = h.start();
    w.lstWallpaper->setCurrentRow(2);
    w.cmdApplyNow_Click();
    QCOMPARE(h.applied(), QStringList({h.list[2]}));
    QCOMPARE(h.get(QStringLiteral("Wallpaper")), QStringLiteral("2"));
    QVERIFY(h.get(QStringLiteral("LastChangingDate")).isEmpty());
}

void tst_frmMainSchedule::previewMovesEverySecondsInListOrder() {
    Scheduled h(4, QStringLiteral("Frequently"), QStringLiteral("3"));
    frmMain& w = h.start();
    QVERIFY(w.cmdPreview->isEnabled());
    w.cmdPreview_Click();
    QVERIFY(w.Timer2.isActive());
    QCOMPARE(w.Timer2.interval(), 1000);
    QList<int> selections;
    for (int second = 1; second <= 15; ++second) {
        w.Timer2_Timer();
        if (second % 3 == 0)
            selections << w.ListIndex();
        else
            QCOMPARE(w.ListIndex(), selections.isEmpty() ? -1 : selections.last());
    }
    QCOMPARE(selections, QList<int>({0, 1, 2, 3, 0}));
    w.cmdPreview_Click();
    QCOMPARE(w.cmdPreview->text(), QStringLiteral("Pre&view"));
    QVERIFY(!w.Timer2.isActive());
    // The next preview goes on where this one stopped.
    w.cmdPreview_Click();
    for (int second = 0; second < 3; ++second)
        w.Timer2_Timer();
    QCOMPARE(w.ListIndex(), 1);
    QVERIFY(h.applied().isEmpty()); // the preview never sets the wallpaper
    QVERIFY(h.get(QStringLiteral("Wallpaper")).isEmpty());
}

void tst_frmMainSchedule::previewInRandomOrderStaysInsideTheList() {
    Scheduled h(5, QStringLiteral("Frequently"));
    h.set(QStringLiteral("random"), QStringLiteral("1"));
    h.set(QStringLiteral("Wallpaper"), QStringLiteral("5"));
    frmMain& w = h.start();
    w.Timer1_Timer(); // the schedule stands at the end of the list
    h.fake.dialogs.defaultAnswer = MsgResult::No;
    // The list shrinks to three pictures without being applied.
    w.lstWallpaper->setCurrentRow(4);
    w.mDelete_Click();
    w.lstWallpaper->setCurrentRow(3);
    w.mDelete_Click();
    QCOMPARE(w.lstWallpaper->count(), 5); // answered No
    h.fake.dialogs.defaultAnswer = MsgResult::Yes;
    w.lstWallpaper->setCurrentRow(4);
    w.mDelete_Click();
    w.lstWallpaper->setCurrentRow(3);
    w.mDelete_Click();
    QCOMPARE(w.lstWallpaper->count(), 3);
    w.cmdPreview_Click();
    int previous = -2;
    for (int step = 0; step < 12; ++step) {
        w.Timer2_Timer();
        const int index = w.ListIndex();
        QVERIFY(index >= 0 && index < 3);
        QVERIFY(index != previous);
        previous = index;
    }
    // Two pictures: the order cannot pick, the selection stays in the list.
    w.lstWallpaper->setCurrentRow(2);
    w.mDelete_Click();
    for (int step = 0; step < 3; ++step) {
        w.Timer2_Timer();
        QVERIFY(w.ListIndex() >= 0 && w.ListIndex() < 2);
    }
    QVERIFY(h.applied().size() == 1);
}

void tst_frmMainSchedule::closeBoxMinimisesAndExitStoresTheState() {
    Scheduled h(3, QStringLiteral("Frequently"));
    frmMain& w = h.start();
    w.show();
    QVERIFY(w.Form_QueryUnload(true));
    QCOMPARE(w.Background().State(), TrayState::Background);
    QVERIFY(!w.Ended());
    h.fake.tray.exists = true;
    h.set(QStringLiteral("X"), QStringLiteral("77"), QStringLiteral("Memory"));
    w.cmdExit_Click();
    QVERIFY(w.Ended());
    QVERIFY(!w.Timer1.isActive());
    QVERIFY(!h.fake.tray.exists);
    QCOMPARE(h.get(QStringLiteral("X"), QStringLiteral("Memory")),
             QString::number(w.randomOrder().X));
    // A close request that is not the close box unloads.
    MainWindowHarness other;
    frmMain& w2 = other.start();
    QVERIFY(!w2.Form_QueryUnload(false));
    QVERIFY(w2.Ended());
}

QTEST_MAIN(tst_frmMainSchedule)
#include "tst_frmMainSchedule.moc"
