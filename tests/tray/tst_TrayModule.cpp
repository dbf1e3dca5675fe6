#include "mainwindow/TrayModule.h"
#include "tests/support/Fakes.h"

#include "tests/support/TempProgramFolder.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPixmap>
#include <QTest>

using namespace tavorin;
using tavorin::test::FakeTray;

Q_DECLARE_METATYPE(tavorin::TrayAction)

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
    void addShowsTheIconWithTheRecord();
    void addIsRefusedWhileTheIconExists();
    void addAfterTheIconWasLostPutsItBack();
    void emptyTipKeepsTheStoredTip();
    void addWithoutIconOrOwnerKeepsTheStoredOnes();
    void modifyAlwaysReplacesTheIcon();
    void removeUsesTheRecord();
    void eventsReachTheOwner();
    void decodesTheThreeEvents_data();
    void decodesTheThreeEvents();
    void loadsAnIconFile();
    void missingOrBrokenIconFileGivesNothing();
};

void tst_TrayModule::addShowsTheIconWithTheRecord() {
    FakeTray tray;
    TrayModule module(tray);
    QVERIFY(module.AddTrayIcon([](int) {}, colouredIcon(Qt::red), QStringLiteral("Tavorin")));
    QVERIFY(tray.exists);
    QCOMPARE(tray.log, QStringList{QStringLiteral("add")});
    QCOMPARE(tray.data.tip, QStringLiteral("Tavorin"));
    QVERIFY(!tray.data.icon.isNull());
    QVERIFY(bool(tray.data.callback));
}

void tst_TrayModule::addIsRefusedWhileTheIconExists() {
    FakeTray tray;
    TrayModule module(tray);
    module.AddTrayIcon([](int) {}, colouredIcon(Qt::red), QStringLiteral("Tavorin"));
    // Timer3's add every 100 ms changes nothing while the icon is there.
    QVERIFY(!module.AddTrayIcon([](int) {}, colouredIcon(Qt::blue), QStringLiteral("Other")));
    QCOMPARE(tray.data.tip, QStringLiteral("Tavorin"));
    QCOMPARE(tray.log.count(QStringLiteral("add")), 1);
}

void tst_TrayModule::addAfterTheIconWasLostPutsItBack() {
    FakeTray tray;
    TrayModule module(tray);
    module.AddTrayIcon([](int) {}, colouredIcon(Qt::red), QStringLiteral("Tavorin"));
    tray.exists = false; // the desktop shell restarted
    QVERIFY(module.AddTrayIcon([](int) {}, colouredIcon(Qt::red), QStringLiteral("Tavorin")));
    QVERIFY(tray.exists);
}

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

void tst_TrayModule::eventsReachTheOwner() {
    FakeTray tray;
    TrayModule module(tray);
    QList<TrayAction> actions;
    module.AddTrayIcon([&](int code) { actions << DecodeTrayEvent(code); }, colouredIcon(Qt::red),
                       QStringLiteral("Tavorin"));
    tray.Send(kTrayLeftDown);
    tray.Send(kTrayLeftDoubleClick);
    tray.Send(kTrayRightDown);
    const QList<TrayAction> expected{TrayAction::HideMainMenu, TrayAction::ToggleWindow,
                                     TrayAction::PopupMenu};
    QCOMPARE(actions, expected);
}

void tst_TrayModule::decodesTheThreeEvents_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<TrayAction>("action");
    QTest::newRow("left press 513") << 513 << TrayAction::HideMainMenu;
    QTest::newRow("left double click 515") << 515 << TrayAction::ToggleWindow;
    QTest::newRow("right press 516") << 516 << TrayAction::PopupMenu;
    QTest::newRow("mouse move 512") << 512 << TrayAction::None;
    QTest::newRow("left release 514") << 514 << TrayAction::None;
    QTest::newRow("right release 517") << 517 << TrayAction::None;
    QTest::newRow("right double click 518") << 518 << TrayAction::None;
    QTest::newRow("an ordinary mouse move") << 120 << TrayAction::None;
    QTest::newRow("negative") << -513 << TrayAction::None;
}

void tst_TrayModule::decodesTheThreeEvents() {
    QFETCH(int, code);
    QFETCH(TrayAction, action);
    QCOMPARE(DecodeTrayEvent(code), action);
}

void tst_TrayModule::loadsAnIconFile() {
    tavorin::test::TempProgramFolder folder;
    const QByteArray format = QImageWriter::supportedImageFormats().contains("ico") ? "ico" : "png";
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, format.constData()));
    const QString path = folder.write(QStringLiteral("Icon/Tavorin icon.ico"), bytes);
    const auto icon = LoadIconFile(path);
    QVERIFY(icon);
    QVERIFY(!icon->isNull());
    QCOMPARE(icon->availableSizes().value(0), QSize(32, 32));
}

void tst_TrayModule::missingOrBrokenIconFileGivesNothing() {
    tavorin::test::TempProgramFolder folder;
    QVERIFY(!LoadIconFile(folder.file(QStringLiteral("Icon/Tavorin disabled.ico"))));
    const QString text = folder.write(QStringLiteral("Icon/text.ico"), "not an icon");
    QVERIFY(!LoadIconFile(text));
}

QTEST_MAIN(tst_TrayModule)
#include "tst_TrayModule.moc"
