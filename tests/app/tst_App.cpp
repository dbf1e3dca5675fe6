// The start of the program (one copy, the first run, the splash),
// the companion starter, the font helper, the delivered data,
// and the captions fitting their controls.
#include "Version.h"
#include "app/Loader.h"
#include "app/Startup.h"
#include "app/frmSplash.h"
#include "browser/frmBrowse.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOption.h"
#include "mainwindow/frmMain.h"
#include "platform/FontPreload.h"
#include "search/frmSearch.h"
#include "tests/support/Rig.h"
#include "tests/support/TestPictures.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

using namespace tavorin;
using namespace tavorin::test;

namespace {
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
struct Run { QByteArray before; bool secondCopy; QByteArray after; bool logOnEntry, splash; };
// clang-format on
int captionWidth() {
    QFont font;
    font.setPixelSize(10);
    return QFontMetrics(font).horizontalAdvance("Change Wallpaper:");
}
int widthWhileFontsFilled = -1;
} // namespace

class tst_App : public QObject {
    Q_OBJECT
    std::unique_ptr<Rig> r;

  private Q_SLOTS:
    void init() { r = std::make_unique<Rig>(true); }
    // The stored spelling of the keys, hence literal names here. The splash
    // only when "Splash" is 1; its timer's tick shows the main window.
    void storedKeys_data() {
        QTest::addColumn<Run>("row");
        // clang-format off
        QTest::newRow("first run") << Run{"", false, "[Settings]\nSystray=1\nSplash=1\nStartup=1\nConvert=1\nMachine=1\nVersion=%V", true, true};
        QTest::newRow("empty version") << Run{"[Settings]\nVersion=\nSplash=0", false, "[Settings]\nVersion=%V\nSplash=1\nSystray=1\nStartup=1\nConvert=1\nMachine=1", true, true};
        QTest::newRow("later run") << Run{"[Settings]\nVersion=1.0\nSystray=0\nSplash=2\nStartup=0\nConvert=0\nMachine=2", false, "[Settings]\nVersion=1.0\nSystray=0\nSplash=2\nStartup=0\nConvert=0\nMachine=2", false, false};
        QTest::newRow("later run, splash") << Run{"[Settings]\nVersion=1.0\nSplash=1.0\nStartup=0", false, "[Settings]\nVersion=1.0\nSplash=1.0\nStartup=0", false, true};
        QTest::newRow("second copy") << Run{"[Settings]\nVersion=1.0\nSystray=0\nSplash=1\n", true, "[Settings]\nVersion=1.0\nSystray=1\nSplash=1\n", false, false};
        QTest::newRow("second copy, no file") << Run{"", true, "[Settings]\nSystray=1\n", false, false};
        // clang-format on
    }
    void storedKeys() {
        QFETCH(Run, row);
        if (!row.before.isEmpty())
            r->folder.write("Settings.INI", row.before);
        r->fake.instance.running = row.secondCopy;
        FakePlatform& p = r->fake;
        Startup startup(r->m);
        QCOMPARE(startup.Main(), !row.secondCopy);
        const QByteArrayList expected = linesOf(row.after),
                             stored = linesOf(r->folder.read("Settings.INI"));
        QCOMPARE(row.secondCopy ? stored : stored.mid(0, expected.size()), expected);
        const auto entry = p.registry.StringValue(
            RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tavorin");
        QCOMPARE(entry,
                 row.logOnEntry ? std::optional(r->folder.path() + "/Loader.exe") : std::nullopt);
        QCOMPARE(p.instance.calls, row.secondCopy ? 1 : 0); // the running copy is called
        QVERIFY(!row.secondCopy || (p.tray.log.isEmpty() && !startup.MainWindow()));
        QCOMPARE(p.dialogs.messages.size(), 0);
        QCOMPARE(startup.Splash() != nullptr, row.splash);
        if (row.splash) {
            QCOMPARE(startup.Splash()->lblVersion.text(),
                     QStringLiteral("Version:") + version::text);
            startup.Splash()->Timer1_Timer();
            QVERIFY(startup.MainWindow()->isVisible() && !startup.Splash());
        }
    }
    // The recorded classic wallpaper is put back, then the program starts.
    void companionStarter() {
        QFile::setPermissions(r->folder.write("Tavorin", "#!/bin/sh\ntouch started\n"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString bmp = WritePicture(r->folder.file("Temp.bmp"), {8, 6});
        r->m.WriteRegValue(kDesktopKeyPath, kWallpaperValue, bmp);
        QVERIFY(RunLoader(r->fake.services.folder, r->fake.registry, r->fake.wallpaper));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(r->folder.file("started")), 10000);
        QCOMPARE(r->fake.wallpaper.calls.size(), 1);
        QCOMPARE(r->fake.wallpaper.calls[0].method + r->fake.wallpaper.calls[0].path,
                 "classic" + bmp);
    }
    // Measured at the start while the font helper may still have been
    // filling the font list: the interface thread waited and got the same.
    void textIsLaidOutWhileTheFontListFills() { QCOMPARE(widthWhileFontsFilled, captionWidth()); }
    // In the windows' font; also run on a screen of two device pixels a pixel.
    void everyCaptionFits() {
        struct Silent final : SplashStatus {
            void SetStatus(const QString&) override {}
        } splash;
        frmMain main(r->m, splash);
        main.LoadData();
        frmSearch search(r->m, main, {{"/", true}});
        frmBrowse browse(r->m, main);
        frmOption options(r->m, main);
        frmAbout about(r->m);
        for (QWidget* window :
             std::initializer_list<QWidget*>{&main, &search, &browse, &options, &about}) {
            window->show();
            for (QWidget* c : window->findChildren<QWidget*>()) {
                const auto* label = qobject_cast<QLabel*>(c);
                const QString text = c->property("text").toString();
                const int focusFrame = label ? 0 : 4; // a check box's hint keeps it around the text
                if (c->isVisibleTo(window) && !text.isEmpty() &&
                    (label ? !label->wordWrap()
                           : c->inherits("QCheckBox") || c->inherits("QRadioButton")))
                    QVERIFY2(c->sizeHint().width() - focusFrame <= c->width(), qPrintable(text));
            }
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
