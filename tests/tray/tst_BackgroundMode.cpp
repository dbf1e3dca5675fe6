#include "mainwindow/TrayModule.h"

#include <QTest>

using namespace tavorin;

Q_DECLARE_METATYPE(tavorin::TrayState)

namespace {

BackgroundMode modeIn(TrayState state) {
    BackgroundMode mode;
    if (state != TrayState::Shown)
        mode.Minimise();
    if (state == TrayState::BackgroundDisabled)
        mode.ToggleDisabled();
    return mode;
}

const QStringList kThree{QStringLiteral("a.jpg"), QStringLiteral("sunset.jpg"),
                         QStringLiteral("c d.bmp")};

} // namespace

class tst_BackgroundMode : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void stateTable_data();
    void stateTable();
    void transitions_data();
    void transitions();
    void restoringADisabledScheduleResumesIt();
    void iconLookPerState();
    void submenuEntriesFollowTheList();
    void submenuOnlyInBackgroundWithPictures_data();
    void submenuOnlyInBackgroundWithPictures();
    void mainWindowMenuAlwaysOffersHide();
    void hiddenIconNotice_data();
    void hiddenIconNotice();
};

void tst_BackgroundMode::stateTable_data() {
    QTest::addColumn<TrayState>("state");
    QTest::addColumn<QString>("restoreCaption");
    QTest::addColumn<bool>("disableVisible");
    QTest::addColumn<QString>("disableCaption");
    QTest::addColumn<bool>("scheduleRunning");
    QTest::newRow("Shown") << TrayState::Shown << "&Hide" << false << "&Disable Tavorin" << true;
    QTest::newRow("Background") << TrayState::Background << "&Show" << true << "&Disable Tavorin"
                                << true;
    QTest::newRow("Background, disabled")
        << TrayState::BackgroundDisabled << "&Show" << true << "&Enable Tavorin" << false;
}

void tst_BackgroundMode::stateTable() {
    QFETCH(TrayState, state);
    QFETCH(QString, restoreCaption);
    QFETCH(bool, disableVisible);
    QFETCH(QString, disableCaption);
    QFETCH(bool, scheduleRunning);

    const BackgroundMode mode = modeIn(state);
    QCOMPARE(mode.State(), state);
    QCOMPARE(mode.RestoreCaption(), restoreCaption);
    QCOMPARE(mode.DisableVisible(), disableVisible);
    QCOMPARE(mode.DisableCaption(), disableCaption);
    QCOMPARE(mode.ScheduleRunning(), scheduleRunning);
    const MenuLook look = TrayMenuLook(mode, kThree);
    QCOMPARE(look.restoreCaption, restoreCaption);
    QCOMPARE(look.disableVisible, disableVisible);
    QCOMPARE(look.disableCaption, disableCaption);
}

void tst_BackgroundMode::transitions_data() {
    QTest::addColumn<TrayState>("from");
    QTest::addColumn<QString>("event");
    QTest::addColumn<TrayState>("to");
    QTest::addColumn<bool>("changed");
    QTest::newRow("hide") << TrayState::Shown << "minimise" << TrayState::Background << true;
    QTest::newRow("show") << TrayState::Background << "restore" << TrayState::Shown << true;
    QTest::newRow("show while disabled")
        << TrayState::BackgroundDisabled << "restore" << TrayState::Shown << true;
    QTest::newRow("disable") << TrayState::Background << "toggle" << TrayState::BackgroundDisabled
                             << true;
    QTest::newRow("enable") << TrayState::BackgroundDisabled << "toggle" << TrayState::Background
                            << true;
    QTest::newRow("disable while shown does nothing")
        << TrayState::Shown << "toggle" << TrayState::Shown << false;
    QTest::newRow("restore while shown does nothing")
        << TrayState::Shown << "restore" << TrayState::Shown << false;
    QTest::newRow("minimise while hidden does nothing")
        << TrayState::Background << "minimise" << TrayState::Background << false;
    QTest::newRow("minimise keeps a disabled schedule disabled")
        << TrayState::BackgroundDisabled << "minimise" << TrayState::BackgroundDisabled << false;
}

void tst_BackgroundMode::transitions() {
    QFETCH(TrayState, from);
    QFETCH(QString, event);
    QFETCH(TrayState, to);
    QFETCH(bool, changed);

    BackgroundMode mode = modeIn(from);
    bool result = false;
    if (event == QLatin1String("minimise"))
        result = mode.Minimise();
    else if (event == QLatin1String("restore"))
        result = mode.Restore();
    else
        result = mode.ToggleDisabled();
    QCOMPARE(result, changed);
    QCOMPARE(mode.State(), to);
}

void tst_BackgroundMode::restoringADisabledScheduleResumesIt() {
    BackgroundMode mode = modeIn(TrayState::BackgroundDisabled);
    QVERIFY(ResumesSchedule(mode.State()));
    QVERIFY(!mode.ScheduleRunning());
    mode.Restore();
    QVERIFY(mode.ScheduleRunning());
    QVERIFY(!ResumesSchedule(TrayState::Background));
    QVERIFY(!ResumesSchedule(TrayState::Shown));
    // Hidden again later, the schedule is still running.
    mode.Minimise();
    QCOMPARE(mode.State(), TrayState::Background);
}

void tst_BackgroundMode::iconLookPerState() {
    const TrayIconLook normal = TrayIconLookFor(TrayState::Background, QStringLiteral("Tavorin"));
    QCOMPARE(normal.iconFile, QStringLiteral("Icon/Tavorin icon.ico"));
    QCOMPARE(normal.tip, QStringLiteral("Tavorin"));
    const TrayIconLook disabled =
        TrayIconLookFor(TrayState::BackgroundDisabled, QStringLiteral("Tavorin"));
    QCOMPARE(disabled.iconFile, QStringLiteral("Icon/Tavorin disabled.ico"));
    QCOMPARE(disabled.tip, QStringLiteral("Tavorin (Disabled)"));
    QCOMPARE(TrayIconLookFor(TrayState::Shown, QStringLiteral("Tavorin")).tip,
             QStringLiteral("Tavorin"));
}

void tst_BackgroundMode::submenuEntriesFollowTheList() {
    QStringList names = kThree;
    QCOMPARE(WallpaperMenuEntries(names),
             (QStringList{QStringLiteral("1. a.jpg"), QStringLiteral("2. sunset.jpg"),
                          QStringLiteral("3. c d.bmp")}));
    names.removeAt(0);
    QCOMPARE(WallpaperMenuEntries(names),
             (QStringList{QStringLiteral("1. sunset.jpg"), QStringLiteral("2. c d.bmp")}));
    names << QStringLiteral("new.gif") << QStringLiteral("sunset.jpg");
    QCOMPARE(WallpaperMenuEntries(names),
             (QStringList{QStringLiteral("1. sunset.jpg"), QStringLiteral("2. c d.bmp"),
                          QStringLiteral("3. new.gif"), QStringLiteral("4. sunset.jpg")}));
    QVERIFY(WallpaperMenuEntries({}).isEmpty());

    QStringList many;
    for (int k = 0; k < 1200; ++k)
        many << QStringLiteral("p%1.jpg").arg(k);
    const QStringList entries = WallpaperMenuEntries(many);
    QCOMPARE(entries.size(), 1200);
    QCOMPARE(entries.last(), QStringLiteral("1200. p1199.jpg"));
}

void tst_BackgroundMode::submenuOnlyInBackgroundWithPictures_data() {
    QTest::addColumn<TrayState>("state");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("changeVisible");
    QTest::newRow("shown with pictures") << TrayState::Shown << kThree << false;
    QTest::newRow("background with pictures") << TrayState::Background << kThree << true;
    QTest::newRow("disabled with pictures") << TrayState::BackgroundDisabled << kThree << true;
    QTest::newRow("background, empty list") << TrayState::Background << QStringList() << false;
    QTest::newRow("shown, empty list") << TrayState::Shown << QStringList() << false;
}

void tst_BackgroundMode::submenuOnlyInBackgroundWithPictures() {
    QFETCH(TrayState, state);
    QFETCH(QStringList, names);
    QFETCH(bool, changeVisible);
    const MenuLook look = TrayMenuLook(modeIn(state), names);
    QCOMPARE(look.changeVisible, changeVisible);
    QCOMPARE(look.placeholderVisible, !changeVisible);
    QCOMPARE(look.pictureEntries.size(), names.size());
}

void tst_BackgroundMode::mainWindowMenuAlwaysOffersHide() {
    const MenuLook look = MainMenuLook(modeIn(TrayState::Shown), kThree);
    QCOMPARE(look.restoreCaption, QStringLiteral("&Hide"));
    QVERIFY(!look.changeVisible);
    QVERIFY(!look.disableVisible);
}

void tst_BackgroundMode::hiddenIconNotice_data() {
    QTest::addColumn<QString>("systray");
    QTest::addColumn<QString>("info");
    QTest::addColumn<bool>("shown");
    QTest::newRow("icon off, never told") << "0"
                                          << "" << true;
    QTest::newRow("icon off, told before") << "0"
                                           << "1" << false;
    QTest::newRow("icon off, info hand-edited") << "0"
                                                << "yes" << true;
    QTest::newRow("icon on") << "1"
                             << "" << false;
    QTest::newRow("icon setting absent") << ""
                                         << "" << false;
    QTest::newRow("icon setting not a number") << "off"
                                               << "" << false;
}

void tst_BackgroundMode::hiddenIconNotice() {
    QFETCH(QString, systray);
    QFETCH(QString, info);
    QFETCH(bool, shown);
    QCOMPARE(ShowsHiddenIconNotice(systray, info), shown);
    QCOMPARE(kHiddenIconNotice, QStringLiteral("You have choosen to hide the tray icon. To get "
                                               "the icon back, rerun Tavorin."));
}

QTEST_APPLESS_MAIN(tst_BackgroundMode)
#include "tst_BackgroundMode.moc"
