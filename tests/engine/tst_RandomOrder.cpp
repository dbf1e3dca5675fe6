#include "engine/RandomOrder.h"
#include "settings/Module1.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <optional>

using namespace tavorin;
using namespace tavorin::test;

namespace {

// The pick written step by step in 16-bit arithmetic, one loop per rule,
// as the order was first defined; nothing when a value leaves 16 bits.
struct Reference16 {
    int X = 0, Y = 0, Z = 0, CurrentIndex = 0, Candidate = 0, n = 0;
    bool Reseed = false;

    static bool fits(int v) { return v >= -32768 && v <= 32767; }

    bool wrap() {
        while (Candidate > n)
            Candidate -= n;
        Candidate = CurrentIndex + Candidate;
        if (!fits(Candidate))
            return false;
        if (Candidate > n)
            Candidate -= n;
        return true;
    }

    bool pick() {
        if (n < 3)
            return true;
        if (Reseed) {
            X = static_cast<int>(std::nearbyint(n / 2.0));
            Reseed = false;
        }
        Y += 1;
        while (Y > X)
            Y -= X;
        if (X <= 10)
            X += 3;
        if (X > 10 && X <= 20)
            X += 5;
        if (X > 20 && X <= 30)
            X += 7;
        if (X > 30)
            X += 9;
        X = 2 * CurrentIndex + X - Y;
        if (!fits(2 * CurrentIndex) || !fits(X) || !fits(3 * n))
            return false;
        while (X > 2 * n)
            X -= n;
        while (X < 2 * n)
            X += n;
        Candidate = X;
        if (!wrap())
            return false;
        while (Candidate == CurrentIndex) {
            Z += 1;
            Candidate += Z;
            if (!fits(Candidate) || !wrap())
                return false;
        }
        if (Z > n)
            Z = 0;
        CurrentIndex = Candidate;
        return true;
    }
};

RandomOrder state(int n, int current, int x, int y, int z, bool reseed) {
    RandomOrder r;
    r.ListTotal = n;
    r.CurrentIndex = current;
    r.X = x;
    r.Y = y;
    r.Z = z;
    r.Reseed = reseed;
    return r;
}

} // namespace

class tst_RandomOrder : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void workedExample();
    void reseedRoundsHalfToEvenAndWritesClick();
    void neverRepeatsThePosition();
    void equalsTheSixteenBitRule();
    void fewerThanThreeLeavesEverythingAlone_data();
    void fewerThanThreeLeavesEverythingAlone();
    void nonPositiveXSeedsAfresh_data();
    void nonPositiveXSeedsAfresh();
    void positionOutsideTheList_data();
    void positionOutsideTheList();
    void extremeStoredValuesEndAtOnce_data();
    void extremeStoredValuesEndAtOnce();
    void listsBeyondSixteenBits();
    void wrapIndexWithoutAList();
};

void tst_RandomOrder::workedExample() {
    RandomOrder r = state(5, 2, 0, 0, 0, true);
    r.Random_Index(nullptr);
    QCOMPARE(r.X, 13);
    QCOMPARE(r.Y, 1);
    QCOMPARE(r.Z, 0);
    QCOMPARE(r.CurrentIndex, 5);
    QVERIFY(!r.Reseed);
    r.Random_Index(nullptr);
    QCOMPARE(r.X, 11);
    QCOMPARE(r.Y, 2);
    QCOMPARE(r.Z, 0);
    QCOMPARE(r.CurrentIndex, 1);
    r.Random_Index(nullptr);
    QCOMPARE(r.X, 10);
    QCOMPARE(r.Y, 3);
    QCOMPARE(r.Z, 1);
    QCOMPARE(r.CurrentIndex, 3);
}

void tst_RandomOrder::reseedRoundsHalfToEvenAndWritesClick() {
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    m.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Click"), QStringLiteral("1"));
    // n = 7 seeds X = 4 (3.5 to the even 4): Y 1, X 4 -> 7 -> 2*1 + 7 - 1 = 8 -> 15.
    RandomOrder r = state(7, 1, 99, 0, 0, true);
    r.Random_Index(&m);
    QCOMPARE(r.X, 15);
    QCOMPARE(r.Y, 1);
    QCOMPARE(m.GetINIFile(QStringLiteral("Settings"), QStringLiteral("Click")),
             QStringLiteral("0"));
    // n = 6 seeds X = 3: Y 4 wraps to 1, X 3 -> 6 -> 2*2 + 6 - 1 = 9 -> 15.
    r = state(6, 2, 99, 3, 0, true);
    r.Random_Index(nullptr);
    QCOMPARE(r.Y, 1);
    QCOMPARE(r.X, 15);
    // Without a reseed "Click" stays as it is.
    m.WriteINIFile(QStringLiteral("Settings"), QStringLiteral("Click"), QStringLiteral("1"));
    r = state(5, 5, 13, 1, 0, false);
    r.Random_Index(&m);
    QCOMPARE(r.CurrentIndex, 1);
    QCOMPARE(m.GetINIFile(QStringLiteral("Settings"), QStringLiteral("Click")),
             QStringLiteral("1"));
}

void tst_RandomOrder::neverRepeatsThePosition() {
    for (int n = 3; n <= 500; ++n) {
        for (int start : {1, 2, n / 2 + 1, n - 1, n}) {
            RandomOrder r = state(n, start, 0, 0, 0, true);
            for (int step = 0; step < 60; ++step) {
                const int before = r.CurrentIndex;
                r.Random_Index(nullptr);
                if (r.CurrentIndex == before || r.CurrentIndex < 1 || r.CurrentIndex > n)
                    QFAIL(qPrintable(QStringLiteral("n=%1 start=%2 step=%3: %4 -> %5")
                                         .arg(n)
                                         .arg(start)
                                         .arg(step)
                                         .arg(before)
                                         .arg(r.CurrentIndex)));
                QVERIFY(r.Z >= 0 && r.Z <= n);
            }
        }
    }
}

void tst_RandomOrder::equalsTheSixteenBitRule() {
    int compared = 0;
    for (int n : {3, 4, 5, 7, 10, 33, 100, 1000, 10922}) {
        for (int x : {0, 1, 2, 9, 10, 11, 20, 21, 30, 31, 500}) {
            for (int y : {0, 1, 5, 40}) {
                for (int z : {0, 1, 3}) {
                    Reference16 ref{x, y, z, 1 + (x * 7 + y) % n, 0, n, x == 0};
                    RandomOrder r = state(n, ref.CurrentIndex, x, y, z, x == 0);
                    for (int step = 0; step < 25; ++step) {
                        if (!ref.pick())
                            break; // left 16 bits: the old rule raised an error here
                        r.Random_Index(nullptr);
                        QCOMPARE(r.X, ref.X);
                        QCOMPARE(r.Y, ref.Y);
                        QCOMPARE(r.Z, ref.Z);
                        QCOMPARE(r.Candidate, ref.Candidate);
                        QCOMPARE(r.CurrentIndex, ref.CurrentIndex);
                        ++compared;
                    }
                }
            }
        }
    }
    QVERIFY(compared > 10000);
}

void tst_RandomOrder::fewerThanThreeLeavesEverythingAlone_data() {
    QTest::addColumn<int>("n");
    QTest::newRow("empty") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("negative") << -4;
}

void tst_RandomOrder::fewerThanThreeLeavesEverythingAlone() {
    QFETCH(int, n);
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    RandomOrder r = state(n, 2, 7, 3, 1, true);
    r.Random_Index(&m);
    QCOMPARE(r.CurrentIndex, 2);
    QCOMPARE(r.X, 7);
    QCOMPARE(r.Y, 3);
    QCOMPARE(r.Z, 1);
    QVERIFY(r.Reseed);
    QCOMPARE(m.GetINIFile(QStringLiteral("Settings"), QStringLiteral("Click")), QString());
}

void tst_RandomOrder::nonPositiveXSeedsAfresh_data() {
    QTest::addColumn<int>("x");
    QTest::newRow("zero") << 0;
    QTest::newRow("minus one") << -1;
    QTest::newRow("most negative") << std::numeric_limits<int>::min();
}

void tst_RandomOrder::nonPositiveXSeedsAfresh() {
    QFETCH(int, x);
    TempProgramFolder folder;
    FakePlatform fake(folder.path());
    const Module1 m(fake.services);
    RandomOrder r = state(5, 2, x, 0, 0, false);
    r.Random_Index(&m);
    // The same pick as after a reseed.
    QCOMPARE(r.X, 13);
    QCOMPARE(r.Y, 1);
    QCOMPARE(r.CurrentIndex, 5);
    QCOMPARE(m.GetINIFile(QStringLiteral("Settings"), QStringLiteral("Click")),
             QStringLiteral("0"));
}

void tst_RandomOrder::positionOutsideTheList_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("sameAs"); // the position inside the list it counts as
    QTest::newRow("n + 1") << 8 << 1;
    QTest::newRow("3n + 2") << 23 << 2;
    QTest::newRow("2n") << 14 << 7;
    QTest::newRow("largest") << std::numeric_limits<int>::max() << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("negative") << -3 << 0;
    QTest::newRow("most negative") << std::numeric_limits<int>::min() << 0;
}

void tst_RandomOrder::positionOutsideTheList() {
    QFETCH(int, start);
    QFETCH(int, sameAs);
    const int n = 7;
    if (start == std::numeric_limits<int>::max())
        sameAs = (start - 1) % n + 1;
    for (int x : {0, 4, 17, 40}) {
        RandomOrder outside = state(n, start, x, 2, 1, false);
        RandomOrder inside = state(n, sameAs, x, 2, 1, false);
        outside.Random_Index(nullptr);
        inside.Random_Index(nullptr);
        QVERIFY(outside.CurrentIndex >= 1 && outside.CurrentIndex <= n);
        QVERIFY(outside.CurrentIndex != sameAs);
        QCOMPARE(outside.CurrentIndex, inside.CurrentIndex);
        QCOMPARE(outside.X, inside.X);
        QCOMPARE(outside.Z, inside.Z);
    }
}

void tst_RandomOrder::extremeStoredValuesEndAtOnce_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("z");
    constexpr int big = std::numeric_limits<int>::max();
    constexpr int small = std::numeric_limits<int>::min();
    QTest::newRow("huge x") << big << 0 << 0;
    QTest::newRow("huge y") << 5 << big << 0;
    QTest::newRow("huge z") << 5 << 1 << big;
    QTest::newRow("negative y") << 5 << small << 0;
    QTest::newRow("negative z") << 5 << 1 << small;
    QTest::newRow("all huge") << big << big << big;
}

void tst_RandomOrder::extremeStoredValuesEndAtOnce() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, z);
    for (int n : {3, 4, 9, 1000}) {
        for (int start = 1; start <= std::min(n, 9); ++start) {
            RandomOrder r = state(n, start, x, y, z, false);
            for (int step = 0; step < 5; ++step) {
                const int before = r.CurrentIndex;
                r.Random_Index(nullptr);
                QVERIFY(r.CurrentIndex >= 1 && r.CurrentIndex <= n);
                QVERIFY(r.CurrentIndex != before);
                QVERIFY(r.X >= 2 * n && r.X <= 3 * n - 1);
                QVERIFY(r.Z >= 0 && r.Z <= n);
            }
        }
    }
}

void tst_RandomOrder::listsBeyondSixteenBits() {
    for (int n : {10923, 40000, 1'000'000, RandomOrder::kMaxListTotal}) {
        RandomOrder r = state(n, n - 1, 0, 0, 0, true);
        for (int step = 0; step < 200; ++step) {
            const int before = r.CurrentIndex;
            r.Random_Index(nullptr);
            QVERIFY(r.CurrentIndex >= 1 && r.CurrentIndex <= n);
            QVERIFY(r.CurrentIndex != before);
            QVERIFY(r.X >= 2 * qint64(n) && r.X <= 3 * qint64(n) - 1);
        }
    }
    RandomOrder tooMany = state(RandomOrder::kMaxListTotal + 1, 5, 1, 1, 1, false);
    tooMany.Random_Index(nullptr);
    QCOMPARE(tooMany.CurrentIndex, 5);
}

void tst_RandomOrder::wrapIndexWithoutAList() {
    RandomOrder r = state(0, 2, 0, 0, 0, false);
    r.Candidate = 9;
    r.Wrap_Index();
    QCOMPARE(r.Candidate, 9);
    r = state(5, 2, 0, 0, 0, false);
    r.Candidate = 13;
    r.Wrap_Index();
    QCOMPARE(r.Candidate, 5);
}

QTEST_GUILESS_MAIN(tst_RandomOrder)
#include "tst_RandomOrder.moc"
