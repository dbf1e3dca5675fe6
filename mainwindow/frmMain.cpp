// The main window: its controls, initialisation, shutdown and the dialogs it opens.
#include "mainwindow/frmMain.h"

#include "engine/FilePaths.h"
#include "engine/ListFile.h"
#include "engine/Thumbnail.h"
#include "mainwindow/ButtonIcons.h"
#include "mainwindow/Schedule.h"
#include "platform/WindowFont.h"
#include "viewer/frmFullscreen.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

namespace tavorin {

namespace {

// The window design measures in twips, 15 to the pixel.
int px(int twips) {
    return qRound(twips / 15.0);
}
QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

template <typename W> W* place(W* widget, const char* name, const QRect& where) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(where);
    return widget;
}

QPushButton* pictureButton(QWidget* parent, const char* name, ButtonPicture picture, int top,
                           const QString& tip) {
    auto* button = place(new QPushButton(parent), name, twipRect(120, top, 495, 375));
    button->setIcon(ButtonIcon(picture));
    button->setToolTip(tip);
    return button;
}

QPushButton* textButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip, const QRect& where) {
    auto* button = place(new QPushButton(caption, parent), name, where);
    button->setToolTip(tip);
    return button;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& where) {
    return place(new QLabel(caption, parent), name, where);
}

void setTextColour(QLabel* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

frmMain::frmMain(Module1& module, SplashStatus& splash, QWidget* parent)
    : QWidget(parent), m_(module), splash_(splash), tray_(module.services().tray) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tavorin"));
    setFixedSize(px(6675), px(4065));
    // The skin picture decodes on another thread while the window is built.
    skinPreload_.Start(SkinPictureFile(m_), size());
    setWindowIcon(QIcon(m_.folder().DataFile(QStringLiteral("Icon/Tavorin icon.ico"))));
    // The fixed layout is drawn for a small dialog font.
    setFont(WindowFont(10));
    Timer1.setInterval(60000);
    Timer2.setInterval(1000);
    Timer3.setInterval(100);
    // The timers are members; as children with names they can be found
    // like the controls (a member leaves its parent before the parent ends).
    for (auto [timer, name] :
         {std::pair{&Timer1, "Timer1"}, {&Timer2, "Timer2"}, {&Timer3, "Timer3"}}) {
        timer->setParent(this);
        timer->setObjectName(QLatin1String(name));
    }
    createControls();
    createMainMenu();
    connectHandlers();
    connectListHandlers();
    connectMainMenu();
    watchForMainMenu();
    setDefaultOpeners();
    SetListButtons();
    // The session ending quits the program: the random order is kept.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &frmMain::Form_Unload);
}

frmMain::~frmMain() = default;

// ---------------------------------------------------------------- layout

void frmMain::createControls() {
    Image1 = place(new QLabel(this), "Image1", twipRect(0, 0, 6705, 4095));
    Image1->setScaledContents(true);
    createButtons();
    createListControls();
    createScheduleControls();
}

void frmMain::createButtons() {
    cmdSearch = pictureButton(this, "cmdSearch", ButtonPicture::Search, 120,
                              QStringLiteral("Search & add picture into the list"));
    cmdBrowse = pictureButton(this, "cmdBrowse", ButtonPicture::Add, 480,
                              QStringLiteral("Add picture into the list"));
    cmdDelete = pictureButton(this, "cmdDelete", ButtonPicture::Delete, 840,
                              QStringLiteral("Delete the selected picture in the list"));
    cmdUp = pictureButton(this, "cmdUp", ButtonPicture::Up, 1200,
                          QStringLiteral("Move the selected picture up"));
    cmdDown = pictureButton(this, "cmdDown", ButtonPicture::Down, 1560,
                            QStringLiteral("Move the selected picture down"));

    cmdLoad =
        textButton(this, "cmdLoad", QStringLiteral("&Load"),
                   QStringLiteral("Load saved wallpaper list"), twipRect(1200, 2040, 975, 375));
    cmdSave = textButton(this, "cmdSave", QStringLiteral("&Save"),
                         QStringLiteral("Save the wallpaper list"), twipRect(2160, 2040, 975, 375));
    cmdExit = textButton(this, "cmdExit", QStringLiteral("E&xit"),
                         QStringLiteral("Shut down Tavorin and stop changing wallpaper"),
                         twipRect(120, 3600, 615, 375));
    cmdAbout = textButton(this, "cmdAbout", QStringLiteral("&About"),
                          QStringLiteral("About Tavorin"), twipRect(720, 3600, 615, 375));
    cmdOption = textButton(this, "cmdOption", QStringLiteral("&Options"),
                           QStringLiteral("Change the settings of Tavorin"),
                           twipRect(1320, 3600, 735, 375));
    cmdApplyNow = textButton(this, "cmdApplyNow", QStringLiteral("Set As &Wallpaper"),
                             QStringLiteral("Change wallpaper with the selected picture now."),
                             twipRect(2520, 3600, 1455, 375));
    cmdPreview =
        textButton(this, "cmdPreview", QStringLiteral("Pre&view"),
                   QStringLiteral("Simulate 1 min = 1 sec."), twipRect(3960, 3600, 855, 375));
    cmdOK = textButton(this, "cmdOK", QStringLiteral("&Hide"),
                       QStringLiteral("Hide Tavorin, and change wallpaper in background"),
                       twipRect(5280, 3600, 615, 375));
    cmdApply =
        textButton(this, "cmdApply", QStringLiteral("A&pply"),
                   QStringLiteral("Save and apply the changes"), twipRect(5880, 3600, 615, 375));
    cmdApplyNow->setEnabled(false);
}

void frmMain::createListControls() {
    Label2 =
        label(this, "Label2", QStringLiteral("Wallpaper List:"), twipRect(720, 120, 1335, 255));
    lblListCount =
        label(this, "lblListCount", QStringLiteral("0/0"), twipRect(2040, 120, 855, 255));
    WallpaperListHost& host = *this; // a private base, reached from inside
    list_ = std::make_unique<WallpaperList>(this, twipRect(720, 360, 2415, 1500), m_, host);

    Label3 = label(this, "Label3", QStringLiteral("Preview:"), twipRect(3240, 120, 735, 255));
    lblHelp = label(this, "lblHelp", QStringLiteral("Help"), twipRect(6240, 0, 405, 195));
    lblHelp->setToolTip(QStringLiteral("View main window refences document"));
    lblHelp->setCursor(Qt::PointingHandCursor);
    // The labels that sit on the skin start light green and cyan.
    for (QLabel* onSkin : {Label2, Label3, lblListCount})
        setTextColour(onSkin, QColor(128, 255, 128));
    setTextColour(lblHelp, QColor(0, 255, 255));

    Frame2 = place(new QFrame(this), "Frame2", twipRect(3240, 360, 3320, 2490));
    Frame2->setFrameShape(QFrame::NoFrame);
    Frame2->setAutoFillBackground(true);
    QPalette black = Frame2->palette();
    black.setColor(QPalette::Window, Qt::black);
    Frame2->setPalette(black);
    imgPreview = place(new QLabel(Frame2), "imgPreview", twipRect(0, 0, 3320, 2490));
    imgPreview->setScaledContents(true);
    imgPreview->setToolTip(QStringLiteral("Double click to view fullscreen"));
    imgPreview->installEventFilter(this);
    lblLoading =
        label(Frame2, "lblLoading", QStringLiteral("Loading..."), twipRect(840, 960, 1815, 495));
    lblLoading->setAlignment(Qt::AlignCenter);
    setTextColour(lblLoading, Qt::white);
    lblLoading->hide();

    lblInfo = label(this, "lblInfo", QStringLiteral("Picture information"),
                    twipRect(3240, 2880, 3315, 615));
    lblInfo->setToolTip(QStringLiteral("Picture information"));
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblFilePath = new QLabel(this);
    lblFilePath->setObjectName(QStringLiteral("lblFilePath"));
    lblFilePath->hide();
}

void frmMain::createScheduleControls() {
    chkRandom = place(new QCheckBox(this), "chkRandom", twipRect(120, 2040, 180, 195));
    lblRandom = label(this, "lblRandom", QStringLiteral("Random"), twipRect(360, 2040, 600, 195));
    const QString randomTip = QStringLiteral("Change wallpaper in the random order");
    chkRandom->setToolTip(randomTip);
    lblRandom->setToolTip(randomTip);

    Label1 =
        label(this, "Label1", QStringLiteral("Change Wallpaper:"), twipRect(120, 2400, 855, 400));
    Label1->setWordWrap(true);
    cboChange = place(new QComboBox(this), "cboChange", twipRect(960, 2520, 2175, 315));

    const int top = 2880;
    Label5 = label(this, "Label5", QStringLiteral("After"), twipRect(360, top, 465, 255));
    txtHour =
        place(new QLineEdit(QStringLiteral("0"), this), "txtHour", twipRect(840, top, 360, 315));
    scrHour = place(new QScrollBar(Qt::Vertical, this), "scrHour", twipRect(1200, top, 255, 315));
    Label6 = label(this, "Label6", QStringLiteral("h"), twipRect(1560, top, 225, 255));
    txtMin =
        place(new QLineEdit(QStringLiteral("30"), this), "txtMin", twipRect(1800, top, 360, 315));
    scrMin = place(new QScrollBar(Qt::Vertical, this), "scrMin", twipRect(2160, top, 255, 315));
    Label7 = label(this, "Label7", QStringLiteral("min"), twipRect(2520, top, 495, 255));
    txtHour->setValidator(new QIntValidator(0, 23, txtHour));
    txtMin->setValidator(new QIntValidator(0, 59, txtMin));
    scrHour->setRange(0, 23);
    scrHour->setValue(23);
    scrMin->setRange(0, 59);
    scrMin->setValue(29);

    chkShutdown = place(new QCheckBox(this), "chkShutdown", twipRect(120, 3240, 180, 195));
    lblShutdown =
        label(this, "lblShutdown", QStringLiteral("Auto shutdown"), twipRect(360, 3240, 1065, 195));
    const QString shutdownTip =
        QStringLiteral("Automatically shutdown Tavorin after changing wallpaper");
    chkShutdown->setToolTip(shutdownTip);
    lblShutdown->setToolTip(shutdownTip);
    for (QLabel* caption : {lblRandom, lblShutdown})
        caption->installEventFilter(this);
}

void frmMain::connectHandlers() {
    connect(cboChange, &QComboBox::activated, this, &frmMain::cboChange_Click);
    connect(scrHour, &QScrollBar::valueChanged, this, &frmMain::scrHour_Change);
    connect(scrMin, &QScrollBar::valueChanged, this, &frmMain::scrMin_Change);
    connect(cmdApply, &QPushButton::clicked, this, &frmMain::cmdApply_Click);
    connect(cmdApplyNow, &QPushButton::clicked, this, &frmMain::cmdApplyNow_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &frmMain::cmdPreview_Click);
    connect(&Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);
    connect(cmdLoad, &QPushButton::clicked, this, &frmMain::cmdLoad_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmMain::cmdBrowse_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &frmMain::cmdSearch_Click);
    connect(cmdOption, &QPushButton::clicked, this, &frmMain::cmdOption_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &frmMain::cmdAbout_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmMain::cmdOK_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
}

// ---------------------------------------------------------- initialisation

void frmMain::setSplashStatus(const QString& text) {
    splash_.SetStatus(text);
}

// Every write replaces the whole settings file safely, which costs far more
// than a read: Apply at start-up mostly stores what is already there.
void frmMain::writeSetting(const QString& section, const QString& key, const QString& value) {
    if (m_.GetINIFile(section, key) != value)
        m_.WriteINIFile(section, key, value);
}

void frmMain::LoadData() {
    setSplashStatus(QStringLiteral("Loading Settings......"));
    m_.services().tray.SetMenu(mMenu);
    UpdateTrayIcon();
    // From here on a failing step leaves its controls as they are and the
    // next step runs.
    bringLogOnEntryInLine();
    fillChangeModes();
    setSplashStatus(QStringLiteral("Loading Wallpaper List......"));
    Load_List();
    List_Count();
    setSplashStatus(QStringLiteral("Setting up interface......"));
    setMode(ChangeModeFromText(m_.GetINIFile(ini::kSettings, ini::kChange)));
    cboChange_Click();
    restoreInterval();
    if (EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kLoader), 1) ||
        ChangeMode() != tavorin::ChangeMode::Startup)
        cmdApply_Click();
    if (ended_)
        return;
    Skins();
    watchSettings();
    Timer3.start();
}

void frmMain::bringLogOnEntryInLine() {
    if (EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kStartup), 0))
        m_.DeleteRegValue(kRunValuePath);
    else
        m_.WriteLogOnEntry();
}

void frmMain::fillChangeModes() {
    const bool startsWithSystem = !EqualsNumber(m_.GetINIFile(ini::kSettings, ini::kStartup), 0);
    cboChange->clear();
    for (const tavorin::ChangeMode mode : ChangeModes(startsWithSystem))
        cboChange->addItem(tavorin::ChangeModeText(mode));
    cboChange->setCurrentIndex(0);
}

// A mode that is not offered (an empty or hand-edited value, or "Startup"
// after the program stopped starting with the system) leaves the box as it
// was.
void frmMain::setMode(tavorin::ChangeMode mode) {
    const int index = cboChange->findText(tavorin::ChangeModeText(mode));
    if (index >= 0)
        cboChange->setCurrentIndex(index);
}

ChangeMode frmMain::ChangeMode() const {
    return ChangeModeFromText(cboChange->currentText());
}

void frmMain::restoreInterval() {
    const auto interval = SplitInterval(m_.GetINIFile(ini::kSettings, ini::kMin));
    if (!interval)
        return;
    txtHour->setText(QString::number(interval->hours));
    scrHour->setValue(23 - interval->hours);
    scrHour_Change();
    txtMin->setText(QString::number(interval->minutes));
    scrMin->setMaximum(interval->hours > 0 ? 59 : 58);
    scrMin->setValue(59 - interval->minutes);
    scrMin_Change();
}

void frmMain::Load_List() {
    setMode(ChangeModeFromText(m_.GetINIFile(ini::kSettings, ini::kChange)));
    if (const auto shutdown = WholeNumber(m_.GetINIFile(ini::kSettings, ini::kShutdown), 0, 1))
        chkShutdown->setChecked(*shutdown == 1);
    if (const auto random = WholeNumber(m_.GetINIFile(ini::kSettings, ini::kRandom), 0, 1))
        chkRandom->setChecked(*random == 1);
    savedListStamp_ = StampOf(AutomaticListFile(m_));
    savedList_ = LoadAutomaticList(m_);
    list_->AppendAll(savedList_);
}

// ------------------------------------------------------ other windows

void frmMain::imgPreview_DblClick() {
    const QPixmap shown = imgPreview->pixmap();
    if (shown.isNull())
        return;
    // The viewer gets the picture at the screen's size, not the preview's.
    const QImage picture = ReadPictureForScreen(previewPath_, frmFullscreen::ScreenPixels(this));
    auto* viewer = new frmFullscreen();
    viewer->show();
    viewer->Preview_Picture(picture.isNull() ? shown : QPixmap::fromImage(picture));
}

void frmMain::lblRandom_Click() {
    chkRandom->setChecked(!chkRandom->isChecked());
}

void frmMain::lblShutdown_Click() {
    if (chkShutdown->isEnabled())
        chkShutdown->setChecked(!chkShutdown->isChecked());
}

// ------------------------------------------------------ closing and ending

void frmMain::cmdOK_Click() {
    minimiseWindow();
}

void frmMain::mExit_Click() {
    unloading_ = true;
    Form_Unload();
    hide();
}

// The window system's close requests (close box, system menu) come
// spontaneous; the program's own do not.
void frmMain::closeEvent(QCloseEvent* event) {
    if (Form_QueryUnload(event->spontaneous()))
        event->ignore();
    else
        event->accept();
}

bool frmMain::Form_QueryUnload(bool fromCloseBox) {
    if (fromCloseBox && !unloading_) {
        cmdOK_Click();
        return true;
    }
    unloading_ = true;
    Form_Unload();
    return false;
}

void frmMain::Form_Unload() {
    if (ended_)
        return;
    writeRandomState();
    RemoveTrayIcon();
    Timer1.stop();
    Timer2.stop();
    Timer3.stop();
    ended_ = true;
    QCoreApplication::quit();
}

} // namespace tavorin
