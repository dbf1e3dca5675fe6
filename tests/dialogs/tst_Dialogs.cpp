// The options dialog (settings, log-on entry, change modes, skins) and the about dialog.
#include "Version.h"
#include "dialogs/SkinList.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "tests/support/Rig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

// The main window as the options dialog sees it: a change-mode list and a log of the changes.
class FakeOptionsHost final : public OptionsHost {
  public:
    QStringList modes{"Once a day", "Frequently", "Manually"}, log;
    QString modeText = "Once a day";
    void AddTrayIcon() override { log << "AddTrayIcon"; }
    void RemoveTrayIcon() override { log << "RemoveTrayIcon"; }
    QString ChangeModeText() const override { return modeText; }
    void SetChangeModeText(const QString& text) override { modeText = text; }
    QString ChangeModeAt(int index) const override { return modes.value(index); }
    void InsertChangeMode(int index, const QString& text) override { modes.insert(index, text); }
    void RemoveChangeMode(int index) override { modes.removeAt(index); }
    void Skins() override { log << "Skins"; }
    void SetAboutAndRestoreEnabled(bool enabled) override { log << (enabled ? "on" : "off"); }
};

class tst_Dialogs : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void optionsScenario() {
        Rig rig;
        FakeOptionsHost host;
        for (const char* skin : {"Skins/Metalic.jpg", "Skins/Blue.jpg"})
            rig.folder.write(skin, "jpeg");
        const auto settings = [&] {
            QStringList values;
            for (const QString& key : {ini::kSplash, ini::kSystray, ini::kStartup, ini::kMachine,
                                       ini::kConvert, ini::kSkin})
                values << rig.get(key);
            return values;
        };
        const auto runValue = [&] {
            return rig.fake.registry.StringValue(
                RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                "Tavorin");
        };
        // Only a stored 0 unchecks; "Machine" 2 enables Convert.
        rig.set(ini::kSplash, " 0");
        rig.set(ini::kSystray, "off");
        rig.set(ini::kMachine, "2");
        {
            frmOption dialog(rig.m, host);
            QVERIFY(!dialog.chkSplash->isChecked() && dialog.chkSystray->isChecked());
            QVERIFY(dialog.optMachine2->isChecked() && dialog.chkConvert->isEnabled());
            QCOMPARE(dialog.cboSkin->currentText(), QStringLiteral("Metalic"));
            dialog.show();
            QTest::mouseClick(dialog.optMachine1, Qt::LeftButton, {},
                              {6, dialog.optMachine1->height() / 2});
            QVERIFY(!dialog.chkConvert->isEnabled());
            dialog.chkConvert->setChecked(false);
            dialog.chkStartup->setChecked(true);
            dialog.cboSkin->setCurrentText("Blue");
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        }
        QCOMPARE(settings(), (QStringList{"0", "1", "1", "1", "0", "Blue"}));
        QCOMPARE(runValue(), rig.folder.file("Loader.exe"));
        QCOMPARE(host.log, (QStringList{"off", "AddTrayIcon", "Skins", "on"}));
        // Startup off while it is the shown mode: "Once a day" shown, and "Startup" goes once.
        host.modeText = "Startup";
        for (int i = 0; i < 2; ++i) {
            frmOption dialog(rig.m, host);
            dialog.chkStartup->setChecked(false);
            dialog.optMachine2->setChecked(true);
            dialog.cmdOK_Click();
        }
        QVERIFY(!runValue());
        QCOMPARE(settings(), (QStringList{"0", "1", "0", "2", "0", "Blue"}));
        QCOMPARE(host.modeText, QStringLiteral("Once a day"));
        QCOMPARE(host.modes, (QStringList{"Once a day", "Frequently", "Manually"}));
        // Cancel stores nothing; Help opens the options page.
        const QByteArray before = rig.folder.read("Settings.INI");
        frmOption dialog(rig.m, host);
        dialog.chkSplash->setChecked(true);
        dialog.show();
        QTest::mouseClick(dialog.cmdHelp, Qt::LeftButton);
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        QCOMPARE(rig.folder.read("Settings.INI"), before);
        QCOMPARE(rig.fake.shell.opened, QStringList{rig.folder.file("Help/sub ref.htm")});
    }
    void skinList() {
        Rig rig;
        const QString skins = rig.folder.file("Skins");
        for (const char* name : {"Metalic.jpg", "blue sky.jpg", "Aqua.jpg", "Zebra.v2.jpg",
                                 "Shout.JPG", "Notes.txt", ".Hidden.jpg", "Folder.jpg/x"})
            rig.folder.write(QStringLiteral("Skins/") + name, "x");
        // Only names the skin routine can open as "Skins/<name>.jpg", ignoring case in order.
        QCOMPARE(SkinListEntries(skins),
                 (QStringList{"[none]", "Aqua", "blue sky", "Metalic", "Zebra.v2"}));
    }
    void aboutShowsTheVersion() {
        Rig rig;
        frmAbout about(rig.m);
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Version ") + version::text);
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_Dialogs.moc"
