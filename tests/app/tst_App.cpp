// The start of the program (one copy, the first run, the splash, the log-out),
// the command line, the companion starter, the font helper, the delivered data,
// and every caption of every window fitting its control.
#include "Version.h"
#include "app/CommandLine.h"
#include "app/Loader.h"
#include "app/Startup.h"
#include "app/frmSplash.h"
#include "browser/frmBrowse.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "engine/ListFile.h"
#include "engine/PictureInfo.h"
#include "mainwindow/frmMain.h"
#include "platform/FontPreload.h"
#include "search/frmSearch.h"
#include "tests/support/Rig.h"
#include "tests/support/TestPictures.h"

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QGroupBox>
#include <QImageReader>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>
#include <QUrl>

#include <csignal>

using namespace tavorin;
using namespace tavorin::test;

namespace {
// A registry that keeps what the settings file held when the first value was written.
// clang-format off
struct SnapshotRegistry final : IRegistryStore {
    FakeRegistry inner;
    QString settingsFile;
    std::optional<QByteArray> settingsAtFirstWrite;
    bool SetStringValue(RootKey root, const QString& key, const QString& name, const QString& data) override {
        settingsAtFirstWrite = settingsAtFirstWrite.value_or(ReadFile(settingsFile));
        return inner.SetStringValue(root, key, name, data);
    }
    bool DeleteValue(RootKey root, const QString& key, const QString& name) override { return inner.DeleteValue(root, key, name); }
    std::optional<QString> StringValue(RootKey root, const QString& key, const QString& name) const override { return inner.StringValue(root, key, name); }
};
// clang-format on
// The settings file's non-blank lines, with "%V" for this version.
QByteArrayList linesOf(QByteArray text) {
    QByteArrayList lines;
    for (const QByteArray& line : text.replace("%V", version::text).split('\n'))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}
// after: the file's first lines; all of it after a second copy.
// clang-format off
struct Run { QByteArray before; bool secondCopy; QByteArray after; bool logOnEntry; };
// clang-format on
bool splashBuilt() {
    for (QWidget* widget : QApplication::allWidgets())
        if (qobject_cast<frmSplash*>(widget))
            return true;
    return false;
}
// The controls whose caption does not fit: the caption's lines with the room
// the control's style keeps around them, against the control's size.
QStringList clippedCaptions(QWidget& window) {
    QStringList clipped;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        auto* label = qobject_cast<QLabel*>(control);
        auto* group = qobject_cast<QGroupBox*>(control);
        QString text = button  ? button->text()
                       : label ? label->text()
                       : group ? group->title()
                               : "";
        if (text.isEmpty() || !control->isVisibleTo(&window))
            continue;
        const QStyle* style = control->style();
        const auto metric = [style](QStyle::PixelMetric m) { return style->pixelMetric(m); };
        QSize room = control->size();
        if (qobject_cast<QPushButton*>(control))
            room -= QSize(1, 1) *
                    (metric(QStyle::PM_ButtonMargin) + 2 * metric(QStyle::PM_DefaultFrameWidth));
        else if (qobject_cast<QCheckBox*>(control))
            room.rwidth() -=
                metric(QStyle::PM_IndicatorWidth) + metric(QStyle::PM_CheckBoxLabelSpacing);
        else if (qobject_cast<QRadioButton*>(control))
            room.rwidth() -= metric(QStyle::PM_ExclusiveIndicatorWidth) +
                             metric(QStyle::PM_RadioButtonLabelSpacing);
        else if (label)
            room = label->contentsRect().size() - QSize(2, 2) * label->margin();
        else
            room.rwidth() -= 2 * metric(QStyle::PM_DefaultFrameWidth) + 8;
        if (button && !button->icon().isNull())
            room.rwidth() -= button->iconSize().width() + 4;
        text.remove('\r').remove(QRegularExpression("&(?!&)"));
        const int flags = label && label->wordWrap() ? Qt::TextWordWrap : 0;
        const QSize needed =
            control->fontMetrics()
                .boundingRect(QRect(0, 0, flags ? room.width() : 32767, 32767), flags, text)
                .size();
        if (needed.width() > room.width() || (!group && needed.height() > room.height()))
            clipped << control->objectName() + " \"" + text + '"';
    }
    return clipped;
}
int captionWidth() {
    QLabel label("Change Wallpaper:");
    QFont font = label.font();
    font.setPixelSize(10);
    label.setFont(font);
    return label.sizeHint().width();
}
int widthWhileFontsFilled = -1;
// The companion starter's stand-in for the program: records its folder and
// the settings it found, then ends.
const QByteArray kProgram =
    "#!/bin/sh\ncat Settings.INI > seen.tmp\npwd >> seen.tmp\nmv seen.tmp seen\n";
} // namespace

class tst_App : public QObject {
    Q_OBJECT
    std::unique_ptr<Rig> r;

  private Q_SLOTS:
    void init() { r = std::make_unique<Rig>(true); }

    // The stored spelling of the keys, hence literal names here.
    void storedKeys_data() {
        QTest::addColumn<Run>("row");
        // clang-format off
        QTest::newRow("first run") << Run{"", false, "[Settings]\nSystray=1\nSplash=1\nStartup=1\nConvert=1\nMachine=1\nVersion=%V", true};
        QTest::newRow("empty version") << Run{"[Settings]\nVersion=\nSplash=0", false, "[Settings]\nVersion=%V\nSplash=1\nSystray=1\nStartup=1\nConvert=1\nMachine=1", true};
        QTest::newRow("later run") << Run{"[Settings]\nVersion=1.0\nSystray=0\nSplash=0\nStartup=0\nConvert=0\nMachine=2", false, "[Settings]\nVersion=1.0\nSystray=0\nSplash=0\nStartup=0\nConvert=0\nMachine=2", false};
        QTest::newRow("second copy") << Run{"[Settings]\nVersion=1.0\nSystray=0\nSplash=1\n", true, "[Settings]\nVersion=1.0\nSystray=1\nSplash=1\n", false};
        QTest::newRow("second copy, no file") << Run{"", true, "[Settings]\nSystray=1\n", false};
        // clang-format on
    }
    void storedKeys() {
        QFETCH(Run, row);
        if (!row.before.isEmpty())
            r->folder.write("Settings.INI", row.before);
        r->fake.instance.running = row.secondCopy;
        SnapshotRegistry registry;
        registry.settingsFile = r->m.SettingsFile();
        FakePlatform& p = r->fake;
        Services services{p.services.folder, p.dialogs,  registry, p.wallpaper,
                          p.shell,           p.instance, p.clock,  p.tray};
        Module1 m(services);
        Startup startup(m);
        QCOMPARE(startup.Main(), !row.secondCopy);
        const QByteArrayList expected = linesOf(row.after),
                             stored = linesOf(r->folder.read("Settings.INI"));
        QCOMPARE(row.secondCopy ? stored : stored.mid(0, expected.size()), expected);
        const auto entry = registry.inner.StringValue(
            RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tavorin");
        QCOMPARE(entry,
                 row.logOnEntry ? std::optional(r->folder.path() + "/Loader.exe") : std::nullopt);
        if (row.logOnEntry) // written after the settings, and nothing else before it
            QCOMPARE(linesOf(registry.settingsAtFirstWrite.value_or("")), expected);
        QCOMPARE(startup.MainWindow() == nullptr, row.secondCopy);
        QCOMPARE(p.instance.calls, row.secondCopy ? 1 : 0); // the running copy is called
        QVERIFY(!row.secondCopy || (p.tray.log.isEmpty() && !registry.settingsAtFirstWrite));
        QCOMPARE(p.dialogs.messages.size(), 0);
    }

    // The splash only when "Splash" is 1; its timer's tick shows the main
    // window and lets the splash go.
    void splash_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("shown");
        for (const char* yes : {"1", "1.0"})
            QTest::newRow(yes) << QByteArray("Splash=") + yes << true;
        for (const char* no : {"0", "2", "", "abc"})
            QTest::newRow(*no ? no : "empty") << QByteArray("Splash=") + no << false;
        QTest::newRow("missing") << QByteArray() << false;
    }
    void splash() {
        QFETCH(QByteArray, line);
        QFETCH(bool, shown);
        r->folder.write("Settings.INI", "[Settings]\nVersion=1.0\nSystray=1\n" + line);
        Startup startup(r->m);
        QVERIFY(startup.Main());
        QCOMPARE(splashBuilt(), shown);
        QCOMPARE(startup.MainWindow()->isVisible(), !shown);
        QCOMPARE(startup.MainWindow()->windowTitle(), "Tavorin");
        QVERIFY(!startup.MainWindow()->windowIcon().isNull());
        if (!shown)
            return;
        QPointer<frmSplash> splash = startup.Splash();
        QVERIFY(splash->isVisible() && splash->Timer1.isActive());
        QVERIFY(splash->lblStatus.text() != "Loading..."); // the main window's progress
        splash->Timer1_Timer();
        QVERIFY(startup.MainWindow()->isVisible());
        QVERIFY(!splash->isVisible() && !splash->Timer1.isActive());
        QCOMPARE(startup.Splash(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(splash.isNull());
    }

    void splashShowsVersionAndStatus() {
        frmSplash splash;
        QCOMPARE(splash.lblVersion.text(), QStringLiteral("Version:") + version::text);
        QCOMPARE(splash.lblStatus.text(), "Loading...");
        QVERIFY(!splash.Image1.pixmap().isNull() && !splash.Timer1.isActive());
        splash.SetStatus("Loading Settings......");
        QCOMPARE(splash.lblStatus.text(), "Loading Settings......");
    }

    // A log-out during a scheduled change: the change finishes, then the
    // program ends through Exit's path.
    void logOutEndsAsExit_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void logOutEndsAsExit() {
        QFETCH(int, signalNumber);
        const QString picture = WritePicture(r->folder.file("a.jpg"), {8, 8});
        SaveAutomaticList(r->m, {picture, picture});
        r->folder.write("Settings.INI",
                        "[Settings]\nVersion=1.0\nSplash=0\nMachine=1\nchange=Frequently\nmin="
                        "1\nWallpaper=1\nListCount=2\n[Memory]\nX=5\nY=6\nZ=7\n");
        Startup startup(r->m);
        QVERIFY(startup.Main());
        ::raise(signalNumber);
        startup.MainWindow()->Timer1_Timer();
        QVERIFY(!startup.MainWindow()->Ended()); // not inside the change
        QCoreApplication::processEvents();
        QVERIFY(startup.MainWindow()->Ended());
        QCOMPARE(r->fake.tray.log.last(), "remove");
        QCOMPARE(r->fake.wallpaper.calls.size(), 1);
        QCOMPARE(r->get(ini::kWallpaper), "2");
        QCOMPARE(r->get(ini::kChange), "Frequently");
        for (const QString& key : {ini::kX, ini::kY, ini::kZ})
            QVERIFY(!r->get(key, ini::kMemory).isEmpty());
    }

    void commandLine_data() {
        QTest::addColumn<QByteArrayList>("args");
        QTest::addColumn<QString>("answer"); // its start; empty: the program starts
        QTest::newRow("version") << QByteArrayList{"--version"}
                                 << "Tavorin " + QString(version::text) + "\n";
        QTest::newRow("help") << QByteArrayList{"--help"}
                              << "Usage: tavorin [--version | --help]\n";
        QTest::newRow("first of them") << QByteArrayList{"x", "--help", "--version"} << "Usage:";
        QTest::newRow("others") << QByteArrayList{"-v", "--Version", "-h", "--help=1"} << QString();
    }
    void commandLine() {
        QFETCH(QByteArrayList, args);
        QFETCH(QString, answer);
        std::vector<const char*> argv{"tavorin"};
        for (const QByteArray& arg : args)
            argv.push_back(arg.constData());
        const auto text = CommandLineAnswer(int(argv.size()), argv.data());
        QCOMPARE(QString::fromStdString(text.value_or("")).left(answer.size()), answer);
        QCOMPARE(text.has_value(), !answer.isEmpty());
    }

    // "Loader" = "1" first, the recorded classic wallpaper put back, then the
    // program from the same folder.
    void companionStarter() {
        QVERIFY(
            !RunLoader(r->fake.services.folder, r->fake.registry, r->fake.wallpaper)); // no program
        QCOMPARE(r->folder.read("Settings.INI"), "[Settings]\nLoader=1\n");
        r->folder.write("Settings.INI", "[Settings]\r\nLoader=0\r\nchange=Startup\r\n");
        QFile::setPermissions(r->folder.write("Tavorin", kProgram),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString bmp = WritePicture(r->folder.file("Temp.bmp"), {8, 6});
        r->m.WriteRegValue(kDesktopKeyPath, kWallpaperValue, bmp);
        QVERIFY(RunLoader(r->fake.services.folder, r->fake.registry, r->fake.wallpaper));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(r->folder.file("seen")), 10000); // the program ran
        QCOMPARE(r->folder.read("seen"),
                 "[Settings]\r\nLoader=1\r\nchange=Startup\r\n" + r->folder.path().toUtf8() + "\n");
        QCOMPARE(r->fake.wallpaper.calls.size(), 1);
        QCOMPARE(r->fake.wallpaper.calls[0].method + r->fake.wallpaper.calls[0].path,
                 "classic" + bmp);
        for (const QString& none : {r->folder.file("deleted.bmp"), r->folder.path()}) {
            r->m.WriteRegValue(kDesktopKeyPath, kWallpaperValue, none);
            ReapplyClassicWallpaper(r->fake.registry, r->fake.wallpaper);
        }
        QCOMPARE(r->fake.wallpaper.calls.size(), 1);
    }

    // Measured at the start while the font helper may still have been
    // filling the font list: the interface thread waited and got the same.
    void textIsLaidOutWhileTheFontListFills() {
        QVERIFY(widthWhileFontsFilled > 0);
        QCOMPARE(widthWhileFontsFilled, captionWidth());
    }

    void deliveredData() {
        const QString source = DeliveredDataFolder(), program = TAVORIN_PROGRAM_DIR;
        int count = 0;
        for (QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories); it.hasNext();
             ++count) {
            const QString file = it.next();
            QVERIFY2(ReadFile(file) == ReadFile(program + file.mid(source.size())),
                     qPrintable(file));
        }
        QVERIFY(count >= 12);
        QList<double> saturation; // of the opaque part of the largest picture
        for (const char* icon : {"Icon/Tavorin icon.ico", "Icon/Tavorin disabled.ico"}) {
            QImageReader reader(source + '/' + icon);
            QList<int> sizes;
            QImage largest;
            do {
                const QImage image = reader.read();
                sizes << image.width();
                largest = image.width() > largest.width() ? image : largest;
            } while (reader.jumpToNextImage());
            std::sort(sizes.begin(), sizes.end());
            QCOMPARE(sizes, (QList<int>{16, 32, 48}));
            double sum = 0;
            int n = 0;
            for (int y = 0; y < largest.height(); ++y)
                for (int x = 0; x < largest.width(); ++x)
                    if (const QColor c = largest.pixelColor(x, y); c.alpha() >= 64 && ++n)
                        sum += c.hsvSaturationF();
            saturation << sum / qMax(n, 1);
        }
        QVERIFY2(saturation[0] > 0.3 && saturation[1] < 0.05, "the disabled icon is not greyed");
        const QStringList skins = QDir(source + "/Skins").entryList({"*.jpg"}, QDir::Files);
        QVERIFY(skins.contains("Metalic.jpg") && skins.size() >= 3);
        for (const QString& skin : skins) {
            const QSize size = QImageReader(source + "/Skins/" + skin).size();
            QVERIFY2(qAbs(size.width() - 450) <= 10 && qAbs(size.height() - 273) <= 10,
                     qPrintable(skin));
        }
        // The help pages link only to pages and anchors that exist.
        static const QRegularExpression link(R"(href="([^"#:]+)(#[^"]*)?")");
        for (const QString page : {"index.htm", "main ref.htm", "sub ref.htm"})
            for (auto m = link.globalMatch(QString::fromUtf8(ReadFile(source + "/Help/" + page)));
                 m.hasNext();) {
                const auto match = m.next();
                const QByteArray html = ReadFile(
                    source + "/Help/" + QUrl::fromPercentEncoding(match.captured(1).toUtf8()));
                const QByteArray anchor = match.captured(2).mid(1).toUtf8();
                QVERIFY2(html.contains("<title>") &&
                             (anchor.isEmpty() || html.contains("id=\"" + anchor + '"')),
                         qPrintable(page + ": " + match.captured(0)));
            }
        QVERIFY(QFileInfo(source + "/readme.txt").isFile());
        QCOMPARE(ReadFile(source + "/URLS/Updates.url"),
                 "[InternetShortcut]\r\nURL=https://github.com/tavorin-app/tavorin/releases\r\n");
        QCOMPARE(ReadFile(source + "/URLS/Send Feedback.url"),
                 "[InternetShortcut]\r\nURL=https://github.com/tavorin-app/tavorin/issues\r\n");
    }

    // In the windows' font; also run on a screen of two device pixels a pixel.
    void everyCaptionFits() {
        struct Silent final : SplashStatus {
            void SetStatus(const QString&) override {}
        } splash;
        frmMain main(r->m, splash);
        main.LoadData();
        // The longest information a picture gives: 12000 x 9000 pixels, 45550 KB.
        main.findChild<QLabel*>("lblInfo")->setText(
            ImageInfoText({12000, 9000}, qint64{45550} * 1024, "/p.jpg"));
        frmSearch search(r->m, main, {{"/", true}});
        frmBrowse browse(r->m, main);
        frmOption options(r->m, main);
        frmAbout about(r->m);
        for (QWidget* window :
             std::initializer_list<QWidget*>{&main, &search, &browse, &options, &about}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY2(clippedCaptions(*window).isEmpty(),
                     qPrintable(clippedCaptions(*window).join(", ")));
        }
    }
};

int main(int argc, char** argv) {
    // As the program does: the font helper starts before the application.
    auto fonts = std::make_unique<FontPreload>();
    QApplication app(argc, argv);
    {
        const FontPreload::QtPart qtPart(*fonts);
        widthWhileFontsFilled = captionWidth();
    }
    fonts.reset();
    tst_App test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_App.moc"
