// The search window: its controls, their set-up and the rules that tie the
// criteria together. The search and the results are in frmSearchResults.cpp.
#include "search/frmSearch.h"

#include "platform/Mounts.h"
#include "platform/WindowFont.h"
#include "search/Thumbnail.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileIconProvider>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTimer>

namespace tavorin {

using namespace search;

namespace {

const QString kBrowseKey = QStringLiteral("[BrowseFolder]");
const QString kBrowseText = QStringLiteral("Browse...");
constexpr int kPanelWidth = 177; // the right-hand panel
constexpr int kStatusBarHeight = 18;
// The status bar's "added" panel and the room around it: the status panel
// takes the rest of the window's width.
constexpr int kBesideStatusPanel = 205;

// Every thumbnail sits centred in a cell of the same size, whatever its own
// size; the item text's line break is drawn as one. The thumbnail is drawn
// straight from the image the list keeps: no pixmap or icon is made of it.
class ThumbnailDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QWidget* view = option.widget;
        QStyle* style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view);
        const QImage thumbnail = index.data(frmSearch::ThumbnailRole).value<QImage>();
        if (thumbnail.isNull())
            return;
        const QRect place = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &cell, view);
        QRect picture(QPoint(0, 0), thumbnail.size());
        picture.moveCenter(place.center());
        painter->drawImage(picture.topLeft(), thumbnail);
    }

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = CellPixelSize();
        option->text.remove(QLatin1Char('\r'));
    }
};

QComboBox* MakeList(QWidget* parent, const QStringList& entries, bool editable) {
    auto* box = new QComboBox(parent);
    box->setEditable(editable);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(entries);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QString& tip,
                        const QRect& place) {
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(tip);
    button->setGeometry(place);
    return button;
}

} // namespace

frmSearch::frmSearch(Module1& m, PictureTarget& target, QWidget* parent)
    : frmSearch(m, target, SystemVolumes(), parent) {}

frmSearch::frmSearch(Module1& m, PictureTarget& target, const std::vector<Volume>& volumes,
                     QWidget* parent)
    : QWidget(parent, Qt::Window), m_(m), target_(target) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Search for Images"));
    setFont(WindowFont(10));
    createControls();
    connectHandlers();
    resize(625, 451);
    setMinimumSize(400, 420);
    Form_Load(volumes);
}

frmSearch::~frmSearch() = default;

std::vector<Volume> frmSearch::SystemVolumes() {
    // Listed from the kernel's list of mounts, without touching any of them.
    std::vector<Volume> volumes;
    for (const QString& drive : UserDrives(CurrentMounts()))
        volumes.push_back({drive, true});
    return volumes;
}

void frmSearch::createControls() {
    lstResult = new QListWidget(this);
    lstResult->setViewMode(QListView::IconMode);
    lstResult->setIconSize(CellPixelSize());
    lstResult->setGridSize(QSize(130, 122));
    lstResult->setMovement(QListView::Static);
    lstResult->setResizeMode(QListView::Adjust);
    lstResult->setUniformItemSizes(true);
    lstResult->setWordWrap(true);
    lstResult->setSelectionMode(QAbstractItemView::SingleSelection);
    lstResult->setItemDelegate(new ThumbnailDelegate(lstResult));
    lstResult->viewport()->installEventFilter(this);

    frameSearch = new QGroupBox(QStringLiteral("Search"), this);
    frameSearch->setFixedWidth(kPanelWidth);

    lblHelp = new QLabel(QStringLiteral("Help"), frameSearch);
    lblHelp->setGeometry(144, 8, 27, 13);
    lblHelp->setToolTip(QStringLiteral("View help document"));
    lblHelp->setCursor(Qt::PointingHandCursor);
    QFont linkFont = lblHelp->font();
    linkFont.setUnderline(true);
    lblHelp->setFont(linkFont);
    lblHelp->setMouseTracking(true);
    lblHelp->installEventFilter(this);

    Frame1 = new QGroupBox(QStringLiteral("File Type:"), frameSearch);
    Frame1->setGeometry(8, 24, 161, 41);
    cboFileType = MakeList(Frame1, FileTypeEntries(), false);
    cboFileType->setGeometry(8, 16, 145, 21);

    Frame2 = new QGroupBox(QStringLiteral("Resolution in Pixels:"), frameSearch);
    Frame2->setGeometry(8, 72, 161, 97);
    cboSize = MakeList(Frame2, ComparisonEntries(), false);
    cboSize->setGeometry(8, 16, 145, 21);
    Label1 = new QLabel(QStringLiteral("Width:"), Frame2);
    Label1->setGeometry(8, 48, 33, 17);
    cboWidth = MakeList(Frame2, WidthEntries(), true);
    cboWidth->setGeometry(48, 48, 105, 21);
    Label2 = new QLabel(QStringLiteral("Height:"), Frame2);
    Label2->setGeometry(8, 72, 41, 17);
    cboHeight = MakeList(Frame2, HeightEntries(), true);
    cboHeight->setGeometry(48, 72, 105, 21);

    Frame3 = new QGroupBox(QStringLiteral("Look in:"), frameSearch);
    Frame3->setGeometry(8, 176, 161, 65);
    cboBrowse = MakeList(Frame3, {}, true);
    cboBrowse->setGeometry(8, 16, 145, 22);
    chkSubfolders = new QCheckBox(QStringLiteral("include subfolders"), Frame3);
    chkSubfolders->setGeometry(24, 40, 105, 17);
    chkSubfolders->setChecked(true);

    cmdOK = MakeButton(frameSearch, QStringLiteral("Search"),
                       QStringLiteral("Click here to begin searhing"), {40, 256, 97, 25});
    cmdRemove = MakeButton(frameSearch, QStringLiteral("Remove"),
                           QStringLiteral("Remove the selected image from search result"),
                           {40, 288, 97, 25});
    cmdWallpaper = MakeButton(frameSearch, QStringLiteral("Set As Wallpaper"),
                              QStringLiteral("Set the selected image as desktop background"),
                              {40, 320, 97, 25});
    cmdAdd =
        MakeButton(frameSearch, QStringLiteral("Add All to the List"),
                   QStringLiteral("Add all the images into wallpaper list"), {40, 352, 97, 25});
    cmdRemove->setEnabled(false);
    cmdWallpaper->setEnabled(false);
    cmdAdd->setEnabled(false);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setFixedHeight(kStatusBarHeight);
    panelStatus = new QLabel(StatusBar1);
    panelStatus->setFixedWidth(420);
    panelAdded = new QLabel(QStringLiteral("Total: 0 image(s) added"), StatusBar1);
    panelAdded->setToolTip(panelAdded->text());
    panelAdded->setFixedWidth(210);
    StatusBar1->addWidget(panelStatus);
    StatusBar1->addWidget(panelAdded);

    // The results fill the window beside the search panel, above the status bar.
    auto* beside = new QHBoxLayout;
    beside->setSpacing(0);
    beside->addWidget(lstResult);
    beside->addWidget(frameSearch);
    auto* above = new QVBoxLayout(this);
    above->setContentsMargins(0, 0, 0, 0);
    above->setSpacing(0);
    above->addLayout(beside);
    above->addWidget(StatusBar1);

    mMenu = new QMenu(QStringLiteral("Menu"), this);
    mFullscreen = mMenu->addAction(QStringLiteral("&Fullscreen"));
    mMenu->addSeparator();
    mRemove = mMenu->addAction(QStringLiteral("&Remove"));
    mWallpaper = mMenu->addAction(QStringLiteral("&Set As Wallpaper"));

    // Progress: ticks only while a search runs (a 1 ms timer left on while
    // idle would only burn power).
    Timer1 = new QTimer(this);
    Timer1->setInterval(1);
}

void frmSearch::connectHandlers() {
    connect(cboBrowse, &QComboBox::activated, this, &frmSearch::cboBrowse_Click);
    connect(cboFileType, &QComboBox::currentIndexChanged, this, &frmSearch::cboFileType_Click);
    connect(cboSize, &QComboBox::currentIndexChanged, this, &frmSearch::cboSize_Click);
    connect(cboWidth, &QComboBox::editTextChanged, this, &frmSearch::cboWidth_Change);
    connect(cboHeight, &QComboBox::editTextChanged, this, &frmSearch::cboHeight_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmSearch::cmdOK_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmSearch::cmdRemove_Click);
    connect(cmdWallpaper, &QPushButton::clicked, this, &frmSearch::cmdWallpaper_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmSearch::cmdAdd_Click);
    connect(lstResult, &QListWidget::itemPressed, this, &frmSearch::lstResult_ItemClick);
    connect(mFullscreen, &QAction::triggered, this, &frmSearch::mFullscreen_Click);
    connect(mRemove, &QAction::triggered, this, &frmSearch::mRemove_Click);
    connect(mWallpaper, &QAction::triggered, this, &frmSearch::mWallpaper_Click);
    connect(Timer1, &QTimer::timeout, this, &frmSearch::Timer1_Timer);
}

void frmSearch::Form_Load(const std::vector<Volume>& volumes) {
    cboBrowse->clear();
    cboBrowse->addItem(kBrowseText, kBrowseKey);
    const QStringList drives = DriveEntries(volumes);
    for (qsizetype i = drives.size() - 1; i >= 0; --i)
        cboBrowse->insertItem(0, Get_Icon(drives[i]), drives[i], drives[i]);
    cboBrowse->setEditText(QStringLiteral("/"));
    cboBrowse->setToolTip(cboBrowse->currentText());

    cboSize->setCurrentIndex(0);
    cboWidth->setEditText(QStringLiteral("640"));
    cboHeight->setEditText(QStringLiteral("480"));
    cboFileType->setCurrentIndex(int(FileTypeEntries().size()) - 1);
    cboFileType_Click();
    cboSize_Click();
}

QIcon frmSearch::Get_Icon(const QString& path) const {
    return QFileIconProvider().icon(QFileInfo(path));
}

void frmSearch::cboBrowse_Click() {
    if (cboBrowse->currentText() == kBrowseText) {
        const QString chosen =
            m_.dialogs().BrowseForFolder(this, QStringLiteral("Please, choose a folder"));
        if (!chosen.isEmpty()) {
            if (cboBrowse->findData(chosen) < 0)
                cboBrowse->insertItem(0, Get_Icon(chosen), chosen, chosen);
            cboBrowse->setEditText(chosen);
        } else {
            cboBrowse->setEditText(QStringLiteral("/"));
        }
    }
    cboBrowse->setToolTip(cboBrowse->currentText());
}

void frmSearch::cboFileType_Click() {
    cboFileType->setToolTip(cboFileType->currentText());
}

void frmSearch::setSizeBoxesEnabled(bool enabled) {
    for (QComboBox* box : {cboWidth, cboHeight}) {
        box->setEnabled(enabled);
        QPalette colours = box->palette();
        colours.setColor(QPalette::Base, enabled ? palette().color(QPalette::Active, QPalette::Base)
                                                 : palette().color(QPalette::Window));
        box->setPalette(colours);
    }
}

void frmSearch::cboSize_Click() {
    setSizeBoxesEnabled(cboSize->currentText() != QLatin1String("Any"));
}

void frmSearch::keepDigits(QComboBox* box) {
    const QString text = box->currentText();
    const QString digits = DigitsOnly(text);
    if (digits == text)
        return;
    QLineEdit* edit = box->lineEdit();
    const int cursor = edit ? edit->cursorPosition() : 0;
    const int removedBefore = int(text.left(cursor).size() - DigitsOnly(text.left(cursor)).size());
    box->setEditText(digits);
    if (edit)
        edit->setCursorPosition(cursor - removedBefore);
}

void frmSearch::cboWidth_Change() {
    keepDigits(cboWidth);
}
void frmSearch::cboHeight_Change() {
    keepDigits(cboHeight);
}

void frmSearch::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmSearch::Form_Resize() {
    if (width() > kBesideStatusPanel)
        panelStatus->setFixedWidth(width() - kBesideStatusPanel);
}

void frmSearch::lblHelp_Click() {
    m_.OpenDocument(m_.App_Path() + QStringLiteral("/Help/sub ref.htm"));
}

void frmSearch::lblHelp_MouseDown() {
    QPalette colours = lblHelp->palette();
    colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
    lblHelp->setPalette(colours);
}

void frmSearch::lblHelp_MouseMove() {
    QPalette colours = lblHelp->palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 0));
    lblHelp->setPalette(colours);
}

bool frmSearch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblHelp) {
        if (event->type() == QEvent::MouseButtonPress)
            lblHelp_MouseDown();
        else if (event->type() == QEvent::MouseMove)
            lblHelp_MouseMove();
        else if (event->type() == QEvent::MouseButtonRelease &&
                 lblHelp->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
            lblHelp_Click();
        return false;
    }
    if (watched == lstResult->viewport()) {
        const auto buttonCode = [event] {
            return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton ? 2 : 1;
        };
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            pressGlobal_ = lstResult->viewport()->mapToGlobal(
                static_cast<QMouseEvent*>(event)->position().toPoint());
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            lstResult_MouseDown(buttonCode());
            break;
        case QEvent::MouseButtonRelease:
            lstResult_MouseUp();
            break;
        case QEvent::MouseButtonDblClick: {
            // The second press of a double click is a press of its own.
            lstResult_MouseDown(buttonCode());
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (QListWidgetItem* item = lstResult->itemAt(at)) {
                lstResult->setCurrentItem(item);
                lstResult_ItemClick(item);
            }
            lstResult_DblClick();
            return true;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSearch::closeEvent(QCloseEvent* event) {
    if (engineRunning_) {
        // The search unwinds first; the window closes as soon as it has.
        if (cmdOK->text() == QLatin1String("Stop"))
            endSearch();
        closeRequested_ = true;
        hide();
        event->ignore();
        return;
    }
    intAdded = 0;
    QWidget::closeEvent(event);
}

QString frmSearch::ResultKey(int i) const {
    const QListWidgetItem* item = lstResult->item(i);
    return item ? item->data(KeyRole).toString() : QString();
}

QString frmSearch::StatusText() const {
    return panelStatus->text();
}
QString frmSearch::AddedText() const {
    return panelAdded->text();
}

} // namespace tavorin
