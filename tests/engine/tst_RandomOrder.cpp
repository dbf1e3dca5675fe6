// The random order: the old 16-bit rule as reference, and stored nonsense.
#include "engine/RandomOrder.h"
#include "tests/support/Rig.h"

#include <QTest>
#include <cmath>
#include <limits>
#include <utility>

using namespace tavorin;
using namespace tavorin::test;

namespace {

constexpr int kBig = std::numeric_limits<int>::max(), kSmall = std::numeric_limits<int>::min();

// The pick written step by step in 16-bit arithmetic, one loop per rule, as the order was first
// defined; false when a value leaves 16 bits.
struct Reference16 {
    int X = 0, Y = 0, Z = 0, CurrentIndex = 0, Candidate = 0, n = 0;
    bool Reseed = false;
    static bool fits(int v) { return v >= -32768 && v <= 32767; }
    bool wrap() {
        while (Candidate > n)
            Candidate -= n;
        Candidate = CurrentIndex + Candidate;
        if (Candidate > n)
            Candidate -= n;
        return fits(CurrentIndex + n);
    }
    bool pick() {
        if (std::exchange(Reseed, false))
            X = static_cast<int>(std::nearbyint(n / 2.0));
        for (Y += 1; Y > X;)
            Y -= X;
        for (const auto& [low, high, step] :
             {std::tuple{kSmall, 10, 3}, {10, 20, 5}, {20, 30, 7}, {30, kBig, 9}})
            if (X > low && X <= high)
                X += step;
        X = 2 * CurrentIndex + X - Y;
        if (!fits(2 * CurrentIndex) || !fits(X) || !fits(3 * n))
            return false;
        while (X > 2 * n)
            X -= n;
        while (X < 2 * n)
            X += n;
        Candidate = X;
        bool ok = wrap();
        for (; ok && Candidate == CurrentIndex; ok = fits(Candidate) && wrap())
            Candidate += ++Z;
        Z = Z > n ? 0 : Z;
        CurrentIndex = Candidate;
        return ok;
    }
};

RandomOrder state(int n, int current, int x, int y, int z, bool reseed) {
    RandomOrder r;
    r.ListTotal = n, r.CurrentIndex = current, r.X = x, r.Y = y, r.Z = z, r.Reseed = reseed;
    return r;
}
QList<int> next(RandomOrder& r, const Module1* m = nullptr) { // X, Y, Z, position after a pick
    r.Random_Index(m);
    return {r.X, r.Y, r.Z, r.CurrentIndex};
}
// Each pick moves to another position in 1..n and keeps X in 2n..3n-1, Z in 0..n.
void checkSteps(RandomOrder r, int steps) {
    const qint64 n = r.ListTotal;
    for (int step = 0; step < steps; ++step) {
        const int before = r.CurrentIndex;
        r.Random_Index(nullptr);
        QVERIFY(r.CurrentIndex != before && r.CurrentIndex >= 1 && r.CurrentIndex <= n);
        QVERIFY(r.X >= 2 * n && r.X <= 3 * n - 1 && r.Z >= 0 && r.Z <= n);
    }
}

} // namespace

class tst_RandomOrder : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void equalsTheSixteenBitRule() {
        int compared = 0;
        for (int n : {3, 4, 5, 7, 10, 33, 100, 1000, 10922})
            for (int x : {0, 1, 2, 9, 10, 11, 20, 21, 30, 31, 500})
                for (int y : {0, 1, 5, 40})
                    for (int z : {0, 1, 3}) {
                        Reference16 ref{x, y, z, 1 + (x * 7 + y) % n, 0, n, x == 0};
                        RandomOrder r = state(n, ref.CurrentIndex, x, y, z, x == 0);
                        for (int step = 0; step < 25 && ref.pick(); ++step, ++compared)
                            QCOMPARE(next(r), (QList<int>{ref.X, ref.Y, ref.Z, ref.CurrentIndex}));
                    }
        QVERIFY(compared > 10000);
        for (int n : {10923, 40000, RandomOrder::kMaxListTotal})
            checkSteps(state(n, n - 1, 0, 0, 0, true), 200);
    }
    void storedNonsense() {
        // A reseed (or an X of 0 or less, from a hand-edited file) writes "Click" = "0".
        Rig rig;
        for (const auto& [x, reseed, click] : QList<std::tuple<int, bool, QString>>{
                 {99, true, "0"}, {13, false, "1"}, {0, false, "0"}}) {
            rig.set(ini::kClick, "1");
            RandomOrder r = state(5, 2, x, 0, 0, reseed);
            r.Random_Index(&rig.m);
            QCOMPARE(rig.get(ini::kClick), click);
        }
        // A position outside the list counts as the one inside it (past the end: round again).
        for (const auto& [start, sameAs] :
             QList<std::pair<int, int>>{{23, 2}, {kBig, (kBig - 1) % 7 + 1}, {-3, 0}}) {
            RandomOrder out = state(7, start, 17, 2, 1, false),
                        in = state(7, sameAs, 17, 2, 1, false);
            QCOMPARE(next(out), next(in));
        }
        // Extreme stored X, Y, Z end at once, with values inside their ranges.
        for (const auto& [x, y, z] : QList<std::tuple<int, int, int>>{
                 {kBig, 0, 0}, {5, kBig, 0}, {5, 1, kBig}, {5, kSmall, 0}, {kBig, kBig, kBig}})
            for (int start = 1; start <= 9; ++start)
                checkSteps(state(9, start, x, y, z, false), 5);
    }
};

QTEST_GUILESS_MAIN(tst_RandomOrder)
#include "tst_RandomOrder.moc"
