#pragma once

#include "engine/PictureTarget.h"
#include "search/SearchCriteria.h"
#include "settings/Module1.h"

#include <QIcon>
#include <QPoint>
#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QAction;
class QPushButton;
class QStatusBar;
class QTimer;

namespace tavorin {

namespace search {
class ThumbnailQueue;
struct Thumbnail;
} // namespace search

// "Search for Images": finds pictures by type and size under a folder and
// shows the hits as thumbnails. Opened modeless from the main window; it
// deletes itself when closed:
//     auto* window = new frmSearch(m, target, this);
//     window->show();
// A search runs inside cmdOK_Click and lets events run as it goes. Closing the
// window meanwhile stops the search and closes it once the search has
// returned; end it with close() or deleteLater(), never a plain delete while
// Searching().
class frmSearch : public QWidget {
    Q_OBJECT
  public:
    // volumes: the mounted volumes for the folder box (the system's by default).
    frmSearch(Module1& m, PictureTarget& target, QWidget* parent = nullptr);
    frmSearch(Module1& m, PictureTarget& target, const std::vector<search::Volume>& volumes,
              QWidget* parent = nullptr);
    ~frmSearch() override;

    // The mounted volumes as the system reports them.
    static std::vector<search::Volume> SystemVolumes();

    // ---- Criteria and set-up.
    void Form_Load(const std::vector<search::Volume>& volumes);
    QIcon Get_Icon(const QString& path) const;
    void cboBrowse_Click();
    void cboFileType_Click();
    void cboSize_Click();
    void cboWidth_Change();
    void cboHeight_Change();
    void Form_Resize();
    void lblHelp_Click();
    void lblHelp_MouseDown();
    void lblHelp_MouseMove();

    // ---- The search.
    void cmdOK_Click();
    void Timer1_Timer();
    bool Searching() const { return engineRunning_; }

    // ---- Results.
    void lstResult_MouseDown(int button);
    void lstResult_ItemClick(QListWidgetItem* item);
    void lstResult_MouseUp();
    void lstResult_DblClick();
    void cmdRemove_Click();
    void cmdWallpaper_Click();
    void cmdAdd_Click();
    void mFullscreen_Click() { lstResult_DblClick(); }
    void mRemove_Click() { cmdRemove_Click(); }
    void mWallpaper_Click() { cmdWallpaper_Click(); }

    // Item data: the key (full path) and the thumbnail (a QImage).
    static constexpr int KeyRole = Qt::UserRole;
    static constexpr int ThumbnailRole = Qt::UserRole + 1;

    // The key (full path) of result item i, from 0.
    QString ResultKey(int i) const;
    QString StatusText() const;
    QString AddedText() const;

    // Controls, as the window lays them out.
    QListWidget* lstResult;
    QGroupBox* frameSearch;
    QLabel* lblHelp;
    QGroupBox* Frame1;
    QComboBox* cboFileType;
    QGroupBox* Frame2;
    QComboBox* cboSize;
    QLabel* Label1;
    QComboBox* cboWidth;
    QLabel* Label2;
    QComboBox* cboHeight;
    QGroupBox* Frame3;
    QComboBox* cboBrowse;
    QCheckBox* chkSubfolders;
    QPushButton* cmdOK;
    QPushButton* cmdRemove;
    QPushButton* cmdWallpaper;
    QPushButton* cmdAdd;
    QStatusBar* StatusBar1;
    QLabel* panelStatus; // key "status"
    QLabel* panelAdded;  // key "added"
    QMenu* mMenu;
    QAction* mFullscreen;
    QAction* mRemove;
    QAction* mWallpaper;
    QTimer* Timer1;

    // Fields of the search and its results.
    QString strPattern;
    bool blnStop = false;
    int intFound = 0;
    int intRemoved = 0;
    int intSelected = 0;
    int intButton = 0;
    bool blnSelected = false;
    bool blnItemClicked = false;
    int intAdded = 0;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void popUpMenu();
    void createControls();
    void connectHandlers();
    void keepDigits(QComboBox* box);
    void setSizeBoxesEnabled(bool enabled);
    void startSearch();
    void endSearch();
    void showFound();
    void runSearch();
    void letEventsRun();
    void Add_Result(const QString& strFile);
    void appendResult(search::Thumbnail&& thumbnail);
    QListWidgetItem* selectedResult() const;

    Module1& m_;
    PictureTarget& target_;
    QString currentFolder_;
    QPoint pressGlobal_; // where the last press on the results was, on the screen
    bool engineRunning_ = false;
    bool closeRequested_ = false;
    search::ThumbnailQueue* queue_ = nullptr;
};

} // namespace tavorin
