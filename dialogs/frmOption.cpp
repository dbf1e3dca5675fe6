// The options dialog: splash, tray icon, start at log-on, wallpaper method, skin.
#include "dialogs/frmOption.h"

#include "dialogs/SkinList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavorin {

namespace {

const QString kSection = QStringLiteral("Settings");
const QString kStartupMode = QStringLiteral("Startup");
const QString kOnceADayMode = QStringLiteral("Once a day");

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

frmOption::frmOption(Module1& module, OptionsHost& host, QWidget* parent)
    : QDialog(parent), m_(module), host_(host) {
    buildControls();
    Form_Load();
}

frmOption::~frmOption() = default;

void frmOption::buildControls() {
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);

    chkSplash = new QCheckBox(QStringLiteral("Show Splash Screen"), this);
    chkSystray = new QCheckBox(QStringLiteral("Show Icon in System Tray"), this);
    chkStartup = new QCheckBox(QStringLiteral("Load on Startup"), this);
    Frame1 = new QGroupBox(QStringLiteral("Wallpaper Changing Machine"), this);
    optMachine1 = new QRadioButton(QStringLiteral("Active Desktop (view as webpage)"), Frame1);
    optMachine2 =
        new QRadioButton(QStringLiteral("without Active Desktop (not view as webpage)"), Frame1);
    // What the two methods mean on this system.
    optMachine1->setToolTip(QStringLiteral(
        "Sets the wallpaper through the desktop's own wallpaper setting (GNOME, KDE, XFCE...)"));
    optMachine2->setToolTip(QStringLiteral(
        "Hands a converted bitmap to the desktop, or paints the root window on a bare window "
        "manager"));
    chkConvert = new QCheckBox(QStringLiteral("Enable converting *.JPG and *.GIF file type to "
                                              "bitmap (may cause some image quality ease off)"),
                               Frame1);
    Label1 = new QLabel(QStringLiteral("Skin:"), this);
    cboSkin = new QComboBox(this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdHelp = new QPushButton(QStringLiteral("Help"), this);

    // The state at design, before the settings are read.
    for (QCheckBox* box : {chkSplash, chkSystray, chkStartup, chkConvert})
        box->setChecked(true);
    optMachine1->setChecked(true);
    chkConvert->setEnabled(false);
    cmdOK->setDefault(true);

    auto* machine = new QVBoxLayout(Frame1);
    machine->addWidget(optMachine1);
    machine->addWidget(optMachine2);
    machine->addWidget(chkConvert);
    chkConvert->setStyleSheet(QStringLiteral("QCheckBox { margin-left: 18px; }"));

    auto* skin = new QHBoxLayout;
    skin->addWidget(Label1);
    skin->addWidget(cboSkin, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdHelp);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkSplash);
    layout->addWidget(chkSystray);
    layout->addWidget(chkStartup);
    layout->addWidget(Frame1);
    layout->addLayout(skin);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(optMachine1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optMachine1_Click();
    });
    connect(optMachine2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optMachine2_Click();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmOption::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOption::cmdCancel_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmOption::cmdHelp_Click);
}

QString frmOption::setting(const QString& key) const {
    return m_.GetINIFile(kSection, key);
}

void frmOption::store(const QString& key, const QString& value) const {
    m_.WriteINIFile(kSection, key, value);
}

void frmOption::Form_Load() {
    loadCheckBoxes();
    loadMachine();
    host_.SetAboutAndRestoreEnabled(false);
    loadSkinList();
}

void frmOption::loadCheckBoxes() {
    // Only a stored 0 unchecks; anything else leaves the box as designed.
    if (EqualsNumber(setting(QStringLiteral("Splash")), 0))
        chkSplash->setChecked(false);
    if (EqualsNumber(setting(QStringLiteral("Systray")), 0))
        chkSystray->setChecked(false);
    if (EqualsNumber(setting(QStringLiteral("Startup")), 0)) {
        chkStartup->setChecked(false);
        bytStartupRemoved = 1;
    }
    if (EqualsNumber(setting(QStringLiteral("Convert")), 0))
        chkConvert->setChecked(false);
}

void frmOption::loadMachine() {
    if (EqualsNumber(setting(QStringLiteral("Machine")), 2))
        optMachine2->setChecked(true); // runs optMachine2_Click
}

void frmOption::loadSkinList() {
    cboSkin->addItems(SkinListEntries(m_.folder().DataFile(QStringLiteral("Skins"))));
    const QString skin = setting(QStringLiteral("Skin"));
    const QString wanted = skin.isEmpty() ? kDefaultSkinName : skin;
    cboSkin->setCurrentIndex(cboSkin->findText(wanted, Qt::MatchExactly));
}

void frmOption::optMachine1_Click() {
    chkConvert->setEnabled(false);
}

void frmOption::optMachine2_Click() {
    chkConvert->setEnabled(true);
}

void frmOption::cmdOK_Click() {
    store(QStringLiteral("Splash"), flag(chkSplash->isChecked()));
    storeTrayIcon();
    storeStartup();
    store(QStringLiteral("Machine"),
          optMachine1->isChecked() ? QStringLiteral("1") : QStringLiteral("2"));
    store(QStringLiteral("Convert"), flag(chkConvert->isChecked()));
    store(QStringLiteral("Skin"), cboSkin->currentText());
    host_.Skins();
    accept();
}

void frmOption::storeTrayIcon() {
    if (chkSystray->isChecked()) {
        store(QStringLiteral("Systray"), QStringLiteral("1"));
        host_.AddTrayIcon();
    } else {
        store(QStringLiteral("Systray"), QStringLiteral("0"));
        host_.RemoveTrayIcon();
    }
}

void frmOption::storeStartup() {
    if (chkStartup->isChecked()) {
        m_.WriteRegValue(kRunKeyPath, QStringLiteral("Tavorin"),
                         m_.App_Path() + QStringLiteral("/Loader.exe"));
        store(QStringLiteral("Startup"), QStringLiteral("1"));
        if (bytStartupRemoved == 1) {
            // Never a second "Startup", whatever the list held.
            if (host_.ChangeModeAt(0) != kStartupMode)
                host_.InsertChangeMode(0, kStartupMode);
            bytStartupRemoved = 0;
        }
    } else {
        m_.DeleteRegValue(kRunValuePath);
        store(QStringLiteral("Startup"), QStringLiteral("0"));
        if (bytStartupRemoved == 0) {
            if (host_.ChangeModeText() == kStartupMode)
                host_.SetChangeModeText(kOnceADayMode);
            // Only "Startup" is ever taken away, never another mode.
            if (host_.ChangeModeAt(0) == kStartupMode)
                host_.RemoveChangeMode(0);
            bytStartupRemoved = 1;
        }
    }
}

void frmOption::cmdCancel_Click() {
    reject();
}

void frmOption::cmdHelp_Click() {
    m_.OpenDocument(m_.App_Path() + QStringLiteral("/Help/sub ref.htm"));
}

void frmOption::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmOption::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    host_.SetAboutAndRestoreEnabled(true);
}

} // namespace tavorin
