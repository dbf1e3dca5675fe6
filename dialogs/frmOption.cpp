// The options dialog: splash, tray icon, start at log-on, wallpaper method, skin.
#include "dialogs/frmOption.h"

#include "dialogs/SkinList.h"
#include "settings/SettingsKeys.h"

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

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

frmOption::frmOption(Module1& m, OptionsHost& host, QWidget* parent)
    : QDialog(parent), m_(m), host_(host) {
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
    return m_.GetINIFile(ini::kSettings, key);
}

void frmOption::store(const QString& key, const QString& value) const {
    m_.WriteINIFile(ini::kSettings, key, value);
}

void frmOption::Form_Load() {
    loadCheckBoxes();
    loadMachine();
    host_.SetAboutAndRestoreEnabled(false);
    loadSkinList();
}

void frmOption::loadCheckBoxes() {
    // Only a stored 0 unchecks; anything else leaves the box as designed.
    if (EqualsNumber(setting(ini::kSplash), 0))
        chkSplash->setChecked(false);
    if (EqualsNumber(setting(ini::kSystray), 0))
        chkSystray->setChecked(false);
    if (EqualsNumber(setting(ini::kStartup), 0)) {
        chkStartup->setChecked(false);
        bytStartupRemoved = 1;
    }
    if (EqualsNumber(setting(ini::kConvert), 0))
        chkConvert->setChecked(false);
}

void frmOption::loadMachine() {
    if (EqualsNumber(setting(ini::kMachine), 2))
        optMachine2->setChecked(true); // runs optMachine2_Click
}

void frmOption::loadSkinList() {
    cboSkin->addItems(SkinListEntries(m_.folder().DataFile(QStringLiteral("Skins"))));
    const QString skin = setting(ini::kSkin);
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
    store(ini::kSplash, flag(chkSplash->isChecked()));
    storeTrayIcon();
    storeStartup();
    store(ini::kMachine, optMachine1->isChecked() ? QStringLiteral("1") : QStringLiteral("2"));
    store(ini::kConvert, flag(chkConvert->isChecked()));
    store(ini::kSkin, cboSkin->currentText());
    host_.Skins();
    accept();
}

void frmOption::storeTrayIcon() {
    if (chkSystray->isChecked()) {
        store(ini::kSystray, QStringLiteral("1"));
        host_.AddTrayIcon();
    } else {
        store(ini::kSystray, QStringLiteral("0"));
        host_.RemoveTrayIcon();
    }
}

void frmOption::storeStartup() {
    if (chkStartup->isChecked()) {
        m_.WriteLogOnEntry();
        store(ini::kStartup, QStringLiteral("1"));
        if (bytStartupRemoved == 1) {
            // Never a second "Startup", whatever the list held.
            if (ChangeModeFromText(host_.ChangeModeAt(0)) != ChangeMode::Startup)
                host_.InsertChangeMode(0, ChangeModeText(ChangeMode::Startup));
            bytStartupRemoved = 0;
        }
    } else {
        m_.DeleteRegValue(kRunValuePath);
        store(ini::kStartup, QStringLiteral("0"));
        if (bytStartupRemoved == 0) {
            if (ChangeModeFromText(host_.ChangeModeText()) == ChangeMode::Startup)
                host_.SetChangeModeText(ChangeModeText(ChangeMode::OnceADay));
            // Only "Startup" is ever taken away, never another mode.
            if (ChangeModeFromText(host_.ChangeModeAt(0)) == ChangeMode::Startup)
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
