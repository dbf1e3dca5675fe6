#include "dialogs/frmOption.h"
#include "tests/dialogs/FakeOptionsHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {

const QString kSection = QStringLiteral("Settings");

// One program folder with its settings, the fakes and the main window.
struct Program {
    explicit Program(const QStringList& skins = {QStringLiteral("Metalic.jpg"),
                                                 QStringLiteral("Blue.jpg")}) {
        for (const QString& skin : skins)
            folder.write(QStringLiteral("Skins/") + skin, "jpeg");
    }
    QString get(const QString& key) const { return module.GetINIFile(kSection, key); }
    void set(const QString& key, const QString& value) const {
        module.WriteINIFile(kSection, key, value);
    }
    std::optional<QString> runValue() const {
        return platform.registry.StringValue(
            RootKey::LocalMachine,
            QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run"),
            QStringLiteral("Tavorin"));
    }

    TempProgramFolder folder;
    FakePlatform platform{folder.path()};
    Module1 module{platform.services};
    FakeOptionsHost host;
};

QStringList items(const QComboBox& box) {
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out << box.itemText(i);
    return out;
}

} // namespace

class tst_frmOption : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void designStateAndMethodTips();
    void formLoadReadsTheSettings_data();
    void formLoadReadsTheSettings();
    void machineTwoSelectsTheOptionAndEnablesConvert();
    void convertBoxFollowsTheMachine();
    void okStoresEveryChoice();
    void startupOffThenOnAgain();
    void startupOnThenOffLeavesOnceADay();
    void okTwiceWithoutStartupRemovesItOnce();
    void startupNeverAddedTwiceNorOtherModeRemoved();
    void trayOptionTakesEffectAtOnce();
    void cancelStoresNothing();
    void aboutAndRestoreDisabledWhileLoaded();
    void skinListOrderAndDefaultSelection();
    void storedSkinSelected_data();
    void storedSkinSelected();
    void missingSkinsFolderOffersOnlyNone();
    void helpOpensTheOptionsDocument();
};

// No settings stored: everything as designed. The two methods say what
// they do here.
void tst_frmOption::designStateAndMethodTips() {
    Program program;
    frmOption dialog(program.module, program.host);
    QVERIFY(dialog.isModal());
    for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{
             dialog.chkSplash, dialog.chkSystray, dialog.chkStartup, dialog.optMachine1})
        QVERIFY(box->isChecked());
    QVERIFY(dialog.chkConvert->isChecked() && !dialog.chkConvert->isEnabled());
    QVERIFY(dialog.optMachine1->toolTip().contains("the desktop's own wallpaper setting"));
    QVERIFY(dialog.optMachine2->toolTip().contains("converted bitmap") &&
            dialog.optMachine2->toolTip().contains("root window"));
}

void tst_frmOption::formLoadReadsTheSettings_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");
    QTest::newRow("0 unchecks") << "0" << false;
    QTest::newRow("1 keeps") << "1" << true;
    QTest::newRow("0 with spaces is 0") << " 0" << false;
    QTest::newRow("not a number keeps the design state") << "off" << true;
    QTest::newRow("absent keeps the design state") << "" << true;
}

void tst_frmOption::formLoadReadsTheSettings() {
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    Program program;
    for (const char* key : {"Splash", "Systray", "Startup", "Convert"})
        program.set(QLatin1String(key), stored);
    frmOption dialog(program.module, program.host);
    QCOMPARE(dialog.chkSplash->isChecked(), checked);
    QCOMPARE(dialog.chkSystray->isChecked(), checked);
    QCOMPARE(dialog.chkStartup->isChecked(), checked);
    QCOMPARE(dialog.chkConvert->isChecked(), checked);
    QCOMPARE(dialog.bytStartupRemoved, checked ? 0 : 1);
}

void tst_frmOption::machineTwoSelectsTheOptionAndEnablesConvert() {
    Program program;
    program.set(QStringLiteral("Machine"), QStringLiteral("2"));
    frmOption dialog(program.module, program.host);
    QVERIFY(dialog.optMachine2->isChecked());
    QVERIFY(!dialog.optMachine1->isChecked());
    QVERIFY(dialog.chkConvert->isEnabled());

    program.set(QStringLiteral("Machine"), QStringLiteral("3"));
    frmOption other(program.module, program.host);
    QVERIFY(other.optMachine1->isChecked());
    QVERIFY(!other.chkConvert->isEnabled());
}

void tst_frmOption::convertBoxFollowsTheMachine() {
    Program program;
    frmOption dialog(program.module, program.host);
    dialog.show();
    // On the option's circle, where a click selects it.
    QTest::mouseClick(dialog.optMachine2, Qt::LeftButton, {},
                      QPoint(6, dialog.optMachine2->height() / 2));
    QVERIFY(dialog.chkConvert->isEnabled());
    dialog.chkConvert->setChecked(false);
    QTest::mouseClick(dialog.optMachine1, Qt::LeftButton, {},
                      QPoint(6, dialog.optMachine1->height() / 2));
    QVERIFY(!dialog.chkConvert->isEnabled());
    // Stored from the check mark even while the box is disabled.
    dialog.cmdOK_Click();
    QCOMPARE(program.get(QStringLiteral("Machine")), QStringLiteral("1"));
    QCOMPARE(program.get(QStringLiteral("Convert")), QStringLiteral("0"));
}

void tst_frmOption::okStoresEveryChoice() {
    Program program;
    frmOption dialog(program.module, program.host);
    dialog.chkSplash->setChecked(false);
    dialog.optMachine2->setChecked(true);
    dialog.cboSkin->setCurrentText(QStringLiteral("Blue"));
    dialog.cmdOK_Click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(program.get(QStringLiteral("Splash")), QStringLiteral("0"));
    QCOMPARE(program.get(QStringLiteral("Systray")), QStringLiteral("1"));
    QCOMPARE(program.get(QStringLiteral("Startup")), QStringLiteral("1"));
    QCOMPARE(program.get(QStringLiteral("Machine")), QStringLiteral("2"));
    QCOMPARE(program.get(QStringLiteral("Convert")), QStringLiteral("1"));
    QCOMPARE(program.get(QStringLiteral("Skin")), QStringLiteral("Blue"));
    // The skin is applied after it was stored, and the menu enabled again.
    QCOMPARE(program.host.log.last(), QStringLiteral("menu enabled"));
    QCOMPARE(program.host.changes().last(), QStringLiteral("Skins"));
}

void tst_frmOption::startupOffThenOnAgain() {
    Program program;
    program.set(QStringLiteral("Startup"), QStringLiteral("0"));
    program.host.modes.removeFirst(); // the main window left "Startup" out
    frmOption dialog(program.module, program.host);
    QCOMPARE(dialog.bytStartupRemoved, 1);
    QVERIFY(!dialog.chkStartup->isChecked());
    dialog.chkStartup->setChecked(true);
    dialog.cmdOK_Click();

    QCOMPARE(program.runValue(), program.folder.path() + QStringLiteral("/Loader.exe"));
    QCOMPARE(program.get(QStringLiteral("Startup")), QStringLiteral("1"));
    QCOMPARE(program.host.modes.first(), QStringLiteral("Startup"));
    QCOMPARE(program.host.modes.count(QStringLiteral("Startup")), 1);
    QCOMPARE(dialog.bytStartupRemoved, 0);
}

void tst_frmOption::startupOnThenOffLeavesOnceADay() {
    Program program;
    program.set(QStringLiteral("Startup"), QStringLiteral("1"));
    program.module.WriteRegValue(kRunKeyPath, QStringLiteral("Tavorin"), QStringLiteral("x"));
    program.host.modeText = QStringLiteral("Startup");
    frmOption dialog(program.module, program.host);
    dialog.chkStartup->setChecked(false);
    dialog.cmdOK_Click();

    QVERIFY(!program.runValue());
    QCOMPARE(program.get(QStringLiteral("Startup")), QStringLiteral("0"));
    QCOMPARE(program.host.modeText, QStringLiteral("Once a day"));
    QCOMPARE(program.host.modes,
             (QStringList{QStringLiteral("Once a day"), QStringLiteral("Frequently"),
                          QStringLiteral("Manually")}));
}

void tst_frmOption::okTwiceWithoutStartupRemovesItOnce() {
    Program program;
    program.set(QStringLiteral("Startup"), QStringLiteral("1"));
    {
        frmOption first(program.module, program.host);
        first.chkStartup->setChecked(false);
        first.cmdOK_Click();
    }
    {
        frmOption second(program.module, program.host);
        QCOMPARE(second.bytStartupRemoved, 1);
        QVERIFY(!second.chkStartup->isChecked());
        second.cmdOK_Click();
    }
    QCOMPARE(program.host.changes().count(QStringLiteral("remove 0")), 1);
    QCOMPARE(program.host.modes.size(), 3);
    QCOMPARE(program.host.modes.first(), QStringLiteral("Once a day"));
}

void tst_frmOption::startupNeverAddedTwiceNorOtherModeRemoved() {
    // Settings and the main window's list disagree (a hand-edited file).
    Program program;
    program.set(QStringLiteral("Startup"), QStringLiteral("0")); // but the list holds "Startup"
    {
        frmOption dialog(program.module, program.host);
        dialog.chkStartup->setChecked(true);
        dialog.cmdOK_Click();
    }
    QCOMPARE(program.host.modes.count(QStringLiteral("Startup")), 1);

    program.host.modes.removeFirst(); // and now the list lacks it while "Startup" = "1"
    {
        frmOption dialog(program.module, program.host);
        dialog.chkStartup->setChecked(false);
        dialog.cmdOK_Click();
    }
    QCOMPARE(program.host.modes,
             (QStringList{QStringLiteral("Once a day"), QStringLiteral("Frequently"),
                          QStringLiteral("Manually")}));
}

void tst_frmOption::trayOptionTakesEffectAtOnce() {
    Program program;
    {
        frmOption dialog(program.module, program.host);
        dialog.chkSystray->setChecked(false);
        dialog.cmdOK_Click();
    }
    QCOMPARE(program.get(QStringLiteral("Systray")), QStringLiteral("0"));
    QVERIFY(program.host.changes().contains(QStringLiteral("RemoveTrayIcon")));
    QVERIFY(!program.host.changes().contains(QStringLiteral("AddTrayIcon")));
    program.host.log.clear();
    {
        frmOption dialog(program.module, program.host);
        QVERIFY(!dialog.chkSystray->isChecked());
        dialog.chkSystray->setChecked(true);
        dialog.cmdOK_Click();
    }
    QCOMPARE(program.get(QStringLiteral("Systray")), QStringLiteral("1"));
    QVERIFY(program.host.changes().contains(QStringLiteral("AddTrayIcon")));
    QVERIFY(!program.host.changes().contains(QStringLiteral("RemoveTrayIcon")));
}

void tst_frmOption::cancelStoresNothing() {
    Program program;
    program.set(QStringLiteral("Startup"), QStringLiteral("1"));
    const QByteArray before = program.folder.read(QStringLiteral("Settings.INI"));
    frmOption dialog(program.module, program.host);
    dialog.chkSplash->setChecked(false);
    dialog.chkSystray->setChecked(false);
    dialog.chkStartup->setChecked(false);
    dialog.optMachine2->setChecked(true);
    dialog.cboSkin->setCurrentIndex(0);
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(program.folder.read(QStringLiteral("Settings.INI")), before);
    QVERIFY(program.host.changes().isEmpty());
    QVERIFY(program.platform.registry.log.isEmpty());
    QCOMPARE(program.host.log.last(), QStringLiteral("menu enabled"));
}

void tst_frmOption::aboutAndRestoreDisabledWhileLoaded() {
    Program program;
    frmOption dialog(program.module, program.host);
    QCOMPARE(program.host.log, QStringList{QStringLiteral("menu disabled")});
    dialog.show();
    dialog.close(); // the window's close box
    QCOMPARE(program.host.log,
             (QStringList{QStringLiteral("menu disabled"), QStringLiteral("menu enabled")}));
}

void tst_frmOption::skinListOrderAndDefaultSelection() {
    Program program;
    frmOption dialog(program.module, program.host);
    QCOMPARE(items(*dialog.cboSkin), (QStringList{QStringLiteral("[none]"), QStringLiteral("Blue"),
                                                  QStringLiteral("Metalic")}));
    QCOMPARE(dialog.cboSkin->currentText(), QStringLiteral("Metalic"));

    Program withoutMetalic({QStringLiteral("Blue.jpg")});
    frmOption other(withoutMetalic.module, withoutMetalic.host);
    QCOMPARE(other.cboSkin->currentIndex(), -1);
    other.cmdOK_Click();
    QCOMPARE(withoutMetalic.get(QStringLiteral("Skin")), QString());
}

void tst_frmOption::storedSkinSelected_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::newRow("none") << "[none]" << 0;
    QTest::newRow("Blue") << "Blue" << 1;
    QTest::newRow("Metalic") << "Metalic" << 2;
    QTest::newRow("a deleted skin: no selection") << "Gone" << -1;
    QTest::newRow("other case: no selection") << "blue" << -1;
}

void tst_frmOption::storedSkinSelected() {
    QFETCH(QString, stored);
    QFETCH(int, index);
    Program program;
    program.set(QStringLiteral("Skin"), stored);
    frmOption dialog(program.module, program.host);
    QCOMPARE(dialog.cboSkin->currentIndex(), index);
}

void tst_frmOption::missingSkinsFolderOffersOnlyNone() {
    Program program{QStringList()};
    QVERIFY(!QFile::exists(program.folder.file(QStringLiteral("Skins"))));
    frmOption dialog(program.module, program.host);
    QCOMPARE(items(*dialog.cboSkin), QStringList{QStringLiteral("[none]")});
    QCOMPARE(dialog.cboSkin->currentIndex(), -1);
}

void tst_frmOption::helpOpensTheOptionsDocument() {
    Program program;
    frmOption dialog(program.module, program.host);
    QTest::mouseClick(dialog.cmdHelp, Qt::LeftButton);
    QCOMPARE(program.platform.shell.opened,
             QStringList{program.folder.path() + QStringLiteral("/Help/sub ref.htm")});
    QVERIFY(dialog.isVisible() || dialog.result() == 0); // Help does not close it
    QVERIFY(program.host.changes().isEmpty());
}

QTEST_MAIN(tst_frmOption)
#include "tst_frmOption.moc"
