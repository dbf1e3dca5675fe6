#include "settings/Module1.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"

#include <QTest>

using namespace tavorin;

Q_DECLARE_METATYPE(tavorin::RootKey)

// SplitKeyPath, WriteRegValue and DeleteRegValue over a recording registry.
class tst_Registry : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();

    void rootKeyHandle_data();
    void rootKeyHandle();
    void splitKeyPath_data();
    void splitKeyPath();
    void writeRegValueWritesUnderExistingKeys();
    void writeRegValueCreatesNoKey();
    void writeRegValueWithBadPathShowsFormatBoxAndWritesNothing_data();
    void writeRegValueWithBadPathShowsFormatBoxAndWritesNothing();
    void deleteRegValueSplitsValuePath();
    void deleteRegValueIgnoresEveryFailure_data();
    void deleteRegValueIgnoresEveryFailure();

  private:
    std::unique_ptr<test::TempProgramFolder> folder_;
    std::unique_ptr<test::FakePlatform> platform_;
    std::unique_ptr<Module1> m_;
};

void tst_Registry::init() {
    folder_ = std::make_unique<test::TempProgramFolder>();
    platform_ = std::make_unique<test::FakePlatform>(folder_->path());
    m_ = std::make_unique<Module1>(platform_->services);
}

void tst_Registry::cleanup() {
    m_.reset();
    platform_.reset();
    folder_.reset();
}

void tst_Registry::rootKeyHandle_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<RootKey>("root");
    QTest::newRow("classes") << "HKEY_CLASSES_ROOT" << RootKey::ClassesRoot;
    QTest::newRow("user") << "HKEY_CURRENT_USER" << RootKey::CurrentUser;
    QTest::newRow("machine") << "HKEY_LOCAL_MACHINE" << RootKey::LocalMachine;
    QTest::newRow("users") << "HKEY_USERS" << RootKey::Users;
    QTest::newRow("performance") << "HKEY_PERFORMANCE_DATA" << RootKey::PerformanceData;
    QTest::newRow("config") << "HKEY_CURRENT_CONFIG" << RootKey::CurrentConfig;
    QTest::newRow("dyn") << "HKEY_DYN_DATA" << RootKey::DynData;
    QTest::newRow("small letters") << "hkey_local_machine" << RootKey::None;
    QTest::newRow("mixed case") << "HKEY_Local_Machine" << RootKey::None;
    QTest::newRow("short form") << "HKLM" << RootKey::None;
    QTest::newRow("unknown") << "HKEY_NOWHERE" << RootKey::None;
    QTest::newRow("empty") << "" << RootKey::None;
}

void tst_Registry::rootKeyHandle() {
    QFETCH(QString, name);
    QFETCH(RootKey, root);
    QCOMPARE(Module1::RootKeyHandle(name), root);
}

void tst_Registry::splitKeyPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<RootKey>("root");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<bool>("formatBox");
    QTest::newRow("desktop") << "HKEY_CURRENT_USER\\Control Panel\\Desktop" << RootKey::CurrentUser
                             << "Control Panel\\Desktop" << false;
    QTest::newRow("run") << "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
                         << RootKey::LocalMachine
                         << "Software\\Microsoft\\Windows\\CurrentVersion\\Run" << false;
    QTest::newRow("root alone") << "HKEY_LOCAL_MACHINE" << RootKey::LocalMachine << "" << false;
    QTest::newRow("unknown root") << "HKEY_NOWHERE\\Software" << RootKey::None << "Software"
                                  << false;
    QTest::newRow("unknown root alone") << "HKEY_NOWHERE" << RootKey::None << "" << false;
    QTest::newRow("small letters") << "hkey_current_user\\Control Panel" << RootKey::None
                                   << "hkey_current_user\\Control Panel" << true;
    QTest::newRow("trailing backslash") << "HKEY_CURRENT_USER\\Control Panel\\" << RootKey::None
                                        << "HKEY_CURRENT_USER\\Control Panel\\" << true;
    QTest::newRow("empty") << "" << RootKey::None << "" << true;
}

void tst_Registry::splitKeyPath() {
    QFETCH(QString, path);
    QFETCH(RootKey, root);
    QFETCH(QString, rest);
    QFETCH(bool, formatBox);
    const QString original = path;
    QCOMPARE(m_->SplitKeyPath(path), root);
    QCOMPARE(path, rest);
    const auto& shown = platform_->dialogs.messages;
    QCOMPARE(shown.size(), formatBox ? 1 : 0);
    if (formatBox) {
        QCOMPARE(shown[0].text, QStringLiteral("Incorrect Format:\n\n") + original);
        QCOMPARE(shown[0].buttons, MsgButtons::Ok);
        QCOMPARE(shown[0].title, QStringLiteral("Tavorin"));
    }
}

void tst_Registry::writeRegValueWritesUnderExistingKeys() {
    m_->WriteRegValue(kRunKeyPath, "Tavorin", "/opt/My Pictures/Loader.exe");
    m_->WriteRegValue(kDesktopKeyPath, "Wallpaper", "/tmp/Temp.bmp");
    const auto& registry = platform_->registry;
    QCOMPARE(registry.StringValue(RootKey::LocalMachine,
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tavorin"),
             std::optional<QString>(QStringLiteral("/opt/My Pictures/Loader.exe")));
    QCOMPARE(registry.StringValue(RootKey::CurrentUser, "Control Panel\\Desktop", "Wallpaper"),
             std::optional<QString>(QStringLiteral("/tmp/Temp.bmp")));
    QVERIFY(platform_->dialogs.messages.isEmpty());
}

void tst_Registry::writeRegValueCreatesNoKey() {
    m_->WriteRegValue("HKEY_CURRENT_USER\\Software\\Tavorin", "Wallpaper", "x");
    m_->WriteRegValue("HKEY_LOCAL_MACHINE", "Tavorin", "x");
    QVERIFY(platform_->registry.values.isEmpty());
    QVERIFY(platform_->dialogs.messages.isEmpty());
}

void tst_Registry::writeRegValueWithBadPathShowsFormatBoxAndWritesNothing_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("boxes");
    QTest::newRow("small letters")
        << "hkey_local_machine\\Software\\Microsoft\\Windows\\CurrentVersion\\Run" << 1;
    QTest::newRow("trailing backslash") << kRunKeyPath + "\\" << 1;
    QTest::newRow("unknown root")
        << "HKEY_SOMEWHERE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run" << 0;
}

void tst_Registry::writeRegValueWithBadPathShowsFormatBoxAndWritesNothing() {
    QFETCH(QString, path);
    QFETCH(int, boxes);
    m_->WriteRegValue(path, "Tavorin", "/x/Loader.exe");
    QCOMPARE(platform_->dialogs.messages.size(), boxes);
    if (boxes)
        QCOMPARE(platform_->dialogs.messages[0].text, "Incorrect Format:\n\n" + path);
    // Nothing reached the registry at all.
    QVERIFY(platform_->registry.log.isEmpty());
    QVERIFY(platform_->registry.values.isEmpty());
}

void tst_Registry::deleteRegValueSplitsValuePath() {
    m_->WriteRegValue(kRunKeyPath, "Tavorin", "/x/Loader.exe");
    m_->WriteRegValue(kRunKeyPath, "Other", "/y/other");
    m_->DeleteRegValue(kRunValuePath);
    const QString run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    QVERIFY(!platform_->registry.StringValue(RootKey::LocalMachine, run, "Tavorin"));
    QVERIFY(platform_->registry.StringValue(RootKey::LocalMachine, run, "Other"));
    QCOMPARE(platform_->registry.log.last(),
             "delete " + test::FakeRegistry::KeyId(RootKey::LocalMachine, run) + "|Tavorin");
}

void tst_Registry::deleteRegValueIgnoresEveryFailure_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("reachesRegistry");
    QTest::newRow("absent value") << kRunKeyPath + "\\Nothing" << true;
    QTest::newRow("absent key") << "HKEY_CURRENT_USER\\Software\\None\\Tavorin" << true;
    QTest::newRow("unknown root") << "HKEY_NOWHERE\\Software\\Tavorin" << false;
    QTest::newRow("no separator") << "HKEY_LOCAL_MACHINE" << false;
    QTest::newRow("garbage") << "\\\\\\" << false;
    QTest::newRow("empty") << "" << false;
}

void tst_Registry::deleteRegValueIgnoresEveryFailure() {
    QFETCH(QString, path);
    QFETCH(bool, reachesRegistry);
    m_->WriteRegValue(kRunKeyPath, "Tavorin", "/x/Loader.exe");
    platform_->registry.log.clear();
    m_->DeleteRegValue(path);
    QCOMPARE(platform_->registry.log.size(), reachesRegistry ? 1 : 0);
    QCOMPARE(platform_->registry.values.size(), 1);
    QVERIFY(platform_->dialogs.messages.isEmpty());
}

QTEST_GUILESS_MAIN(tst_Registry)
#include "tst_Registry.moc"
