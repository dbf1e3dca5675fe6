#pragma once

#include "dialogs/OptionsHost.h"
#include "engine/FilePaths.h"
#include "engine/PictureTarget.h"
#include "engine/RandomOrder.h"
#include "mainwindow/Schedule.h"
#include "mainwindow/Skins.h"
#include "mainwindow/SplashStatus.h"
#include "mainwindow/TrayModule.h"
#include "mainwindow/WallpaperList.h"
#include "settings/Module1.h"

#include <QDateTime>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QFileSystemWatcher;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;

namespace tavorin {

class frmAbout;

// The windows the main window opens, filled with the real windows at
// construction. A window that is not set is not opened.
struct MainWindowOpeners {
    std::function<void()> Browse;     // frmBrowse, modeless
    std::function<void()> Search;     // frmSearch, modeless
    std::function<void()> Options;    // frmOption, modal
    std::function<void()> AboutModal; // frmAbout from its button
};

// The main window: loaded for the whole run. Owns the wallpaper list, the
// schedule and the preview.
class frmMain : public QWidget,
                public PictureTarget,
                public OptionsHost,
                private SkinTarget,
                private WallpaperListHost {
    Q_OBJECT
  public:
    frmMain(Module1& module, SplashStatus& splash, QWidget* parent = nullptr);
    ~frmMain() override;

    // Brings the whole program into its working state; called once by
    // start-up before the window is shown.
    void LoadData();

    // True once the window has unloaded: the program ends.
    bool Ended() const { return ended_; }

    // PictureTarget: how the search window and the browser reach the list
    // and the wallpaper.
    void Append_Picture(const QString& path) override;
    void Set_Wallpaper(QString& path) override;

    // OptionsHost: what the options dialog changes at once.
    void AddTrayIcon() override;
    void RemoveTrayIcon() override;
    QString ChangeModeText() const override;
    void SetChangeModeText(const QString& text) override;
    QString ChangeModeAt(int index) const override;
    void InsertChangeMode(int index, const QString& text) override;
    void RemoveChangeMode(int index) override;
    // Puts the stored skin behind the controls.
    void Skins() override;
    void SetAboutAndRestoreEnabled(bool enabled) override;

    // ---- Handlers.
    // Schedule.
    void cboChange_Click();
    void scrHour_Change();
    void scrMin_Change();
    void cmdApply_Click();
    void Timer1_Timer();
    void cmdApplyNow_Click();
    // Starts the minute timer again after a pause, in mode "Frequently" only.
    void Resume_Schedule();
    // Preview.
    void cmdPreview_Click();
    void Timer2_Timer();
    // List editing.
    void lstWallpaper_Click();
    void lstWallpaper_DblClick();
    void lstWallpaper_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void lstWallpaper_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void lstWallpaper_DragDrop(QObject* Source, int X, int Y);
    void cmdDelete_Click();
    void cmdUp_Click();
    void cmdDown_Click();
    void mClear_Click();
    void mApply_Click() { cmdApplyNow_Click(); }
    void mSearch_Click() { cmdSearch_Click(); }
    void mAdd_Click() { cmdBrowse_Click(); }
    void mDelete_Click() { cmdDelete_Click(); }
    void mUp_Click() { cmdUp_Click(); }
    void mDown_Click() { cmdDown_Click(); }
    void SetListButtons();
    void List_Count();
    // Load and save.
    void cmdLoad_Click();
    void cmdSave_Click();
    // Other windows and labels.
    void cmdBrowse_Click();
    void cmdSearch_Click();
    void cmdOption_Click();
    void cmdAbout_Click();
    void imgPreview_DblClick();
    void lblRandom_Click();
    void lblShutdown_Click();
    // Looks and help.
    void lblHelp_Click();
    void lblHelp_MouseMove();
    void lblHelp_Layout();
    void mnuHelp_Click();
    void mnuReadme_Click();
    void mnuWebsite_Click();
    void mAbout_Click();
    void mOption_Click() { cmdOption_Click(); }
    // Tray icon and background mode.
    void Form_MouseMove(int code);
    // at: where the control was pressed, in global coordinates.
    void Show_Main_Menu(Qt::MouseButton Button, const QPoint& at);
    void Add_Menu();
    void mWallpaper_Click(int Index);
    void mRestore_Click();
    void Form_Resize();
    void mDisable_Click();
    void Timer3_Timer();
    // A host that draws the icon's menu is about to show it.
    void mMenu_AboutToShow();
    // While the window is hidden: a notification area that is gone for
    // kTrayLostTicks ticks in a row leaves the window minimised instead.
    void trayWatch_Timer();
    static constexpr int kTrayLostTicks = 3;
    // A later start of the program: where no tray can bring the window
    // back, it comes back (or an open modal dialog comes up).
    void Rerun();
    // Closing and ending.
    void cmdOK_Click();
    void cmdExit_Click() { mExit_Click(); }
    void mExit_Click();
    // A close request: from the window's close box it only minimises
    // (returns true: cancelled); any other unloads the window.
    bool Form_QueryUnload(bool fromCloseBox);

    // ---- State, readable by tests and the background mode. Tests find the
    // controls and timers by their object names.
    const RandomOrder& randomOrder() const { return order_; }
    const BackgroundMode& Background() const { return mode_; }
    // The paths of the list, in order.
    QStringList ListPaths() const;
    // The selected entry, -1 for none.
    int ListIndex() const;
    // The change mode the box shows.
    tavorin::ChangeMode ChangeMode() const;
    // The list row under a point of the list's viewport; the entry count
    // for a point below the last row.
    int RowAt(int Y) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // ---- Controls, named as in the window design.
    QLabel* Image1 = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblListCount = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblHelp = nullptr;
    QFrame* Frame2 = nullptr;
    QLabel* imgPreview = nullptr;
    QLabel* lblLoading = nullptr;
    QCheckBox* chkRandom = nullptr;
    QLabel* lblRandom = nullptr;
    QPushButton* cmdLoad = nullptr;
    QPushButton* cmdSave = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cboChange = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtHour = nullptr;
    QScrollBar* scrHour = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtMin = nullptr;
    QScrollBar* scrMin = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* lblInfo = nullptr;
    QCheckBox* chkShutdown = nullptr;
    QLabel* lblShutdown = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* cmdAbout = nullptr;
    QPushButton* cmdOption = nullptr;
    QPushButton* cmdApplyNow = nullptr;
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdApply = nullptr;
    QLabel* lblFilePath = nullptr;

    // The main popup menu: the tray icon's menu, also opened by a right
    // press on the window's controls.
    QMenu* mMenu = nullptr;
    QMenu* mChangeMenu = nullptr; // the submenu of mChange
    QAction* mChange = nullptr;
    QAction* mnuSeperator3 = nullptr;
    QAction* mRestore = nullptr;
    QAction* mAbout = nullptr;
    QAction* mOption = nullptr;
    QAction* mnuSeperator = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuReadme = nullptr;
    QAction* mnuWebsite = nullptr;
    QAction* mnuHelpSeperator = nullptr;
    QAction* mDisable = nullptr;
    QAction* mExit = nullptr;
    // Element 0 is a separator placeholder; element k shows picture k.
    std::vector<QAction*> mWallpaper;

    QTimer Timer1;    // one tick per minute of the "Frequently" mode
    QTimer Timer2;    // the preview, one tick per second
    QTimer Timer3;    // puts the tray icon back while "Systray" is 1
    QTimer trayWatch; // one tick a second while the window is hidden
    MainWindowOpeners openers_;

    // Layout.
    void createControls();
    void createListControls();
    void createScheduleControls();
    void createButtons();
    void connectHandlers();
    void connectListHandlers();

    // Tray icon and background mode.
    void createMainMenu();
    void connectMainMenu();
    void watchForMainMenu();
    bool mainMenuEvent(QObject* watched, QEvent* event);
    void UpdateTrayIcon();
    TrayModule::Owner trayOwner();
    void applyMenuLook(const MenuLook& look);
    void popupMainMenu(const QPoint& at);
    bool trayHoldsWindow() const;
    bool inBackground() const;
    void minimiseWindow();
    void enterBackground();
    void leaveBackground();
    void setIconFromFile(const QString& relative);
    void watchSettings();
    void settingsChanged();
    bool systrayWanted();

    // Looks.
    void SetSkinPicture(const QImage& picture) override;
    void SetLabelColour(const QColor& colour) override;
    void SetHelpColour(const QColor& colour) override;
    void applyHelpLook(const HelpLook& look);
    void openDocument(const QString& relative);
    void setDefaultOpeners();

    void setSplashStatus(const QString& text);
    // Stores a setting; a value the file already holds is not written again.
    void writeSetting(const QString& section, const QString& key, const QString& value);
    void bringLogOnEntryInLine();
    void fillChangeModes();
    void setMode(tavorin::ChangeMode mode);
    void restoreInterval();
    void Load_List();
    void Save_List();

    // Schedule.
    bool isFrequently() const;
    void Change_Wallpaper();
    bool tryChangeWallpaper();
    bool readRandomState();
    void writeRandomState();
    void setIntervalEnabled(bool enabled);
    void setShutdownEnabled(bool enabled);
    void stopPreview();
    void Preview_Step();
    int boxInterval() const;

    // List.
    void ListSelectionChanged() override;
    void ListDoubleClicked() override;
    void ListEntriesRemoved() override;
    void ListOrderChanged() override;
    void clearPreview();
    void showNoPictureInfo();
    bool showPreview(const QString& path);
    void reportMissingPicture();
    void reportUnsavedPictures(const QStringList& skipped);

    // Ending.
    void Form_Unload();

    Module1& m_;
    SplashStatus& splash_;
    bool ended_ = false;
    bool unloading_ = false;

    RandomOrder order_;
    int minuteCount_ = 0;
    int previewTicks_ = 0;
    int previewPeriod_ = 0;
    int previewIndex_ = 0;
    QString previewPath_;
    int trayLostTicks_ = 0;
    bool ownPopup_ = false;
    bool inClick_ = false;
    bool reportingMissing_ = false;
    bool changing_ = false;

    std::unique_ptr<WallpaperList> list_; // lstWallpaper and its menu
    TrayModule tray_;
    BackgroundMode mode_;
    SkinPreload skinPreload_;
    QList<QObject*> mainMenuControls_;
    QFileSystemWatcher* settingsWatcher_ = nullptr;
    // "Systray" as last read, and what the file looked like then.
    bool systrayOn_ = false;
    bool systrayKnown_ = false;
    FileStamp settingsStamp_;
    // The automatic list as this window last read or wrote it, and what
    // its file looked like then.
    QStringList savedList_;
    FileStamp savedListStamp_;
    QPointer<QWidget> browseWindow_;
    QPointer<QWidget> searchWindow_;
    QPointer<frmAbout> aboutWindow_;
};

} // namespace tavorin
