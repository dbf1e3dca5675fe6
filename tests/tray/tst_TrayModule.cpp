#include "mainwindow/TrayModule.h"
#include "tests/support/Fakes.h"

#include <QPixmap>
#include <QTest>

using namespace tavorin;
using tavorin::test::FakeTray;

namespace {

QIcon colouredIcon(Qt::GlobalColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

class tst_TrayModule : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void emptyTipKeepsTheStoredTip();
    void addWithoutIconOrOwnerKeepsTheStoredOnes();
    void modifyAlwaysReplacesTheIcon();
    void removeUsesTheRecord();
};

void tst_TrayModule::emptyTipKeepsTheStoredTip() {
    FakeTray tray;
    TrayModule module(tray);
    module.AddTrayIcon([](int) {}, colouredIcon(Qt::red), QStringLiteral("Tavorin"));
    module.ModifyTrayIcon({}, colouredIcon(Qt::gray), QString());
    QCOMPARE(tray.data.tip, QStringLiteral("Tavorin"));
    module.ModifyTrayIcon({}, colouredIcon(Qt::gray), QStringLiteral("Tavorin (Disabled)"));
    QCOMPARE(tray.data.tip, QStringLiteral("Tavorin (Disabled)"));
    QCOMPARE(module.Data().tip, QStringLiteral("Tavorin (Disabled)"));
}

void tst_TrayModule::addWithoutIconOrOwnerKeepsTheStoredOnes() {
    FakeTray tray;
    TrayModule module(tray);
    int received = 0;
    module.AddTrayIcon([&](int) { ++received; }, colouredIcon(Qt::red), QStringLiteral("Tavorin"));
    module.RemoveTrayIcon();
    QVERIFY(module.AddTrayIcon({}, QIcon(), QString()));
    QVERIFY(!tray.data.icon.isNull());
    QCOMPARE(tray.data.tip, QStringLiteral("Tavorin"));
    tray.Send(kTrayRightDown);
    QCOMPARE(received, 1);
}

void tst_TrayModule::modifyAlwaysReplacesTheIcon() {
    FakeTray tray;
    TrayModule module(tray);
    module.AddTrayIcon([](int) {}, colouredIcon(Qt::red), QStringLiteral("Tavorin"));
    module.ModifyTrayIcon({}, QIcon(), QStringLiteral("Tavorin"));
    QVERIFY(module.Data().icon.isNull());
    QCOMPARE(tray.log.last(), QStringLiteral("modify"));
}

void tst_TrayModule::removeUsesTheRecord() {
    FakeTray tray;
    TrayModule module(tray);
    module.AddTrayIcon([](int) {}, colouredIcon(Qt::red), QStringLiteral("Tavorin"));
    QVERIFY(module.RemoveTrayIcon());
    QVERIFY(!tray.exists);
    QVERIFY(!module.RemoveTrayIcon()); // nothing left to remove; ignored by callers
    // The record stays for the next add.
    QCOMPARE(module.Data().tip, QStringLiteral("Tavorin"));
}

QTEST_MAIN(tst_TrayModule)
#include "tst_TrayModule.moc"
