// The tray module over the real notification-area icon: an XEmbed tray
// host (trayer) on the test's X server, and real clicks (xdotool).
#include "mainwindow/TrayModule.h"
#include "platform/QtTrayIcon.h"

#include <QApplication>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

using namespace tavorin;

namespace {

QIcon colouredIcon(Qt::GlobalColor colour) {
    QPixmap pixmap(22, 22);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// The window Qt embeds into the tray host for the icon.
QWidget* trayIconWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->inherits("QSystemTrayIconSys"))
            return widget;
    return nullptr;
}

bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

class tst_RealTray : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void iconComesAndGoesAndAnswersClicks();
    void changesBeforeTheIconIsUpAreKept();

  private:
    QProcess host_;
};

void tst_RealTray::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("trayer and xdotool are needed for the real tray");
    host_.start(QStringLiteral("trayer"),
                {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                 QStringLiteral("left"), QStringLiteral("--height"), QStringLiteral("32"),
                 QStringLiteral("--widthtype"), QStringLiteral("pixel"), QStringLiteral("--width"),
                 QStringLiteral("200")});
    QVERIFY(host_.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QtTrayIcon().Available(), 10000);
}

void tst_RealTray::cleanupTestCase() {
    if (host_.state() != QProcess::NotRunning) {
        host_.terminate();
        if (!host_.waitForFinished(3000))
            host_.kill();
    }
}

void tst_RealTray::iconComesAndGoesAndAnswersClicks() {
    QtTrayIcon tray;
    TrayModule module(tray);
    QList<TrayAction> actions;
    const TrayModule::Owner owner = [&](int code) { actions << DecodeTrayEvent(code); };

    QVERIFY(module.AddTrayIcon(owner, colouredIcon(Qt::green), QStringLiteral("Tavorin")));
    QVERIFY(tray.Exists());
    QVERIFY(!module.AddTrayIcon(owner, colouredIcon(Qt::red), QString())); // refused
    QWidget* window = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((window = trayIconWindow()) != nullptr, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(window->isVisible() && window->width() > 1, 5000);

    const QPoint centre = window->mapToGlobal(window->rect().center());
    QVERIFY(xdotool(
        {QStringLiteral("mousemove"), QString::number(centre.x()), QString::number(centre.y())}));
    QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("3")}));
    QTRY_COMPARE_WITH_TIMEOUT(actions, QList<TrayAction>{TrayAction::PopupMenu}, 5000);

    actions.clear();
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                     QStringLiteral("--delay"), QStringLiteral("60"), QStringLiteral("1")}));
    QTRY_VERIFY_WITH_TIMEOUT(actions.contains(TrayAction::ToggleWindow), 5000);
    QVERIFY(actions.contains(TrayAction::HideMainMenu));

    QVERIFY(module.ModifyTrayIcon({}, colouredIcon(Qt::gray), kDisabledTip));
    QCOMPARE(window->toolTip(), kDisabledTip);

    QVERIFY(module.RemoveTrayIcon());
    QVERIFY(!tray.Exists());
    QTRY_VERIFY_WITH_TIMEOUT(trayIconWindow() == nullptr, 5000);
    // Timer3's add puts it back, with the record's tip.
    QVERIFY(module.AddTrayIcon(owner, QIcon(), QString()));
    QTRY_VERIFY_WITH_TIMEOUT((window = trayIconWindow()) != nullptr, 5000);
    QCOMPARE(window->toolTip(), kDisabledTip);
}

// The icon goes up once the event loop runs; what is asked before that
// is what the tray gets.
void tst_RealTray::changesBeforeTheIconIsUpAreKept() {
    QtTrayIcon tray;
    TrayModule module(tray);
    const TrayModule::Owner owner = [](int) {};

    QVERIFY(module.AddTrayIcon(owner, colouredIcon(Qt::green), QStringLiteral("Tavorin")));
    QVERIFY(module.RemoveTrayIcon());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(trayIconWindow(), nullptr); // taken back before it went up

    QVERIFY(module.AddTrayIcon(owner, colouredIcon(Qt::green), QStringLiteral("Tavorin")));
    QVERIFY(module.ModifyTrayIcon({}, colouredIcon(Qt::gray), kDisabledTip));
    QWidget* window = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((window = trayIconWindow()) != nullptr, 5000);
    QCOMPARE(window->toolTip(), kDisabledTip);
    QVERIFY(module.RemoveTrayIcon());
    QTRY_VERIFY_WITH_TIMEOUT(trayIconWindow() == nullptr, 5000);
}

QTEST_MAIN(tst_RealTray)
#include "tst_RealTray.moc"
