// The change schedule's rules without a window: modes, intervals, due changes.
#include "mainwindow/Schedule.h"

#include "settings/Module1.h"

#include <QDate>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace tavorin {

QList<ChangeMode> ChangeModes(bool startsWithSystem) {
    QList<ChangeMode> modes{ChangeMode::Startup, ChangeMode::OnceADay, ChangeMode::Frequently,
                            ChangeMode::Never};
    if (!startsWithSystem)
        modes.removeFirst();
    return modes;
}

std::optional<int> WholeNumber(const QString& text, int low, int high) {
    const auto value = NumericValue(text);
    if (!value || !std::isfinite(*value) || std::floor(*value) != *value)
        return std::nullopt;
    if (*value < low || *value > high)
        return std::nullopt;
    return static_cast<int>(*value);
}

int BoxNumber(const QString& text) {
    const auto value = NumericValue(text);
    if (!value || !std::isfinite(*value))
        return 0;
    return static_cast<int>(std::clamp(std::round(*value), -100000.0, 100000.0));
}

int IntervalFromBoxes(const QString& hourText, const QString& minuteText) {
    const int minutes = BoxNumber(hourText) * 60 + BoxNumber(minuteText);
    return std::clamp(minutes, kMinInterval, kMaxInterval);
}

std::optional<IntervalParts> SplitInterval(const QString& minText) {
    const auto value = NumericValue(minText);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    const int minutes = static_cast<int>(
        std::clamp(std::round(*value), double(kMinInterval), double(kMaxInterval)));
    return IntervalParts{minutes / 60, minutes % 60};
}

std::optional<int> StoredInterval(const QString& minText) {
    return WholeNumber(minText, kMinInterval, 32767);
}

int WrapPosition(int stored, int total) {
    if (total <= 0)
        return stored;
    if (stored > total)
        stored = (stored - 1) % total + 1;
    return stored;
}

int StepPastStored(int position, int total) {
    ++position;
    return position > total ? 1 : position;
}

QString ChangingDateText(const QDate& today) {
    return QLocale::system().toString(today, QLocale::ShortFormat);
}

bool DayChangeDue(const QString& lastChangingDate, const QDate& today) {
    return ChangingDateText(today) != lastChangingDate;
}

QString ListCountText(int selectedIndex, int count) {
    return QString::number(selectedIndex + 1) + QLatin1Char('/') + QString::number(count);
}

ListButtonStates ListButtons(int selectedIndex, int count) {
    return {selectedIndex >= 1, selectedIndex >= 0 && selectedIndex < count - 1,
            selectedIndex >= 0};
}

ListMenuVisibility ListMenu(int selectedIndex, int count) {
    return {selectedIndex >= 0, count > 0};
}

std::optional<int> DropTarget(int dropRow, int selectedIndex, int count) {
    if (count <= 0 || dropRow == selectedIndex)
        return std::nullopt;
    return std::min(dropRow, count - 1);
}

int PreviewIndexFromPick(int currentIndex, int count) {
    if (count <= 0)
        return -1;
    const int index = currentIndex - 1;
    return ((index % count) + count) % count;
}

} // namespace tavorin
