// The main window's face and what it opens: skins, the help label, the
// documents, the options and about dialogs, the browser.
#include "tests/mainwindow/MainWindowHarness.h"

#include "browser/frmBrowse.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "search/frmSearch.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

void writeSkin(const TempProgramFolder& folder, const QString& name) {
    QImage skin(40, 30, QImage::Format_RGB32);
    skin.fill(Qt::darkGray);
    QDir().mkpath(folder.file(QStringLiteral("Skins")));
    QVERIFY(
        skin.save(folder.file(QStringLiteral("Skins/") + name + QStringLiteral(".jpg")), "JPG"));
}

template <typename T> int openWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<T*>(widget) && widget->isVisible())
            ++count;
    return count;
}

} // namespace

class tst_frmMainLooks : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void skinColours_data();
    void skinColours();
    void helpLabelLooks_data();
    void helpLabelLooks();
    void documentCommandsOpenTheirFiles_data();
    void documentCommandsOpenTheirFiles();
    void captionLabelsToggleTheirBoxes();
    void optionsOkChangesTrayAndModes();
    void optionsFromTheMenuAndItsLockedEntries();
    void aboutFromTheMenuIsModelessAndSingle();
    void browseOpensOneBrowser();
    void searchOpensOneSearchWindow();
};

void tst_frmMainLooks::skinColours_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QColor>("labels");
    QTest::addColumn<QColor>("help");
    const QColor green(128, 255, 128), cyan(0, 255, 255), black(0, 0, 0);
    QTest::newRow("named") << "Blue" << true << green << cyan;
    QTest::newRow("none") << "[none]" << false << black << black;
    // The default skin leaves the window's first colours.
    QTest::newRow("absent") << "" << true << green << cyan;
}

void tst_frmMainLooks::skinColours() {
    QFETCH(QString, setting);
    QFETCH(bool, picture);
    QFETCH(QColor, labels);
    QFETCH(QColor, help);
    MainWindowHarness h;
    writeSkin(h.folder, QStringLiteral("Blue"));
    writeSkin(h.folder, QStringLiteral("Metalic"));
    h.set(QStringLiteral("Skin"), setting);
    frmMain& w = h.start();
    QCOMPARE(!w.Image1->pixmap().isNull(), picture);
    for (const QLabel* label : {w.Label2, w.Label3, w.lblListCount})
        QCOMPARE(textColour(label), labels);
    QCOMPARE(textColour(w.lblHelp), help);
    QVERIFY(h.fake.dialogs.messages.isEmpty());
}

void tst_frmMainLooks::helpLabelLooks_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QColor>("hover");
    QTest::addColumn<QColor>("rest");
    QTest::newRow("named") << "Blue" << QColor(192, 255, 255) << QColor(0, 255, 255);
    QTest::newRow("none") << "[none]" << QColor(Qt::black) << QColor(Qt::black);
}

void tst_frmMainLooks::helpLabelLooks() {
    QFETCH(QString, setting);
    QFETCH(QColor, hover);
    QFETCH(QColor, rest);
    MainWindowHarness h;
    writeSkin(h.folder, QStringLiteral("Blue"));
    h.set(QStringLiteral("Skin"), setting);
    frmMain& w = h.start();
    w.show();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(w.lblHelp, &enter);
    QCOMPARE(textColour(w.lblHelp), hover);
    QVERIFY(w.lblHelp->font().underline());
    // The rest look comes back over the skin.
    QTest::mouseMove(w.Image1, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w.Image1, &move);
    QCOMPARE(textColour(w.lblHelp), rest);
    QVERIFY(!w.lblHelp->font().underline());
}

void tst_frmMainLooks::documentCommandsOpenTheirFiles_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("document");
    QTest::newRow("help label") << "lblHelp"
                                << "Help/main ref.htm";
    QTest::newRow("help menu") << "mnuHelp"
                               << "Help/index.htm";
    QTest::newRow("readme") << "mnuReadme"
                            << "readme.txt";
    QTest::newRow("homepage") << "mnuWebsite"
                              << "URLS/Updates.url";
}

void tst_frmMainLooks::documentCommandsOpenTheirFiles() {
    QFETCH(QString, command);
    QFETCH(QString, document);
    MainWindowHarness h;
    h.folder.write(document, "x");
    frmMain& w = h.start();
    w.show();
    if (command == QStringLiteral("lblHelp"))
        QTest::mouseClick(w.lblHelp, Qt::LeftButton, {}, QPoint(3, 3));
    else
        w.mMenu->findChild<QAction*>(command)->trigger();
    QCOMPARE(h.fake.shell.opened, QStringList({h.folder.file(document)}));
}

void tst_frmMainLooks::captionLabelsToggleTheirBoxes() {
    MainWindowHarness h;
    h.set(QStringLiteral("change"), QStringLiteral("Once a day"));
    frmMain& w = h.start();
    w.show();
    const bool random = w.chkRandom->isChecked();
    QTest::mouseClick(w.lblRandom, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(w.chkRandom->isChecked(), !random);
    const bool shutdown = w.chkShutdown->isChecked();
    QTest::mouseClick(w.lblShutdown, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(w.chkShutdown->isChecked(), !shutdown);
}

void tst_frmMainLooks::optionsOkChangesTrayAndModes() {
    MainWindowHarness h;
    writeSkin(h.folder, QStringLiteral("Blue"));
    h.set(QStringLiteral("Systray"), QStringLiteral("1"));
    h.set(QStringLiteral("change"), QStringLiteral("Startup"));
    frmMain& w = h.start();
    QVERIFY(h.fake.tray.exists);
    QCOMPARE(w.ChangeMode(), QStringLiteral("Startup"));

    bool lockedWhileOpen = false;
    w.openers.Options = [&] {
        frmOption dialog(h.m, w, &w);
        lockedWhileOpen = !w.mAbout->isEnabled() && !w.mRestore->isEnabled();
        // A double click on the icon leaves the window under the dialog.
        h.fake.tray.Send(kTrayLeftDoubleClick);
        lockedWhileOpen = lockedWhileOpen && w.Background().State() == TrayState::Shown;
        dialog.chkSystray->setChecked(false);
        dialog.chkStartup->setChecked(false);
        dialog.cboSkin->setCurrentText(QStringLiteral("Blue"));
        dialog.cmdOK_Click();
    };
    w.cmdOption->click();
    QVERIFY(lockedWhileOpen);
    QVERIFY(w.mAbout->isEnabled() && w.mRestore->isEnabled());
    QVERIFY(!h.fake.tray.exists);
    QCOMPARE(w.ChangeMode(), QStringLiteral("Once a day"));
    QCOMPARE(w.cboChange->findText(QStringLiteral("Startup")), -1);
    QVERIFY(!w.Image1->pixmap().isNull());
    QCOMPARE(textColour(w.Label2), QColor(128, 255, 128));
    // The next tick keeps the icon away.
    w.Timer3_Timer();
    QVERIFY(!h.fake.tray.exists);

    w.openers.Options = [&] {
        frmOption dialog(h.m, w, &w);
        dialog.chkSystray->setChecked(true);
        dialog.chkStartup->setChecked(true);
        dialog.cboSkin->setCurrentText(QStringLiteral("[none]"));
        dialog.cmdOK_Click();
    };
    w.cmdOption->click();
    QVERIFY(h.fake.tray.exists);
    QCOMPARE(h.fake.tray.data.tip, QStringLiteral("Tavorin"));
    QCOMPARE(w.cboChange->itemText(0), QStringLiteral("Startup"));
    QVERIFY(w.Image1->pixmap().isNull());
    QCOMPARE(textColour(w.Label2), QColor(Qt::black));
}

void tst_frmMainLooks::optionsFromTheMenuAndItsLockedEntries() {
    MainWindowHarness h;
    frmMain& w = h.start();
    int opened = 0;
    w.openers.Options = [&] { ++opened; };
    w.mOption->trigger();
    QCOMPARE(opened, 1);
    // A cancelled dialog gives the entries back too.
    {
        frmOption dialog(h.m, w, &w);
        QVERIFY(!w.mAbout->isEnabled());
        dialog.cmdCancel_Click();
    }
    QVERIFY(w.mAbout->isEnabled() && w.mRestore->isEnabled());
}

void tst_frmMainLooks::aboutFromTheMenuIsModelessAndSingle() {
    MainWindowHarness h;
    frmMain& w = h.start();
    int modal = 0;
    w.openers.AboutModal = [&] { ++modal; };
    w.cmdAbout->click();
    QCOMPARE(modal, 1);
    QCOMPARE(openWindows<frmAbout>(), 0);
    w.mAbout->trigger();
    w.mAbout->trigger();
    QCOMPARE(openWindows<frmAbout>(), 1);
    auto* about = w.findChild<frmAbout*>();
    QVERIFY(about);
    QVERIFY(!about->isModal());
    about->close();
    QTRY_COMPARE(w.findChildren<frmAbout*>().size(), 0);
}

void tst_frmMainLooks::browseOpensOneBrowser() {
    MainWindowHarness h;
    frmMain& w = h.start();
    w.cmdBrowse->click();
    QCOMPARE(openWindows<frmBrowse>(), 1);
    w.mAdd->trigger();
    QCOMPARE(openWindows<frmBrowse>(), 1);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<frmBrowse*>(widget))
            widget->close();
    QTRY_COMPARE(openWindows<frmBrowse>(), 0);
}

void tst_frmMainLooks::searchOpensOneSearchWindow() {
    MainWindowHarness h;
    frmMain& w = h.start();
    w.cmdSearch->click();
    QCOMPARE(openWindows<frmSearch>(), 1);
    w.mSearch->trigger();
    QCOMPARE(openWindows<frmSearch>(), 1);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<frmSearch*>(widget))
            widget->close();
    QTRY_COMPARE(openWindows<frmSearch>(), 0);
}

QTEST_MAIN(tst_frmMainLooks)
#include "tst_frmMainLooks.moc"
