// The image browser window: folders, drives, thumbnails, preview and adding.
#include "browser/frmBrowse.h"

#include "browser/BrowseRules.h"
#include "browser/DirListBox.h"
#include "browser/ThumbList.h"
#include "browser/ThumbnailScan.h"
#include "engine/PictureTarget.h"
#include "engine/Thumbnail.h"
#include "platform/DisplayFlush.h"
#include "platform/WindowFont.h"
#include "settings/Module1.h"
#include "settings/SettingsKeys.h"
#include "viewer/frmFullscreen.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace tavorin {

using namespace browse;

namespace {

// The outer size the window never goes below: 7500 x 5115 twips.
constexpr QSize kMinimumOuter{500, 341};
// The inner size the window is designed at.
constexpr QSize kDesignInner{661, 495};

// Which edges of a control keep their distance to the window's right or
// bottom side as the window is resized; the others stay where they are.
enum Follows { kStays = 0, kRightEdge = 1, kBottomEdge = 2, kMovesRight = 4, kMovesDown = 8 };

// Where a control sits at the design size, and how it follows a resize.
struct Place {
    QRect atDesignSize;
    int follows;
};

// The place at the design size moved and stretched by how much the window
// has grown (or shrunk) since.
QRect placeFor(const Place& place, QSize grown) {
    const QRect& r = place.atDesignSize;
    const int dx = place.follows & kMovesRight ? grown.width() : 0;
    const int dy = place.follows & kMovesDown ? grown.height() : 0;
    const int dw = place.follows & kRightEdge ? grown.width() : 0;
    const int dh = place.follows & kBottomEdge ? grown.height() : 0;
    return {r.x() + dx, r.y() + dy, r.width() + dw, r.height() + dh};
}

int buttonNumber(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

QLabel* newLabel(const QString& text, const QString& tip, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setToolTip(tip);
    return label;
}

QPushButton* newButton(const QString& text, const QString& tip, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(tip);
    return button;
}

} // namespace

frmBrowse::frmBrowse(Module1& module, PictureTarget& target, QWidget* parent,
                     std::unique_ptr<IVolumes> volumes)
    : QWidget(parent, Qt::Window), m_(module), target_(target),
      volumes_(volumes ? std::move(volumes) : std::make_unique<StorageVolumes>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kBrowserCaption);
    setFont(WindowFont(11));
    createControls();
    fillDrives();
    // The lists start on the home folder; nothing is scanned until a folder
    // is restored or chosen.
    const QString home = QDir::homePath();
    if (dlb->setPath(home)) {
        const QString drive = DriveOf(dlb->Path(), volumes_->Drives());
        driveFolders_.insert(drive, dlb->Path());
        drv->setCurrentIndex(std::max(0, drv->findText(drive)));
    }
    shownDrive_ = Drive();
    connectControls();
    resize(kDesignInner);
    Form_Resize();
    Timer1_Timer();
}

frmBrowse::~frmBrowse() = default;

void frmBrowse::createControls() {
    drv = new QComboBox(this);
    dlb = new DirListBox(this);
    cboFileType = new QComboBox(this);
    cboFileType->addItems(FileTypeEntries());
    cboFileType->setCurrentText(DefaultFileType());
    flb = new ThumbList(this);

    Frame2 = new QFrame(this);
    Frame1 = new QFrame(Frame2);
    imgPreviewBack = newLabel({}, QStringLiteral("Double click to view in fullscreen"), Frame1);
    imgPreviewBack->setFrameShape(QFrame::Box);
    imgPreviewBack->setGeometry(0, 0, 221, 166);
    Frame1->setGeometry(0, 0, 221, 167);
    imgPreview = new QLabel(Frame1);
    imgPreview->setScaledContents(true);
    imgPreview->setAttribute(Qt::WA_TransparentForMouseEvents);
    imgPreview->hide();

    cmdFullscreen =
        newButton(QStringLiteral("Fullscreen"), QStringLiteral("View image in fullscreen"), this);
    cmdWallpaper = newButton(QStringLiteral("Set As Wallpaper"),
                             QStringLiteral("Set the selected image as wallpaper"), this);
    cmdAdd = newButton(QStringLiteral("Add "),
                       QStringLiteral("Add the selected image(s) into the list"), this);
    lblInfo = new QLabel(AddedText(0), this);
    lblHelp = newLabel(QStringLiteral("Help"), QStringLiteral("View help document"), this);
    lblHelp->setCursor(Qt::PointingHandCursor);

    mMenu = new QMenu(QStringLiteral("Menu"), this);
    mnuAdd = mMenu->addAction(QStringLiteral("&Add"));
    mnuFullscreen = mMenu->addAction(QStringLiteral("&Fullscreen"));
    mnuWallpaper = mMenu->addAction(QStringLiteral("&Set As Wallpaper"));

    // Commands follow the window's state every 20 ms while it is shown.
    Timer1 = new QTimer(this);
    Timer1->setInterval(20);
}

void frmBrowse::connectControls() {
    connect(drv, &QComboBox::currentIndexChanged, this, [this] { drv_Change(); });
    connect(dlb, &DirListBox::Change, this, [this] {
        const QString drive = DriveOf(dlb->Path(), volumes_->Drives());
        driveFolders_.insert(drive, dlb->Path());
        if (drive != Drive() && drv->findText(drive) >= 0) {
            // The folder list went onto another drive: the drive list follows quietly.
            const QSignalBlocker quiet(drv);
            drv->setCurrentIndex(drv->findText(drive));
            shownDrive_ = drive;
        }
        dlb_Change();
    });
    connect(cboFileType, &QComboBox::activated, this, [this] { cboFileType_Click(); });
    flb->onMouseDown = [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
        flb_MouseDown(button, modifiers);
    };
    flb->onItemClick = [this](QListWidgetItem* item) { flb_ItemClick(item); };
    flb->onMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers) { flb_MouseUp(); };
    flb->onDblClick = [this] { flb_DblClick(); };
    connect(cmdAdd, &QPushButton::clicked, this, &frmBrowse::cmdAdd_Click);
    connect(cmdFullscreen, &QPushButton::clicked, this, &frmBrowse::cmdFullscreen_Click);
    connect(cmdWallpaper, &QPushButton::clicked, this, &frmBrowse::cmdWallpaper_Click);
    connect(mnuAdd, &QAction::triggered, this, &frmBrowse::mnuAdd_Click);
    connect(mnuFullscreen, &QAction::triggered, this, &frmBrowse::mnuFullscreen_Click);
    connect(mnuWallpaper, &QAction::triggered, this, &frmBrowse::mnuWallpaper_Click);
    connect(Timer1, &QTimer::timeout, this, &frmBrowse::Timer1_Timer);
    lblHelp->installEventFilter(this);
    imgPreviewBack->installEventFilter(this);
}

void frmBrowse::fillDrives() {
    const QSignalBlocker quiet(drv);
    drv->clear();
    drv->addItems(volumes_->Drives());
}

QString frmBrowse::Drive() const {
    return drv->currentText();
}

bool frmBrowse::setDrive(const QString& drive) {
    const int index = drv->findText(drive);
    if (index < 0)
        return false;
    if (index != drv->currentIndex())
        drv->setCurrentIndex(index);
    else if (drive != shownDrive_)
        drv_Change();
    return true;
}

// ---------------------------------------------------------------- folder scan

void frmBrowse::Form_Activate() {
    repaint();
    const QString drive = DriveOf(m_.GetINIFile(ini::kSettings, ini::kInitDir), volumes_->Drives());
    if (!drive.isEmpty())
        setDrive(drive);
    dlb->setPath(m_.GetINIFile(ini::kSettings, ini::kInitDir));
}

void frmBrowse::drv_Change() {
    blnSaveDir_ = false;
    const QString drive = Drive();
    shownDrive_ = drive;
    if (!volumes_->IsReady(drive)) {
        // The device is unavailable: back to the root drive (never in a loop).
        if (drive != QLatin1String("/"))
            setDrive(QStringLiteral("/"));
        return;
    }
    if (!dlb->setPath(driveFolders_.value(drive, drive)))
        dlb->setPath(drive); // its current folder has gone
}

void frmBrowse::cboFileType_Click() {
    dlb_Change();
}

void frmBrowse::dlb_Change() {
    imgPreview->hide();
    previewedPath_.clear();
    strLastKey_.clear();
    repaint();
    colFiles_.clear();
    flb->clear();
    flb->repaint();
    colFiles_ = FilterFiles(List_Files(dlb->Path()), cboFileType->currentText());
    const int count = int(colFiles_.size());
    const QColor background = flb->palette().color(QPalette::Base);
    ThumbnailScan::Run(colFiles_, background, [&](int i, Thumbnail&& thumbnail) {
        const QString& path = colFiles_.at(i);
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(thumbnail.cell)),
                                         ItemText(path, thumbnail.natural));
        item->setData(ThumbList::kKeyRole, path);
        flb->addItem(item);
        // The scan does not yield, so the new caption is pushed to the
        // display server at once to show the progress.
        setWindowTitle(ProgressCaption(i + 1, count));
        FlushDisplay();
    });
    if (blnSaveDir_)
        m_.WriteINIFile(ini::kSettings, ini::kInitDir, dlb->Path());
    blnSaveDir_ = true;
    setWindowTitle(kBrowserCaption);
    FlushDisplay();
}

void frmBrowse::Form_Unload() {
    blnSaveDir_ = false;
}

// ------------------------------------------------------- selection and adding

void frmBrowse::flb_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    if (button == Qt::LeftButton)
        blnMultiKey_ = false;
    const auto keys = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier) ||
                      QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
    if (keys == Qt::ShiftModifier || ctrl)
        blnMultiKey_ = true;
    bytButton_ = buttonNumber(button);
}

void frmBrowse::flb_ItemClick(QListWidgetItem* item) {
    const QString key = item->data(ThumbList::kKeyRole).toString();
    if (bytPrevButton_ != 1 && bytPrevButton_ != 2)
        bytPrevButton_ = 1;
    const bool plainClickOnAnother = !blnItemClicked_ && key != strLastKey_ && !blnMultiKey_;
    const bool twoRightClicks = bytPrevButton_ == 2 && bytButton_ == 2;
    if (plainClickOnAnother || twoRightClicks)
        selected_.clear();
    const bool differs = key != strLastKey_;
    strLastKey_ = key;
    bytPrevButton_ = bytButton_;
    if (differs) {
        selected_.append(key);
        strPreviewKey_ = key;
    }
    blnItemClicked_ = true;
    if (bytButton_ == 2)
        popUpMenu(flb->lastPressGlobal);
    blnEmptyClick_ = false;
}

void frmBrowse::popUpMenu(const QPoint& globalPos) {
    // Shown once the click has finished, so that its mouse-up still reaches the list.
    QTimer::singleShot(0, this, [this, globalPos] { mMenu->popup(globalPos); });
}

void frmBrowse::flb_MouseUp() {
    if (!blnItemClicked_) {
        if (QListWidgetItem* current = flb->currentItem()) {
            current->setSelected(false);
            strLastKey_.clear();
            imgPreview->hide();
            previewedPath_.clear();
            blnEmptyClick_ = true;
        }
    } else {
        previewPicture(strPreviewKey_);
    }
    blnItemClicked_ = false;
}

void frmBrowse::previewPicture(const QString& path) {
    imgPreview->hide();
    previewedPath_.clear();
    QSize natural;
    const QImage picture = ReadPictureFitted(
        path, [](QSize size) { return PreviewRect(size).size(); }, &natural);
    const QRect box = PreviewRect(natural);
    if (picture.isNull() || box.isEmpty())
        return;
    imgPreview->setPixmap(QPixmap::fromImage(picture));
    imgPreview->setGeometry(box.translated(imgPreviewBack->pos()));
    imgPreview->show();
    previewedPath_ = path;
}

void frmBrowse::flb_DblClick() {
    if (!blnEmptyClick_)
        imgPreviewBack_DblClick();
}

void frmBrowse::imgPreviewBack_DblClick() {
    if (imgPreview->isHidden())
        return;
    // The viewer gets the picture at screen size, not the small preview.
    const QImage picture = ReadPictureForScreen(previewedPath_, frmFullscreen::ScreenPixels(this));
    auto* viewer = new frmFullscreen();
    viewer->show();
    viewer->Preview_Picture(picture.isNull() ? imgPreview->pixmap() : QPixmap::fromImage(picture));
}

void frmBrowse::mnuAdd_Click() {
    QSet<QString> taken;
    for (int i = 0; i < int(selected_.size()); ++i) {
        const QString key = selected_.at(i);
        if (taken.contains(key))
            continue;
        taken.insert(key);
        target_.Append_Picture(key);
        ++intAdded_;
        lblInfo->setText(AddedText(intAdded_));
    }
    blnItemClicked_ = false;
}

void frmBrowse::cmdWallpaper_Click() {
    QListWidgetItem* current = flb->currentItem();
    if (!current)
        return;
    QString path = current->data(ThumbList::kKeyRole).toString();
    target_.Set_Wallpaper(path);
}

void frmBrowse::lblHelp_Click() {
    m_.OpenDocument(m_.App_Path() + QStringLiteral("/Help/sub ref.htm"));
}

void frmBrowse::Timer1_Timer() {
    const bool previewShown = !imgPreview->isHidden();
    imgPreviewBack->setEnabled(previewShown);
    cmdFullscreen->setEnabled(previewShown);
    mnuFullscreen->setEnabled(previewShown);
    cmdAdd->setEnabled(!strLastKey_.isEmpty());
    const bool oneShown = previewShown && selected_.size() == 1;
    cmdWallpaper->setEnabled(oneShown);
    mnuWallpaper->setEnabled(oneShown);
}

// -------------------------------------------------------------------- layout

void frmBrowse::Form_Resize() {
    const QSize frame = frameGeometry().size() - size();
    const QSize minimum = kMinimumOuter - frame;
    if (minimumSize() != minimum)
        setMinimumSize(minimum);
    // The folder column on the left, the thumbnails filling the rest, the
    // filter and the commands in a row along the bottom.
    const std::pair<QWidget*, Place> places[] = {
        {drv, {{0, 0, 220, 21}, kStays}},
        {dlb, {{0, 21, 220, 267}, kBottomEdge}},
        {Frame2, {{0, 288, 220, 167}, kMovesDown}},
        {flb, {{220, 0, 441, 455}, kRightEdge | kBottomEdge}},
        {lblHelp, {{4, 456, 30, 15}, kMovesDown}},
        {lblInfo, {{4, 480, 210, 15}, kMovesDown}},
        {cboFileType, {{213, 464, 241, 22}, kMovesDown | kRightEdge}},
        {cmdFullscreen, {{456, 464, 62, 25}, kMovesDown | kMovesRight}},
        {cmdWallpaper, {{520, 464, 94, 25}, kMovesDown | kMovesRight}},
        {cmdAdd, {{616, 464, 43, 25}, kMovesDown | kMovesRight}},
    };
    const QSize grown = size() - kDesignInner;
    for (const auto& [control, place] : places)
        control->setGeometry(placeFor(place, grown));
}

// -------------------------------------------------------------------- events

void frmBrowse::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (!isActiveWindow()) {
        // Another window of ours took over (none: another application did).
        activateFromWithin_ = activateFromWithin_ || QApplication::activeWindow() != nullptr;
        return;
    }
    if (activateFromWithin_) {
        activateFromWithin_ = false;
        Form_Activate();
    }
}

void frmBrowse::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmBrowse::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        activateFromWithin_ = true;
    Timer1->start();
}

void frmBrowse::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Timer1->stop();
}

void frmBrowse::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

bool frmBrowse::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblHelp) {
        if (event->type() == QEvent::MouseButtonPress) {
            lblHelp->setStyleSheet(QStringLiteral("color: #ff0000;"));
        } else if (event->type() == QEvent::MouseButtonRelease) {
            lblHelp->setStyleSheet(QStringLiteral("color: #000000;"));
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (lblHelp->rect().contains(mouse->position().toPoint()))
                lblHelp_Click();
        }
    } else if (watched == imgPreviewBack && event->type() == QEvent::MouseButtonDblClick) {
        imgPreviewBack_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tavorin
