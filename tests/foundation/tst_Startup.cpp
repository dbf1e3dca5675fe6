#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/frmSplash.h"
#include "engine/ListFile.h"
#include "mainwindow/frmMain.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestPictures.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTest>

#include <csignal>

using namespace tavorin;

namespace {
const QString kRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");

// The settings file's non-blank lines, in file order.
QList<QByteArray> linesOf(const QByteArray& text) {
    QList<QByteArray> lines;
    for (const QByteArray& line : text.split('\n'))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}
// A registry that remembers what the settings file held when the log-on
// entry was written.
class SnapshotRegistry final : public IRegistryStore {
  public:
    explicit SnapshotRegistry(QString settingsFile) : settingsFile_(std::move(settingsFile)) {}
    test::FakeRegistry inner;
    QByteArray settingsAtFirstWrite;
    bool written = false;

    bool SetStringValue(RootKey root, const QString& subKey, const QString& name,
                        const QString& data) override {
        if (!written) {
            QFile f(settingsFile_);
            if (f.open(QIODevice::ReadOnly))
                settingsAtFirstWrite = f.readAll();
            written = true;
        }
        return inner.SetStringValue(root, subKey, name, data);
    }
    bool DeleteValue(RootKey root, const QString& subKey, const QString& name) override {
        return inner.DeleteValue(root, subKey, name);
    }
    std::optional<QString> StringValue(RootKey root, const QString& subKey,
                                       const QString& name) const override {
        return inner.StringValue(root, subKey, name);
    }

  private:
    QString settingsFile_;
};
} // namespace

// Main: one copy per program folder, the first run, the splash; the command line.
class tst_Startup : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup();

    void firstRunWritesDefaultsInOrderThenLogOnEntry();
    void emptyVersionCountsAsFirstRun();
    void laterRunWritesNoDefaults();
    void secondCopyWritesSystrayAndEnds();
    void secondCopyCreatesTheSettingsFileWhenMissing();
    void splashShownWhenSplashIsOne_data();
    void splashShownWhenSplashIsOne();
    void splashTimerShowsMainAndClosesSplash();
    void noSplashWindowThenALogOutEndsAsExit_data();
    void noSplashWindowThenALogOutEndsAsExit();
    void onlyVersionAndHelpAreAnswered_data();
    void onlyVersionAndHelpAreAnswered();
    void splashShowsVersionAndLoadingStatus();

  private:
    std::unique_ptr<test::TempProgramFolder> folder_;
    std::unique_ptr<test::FakePlatform> platform_;
    std::unique_ptr<Module1> m_;
    QByteArray settings() const { return folder_->read(QStringLiteral("Settings.INI")); }
};

void tst_Startup::init() {
    folder_ = std::make_unique<test::TempProgramFolder>(true);
    platform_ = std::make_unique<test::FakePlatform>(folder_->path());
    m_ = std::make_unique<Module1>(platform_->services);
}

void tst_Startup::cleanup() {
    m_.reset();
    platform_.reset();
    folder_.reset();
}

void tst_Startup::firstRunWritesDefaultsInOrderThenLogOnEntry() {
    SnapshotRegistry registry(folder_->file("Settings.INI"));
    test::FakePlatform& p = *platform_;
    Services services{p.services.folder, p.dialogs,  registry, p.wallpaper,
                      p.shell,           p.instance, p.clock,  p.tray};
    Module1 module(services);
    Startup startup(module);
    QVERIFY(startup.Main());

    const QList<QByteArray> defaults{"[Settings]", "Systray=1", "Splash=1",      "Startup=1",
                                     "Convert=1",  "Machine=1", "Version=1.2.35"};
    // The log-on entry came after the five flags and the version, and
    // nothing else had been written before it.
    QVERIFY(registry.written);
    QCOMPARE(linesOf(registry.settingsAtFirstWrite), defaults);
    const auto entry = registry.inner.StringValue(RootKey::LocalMachine, kRun, "Tavorin");
    QVERIFY(entry);
    QCOMPARE(*entry, folder_->path() + "/Loader.exe");
    // Whatever the main window's start adds comes after them.
    QCOMPARE(linesOf(settings()).mid(0, 7), defaults);
}

void tst_Startup::emptyVersionCountsAsFirstRun() {
    folder_->write("Settings.INI", "[Settings]\nVersion=\nSplash=0\n");
    Startup startup(*m_);
    QVERIFY(startup.Main());
    QCOMPARE(m_->GetINIFile("Settings", "Version"), QStringLiteral("1.2.35"));
    QCOMPARE(m_->GetINIFile("Settings", "Splash"), QStringLiteral("1"));
    QCOMPARE(m_->GetINIFile("Settings", "Machine"), QStringLiteral("1"));
}

void tst_Startup::laterRunWritesNoDefaults() {
    // A user's choices, all different from the first-run defaults.
    folder_->write("Settings.INI", "[Settings]\nVersion=1.2.30\nSystray=0\nSplash=0\n"
                                   "Startup=0\nConvert=0\nMachine=2\n");
    Startup startup(*m_);
    QVERIFY(startup.Main());
    QCOMPARE(m_->GetINIFile("Settings", "Version"), QStringLiteral("1.2.30"));
    QCOMPARE(m_->GetINIFile("Settings", "Systray"), QStringLiteral("0"));
    QCOMPARE(m_->GetINIFile("Settings", "Splash"), QStringLiteral("0"));
    QCOMPARE(m_->GetINIFile("Settings", "Startup"), QStringLiteral("0"));
    QCOMPARE(m_->GetINIFile("Settings", "Convert"), QStringLiteral("0"));
    QCOMPARE(m_->GetINIFile("Settings", "Machine"), QStringLiteral("2"));
    // With "Startup" = "0" nobody may write the log-on entry.
    QVERIFY(!platform_->registry.StringValue(RootKey::LocalMachine, kRun, "Tavorin"));
}

void tst_Startup::secondCopyWritesSystrayAndEnds() {
    const QByteArray before = "[Settings]\nVersion=1.2.35\nSystray=0\nSplash=1\n";
    folder_->write("Settings.INI", before);
    platform_->instance.running = true;
    Startup startup(*m_);
    QVERIFY(!startup.Main());
    QCOMPARE(settings(), QByteArray("[Settings]\nVersion=1.2.35\nSystray=1\nSplash=1\n"));
    QCOMPARE(startup.MainWindow(), nullptr);
    QCOMPARE(startup.Splash(), nullptr);
    QVERIFY(platform_->registry.log.isEmpty());
    QVERIFY(platform_->tray.log.isEmpty());
    QVERIFY(platform_->dialogs.messages.isEmpty());
    QCOMPARE(platform_->instance.calls, 1); // the running copy is called
}

void tst_Startup::secondCopyCreatesTheSettingsFileWhenMissing() {
    platform_->instance.running = true;
    Startup startup(*m_);
    QVERIFY(!startup.Main());
    // Only "Systray": no first-run defaults from a second copy.
    QCOMPARE(settings(), QByteArray("[Settings]\nSystray=1\n"));
    QVERIFY(platform_->registry.log.isEmpty());
}

void tst_Startup::splashShownWhenSplashIsOne_data() {
    QTest::addColumn<QByteArray>("splashLine");
    QTest::addColumn<bool>("splash");
    QTest::newRow("1") << QByteArray("Splash=1\n") << true;
    QTest::newRow("1.0") << QByteArray("Splash=1.0\n") << true;
    QTest::newRow("0") << QByteArray("Splash=0\n") << false;
    QTest::newRow("2") << QByteArray("Splash=2\n") << false;
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray("Splash=\n") << false;
    QTest::newRow("abc") << QByteArray("Splash=abc\n") << false;
}

void tst_Startup::splashShownWhenSplashIsOne() {
    QFETCH(QByteArray, splashLine);
    QFETCH(bool, splash);
    folder_->write("Settings.INI", "[Settings]\nVersion=1.2.35\nSystray=1\n" + splashLine);
    Startup startup(*m_);
    QVERIFY(startup.Main());
    QVERIFY(startup.MainWindow());
    QCOMPARE(startup.Splash() != nullptr, splash);
    if (splash) {
        QVERIFY(startup.Splash()->isVisible());
        QVERIFY(startup.Splash()->Timer1.isActive());
    }
    for (QWidget* widget : QApplication::allWidgets())
        QVERIFY2(splash || !qobject_cast<frmSplash*>(widget), "a splash window was built");
    // Without the splash the main window is up at once; with it, only at
    // the splash timer's first tick.
    QCOMPARE(startup.MainWindow()->isVisible(), !splash);
    QVERIFY(platform_->dialogs.messages.isEmpty());
}

void tst_Startup::splashTimerShowsMainAndClosesSplash() {
    folder_->write("Settings.INI", "[Settings]\nVersion=1.2.35\nSplash=1\n");
    Startup startup(*m_);
    QVERIFY(startup.Main());
    frmSplash* splash = startup.Splash();
    QCOMPARE(splash->Timer1.interval(), 200);
    QVERIFY(splash->Timer1.isActive());
    QVERIFY(!startup.MainWindow()->isVisible());

    splash->Timer1_Timer();
    QVERIFY(startup.MainWindow()->isVisible());
    QVERIFY(!splash->isVisible());
    QVERIFY(!splash->Timer1.isActive());
    // Closed, the splash is let go: gone once the event loop is free.
    QCOMPARE(startup.Splash(), nullptr);
    QPointer<frmSplash> left(splash);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(left.isNull());
}

void tst_Startup::noSplashWindowThenALogOutEndsAsExit_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
}

// The log-out arrives during a scheduled change: the change finishes, then
// the program ends through Exit's path.
void tst_Startup::noSplashWindowThenALogOutEndsAsExit() {
    QFETCH(int, signalNumber);
    const QString picture = test::WritePicture(folder_->file("a.jpg"), {8, 8});
    SaveAutomaticList(*m_, {picture, picture});
    folder_->write("Settings.INI",
                   "[Settings]\nVersion=1.2.35\nSplash=0\nMachine=1\nchange=Frequently\n"
                   "min=1\nWallpaper=1\nListCount=2\n[Memory]\nX=5\nY=6\nZ=7\n");
    Startup startup(*m_);
    QVERIFY(startup.Main());
    QCOMPARE(startup.Splash(), nullptr);
    for (QWidget* widget : QApplication::allWidgets())
        QVERIFY2(!qobject_cast<frmSplash*>(widget), "a splash window was built");
    QVERIFY(startup.MainWindow()->isVisible());

    ::raise(signalNumber);
    startup.MainWindow()->Timer1_Timer();
    QVERIFY(!startup.MainWindow()->Ended()); // not inside the change
    QCoreApplication::processEvents();
    QVERIFY(startup.MainWindow()->Ended());
    QCOMPARE(platform_->tray.log.last(), QStringLiteral("remove"));
    QCOMPARE(platform_->wallpaper.calls.size(), 1);
    QCOMPARE(m_->GetINIFile("Settings", "Wallpaper"), QStringLiteral("2"));
    QCOMPARE(m_->GetINIFile("Settings", "change"), QStringLiteral("Frequently"));
    for (const char* key : {"X", "Y", "Z"})
        QVERIFY(!m_->GetINIFile("Memory", key).isEmpty());
}

void tst_Startup::onlyVersionAndHelpAreAnswered_data() {
    QTest::addColumn<QByteArrayList>("args");
    QTest::addColumn<QString>("answer"); // its start; empty: the program starts
    QTest::newRow("version") << QByteArrayList{"--version"} << "Tavorin 1.2.35\n";
    QTest::newRow("help") << QByteArrayList{"--help"} << "Usage: tavorin [--version | --help]\n";
    QTest::newRow("after others") << QByteArrayList{"x", "--help", "--version"} << "Usage:";
    QTest::newRow("others") << QByteArrayList{"-v", "--Version", "-h", "--help=1"} << QString();
}

void tst_Startup::onlyVersionAndHelpAreAnswered() {
    QFETCH(QByteArrayList, args);
    QFETCH(QString, answer);
    std::vector<const char*> argv{"tavorin"};
    for (const QByteArray& arg : args)
        argv.push_back(arg.constData());
    const auto text = CommandLineAnswer(int(argv.size()), argv.data());
    QCOMPARE(text.has_value(), !answer.isEmpty());
    if (text)
        QVERIFY2(QString::fromStdString(*text).startsWith(answer), text->c_str());
}

void tst_Startup::splashShowsVersionAndLoadingStatus() {
    frmSplash splash;
    QCOMPARE(splash.lblVersion.text(), QStringLiteral("Version:1.2.35"));
    QCOMPARE(splash.lblStatus.text(), QStringLiteral("Loading..."));
    QVERIFY(!splash.Timer1.isActive());
    QVERIFY(!splash.Image1.pixmap().isNull());
    splash.SetStatus("Loading Settings......");
    QCOMPARE(splash.lblStatus.text(), QStringLiteral("Loading Settings......"));
    // The main window's start writes its progress into the splash.
    folder_->write("Settings.INI", "[Settings]\nVersion=1.2.35\nSplash=1\n");
    Startup startup(*m_);
    QVERIFY(startup.Main());
    QVERIFY(startup.Splash()->lblStatus.text() != QStringLiteral("Loading..."));
    QCOMPARE(startup.MainWindow()->windowTitle(), QStringLiteral("Tavorin"));
    QVERIFY(!startup.MainWindow()->windowIcon().isNull());
}

QTEST_MAIN(tst_Startup)
#include "tst_Startup.moc"
