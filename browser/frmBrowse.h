#pragma once

#include "browser/Volumes.h"

#include <QMap>
#include <QStringList>
#include <QWidget>

#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QTimer;

namespace tavorin {

class Module1;
class PictureTarget;

namespace browse {
class DirListBox;
class ThumbList;
} // namespace browse

// The image browser: a folder's pictures as thumbnails, to preview them,
// view them full screen, make one the wallpaper or add them to the main
// window's list. Modeless; it deletes itself when closed.
class frmBrowse : public QWidget {
    Q_OBJECT
  public:
    // volumes: the drives to offer; nullptr for the system's mounted volumes.
    frmBrowse(Module1& module, PictureTarget& target, QWidget* parent = nullptr,
              std::unique_ptr<browse::IVolumes> volumes = nullptr);
    ~frmBrowse() override;

    // ---- Controls.
    QComboBox* drv = nullptr;
    browse::DirListBox* dlb = nullptr;
    QComboBox* cboFileType = nullptr;
    browse::ThumbList* flb = nullptr;
    QFrame* Frame1 = nullptr;
    QFrame* Frame2 = nullptr;
    QLabel* imgPreviewBack = nullptr;
    QLabel* imgPreview = nullptr;
    QPushButton* cmdFullscreen = nullptr;
    QPushButton* cmdWallpaper = nullptr;
    QPushButton* cmdAdd = nullptr;
    QLabel* lblInfo = nullptr;
    QLabel* lblHelp = nullptr;
    QMenu* mMenu = nullptr;
    QAction* mnuAdd = nullptr;
    QAction* mnuFullscreen = nullptr;
    QAction* mnuWallpaper = nullptr;
    QTimer* Timer1 = nullptr;

    // ---- Events.
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    void drv_Change();
    void dlb_Change();
    void cboFileType_Click();
    void flb_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void flb_ItemClick(QListWidgetItem* item);
    void flb_MouseUp();
    void flb_DblClick();
    void mnuAdd_Click();
    void cmdAdd_Click() { mnuAdd_Click(); }
    void imgPreviewBack_DblClick();
    void cmdFullscreen_Click() { imgPreviewBack_DblClick(); }
    void mnuFullscreen_Click() { imgPreviewBack_DblClick(); }
    void cmdWallpaper_Click();
    void mnuWallpaper_Click() { cmdWallpaper_Click(); }
    void lblHelp_Click();
    void Timer1_Timer();

    // ---- What the window holds, for its callers and tests.
    // The drive list's current drive ("drv.Drive"); setting it raises
    // drv_Change when it changes. False when no such drive is listed.
    QString Drive() const;
    bool setDrive(const QString& drive);
    // The picture shown in the preview box, empty when none.
    const QString& previewedPath() const { return previewedPath_; }

  protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void connectControls();
    void fillDrives();
    void previewPicture(const QString& path);
    void popUpMenu(const QPoint& globalPos);

    Module1& m_;
    PictureTarget& target_;
    std::unique_ptr<browse::IVolumes> volumes_;

    // ---- Scan state.
    QStringList colFiles_;
    bool blnSaveDir_ = false;
    QMap<QString, QString> driveFolders_; // each drive's current folder
    QString shownDrive_;                  // the drive drv_Change last acted on
    // Form_Activate runs when the window becomes active from within the
    // program: on showing, and back from the viewer or a dialog of ours;
    // never when the user comes back from another application.
    bool activateFromWithin_ = false;

    // ---- Click record and preview.
    QStringList selected_; // keys in click order, repeats kept
    int bytButton_ = 0;
    int bytPrevButton_ = 0;
    bool blnMultiKey_ = false;
    bool blnItemClicked_ = false;
    bool blnEmptyClick_ = false;
    QString strLastKey_;
    QString strPreviewKey_;
    QString previewedPath_;
    int intAdded_ = 0;
};

} // namespace tavorin
