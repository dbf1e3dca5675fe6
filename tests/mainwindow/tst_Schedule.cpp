#include "mainwindow/Schedule.h"

#include <QDate>
#include <QLocale>
#include <QTest>

using namespace tavorin;

class tst_Schedule : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void modesOfferStartupOnlyWithTheSystem();
    void wholeNumber_data();
    void wholeNumber();
    void intervalFromBoxes_data();
    void intervalFromBoxes();
    void splitInterval_data();
    void splitInterval();
    void storedInterval_data();
    void storedInterval();
    void wrapPosition_data();
    void wrapPosition();
    void stepPastStoredWrapsToFirst();
    void dayChangeComparesShortDate();
    void listButtons_data();
    void listButtons();
    void listMenu();
    void dropTarget_data();
    void dropTarget();
    void previewIndexStaysInList_data();
    void previewIndexStaysInList();
};

void tst_Schedule::modesOfferStartupOnlyWithTheSystem() {
    QCOMPARE(ChangeModes(true),
             QStringList({"Startup", "Once a day", "Frequently", "Never (manually only)"}));
    QCOMPARE(ChangeModes(false),
             QStringList({"Once a day", "Frequently", "Never (manually only)"}));
}

void tst_Schedule::wholeNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -999: none
    QTest::newRow("plain") << "7" << 7;
    QTest::newRow("spaces") << " 7 " << 7;
    QTest::newRow("empty") << "" << -999;
    QTest::newRow("letters") << "abc" << -999;
    QTest::newRow("fraction") << "2.5" << -999;
    QTest::newRow("too large") << "99999" << -999;
    QTest::newRow("too small") << "-5" << -999;
    QTest::newRow("whole with point") << "3.0" << 3;
    QTest::newRow("infinite") << "inf" << -999;
}

void tst_Schedule::wholeNumber() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto value = WholeNumber(text, 0, 32767);
    if (expected == -999)
        QVERIFY(!value);
    else
        QCOMPARE(value.value(), expected);
}

void tst_Schedule::intervalFromBoxes_data() {
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<int>("expected");
    QTest::newRow("0 h 2 min") << "0"
                               << "2" << 2;
    QTest::newRow("1 h 30 min") << "1"
                                << "30" << 90;
    QTest::newRow("23 h 59 min") << "23"
                                 << "59" << 1439;
    QTest::newRow("typed zero") << "0"
                                << "0" << 1;
    QTest::newRow("empty boxes") << ""
                                 << "" << 1;
    QTest::newRow("letters") << "x"
                             << "5" << 5;
    QTest::newRow("too long") << "40"
                              << "0" << 1439;
}

void tst_Schedule::intervalFromBoxes() {
    QFETCH(QString, hours);
    QFETCH(QString, minutes);
    QFETCH(int, expected);
    QCOMPARE(IntervalFromBoxes(hours, minutes), expected);
}

void tst_Schedule::splitInterval_data() {
    QTest::addColumn<QString>("min");
    QTest::addColumn<int>("hours"); // -1: nothing
    QTest::addColumn<int>("minutes");
    QTest::newRow("90") << "90" << 1 << 30;
    QTest::newRow("45") << "45" << 0 << 45;
    QTest::newRow("60") << "60" << 1 << 0;
    QTest::newRow("0 is one minute") << "0" << 0 << 1;
    QTest::newRow("past a day") << "5000" << 23 << 59;
    QTest::newRow("abc") << "abc" << -1 << -1;
    QTest::newRow("empty") << "" << -1 << -1;
}

void tst_Schedule::splitInterval() {
    QFETCH(QString, min);
    QFETCH(int, hours);
    QFETCH(int, minutes);
    const auto parts = SplitInterval(min);
    if (hours < 0) {
        QVERIFY(!parts);
        return;
    }
    QVERIFY(parts);
    QCOMPARE(parts->hours, hours);
    QCOMPARE(parts->minutes, minutes);
}

void tst_Schedule::storedInterval_data() {
    QTest::addColumn<QString>("min");
    QTest::addColumn<int>("expected"); // 0: none
    QTest::newRow("2") << "2" << 2;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("abc") << "abc" << 0;
}

void tst_Schedule::storedInterval() {
    QFETCH(QString, min);
    QFETCH(int, expected);
    QCOMPARE(StoredInterval(min).value_or(0), expected);
}

void tst_Schedule::wrapPosition_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("expected");
    QTest::newRow("inside") << 3 << 3 << 3;
    QTest::newRow("one past") << 4 << 3 << 1;
    QTest::newRow("7 of 3") << 7 << 3 << 1;
    QTest::newRow("9 of 3") << 9 << 3 << 3;
    QTest::newRow("large") << 32767 << 5 << 2;
}

void tst_Schedule::wrapPosition() {
    QFETCH(int, stored);
    QFETCH(int, total);
    QFETCH(int, expected);
    QCOMPARE(WrapPosition(stored, total), expected);
}

void tst_Schedule::stepPastStoredWrapsToFirst() {
    QCOMPARE(StepPastStored(2, 5), 3);
    QCOMPARE(StepPastStored(5, 5), 1);
}

void tst_Schedule::dayChangeComparesShortDate() {
    const QDate today(2026, 12, 6);
    const QString text = QLocale::system().toString(today, QLocale::ShortFormat);
    QCOMPARE(ChangingDateText(today), text);
    QVERIFY(!DayChangeDue(text, today));
    QVERIFY(DayChangeDue(text, today.addDays(1)));
    QVERIFY(DayChangeDue(QString(), today));
}

void tst_Schedule::listButtons_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("remove");
    QTest::newRow("empty") << -1 << 0 << false << false << false;
    QTest::newRow("none selected") << -1 << 3 << false << false << false;
    QTest::newRow("first") << 0 << 3 << false << true << true;
    QTest::newRow("middle") << 1 << 3 << true << true << true;
    QTest::newRow("last") << 2 << 3 << true << false << true;
    QTest::newRow("single") << 0 << 1 << false << false << true;
}

void tst_Schedule::listButtons() {
    QFETCH(int, index);
    QFETCH(int, count);
    const ListButtonStates states = ListButtons(index, count);
    QTEST(states.up, "up");
    QTEST(states.down, "down");
    QTEST(states.remove, "remove");
}

void tst_Schedule::listMenu() {
    QCOMPARE(ListMenu(-1, 0).selectionEntries, false);
    QCOMPARE(ListMenu(-1, 0).clearEntries, false);
    QCOMPARE(ListMenu(-1, 2).selectionEntries, false);
    QCOMPARE(ListMenu(-1, 2).clearEntries, true);
    QCOMPARE(ListMenu(1, 2).selectionEntries, true);
}

void tst_Schedule::dropTarget_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected"); // -1: nothing happens
    QTest::newRow("own row") << 1 << 1 << 3 << -1;
    QTest::newRow("empty list") << 0 << -1 << 0 << -1;
    QTest::newRow("other row") << 0 << 2 << 3 << 0;
    QTest::newRow("below the last") << 3 << 0 << 3 << 2;
    QTest::newRow("nothing selected") << 1 << -1 << 3 << 1;
}

void tst_Schedule::dropTarget() {
    QFETCH(int, row);
    QFETCH(int, selected);
    QFETCH(int, count);
    QFETCH(int, expected);
    QCOMPARE(DropTarget(row, selected, count).value_or(-1), expected);
}

void tst_Schedule::previewIndexStaysInList_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("inside") << 3 << 5 << 2;
    QTest::newRow("shrunk list") << 7 << 5 << 1;
    QTest::newRow("never picked") << 0 << 2 << 1;
    QTest::newRow("empty list") << 3 << 0 << -1;
}

void tst_Schedule::previewIndexStaysInList() {
    QFETCH(int, current);
    QFETCH(int, count);
    QFETCH(int, expected);
    QCOMPARE(PreviewIndexFromPick(current, count), expected);
}

QTEST_APPLESS_MAIN(tst_Schedule)
#include "tst_Schedule.moc"
