// The main window in the background: the notification-area icon, the main
// popup menu, hiding and showing the window, and pausing the schedule.
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace tavorin {

// ------------------------------------------------------------- the menu

void frmMain::createMainMenu() {
    mMenu = new QMenu(QStringLiteral("Menu"), this);
    mMenu->setObjectName(QStringLiteral("mMenu"));
    auto entry = [this](const char* name, const QString& caption) {
        QAction* action = mMenu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    auto separator = [this](const char* name) {
        QAction* action = mMenu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };
    mChangeMenu = new QMenu(QStringLiteral("&Change Wallpaper"), mMenu);
    mChangeMenu->setObjectName(QStringLiteral("mChangeMenu"));
    mChange = mMenu->addMenu(mChangeMenu);
    mChange->setObjectName(QStringLiteral("mChange"));
    QAction* placeholder = mChangeMenu->addSeparator();
    placeholder->setObjectName(QStringLiteral("mWallpaper0"));
    mWallpaper.push_back(placeholder);
    mnuSeperator3 = separator("mnuSeperator3");
    mRestore = entry("mRestore", kHideCaption);
    mAbout = entry("mAbout", QStringLiteral("&About"));
    mOption = entry("mOption", QStringLiteral("&Options"));
    mnuSeperator = separator("mnuSeperator");
    mnuHelp = entry("mnuHelp", QStringLiteral("&Help"));
    mnuReadme = entry("mnuReadme", QStringLiteral("&ReadMe"));
    mnuWebsite = entry("mnuWebsite", QStringLiteral("Home&page"));
    mnuHelpSeperator = separator("mnuHelpSeperator");
    mDisable = entry("mDisable", kDisableCaption);
    mExit = entry("mExit", QStringLiteral("E&xit"));
    mChange->setVisible(false);
    mnuSeperator3->setVisible(false);
    mDisable->setVisible(false);
}

void frmMain::connectMainMenu() {
    connect(mRestore, &QAction::triggered, this, &frmMain::mRestore_Click);
    connect(mAbout, &QAction::triggered, this, &frmMain::mAbout_Click);
    connect(mOption, &QAction::triggered, this, &frmMain::mOption_Click);
    connect(mnuHelp, &QAction::triggered, this, &frmMain::mnuHelp_Click);
    connect(mnuReadme, &QAction::triggered, this, &frmMain::mnuReadme_Click);
    connect(mnuWebsite, &QAction::triggered, this, &frmMain::mnuWebsite_Click);
    connect(mDisable, &QAction::triggered, this, &frmMain::mDisable_Click);
    connect(mExit, &QAction::triggered, this, &frmMain::mExit_Click);
    connect(&Timer3, &QTimer::timeout, this, &frmMain::Timer3_Timer);
    connect(mMenu, &QMenu::aboutToShow, this, &frmMain::mMenu_AboutToShow);
    trayWatch.setInterval(1000);
    connect(&trayWatch, &QTimer::timeout, this, &frmMain::trayWatch_Timer);
}

// The controls whose right press opens the main menu.
void frmMain::watchForMainMenu() {
    mainMenuControls_ = {cmdAbout,     cmdApply,  cmdApplyNow, cmdBrowse,  cmdDelete,  cmdDown,
                         cmdExit,      cmdLoad,   cmdOK,       cmdOption,  cmdPreview, cmdSave,
                         cmdSearch,    cmdUp,     Image1,      imgPreview, Label1,     Label2,
                         Label3,       Label5,    Label6,      Label7,     lblHelp,    lblInfo,
                         lblListCount, lblRandom, lblShutdown};
    for (QObject* control : mainMenuControls_)
        control->installEventFilter(this);
    // The help label's rest look follows the pointer over these two.
    Image1->setMouseTracking(true);
    imgPreview->setMouseTracking(true);
}

// The main menu's share of the window's event filter: right presses on the
// listed controls, and the help label's looks and click.
bool frmMain::mainMenuEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && mainMenuControls_.contains(watched)) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            Show_Main_Menu(press->button(), static_cast<QWidget*>(watched)->mapToGlobal(
                                                press->position().toPoint()));
            return true;
        }
    }
    if (watched == lblHelp) {
        switch (event->type()) {
        case QEvent::Enter:
            lblHelp_MouseMove();
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                lblHelp->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
                lblHelp_Click();
            return true;
        default:
            break;
        }
    }
    // The help label's rest look returns over the skin or the preview.
    if ((watched == Image1 || watched == imgPreview) && event->type() == QEvent::MouseMove)
        lblHelp_Layout();
    if (watched == lblHelp && event->type() == QEvent::Leave)
        lblHelp_Layout();
    return false;
}

void frmMain::Show_Main_Menu(Qt::MouseButton Button, const QPoint& at) {
    if (Button != Qt::RightButton)
        return;
    applyMenuLook(MainMenuLook(mode_, list_->Names()));
    popupMainMenu(at);
}

void frmMain::Add_Menu() {
    applyMenuLook(TrayMenuLook(mode_, list_->Names()));
}

// The picture entries, what is visible, and the captions of a menu look.
void frmMain::applyMenuLook(const MenuLook& look) {
    const auto n = static_cast<std::size_t>(look.pictureEntries.size());
    while (mWallpaper.size() <= n) {
        const int index = static_cast<int>(mWallpaper.size());
        QAction* action = mChangeMenu->addAction(QString());
        action->setObjectName(QStringLiteral("mWallpaper%1").arg(index));
        connect(action, &QAction::triggered, this, [this, index] { mWallpaper_Click(index); });
        mWallpaper.push_back(action);
    }
    for (std::size_t k = 1; k <= n; ++k) {
        mWallpaper[k]->setText(look.pictureEntries[static_cast<qsizetype>(k - 1)]);
        mWallpaper[k]->setEnabled(true);
        mWallpaper[k]->setVisible(true);
    }
    while (mWallpaper.size() > n + 1) {
        delete mWallpaper.back();
        mWallpaper.pop_back();
    }
    mWallpaper[0]->setVisible(look.placeholderVisible);
    mChange->setVisible(look.changeVisible);
    mnuSeperator3->setVisible(look.changeVisible);
    mRestore->setText(look.restoreCaption);
    mDisable->setVisible(look.disableVisible);
    mDisable->setText(look.disableCaption);
}

void frmMain::popupMainMenu(const QPoint& at) {
    ownPopup_ = true;
    mMenu->popup(at);
    ownPopup_ = false;
}

// The host reads the menu just before it shows it: the same entries and
// captions as the menu the program pops up itself for a right press.
void frmMain::mMenu_AboutToShow() {
    if (!ownPopup_ && m_.services().tray.HostDrawsMenu())
        Add_Menu();
}

void frmMain::mWallpaper_Click(int Index) {
    if (Index < 1 || Index > list_->Count())
        return;
    list_->Select(Index - 1);
    cmdApplyNow_Click();
}

// ------------------------------------------------------------ the icon

TrayModule::Owner frmMain::trayOwner() {
    return [this](int code) { Form_MouseMove(code); };
}

void frmMain::UpdateTrayIcon() {
    if (EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kSystray), 0))
        RemoveTrayIcon();
    else
        AddTrayIcon();
}

// Whoever adds or removes the icon has just decided on "Systray": the
// next tick reads it afresh rather than trusting what it read before.
void frmMain::AddTrayIcon() {
    systrayKnown_ = false;
    tray_.AddTrayIcon(trayOwner(), windowIcon(), windowTitle());
}

void frmMain::RemoveTrayIcon() {
    systrayKnown_ = false;
    tray_.RemoveTrayIcon();
}

void frmMain::Form_MouseMove(int code) {
    switch (DecodeTrayEvent(code)) {
    case TrayAction::HideMainMenu:
        mMenu->hide();
        break;
    case TrayAction::ToggleWindow:
        // Never hide the window from under an open modal dialog.
        if (mRestore->isEnabled() && !QApplication::activeModalWidget())
            mRestore_Click();
        break;
    case TrayAction::PopupMenu:
        // Without a known pointer position (Wayland) no popup can open
        // where the icon was pressed: the window comes up instead, whose
        // controls offer the same menu.
        if (!m_.services().tray.PointerKnown()) {
            if (inBackground())
                mRestore_Click();
            break;
        }
        Add_Menu();
        popupMainMenu(QCursor::pos());
        break;
    case TrayAction::None:
        break;
    }
}

// ------------------------------------------------- showing and hiding

void frmMain::mRestore_Click() {
    if (!inBackground()) {
        minimiseWindow();
        return;
    }
    // A window waiting in the task bar is mapped afresh: not every window
    // manager lets a program take its own window out of there.
    if (isVisible())
        hide();
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized); // leaves the background
    else
        leaveBackground();
    show();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - frameGeometry().width()) / 2,
             area.top() + (area.height() - frameGeometry().height()) / 2);
    }
    raise();
    activateWindow();
}

// Into the background. With a tray the window is only withdrawn, and the
// window manager never hears of a minimised state: its late reports on one
// could send the window back after it had been shown again.
void frmMain::minimiseWindow() {
    if (trayHoldsWindow()) {
        hide();
        enterBackground();
        return;
    }
    setWindowState(windowState() | Qt::WindowMinimized);
}

// Withdrawn into the tray, or waiting minimised in the task bar.
bool frmMain::inBackground() const {
    return isHidden() || (windowState() & Qt::WindowMinimized);
}

// Only a notification area brings a hidden window back; without one the
// window waits minimised in the task bar.
bool frmMain::trayHoldsWindow() const {
    return m_.services().tray.Available();
}

void frmMain::Rerun() {
    if (ended_ || unloading_)
        return;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->showNormal();
        modal->raise();
        modal->activateWindow();
        return;
    }
    if (trayHoldsWindow())
        return;
    if (inBackground()) {
        mRestore_Click();
        return;
    }
    show();
    raise();
    activateWindow();
}

void frmMain::trayWatch_Timer() {
    if (!isHidden() || trayHoldsWindow()) {
        trayLostTicks_ = 0;
        return;
    }
    if (++trayLostTicks_ < kTrayLostTicks)
        return;
    trayLostTicks_ = 0;
    trayWatch.stop();
    showMinimized();
}

void frmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmMain::Form_Resize() {
    if (unloading_ || ended_)
        return;
    if (windowState() & Qt::WindowMinimized)
        enterBackground();
    else
        leaveBackground();
}

void frmMain::enterBackground() {
    if (ShowsHiddenIconNotice(m_.GetINIFile(ini::kSettings, ini::kSystray),
                              m_.GetINIFile(ini::kSettings, ini::kInfo))) {
        m_.dialogs().MsgBox(kHiddenIconNotice, MsgButtons::Ok, MsgIcon::Information,
                            kHiddenIconNoticeTitle);
        m_.WriteINIFile(ini::kSettings, ini::kInfo, QStringLiteral("1"));
    }
    mode_.Minimise();
    mDisable->setVisible(true);
    if (trayHoldsWindow()) {
        hide();
        trayLostTicks_ = 0;
        trayWatch.start();
    }
    // Nothing is drawn while hidden: the pictures are loaded again on restore.
    Image1->clear();
    imgPreview->clear();
    if (QBackingStore* store = backingStore())
        store->resize(QSize(1, 1));
}

void frmMain::leaveBackground() {
    const int index = ListIndex();
    if (index >= 0 && !showPreview(list_->PathAt(index)))
        clearPreview();
    trayWatch.stop();
    Skins();
    mDisable->setVisible(false);
    if (ResumesSchedule(mode_.State()))
        mDisable_Click();
    mode_.Restore();
}

// -------------------------------------------------- pausing the schedule

void frmMain::setIconFromFile(const QString& relative) {
    if (const auto icon = LoadIconFile(m_.folder().DataFile(relative)))
        setWindowIcon(*icon);
}

void frmMain::mDisable_Click() {
    if (!mode_.ToggleDisabled())
        return;
    const TrayIconLook look = TrayIconLookFor(mode_.State(), windowTitle());
    if (mode_.Disabled())
        Timer1.stop();
    else
        Resume_Schedule();
    setIconFromFile(look.iconFile);
    mDisable->setText(mode_.DisableCaption());
    tray_.ModifyTrayIcon(trayOwner(), windowIcon(), look.tip);
}

// ---------------------------------------------------- the icon coming back

// "Systray" is read again only when the settings file changed: the
// watcher reports changes at once, and without it the file's time stamp
// and size are compared on the tick.
void frmMain::watchSettings() {
    settingsWatcher_ = new QFileSystemWatcher(this);
    const QString file = m_.SettingsFile();
    const QString folder = QFileInfo(file).absolutePath();
    // The file is replaced by a rename, which only its folder reports.
    settingsWatcher_->addPath(folder);
    if (QFileInfo::exists(file))
        settingsWatcher_->addPath(file);
    connect(settingsWatcher_, &QFileSystemWatcher::fileChanged, this, &frmMain::settingsChanged);
    connect(settingsWatcher_, &QFileSystemWatcher::directoryChanged, this,
            &frmMain::settingsChanged);
}

void frmMain::settingsChanged() {
    systrayKnown_ = false;
    const QString file = m_.SettingsFile();
    if (QFileInfo::exists(file) && !settingsWatcher_->files().contains(file))
        settingsWatcher_->addPath(file);
    Timer3_Timer();
}

// With the watcher at work a tick touches no file at all.
bool frmMain::systrayWanted() {
    const bool watched = settingsWatcher_ && !settingsWatcher_->directories().isEmpty();
    if (!watched) {
        const FileStamp stamp = StampOf(m_.SettingsFile());
        if (stamp != settingsStamp_) {
            settingsStamp_ = stamp;
            systrayKnown_ = false;
        }
    }
    if (!systrayKnown_) {
        systrayOn_ = EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kSystray), 1);
        systrayKnown_ = true;
    }
    return systrayOn_;
}

// While "Systray" is 1, an icon that is gone is added again. A tray host
// that goes away and comes back needs nothing here: the platform's icon
// docks itself into the new one (removing and adding it as well would
// race with that).
void frmMain::Timer3_Timer() {
    if (ended_ || !systrayWanted())
        return;
    if (!m_.services().tray.Exists())
        AddTrayIcon();
}

} // namespace tavorin
