// The main window's schedule: the mode, the interval, Apply, the minute
// tick, the change itself and the preview that plays it back.
#include "mainwindow/Schedule.h"
#include "mainwindow/frmMain.h"

#include "engine/ListFile.h"
#include "engine/SetWallpaper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

namespace tavorin {

namespace {

const QString kPreviewCaption = QStringLiteral("Pre&view");
const QString kStopCaption = QStringLiteral("S&top");

// A change that fails is repaired and tried again; a failure the repair
// does not remove ends the change after this many attempts.
constexpr int kChangeAttempts = 3;

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

// ------------------------------------------------------------ mode box

bool frmMain::isFrequently() const {
    return ChangeMode() == tavorin::ChangeMode::Frequently;
}

void frmMain::cboChange_Click() {
    using Mode = tavorin::ChangeMode;
    const Mode mode = ChangeMode();
    if (mode == Mode::OnceADay || mode == Mode::Never || mode == Mode::Startup) {
        stopPreview();
        cmdPreview->setEnabled(false);
        setShutdownEnabled(true);
    } else {
        cmdPreview->setEnabled(list_->Count() >= 1);
        setShutdownEnabled(false);
        chkShutdown->setChecked(false);
    }
    if (mode == Mode::Never)
        setShutdownEnabled(false);
    setIntervalEnabled(mode == Mode::Frequently);
}

void frmMain::setShutdownEnabled(bool enabled) {
    chkShutdown->setEnabled(enabled);
    lblShutdown->setEnabled(enabled);
}

void frmMain::setIntervalEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{txtHour, txtMin, scrHour, scrMin, Label5, Label6, Label7})
        control->setEnabled(enabled);
}

// The bars run from 0 at the top; each box shows the bar's maximum minus
// its value. With 0 hours the minutes cannot go below 1.
void frmMain::scrHour_Change() {
    const int hours = 23 - scrHour->value();
    txtHour->setText(QString::number(hours));
    if (hours == 0 && BoxNumber(txtMin->text()) == 0)
        txtMin->setText(QStringLiteral("1"));
    // Keep the minute bar's range in step with the hours at once.
    scrMin->setMaximum(hours == 0 ? 58 : 59);
}

void frmMain::scrMin_Change() {
    scrMin->setMaximum(BoxNumber(txtHour->text()) == 0 ? 58 : 59);
    txtMin->setText(QString::number(59 - scrMin->value()));
}

int frmMain::boxInterval() const {
    return IntervalFromBoxes(txtHour->text(), txtMin->text());
}

// ------------------------------------------------------------ Apply

void frmMain::cmdApply_Click() {
    using Mode = tavorin::ChangeMode;
    order_.ListTotal = list_->Count();
    if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        order_.Reseed = true;
        writeSetting(ini::kSettings, ini::kClick, QStringLiteral("1"));
        writeSetting(ini::kSettings, ini::kFirstRun, QStringLiteral("1"));
    }
    Save_List();
    const Mode mode = ChangeMode();
    writeSetting(ini::kSettings, ini::kChange, tavorin::ChangeModeText(mode));
    writeSetting(ini::kSettings, ini::kShutdown, flag(chkShutdown->isChecked()));
    writeSetting(ini::kSettings, ini::kRandom, flag(chkRandom->isChecked()));
    if (mode == Mode::Frequently)
        writeSetting(ini::kSettings, ini::kMin, QString::number(boxInterval()));

    if (mode == Mode::Startup && EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kLoader), 1)) {
        Change_Wallpaper();
        if (EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kShutdown), 1)) {
            writeSetting(ini::kSettings, ini::kLoader, QStringLiteral("0"));
            mExit_Click();
            return;
        }
    }
    writeSetting(ini::kSettings, ini::kLoader, QStringLiteral("0"));

    if (mode == Mode::OnceADay &&
        DayChangeDue(m_.GetINIFile(ini::kSettings, ini::kLastChangingDate),
                     m_.services().clock.Today()))
        Change_Wallpaper();

    // The minute timer runs in mode "Frequently" only.
    Timer1.stop();
    if (mode == Mode::Frequently) {
        Timer1.start();
        minuteCount_ = 0;
    }
}

void frmMain::Save_List() {
    const QStringList paths = ListPaths();
    // The list as applied last time (the usual case at start-up) is not
    // written again, unless its file changed since.
    const QString file = AutomaticListFile(m_);
    if (paths == savedList_ && StampOf(file) == savedListStamp_ &&
        m_.GetINIFile(ini::kSettings, ini::kListCount) == QString::number(paths.size())) {
        order_.ListTotal = static_cast<int>(paths.size());
        return;
    }
    const ListWriteResult result = SaveAutomaticList(m_, paths);
    // What the file holds now, when it is exactly the list.
    savedList_ = result.written && result.skipped.isEmpty() ? paths : QStringList();
    savedListStamp_ = StampOf(file);
    if (!result.written) {
        // The old list stays on disk, and the schedule keeps counting it.
        order_.ListTotal = static_cast<int>(LoadAutomaticList(m_).size());
        m_.dialogs().MsgBox(QStringLiteral("Could not save the list:'") + file + QLatin1Char('\''),
                            MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    // The schedule counts what the automatic list really holds.
    order_.ListTotal = static_cast<int>(paths.size() - result.skipped.size());
    reportUnsavedPictures(result.skipped);
}

// A resume follows the mode last applied, not what the box reads now: a
// mode picked without Apply must not stop a running schedule.
void frmMain::Resume_Schedule() {
    if (ChangeModeFromText(m_.GetINIFile(ini::kSettings, ini::kChange)) ==
        tavorin::ChangeMode::Frequently)
        Timer1.start();
}

// ------------------------------------------------------------ the change

void frmMain::Timer1_Timer() {
    ++minuteCount_;
    const auto interval = StoredInterval(m_.GetINIFile(ini::kSettings, ini::kMin));
    if (!interval)
        return; // no usable interval: nothing is ever due
    // A change whose message is still open is not joined by another.
    if (minuteCount_ >= *interval && !changing_) {
        changing_ = true;
        Change_Wallpaper();
        changing_ = false;
        minuteCount_ = 0;
    }
}

// A change that fails (a position or random state that is absent or holds
// no number, an automatic list that cannot be read) stores the state held
// in memory, starts again from the first picture and tries again, a
// bounded number of times.
void frmMain::Change_Wallpaper() {
    for (int attempt = 0; attempt < kChangeAttempts; ++attempt) {
        if (tryChangeWallpaper())
            return;
        writeRandomState();
        writeSetting(ini::kSettings, ini::kWallpaper, QStringLiteral("1"));
    }
}

bool frmMain::tryChangeWallpaper() {
    const int total = order_.ListTotal;
    if (total <= 0)
        return true;
    const auto stored = WholeNumber(m_.GetINIFile(ini::kSettings, ini::kWallpaper), 1, 32767);
    if (!stored)
        return false;
    order_.CurrentIndex = WrapPosition(*stored, total);
    if (EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kRandom), 1)) {
        if (!readRandomState())
            return false;
        order_.Random_Index(&m_);
        writeRandomState();
        if (order_.CurrentIndex == *stored)
            order_.CurrentIndex = StepPastStored(order_.CurrentIndex, total);
        if (order_.CurrentIndex < 1 || order_.CurrentIndex > total)
            return false;
    }
    const QString listFile = AutomaticListFile(m_);
    QString path = GetListRecord(listFile, order_.CurrentIndex);
    if (path.isEmpty()) {
        order_.CurrentIndex = 1;
        writeSetting(ini::kSettings, ini::kWallpaper, QStringLiteral("1"));
        path = GetListRecord(listFile, 1);
        if (path.isEmpty())
            return false;
    }
    Set_Wallpaper(path);
    ++order_.CurrentIndex;
    writeSetting(ini::kSettings, ini::kWallpaper, QString::number(order_.CurrentIndex));
    writeSetting(ini::kSettings, ini::kLastChangingDate,
                 ChangingDateText(m_.services().clock.Today()));
    return true;
}

bool frmMain::readRandomState() {
    const auto x = WholeNumber(m_.GetINIFile(ini::kMemory, ini::kX), -32768, 32767);
    const auto y = WholeNumber(m_.GetINIFile(ini::kMemory, ini::kY), -32768, 32767);
    const auto z = WholeNumber(m_.GetINIFile(ini::kMemory, ini::kZ), -32768, 32767);
    if (!x || !y || !z)
        return false;
    order_.X = *x;
    order_.Y = *y;
    order_.Z = *z;
    return true;
}

void frmMain::writeRandomState() {
    writeSetting(ini::kMemory, ini::kX, QString::number(order_.X));
    writeSetting(ini::kMemory, ini::kY, QString::number(order_.Y));
    writeSetting(ini::kMemory, ini::kZ, QString::number(order_.Z));
}

void frmMain::Set_Wallpaper(QString& path) {
    tavorin::Set_Wallpaper(m_, path);
}

// Applies the selected picture now; the schedule's position stays.
void frmMain::cmdApplyNow_Click() {
    const int index = ListIndex();
    if (index < 0)
        return;
    QString path = list_->PathAt(index);
    Set_Wallpaper(path);
}

// ------------------------------------------------------------ preview

void frmMain::cmdPreview_Click() {
    if (cmdPreview->text() == kPreviewCaption) {
        previewPeriod_ = boxInterval();
        Timer2.start();
        cmdPreview->setText(kStopCaption);
        previewTicks_ = 0;
        order_.Reseed = true;
    } else {
        Timer2.stop();
        cmdPreview->setText(kPreviewCaption);
    }
}

void frmMain::stopPreview() {
    if (cmdPreview->text() == kStopCaption)
        cmdPreview_Click();
}

void frmMain::Timer2_Timer() {
    if (reportingMissing_)
        return;
    ++previewTicks_;
    if (previewTicks_ >= previewPeriod_) {
        Preview_Step();
        previewTicks_ = 0;
    }
}

// One step of the preview: the selection moves as the schedule would.
void frmMain::Preview_Step() {
    const int count = list_->Count();
    if (chkRandom->isChecked()) {
        // The pick works with the list as shown; the schedule keeps its own
        // count of the applied list.
        const int scheduleTotal = order_.ListTotal;
        order_.ListTotal = count;
        order_.Random_Index(&m_);
        order_.ListTotal = scheduleTotal;
        // A position outside the list (it shrank since the last change, or
        // a list too short to pick from) is brought back into it.
        previewIndex_ = PreviewIndexFromPick(order_.CurrentIndex, count);
        if (previewIndex_ >= 0)
            order_.CurrentIndex = previewIndex_ + 1;
    }
    if (count == 0) {
        previewIndex_ = 0;
        list_->Select(-1);
        return;
    }
    if (previewIndex_ < 0 || previewIndex_ >= count)
        previewIndex_ = 0;
    list_->Select(previewIndex_);
    ++previewIndex_;
    if (previewIndex_ >= count)
        previewIndex_ = 0;
}

} // namespace tavorin
