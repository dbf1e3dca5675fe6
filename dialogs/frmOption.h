#pragma once

#include "dialogs/OptionsHost.h"
#include "settings/Module1.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tavorin {

// The options dialog "Options": splash window, tray icon, start at log-on,
// the wallpaper method, conversion to bitmap and the skin. Opened modal:
//     frmOption dialog(m, host, mainWindow);
//     dialog.exec();
// Every opening reads the settings afresh. OK stores every choice and
// applies the tray icon, the log-on entry, the change-mode list and the
// skin at once through the host; Cancel stores nothing.
class frmOption : public QDialog {
    Q_OBJECT
  public:
    frmOption(Module1& m, OptionsHost& host, QWidget* parent = nullptr);
    ~frmOption() override;

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void optMachine1_Click();
    void optMachine2_Click();

    // 1 while the main window's change-mode list does not hold "Startup".
    unsigned char bytStartupRemoved = 0;

    QCheckBox* chkSplash;
    QCheckBox* chkSystray;
    QCheckBox* chkStartup;
    QGroupBox* Frame1;
    QRadioButton* optMachine1;
    QRadioButton* optMachine2;
    QCheckBox* chkConvert;
    QLabel* Label1;
    QComboBox* cboSkin;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdHelp;

    void done(int result) override;

  private:
    void buildControls();
    void Form_Load();
    void Form_Unload();
    void loadCheckBoxes();
    void loadMachine();
    void loadSkinList();
    void storeTrayIcon();
    void storeStartup();
    QString setting(const QString& key) const;
    void store(const QString& key, const QString& value) const;

    Module1& m_;
    OptionsHost& host_;
    bool unloaded_ = false;
};

} // namespace tavorin
