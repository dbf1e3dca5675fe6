// The schedule's rules without a window, one table a rule.
#include "mainwindow/Schedule.h"

#include <QDate>
#include <QLocale>
#include <QTest>

using namespace tavorin;

namespace {
constexpr int kNone = -999; // the rule gives nothing
} // namespace

class tst_Schedule : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void modesOfferStartupOnlyWithTheSystem() {
        using M = ChangeMode;
        QCOMPARE(ChangeModes(true), QList<M>({M::Startup, M::OnceADay, M::Frequently, M::Never}));
        QCOMPARE(ChangeModes(false), QList<M>({M::OnceADay, M::Frequently, M::Never}));
    }

    void numbersFromSettingsAndBoxes() {
        struct Row {
            const char* text;
            int whole;  // WholeNumber(text, 0, 32767)
            int box;    // BoxNumber(text)
            int stored; // StoredInterval(text)
        };
        const Row rows[] = {
            {"7", 7, 7, 7},
            {" 7 ", 7, 7, 7},
            {"abc", kNone, 0, kNone},
            {"2.5", kNone, 3, kNone},
            {"99999", kNone, 99999, kNone},
            {"-5", kNone, -5, kNone},
            {"3.0", 3, 3, 3},
            {"0", 0, 0, kNone},
            {"32767", 32767, 32767, 32767},
        };
        for (const Row& r : rows) {
            QCOMPARE(WholeNumber(QString::fromLatin1(r.text), 0, 32767).value_or(kNone), r.whole);
            QCOMPARE(BoxNumber(QString::fromLatin1(r.text)), r.box);
            QCOMPARE(StoredInterval(QString::fromLatin1(r.text)).value_or(kNone), r.stored);
        }
        QCOMPARE(WholeNumber("-32768", -32768, 32767).value_or(kNone), -32768);
        QCOMPARE(WholeNumber("-32769", -32768, 32767).value_or(kNone), kNone);
    }

    void intervalFromBoxesAndBack() {
        struct Row {
            const char *hours, *minutes;
            int stored;
        };
        const Row boxes[] = {{"0", "2", 2}, {"1", "30", 90}, {"23", "59", 1439}, {"0", "0", 1},
                             {"", "", 1},   {"x", "5", 5},   {"40", "0", 1439},  {"0", "1", 1}};
        for (const Row& r : boxes)
            QCOMPARE(IntervalFromBoxes(r.hours, r.minutes), r.stored);
        struct Split {
            const char* min;
            int hours, minutes; // hours kNone: nothing
        };
        const Split splits[] = {{"90", 1, 30},     {"45", 0, 45},    {"60", 1, 0},
                                {"0", 0, 1},       {"1439", 23, 59}, {"5000", 23, 59},
                                {"abc", kNone, 0}, {"", kNone, 0},   {"59.6", 1, 0}};
        for (const Split& s : splits) {
            const auto parts = SplitInterval(s.min);
            QCOMPARE(parts ? parts->hours : kNone, s.hours);
            if (parts)
                QCOMPARE(parts->minutes, s.minutes);
        }
    }

    void positionsWrapAroundTheList() {
        struct Row {
            int stored, total, wrapped;
        };
        const Row rows[] = {{1, 3, 1}, {3, 3, 3},     {4, 3, 1}, {7, 3, 1},
                            {9, 3, 3}, {32767, 5, 2}, {5, 0, 5}};
        for (const Row& r : rows)
            QCOMPARE(WrapPosition(r.stored, r.total), r.wrapped);
        QCOMPARE(StepPastStored(2, 5), 3);
        QCOMPARE(StepPastStored(4, 5), 5);
        QCOMPARE(StepPastStored(5, 5), 1);
        struct Pick {
            int current, count, index;
        };
        const Pick picks[] = {{3, 5, 2}, {7, 5, 1}, {0, 2, 1}, {5, 5, 4}, {1, 1, 0}, {3, 0, -1}};
        for (const Pick& p : picks)
            QCOMPARE(PreviewIndexFromPick(p.current, p.count), p.index);
    }

    void dayChangeComparesTheShortDate() {
        const QDate today(2026, 12, 6);
        const QString text = QLocale::system().toString(today, QLocale::ShortFormat);
        QCOMPARE(ChangingDateText(today), text);
        QVERIFY(!DayChangeDue(text, today));
        QVERIFY(DayChangeDue(text, today.addDays(1)));
        QVERIFY(DayChangeDue(QString(), today));
    }

    void listCommandsFollowTheSelection() {
        struct Row {
            int index, count;
            bool up, down, remove, selectionEntries, clearEntries;
            const char* label;
        };
        const Row rows[] = {
            {-1, 0, false, false, false, false, false, "0/0"},
            {-1, 3, false, false, false, false, true, "0/3"},
            {0, 3, false, true, true, true, true, "1/3"},
            {1, 3, true, true, true, true, true, "2/3"},
            {2, 3, true, false, true, true, true, "3/3"},
            {0, 1, false, false, true, true, true, "1/1"},
        };
        for (const Row& r : rows) {
            const ListButtonStates b = ListButtons(r.index, r.count);
            const ListMenuVisibility v = ListMenu(r.index, r.count);
            QCOMPARE((QList<bool>{b.up, b.down, b.remove, v.selectionEntries, v.clearEntries}),
                     (QList<bool>{r.up, r.down, r.remove, r.selectionEntries, r.clearEntries}));
            QCOMPARE(ListCountText(r.index, r.count), QString::fromLatin1(r.label));
        }
    }

    void dropTargets() {
        struct Row {
            int row, selected, count, target; // target -1: nothing happens
        };
        const Row rows[] = {{1, 1, 3, -1}, {0, -1, 0, -1}, {0, 2, 3, 0},
                            {3, 0, 3, 2},  {1, -1, 3, 1},  {2, 0, 3, 2}};
        for (const Row& r : rows)
            QCOMPARE(DropTarget(r.row, r.selected, r.count).value_or(-1), r.target);
    }
};

QTEST_APPLESS_MAIN(tst_Schedule)
#include "tst_Schedule.moc"
