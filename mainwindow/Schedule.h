#pragma once

#include "settings/SettingsKeys.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QDate;

namespace tavorin {

// The modes the mode box offers, in its order: "Startup" only while the
// program starts with the system.
QList<ChangeMode> ChangeModes(bool startsWithSystem);

// The shortest and the longest interval of the "Frequently" mode, in minutes.
inline constexpr int kMinInterval = 1;
inline constexpr int kMaxInterval = 23 * 60 + 59;

// A settings value as a whole number within [low, high]; nothing for
// empty, non-numeric, fractional or out-of-range text.
std::optional<int> WholeNumber(const QString& text, int low, int high);

// A box's number as the schedule reads it: 0 when it holds none.
int BoxNumber(const QString& text);

// The interval Apply stores from the hour and minute boxes: hours * 60 +
// minutes, brought into 1 minute .. 23 h 59 min (a box that holds no
// number counts as 0).
int IntervalFromBoxes(const QString& hourText, const QString& minuteText);

struct IntervalParts {
    int hours = 0;
    int minutes = 0;
};
// The hour and minute boxes for a stored "min"; nothing when "min" holds
// no usable number. Out-of-range values are brought into the range.
std::optional<IntervalParts> SplitInterval(const QString& minText);

// The stored interval as the minute tick compares it: a whole number of
// at least one minute, nothing otherwise (no change is ever due then).
std::optional<int> StoredInterval(const QString& minText);

// The 1-based position a stored "Wallpaper" value stands for in a list of
// `total` pictures: reduced by whole lists while it lies past the end.
int WrapPosition(int stored, int total);
// The next position after a random pick that landed on the stored one.
int StepPastStored(int position, int total);

// Today's date as "LastChangingDate" holds it: the system's short date.
QString ChangingDateText(const QDate& today);
// Whether "Once a day" changes now.
bool DayChangeDue(const QString& lastChangingDate, const QDate& today);

// The position label: "3/10", "0/10" with nothing selected, "0/0".
QString ListCountText(int selectedIndex, int count);

// Enabled states of the list's edit commands for selection i of n.
struct ListButtonStates {
    bool up = false;
    bool down = false;
    bool remove = false;
};
ListButtonStates ListButtons(int selectedIndex, int count);

// Which entries of the list menu show for selection i of n.
struct ListMenuVisibility {
    bool selectionEntries = false; // Set As Wallpaper, first separator, Delete, Up, Down
    bool clearEntries = false;     // second separator, Clear
};
ListMenuVisibility ListMenu(int selectedIndex, int count);

// Where a dropped entry lands: nothing when the drop changes nothing
// (on its own row); otherwise the row, at most the last one.
std::optional<int> DropTarget(int dropRow, int selectedIndex, int count);

// The preview's next 0-based index for a random pick, kept inside a list
// of `count` entries; -1 for an empty list.
int PreviewIndexFromPick(int currentIndex, int count);

} // namespace tavorin
