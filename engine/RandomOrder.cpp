// The random order: the three-number generator state and the non-repeating pick.
#include "engine/RandomOrder.h"

#include "settings/Module1.h"
#include "settings/SettingsKeys.h"

namespace tavorin {

namespace {

using Wide = std::int64_t;

// n / 2 rounded to the nearest whole number, halves to the even one.
Wide halfRoundedToEven(Wide n) {
    const Wide half = n / 2;
    if (n % 2 == 0)
        return half;
    return half % 2 == 0 ? half : half + 1;
}

// The result of "while value > limit: value -= step" (step > 0), in one go.
Wide subtractWhileAbove(Wide value, Wide limit, Wide step) {
    if (value <= limit)
        return value;
    const Wide times = (value - limit + step - 1) / step;
    return value - times * step;
}

// The result of "while value < limit: value += step" (step > 0), in one go.
Wide addWhileBelow(Wide value, Wide limit, Wide step) {
    if (value >= limit)
        return value;
    const Wide times = (limit - value + step - 1) / step;
    return value + times * step;
}

// X grows by a step that depends on its size; each test sees the result
// of the one before.
Wide widen(Wide x) {
    if (x <= 10)
        x += 3;
    if (x > 10 && x <= 20)
        x += 5;
    if (x > 20 && x <= 30)
        x += 7;
    if (x > 30)
        x += 9;
    return x;
}

} // namespace

void RandomOrder::Wrap_Index() {
    const Wide n = ListTotal;
    if (n < 1)
        return; // no list to wrap round
    Wide candidate = subtractWhileAbove(Candidate, n, n);
    candidate += CurrentIndex;
    if (candidate > n)
        candidate -= n;
    Candidate = static_cast<std::int32_t>(candidate);
}

void RandomOrder::Random_Index(const Module1* m) {
    const Wide n = ListTotal;
    if (n < 3 || n > kMaxListTotal)
        return;
    // A position past the end counts round the list again; one before the
    // start is no position at all. Either way the pick lands in 1..n.
    if (CurrentIndex > n)
        CurrentIndex = static_cast<std::int32_t>(subtractWhileAbove(CurrentIndex, n, n));
    else if (CurrentIndex < 1)
        CurrentIndex = 0;

    // An X of 0 or less (only from a hand-edited settings file) could never
    // bring Y down: it seeds the order afresh, as a reseed does.
    Wide x = X;
    if (Reseed || x <= 0) {
        x = halfRoundedToEven(n);
        Reseed = false;
        if (m)
            m->WriteINIFile(ini::kSettings, ini::kClick, QStringLiteral("0"));
    }
    const Wide y = subtractWhileAbove(Wide{Y} + 1, x, x);
    x = widen(x);
    x = 2 * Wide{CurrentIndex} + x - y;
    x = addWhileBelow(subtractWhileAbove(x, 2 * n, n), 2 * n, n); // now 2n..3n-1
    X = static_cast<std::int32_t>(x);
    Y = static_cast<std::int32_t>(y);

    Candidate = X;
    Wrap_Index();
    // Ends after at most two passes: Candidate lands on CurrentIndex only
    // when CurrentIndex + Z is a multiple of n, never for two Z in a row.
    Wide z = Z < 0 ? 0 : Z; // below 0 only when hand-edited; would step backwards
    while (Candidate == CurrentIndex) {
        ++z;
        Candidate = static_cast<std::int32_t>(subtractWhileAbove(Wide{Candidate} + z, n, n));
        Wrap_Index();
    }
    if (z > n)
        z = 0;
    Z = static_cast<std::int32_t>(z);
    CurrentIndex = Candidate;
}

} // namespace tavorin
