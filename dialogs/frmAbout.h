#pragma once

#include "settings/Module1.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tavorin {

// The about dialog "About Tavorin": name, version, pictures and two links
// that open the internet shortcuts beside the program. The main window
// opens it modal from its button (exec()) and modeless from the tray menu
// (show(); it deletes itself when closed if WA_DeleteOnClose is set).
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(Module1& m, QWidget* parent = nullptr);
    ~frmAbout() override;

    void lblHomepage_Click();
    void lblContact_Click();
    void cmdOK_Click();

    QLabel* Image1;
    QLabel* Label2;
    QLabel* lblVersion;
    QLabel* Label1;
    QLabel* lblHomepage;
    QLabel* lblContact;
    QPushButton* cmdOK;
    QLabel* lblTitle;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QLabel* Image2;
    QFrame* Line1[2];

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void Form_Load();
    QString shortcutFile(const QString& name) const;
    // The address an internet shortcut leads to, "" when it has none.
    QString shortcutAddress(const QString& name) const;

    Module1& m_;
};

// "Version " and the program's version, e.g. "Version 1.2.35".
QString VersionText(int major, int minor, int revision);

} // namespace tavorin
