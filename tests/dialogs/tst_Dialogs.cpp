// The options dialog (settings, log-on entry, change modes, skins) and the about dialog.
#include "Version.h"
#include "dialogs/SkinList.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "tests/dialogs/FakeOptionsHost.h"
#include "tests/support/Rig.h"
#include "tests/support/Rows.h"
#include "tests/support/TestPictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace tavorin;
using namespace tavorin::test;

namespace {

const QStringList kNoStartup = {"Once a day", "Frequently", "Manually"};

struct Program : Rig {
    explicit Program(const QStringList& skins = {"Metalic.jpg", "Blue.jpg"}) {
        for (const QString& skin : skins)
            folder.write("Skins/" + skin, "jpeg");
    }
    std::optional<QString> runValue() const {
        return fake.registry.StringValue(
            RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tavorin");
    }
    // Opens the dialog, lets `change` act on it, and presses OK.
    void ok(const std::function<void(frmOption&)>& change = {}) {
        frmOption dialog(m, host);
        if (change)
            change(dialog);
        dialog.cmdOK_Click();
    }
    FakeOptionsHost host;
};

struct Stored { // each of "Splash", "Systray", "Startup", "Convert" stored as `text`
    const char* name;
    QString text;
    bool checked;
};
struct Skin {
    const char* name;
    QString stored;
    int index;
};

} // namespace

class tst_Dialogs : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void optionsReadTheSettings_data() {
        AddRows<Stored>({{"0 unchecks", "0", false},
                         {"1 keeps", "1", true},
                         {"0 with spaces is 0", " 0", false},
                         {"not a number keeps the design", "off", true},
                         {"absent keeps the design", QString(), true}});
    }
    void optionsReadTheSettings() {
        QFETCH(Stored, row);
        Program p;
        for (const QString& key : {ini::kSplash, ini::kSystray, ini::kStartup, ini::kConvert})
            if (!row.text.isNull())
                p.set(key, row.text);
        frmOption dialog(p.m, p.host);
        QVERIFY(dialog.isModal() && dialog.optMachine1->isChecked() &&
                !dialog.chkConvert->isEnabled());
        for (QCheckBox* box :
             {dialog.chkSplash, dialog.chkSystray, dialog.chkStartup, dialog.chkConvert})
            QCOMPARE(box->isChecked(), row.checked);
        QCOMPARE(dialog.bytStartupRemoved, row.checked ? 0 : 1);
        QCOMPARE(p.host.log,
                 QStringList{"menu disabled"}); // About and Restore off while it is open
    }
    void machineAndConvert() {
        Program p;
        p.set(ini::kMachine, "2");
        frmOption dialog(p.m, p.host);
        QVERIFY(dialog.optMachine2->isChecked() && !dialog.optMachine1->isChecked());
        QVERIFY(dialog.chkConvert->isEnabled());
        dialog.show();
        // A click on the option's circle selects it; Convert is stored even while disabled.
        QTest::mouseClick(dialog.optMachine1, Qt::LeftButton, {},
                          QPoint(6, dialog.optMachine1->height() / 2));
        QVERIFY(!dialog.chkConvert->isEnabled());
        QTest::mouseClick(dialog.optMachine2, Qt::LeftButton, {},
                          QPoint(6, dialog.optMachine2->height() / 2));
        QVERIFY(dialog.chkConvert->isEnabled());
        dialog.chkConvert->setChecked(false);
        dialog.optMachine1->setChecked(true);
        dialog.cmdOK_Click();
        QCOMPARE(p.get(ini::kMachine) + p.get(ini::kConvert), QStringLiteral("10"));
        p.set(ini::kMachine, "3");
        frmOption other(p.m, p.host);
        QVERIFY(other.optMachine1->isChecked() && !other.chkConvert->isEnabled());
    }
    void okStoresEveryChoiceCancelNothing() {
        Program p;
        p.ok([](frmOption& d) {
            d.chkSplash->setChecked(false);
            d.optMachine2->setChecked(true);
            d.cboSkin->setCurrentText("Blue");
        });
        QStringList stored;
        for (const QString& key :
             {ini::kSplash, ini::kSystray, ini::kStartup, ini::kMachine, ini::kConvert, ini::kSkin})
            stored << p.get(key);
        QCOMPARE(stored, (QStringList{"0", "1", "1", "2", "1", "Blue"}));
        // The skin is applied after it was stored, then the menu is on again.
        QCOMPARE(p.host.log.mid(p.host.log.size() - 2), (QStringList{"Skins", "menu enabled"}));
        QCOMPARE(p.host.log.count("AddTrayIcon"), 1);
        // Cancel (or the close box) stores nothing and changes nothing.
        const QByteArray before = p.folder.read("Settings.INI");
        p.host.log.clear();
        p.fake.registry.log.clear();
        frmOption dialog(p.m, p.host);
        dialog.chkSplash->setChecked(true);
        dialog.chkStartup->setChecked(false);
        dialog.cboSkin->setCurrentIndex(0);
        dialog.show();
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(p.folder.read("Settings.INI"), before);
        QVERIFY(p.fake.registry.log.isEmpty());
        QCOMPARE(p.host.log, (QStringList{"menu disabled", "menu enabled"}));
        QCOMPARE(p.host.modes.size(), 4);
    }
    void trayIconAtOnce() {
        Program p;
        p.ok([](frmOption& d) { d.chkSystray->setChecked(false); });
        QCOMPARE(p.get(ini::kSystray), QStringLiteral("0"));
        QVERIFY(p.host.log.contains("RemoveTrayIcon") && !p.host.log.contains("AddTrayIcon"));
        p.host.log.clear();
        p.ok([](frmOption& d) {
            QVERIFY(!d.chkSystray->isChecked());
            d.chkSystray->setChecked(true);
        });
        QCOMPARE(p.get(ini::kSystray), QStringLiteral("1"));
        QVERIFY(!p.host.log.contains("RemoveTrayIcon") && p.host.log.contains("AddTrayIcon"));
    }
    void startupEntryAndChangeModes() {
        Program p;
        p.set(ini::kStartup, "0");
        p.host.modes = kNoStartup;
        p.ok([](frmOption& d) { d.chkStartup->setChecked(true); });
        QCOMPARE(p.runValue(), p.folder.path() + "/Loader.exe");
        QCOMPARE(p.get(ini::kStartup), QStringLiteral("1"));
        QCOMPARE(p.host.modes, QStringList{"Startup"} + kNoStartup);
        // Off again: the shown mode "Startup" becomes "Once a day"; only "Startup" goes, once.
        p.host.modeText = "Startup";
        for (int i = 0; i < 2; ++i)
            p.ok([](frmOption& d) { d.chkStartup->setChecked(false); });
        QVERIFY(!p.runValue());
        QCOMPARE(p.get(ini::kStartup), QStringLiteral("0"));
        QCOMPARE(p.host.modeText, QStringLiteral("Once a day"));
        QCOMPARE(p.host.modes, kNoStartup);
        QCOMPARE(p.host.log.count("remove 0"), 1);
        // Settings and the list disagree (a hand-edited file): never a second "Startup", and no
        // other mode taken away.
        p.host.modes.prepend("Startup");
        p.ok([](frmOption& d) { d.chkStartup->setChecked(true); });
        QCOMPARE(p.host.modes.count("Startup"), 1);
        p.host.modes = kNoStartup;
        p.ok([](frmOption& d) { d.chkStartup->setChecked(false); });
        QCOMPARE(p.host.modes, kNoStartup);
    }
    void startupEntryIsTheAutostartFile() {
        Program p;
        XdgRegistryStore registry(p.folder.configHome());
        Services services{p.fake.services.folder, p.fake.dialogs,  registry,     p.fake.wallpaper,
                          p.fake.shell,           p.fake.instance, p.fake.clock, p.fake.tray};
        Module1 m(services);
        const QString entry = p.folder.configHome() + "/autostart/Tavorin.desktop";
        p.set(ini::kStartup, "0");
        {
            frmOption dialog(m, p.host);
            dialog.chkStartup->setChecked(true);
            dialog.cmdOK_Click();
        }
        // The program folder has a space in its name: the path is quoted.
        const QString text = QString::fromUtf8(ReadFile(entry));
        QVERIFY2(text.contains("Type=Application") &&
                     text.contains("Exec=\"" + p.folder.path() + "/Loader.exe\""),
                 qPrintable(text));
        frmOption dialog(m, p.host);
        dialog.chkStartup->setChecked(false);
        dialog.cmdOK_Click();
        QVERIFY(!QFile::exists(entry));
    }
    void skinChoice_data() {
        AddRows<Skin>({{"absent: Metalic", QString(), 2},
                       {"none", "[none]", 0},
                       {"Blue", "Blue", 1},
                       {"Metalic", "Metalic", 2},
                       {"a deleted skin: no selection", "Gone", -1},
                       {"other case: no selection", "blue", -1}});
    }
    void skinChoice() {
        QFETCH(Skin, row);
        Program p;
        if (!row.stored.isNull())
            p.set(ini::kSkin, row.stored);
        frmOption dialog(p.m, p.host);
        QCOMPARE(dialog.cboSkin->count(), 3);
        QCOMPARE(dialog.cboSkin->currentIndex(), row.index);
    }
    void skinList() {
        TempProgramFolder folder;
        const QString skins = folder.file("Skins");
        QCOMPARE(SkinListEntries(skins), QStringList{"[none]"}); // no folder
        folder.write("Skins", "not a folder");
        QCOMPARE(SkinListEntries(skins), QStringList{"[none]"});
        QVERIFY(QFile::remove(skins));
        for (const char* name :
             {"Metalic.jpg", "blue sky.jpg", "Aqua.jpg", "Zebra.v2.jpg", "Shout.JPG", "Photo.jpeg",
              "Notes.txt", ".Hidden.jpg", "jpg", "Plain.bmp"})
            folder.write("Skins/" + QString::fromUtf8(name), "x");
        QVERIFY(QDir().mkpath(folder.file("Skins/Folder.jpg")));
        // Only names the skin routine can open as "Skins/<name>.jpg", ignoring case in order.
        QCOMPARE(SkinFiles(skins),
                 (QStringList{"Aqua.jpg", "blue sky.jpg", "Metalic.jpg", "Zebra.v2.jpg"}));
        QCOMPARE(SkinListEntries(skins),
                 (QStringList{"[none]", "Aqua", "blue sky", "Metalic", "Zebra.v2"}));
        for (int i = 0; i < 1005; ++i)
            folder.write(QStringLiteral("Skins/s%1.jpg").arg(i, 4, 10, QLatin1Char('0')), "");
        const QStringList entries = SkinListEntries(skins);
        QCOMPARE(entries.size(), 1 + 1001);
        QCOMPARE(entries.mid(4, 2) + entries.mid(1000),
                 (QStringList{"s0000", "s0001", "s0996", "s0997"}));
        // No folder named is not the current folder.
        const QString before = QDir::currentPath();
        QDir::setCurrent(skins);
        const QStringList none = SkinFiles(QString());
        QDir::setCurrent(before);
        QVERIFY(none.isEmpty());
        // Without Metalic nothing is chosen, and OK stores no skin.
        Program p({"Blue.jpg"});
        p.ok([](frmOption& d) { QCOMPARE(d.cboSkin->currentIndex(), -1); });
        QCOMPARE(p.get(ini::kSkin), QString());
    }
    void helpAndAbout() {
        Program p;
        p.folder.write("URLS/Updates.url",
                       "[InternetShortcut]\r\nURL=https://example.org/tavorin\r\n");
        p.folder.write("URLS/Send Feedback.url",
                       "[InternetShortcut]\nURL=mailto:tavorin@example.org?subject=Tavorin\n");
        frmOption options(p.m, p.host);
        QTest::mouseClick(options.cmdHelp, Qt::LeftButton);
        QCOMPARE(options.result(), 0); // Help does not close it
        frmAbout about(p.m);
        QCOMPARE(about.lblVersion->text(), QStringLiteral("Version ") + version::text);
        QCOMPARE(about.lblHomepage->text() + about.lblHomepage->toolTip(),
                 "https://example.org/tavorinhttps://example.org/tavorin");
        QCOMPARE(about.lblContact->text() + " " + about.lblContact->toolTip(),
                 "tavorin@example.org mailto:tavorin@example.org?subject=Tavorin");
        about.show();
        QTest::mouseClick(about.lblHomepage, Qt::LeftButton);
        QTest::mouseClick(about.lblContact, Qt::LeftButton);
        QCOMPARE(p.fake.shell.opened,
                 (QStringList{p.folder.file("Help/sub ref.htm"), p.folder.file("URLS/Updates.url"),
                              p.folder.file("URLS/Send Feedback.url")}));
        QTest::mouseClick(about.cmdOK, Qt::LeftButton);
        QVERIFY(!about.isVisible() && about.result() == QDialog::Accepted);
        // Missing shortcut files still give labels; opening them is OpenDocument's to report.
        Program bare;
        frmAbout plain(bare.m);
        QVERIFY(!plain.lblHomepage->text().isEmpty() && !plain.lblContact->text().isEmpty());
        plain.show();
        QTest::mouseClick(plain.lblHomepage, Qt::LeftButton);
        QCOMPARE(bare.fake.shell.opened.size(), 1);
        QVERIFY(bare.fake.dialogs.messages.isEmpty() && bare.host.log.isEmpty());
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_Dialogs.moc"
