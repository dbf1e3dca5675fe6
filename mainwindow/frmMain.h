#pragma once

#include "engine/PictureTarget.h"
#include "engine/RandomOrder.h"
#include "mainwindow/Schedule.h"
#include "mainwindow/SplashStatus.h"
#include "settings/Module1.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;

namespace tavorin {

// The windows the main window opens. The program sets them; a window
// that is not set is not opened.
struct MainWindowOpeners {
    std::function<void()> Browse;     // frmBrowse, modeless
    std::function<void()> Search;     // frmSearch, modeless
    std::function<void()> Options;    // frmOption, modal
    std::function<void()> AboutModal; // frmAbout from its button
};

// The main window: loaded for the whole run. Owns the wallpaper list, the
// schedule and the preview.
class frmMain : public QWidget, public PictureTarget {
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

    MainWindowOpeners openers;

    // ---- Controls, named as in the window design.
    QLabel* Image1 = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblListCount = nullptr;
    QListWidget* lstWallpaper = nullptr;
    QListWidget* lstAdd = nullptr;
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

    // The list menu.
    QMenu* mlist = nullptr;
    QAction* mApply = nullptr;
    QAction* mnuListSeperator = nullptr;
    QAction* mSearch = nullptr;
    QAction* mAdd = nullptr;
    QAction* mDelete = nullptr;
    QAction* mUp = nullptr;
    QAction* mDown = nullptr;
    QAction* mnuListSeperator2 = nullptr;
    QAction* mClear = nullptr;

    QTimer Timer1; // one tick per minute of the "Frequently" mode
    QTimer Timer2; // the preview, one tick per second

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
    // Closing and ending.
    void cmdOK_Click();
    void cmdExit_Click() { mExit_Click(); }
    void mExit_Click();
    // A close request: from the window's close box it only minimises
    // (returns true: cancelled); any other unloads the window.
    bool Form_QueryUnload(bool fromCloseBox);

    // ---- State, readable by tests and the background mode.
    const RandomOrder& randomOrder() const { return order_; }
    int MinuteCount() const { return minuteCount_; }
    int PreviewIndex() const { return previewIndex_; }
    // The paths of the list, in order.
    QStringList ListPaths() const;
    // The selected entry, -1 for none.
    int ListIndex() const;
    // The current change mode.
    QString ChangeMode() const;
    // The list row under a point of the list's viewport; the entry count
    // for a point below the last row.
    int RowAt(int Y) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Layout.
    void createControls();
    void createListControls();
    void createScheduleControls();
    void createButtons();
    void createListMenu();
    void connectHandlers();
    void connectListHandlers();

    // Initialisation hooks the background mode and the skins fill.
    void UpdateTrayIcon();
    void Skins();

    void setSplashStatus(const QString& text);
    // Stores a setting; a value the file already holds is not written again.
    void writeSetting(const QString& section, const QString& key, const QString& value);
    void bringLogOnEntryInLine();
    void fillChangeModes();
    void setModeText(const QString& mode);
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
    void setListSelection(int row);
    void removeEntry(int row);
    void clearPreview();
    bool showPreview(const QString& path);
    void reportMissingPicture();
    void moveSelected(int offset);
    void moveEntry(int from, int to);
    void appendEntry(const QString& path, const QString& name);
    void reportUnsavedPictures(const QStringList& skipped);
    void beginDrag();

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
    QPoint dragStart_;
    bool inClick_ = false;
    bool reportingMissing_ = false;
    bool changing_ = false;
};

} // namespace tavorin
