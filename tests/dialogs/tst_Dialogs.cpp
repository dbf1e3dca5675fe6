// The options dialog (settings, log-on entry, change modes, skins) and the about dialog.
#include "Version.h"
#include "dialogs/SkinList.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "tests/dialogs/FakeOptionsHost.h"
#include "tests/support/Rig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

class tst_Dialogs : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void optionsScenario() {
        Rig rig;
        FakeOptionsHost host;
        host.modes.removeFirst(); // the main window left "Startup" out
        for (const char* skin : {"Skins/Metalic.jpg", "Skins/Blue.jpg"})
            rig.folder.write(skin, "jpeg");
        const QStringList stored = {ini::kSplash,  ini::kSystray, ini::kStartup,
                                    ini::kMachine, ini::kConvert, ini::kSkin};
        const auto settings = [&] {
            QStringList values;
            for (const QString& key : stored)
                values << rig.get(key);
            return values;
        };
        const auto runValue = [&] {
            return rig.fake.registry.StringValue(
                RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                "Tavorin");
        };
        // Only a stored 0 unchecks; "Machine" 2 enables Convert.
        for (const auto& [key, value] : QList<std::pair<QString, QString>>{{ini::kSplash, " 0"},
                                                                           {ini::kSystray, "off"},
                                                                           {ini::kStartup, "0"},
                                                                           {ini::kMachine, "2"}})
            rig.set(key, value);
        {
            frmOption dialog(rig.m, host);
            QCOMPARE(host.log, QStringList{"menu disabled"}); // About and Restore while it is open
            QVERIFY(!dialog.chkSplash->isChecked() && dialog.chkSystray->isChecked());
            QVERIFY(!dialog.chkStartup->isChecked() && dialog.chkConvert->isChecked());
            QVERIFY(dialog.optMachine2->isChecked() && dialog.chkConvert->isEnabled());
            QCOMPARE(dialog.cboSkin->currentText(), QStringLiteral("Metalic"));
            QCOMPARE(dialog.cboSkin->count(), 3);
            // A click on the option's circle; Convert is stored even while disabled.
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
        QCOMPARE(host.modes.first(), QStringLiteral("Startup"));
        // The tray icon at once; the skin applied once stored, then the menu on again.
        QCOMPARE(host.log.mid(1),
                 (QStringList{"AddTrayIcon", "insert 0 Startup", "Skins", "menu enabled"}));
        // Startup off while it is the shown mode: "Once a day" shown, and only "Startup" goes,
        // once.
        host.modeText = "Startup";
        host.log.clear();
        for (int i = 0; i < 2; ++i) {
            frmOption dialog(rig.m, host);
            dialog.chkStartup->setChecked(false);
            dialog.chkSystray->setChecked(false);
            dialog.optMachine2->setChecked(true);
            dialog.cmdOK_Click();
        }
        QVERIFY(!runValue());
        QCOMPARE(settings(), (QStringList{"0", "0", "0", "2", "0", "Blue"}));
        QCOMPARE(host.modeText, QStringLiteral("Once a day"));
        QCOMPARE(host.modes, (QStringList{"Once a day", "Frequently", "Manually"}));
        QCOMPARE(host.changes().count("remove 0"), 1);
        QVERIFY(host.changes().contains("RemoveTrayIcon") &&
                !host.changes().contains("AddTrayIcon"));
        // The list and the settings disagree (a hand-edited file): never a second "Startup".
        host.modes.prepend("Startup");
        frmOption again(rig.m, host);
        again.chkStartup->setChecked(true);
        again.cmdOK_Click();
        QCOMPARE(host.modes.count("Startup"), 1);
        // Cancel stores nothing and changes nothing; Help opens the options page.
        const QByteArray before = rig.folder.read("Settings.INI");
        host.log.clear();
        rig.fake.registry.log.clear();
        frmOption dialog(rig.m, host);
        dialog.chkStartup->setChecked(false);
        dialog.chkSplash->setChecked(true);
        dialog.show();
        QTest::mouseClick(dialog.cmdHelp, Qt::LeftButton);
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        QCOMPARE(rig.folder.read("Settings.INI"), before);
        QVERIFY(rig.fake.registry.log.isEmpty() && host.changes().isEmpty());
        QCOMPARE(rig.fake.shell.opened, QStringList{rig.folder.file("Help/sub ref.htm")});
    }
    void skinList() {
        Rig rig;
        const QString skins = rig.folder.file("Skins");
        QCOMPARE(SkinListEntries(skins), QStringList{"[none]"}); // no folder
        for (const char* name :
             {"Metalic.jpg", "blue sky.jpg", "Aqua.jpg", "Zebra.v2.jpg", "Shout.JPG", "Photo.jpeg",
              "Notes.txt", ".Hidden.jpg", "jpg", "Folder.jpg/x"})
            rig.folder.write(QStringLiteral("Skins/") + name, "x");
        // Only names the skin routine can open as "Skins/<name>.jpg", ignoring case in order.
        QCOMPARE(SkinListEntries(skins),
                 (QStringList{"[none]", "Aqua", "blue sky", "Metalic", "Zebra.v2"}));
        for (int i = 0; i < 1005; ++i)
            rig.folder.write(QStringLiteral("Skins/s%1.jpg").arg(i, 4, 10, QLatin1Char('0')), "");
        QCOMPARE(SkinListEntries(skins).mid(1000), (QStringList{"s0996", "s0997"})); // at most 1001
        // A stored skin not there (or in another case) selects nothing; OK then stores none.
        FakeOptionsHost host;
        rig.set(ini::kSkin, "metalic");
        frmOption dialog(rig.m, host);
        QCOMPARE(dialog.cboSkin->currentIndex(), -1);
        dialog.cmdOK_Click();
        QCOMPARE(rig.get(ini::kSkin), QString());
    }
    void aboutShowsTheVersionAndOpensTheLinks() {
        Rig rig;
        rig.folder.write("URLS/Updates.url",
                         "[InternetShortcut]\r\nURL=https://example.org/tavorin\r\n");
        rig.folder.write("URLS/Send Feedback.url",
                         "[InternetShortcut]\nURL=mailto:tavorin@example.org?subject=Tavorin\n");
        frmAbout about(rig.m);
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Version ") + version::text);
        QCOMPARE(about.lblHomepage->text(), QStringLiteral("https://example.org/tavorin"));
        QCOMPARE(about.lblContact->text(), QStringLiteral("tavorin@example.org"));
        about.show();
        QTest::mouseClick(about.lblHomepage, Qt::LeftButton);
        QTest::mouseClick(about.lblContact, Qt::LeftButton);
        QCOMPARE(rig.fake.shell.opened, (QStringList{rig.folder.file("URLS/Updates.url"),
                                                     rig.folder.file("URLS/Send Feedback.url")}));
        QTest::mouseClick(about.cmdOK, Qt::LeftButton);
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_Dialogs.moc"
