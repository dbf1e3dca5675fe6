// The command-line check tests/tools/apply-wallpaper, run as a person runs
// it on a screen with no desktop: each way it applies a picture must show
// on the root window, and a mistake must change nothing.
#include "tests/support/RootProbe.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace tavorin::test;

namespace {

const QRgb kRed = qRgb(220, 30, 30);
const QRgb kGreen = qRgb(30, 200, 60);
const QRgb kBlue = qRgb(40, 60, 210);
constexpr int kTolerance = 16;

struct Run {
    int exitCode = -1;
    QString output;
};

} // namespace

class tst_ApplyWallpaperTool : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir dir_;
    QTemporaryDir runtime_; // the session's runtime folder, private to this run

    QString picture(const QString& name, QRgb colour, const char* format) {
        QImage image(120, 90, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir_.filePath(name);
        return image.save(path, format, 95) ? path : QString();
    }

    Run run(const QStringList& arguments) const {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
                                 "SWAYSOCK", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        tool.setProcessEnvironment(env);
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QStringLiteral(APPLY_WALLPAPER_TOOL), arguments);
        Run result;
        if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = tool.exitCode();
        result.output = QString::fromUtf8(tool.readAll());
        return result;
    }

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(runtime_.isValid());
        QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"), "needs an X server (run under Xvfb)");
        QVERIFY(RootProbe().ok());
    }

    void showsThePictureOnTheRoot_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QString>("said");
        QTest::newRow("method 1, no desktop") << QStringList{"--method", "1"} << "red one.jpg"
                                              << kRed << "desktop: unknown desktop (X11)";
        QTest::newRow("method 1 by default") << QStringList{} << "green.bmp" << kGreen << "set: ";
        QTest::newRow("method 2") << QStringList{"--method", "2"} << "blue.png" << kBlue
                                  << "root window set: ";
        QTest::newRow("method 2, decoded") << QStringList{"--method", "2", "--decoded"}
                                           << "red two.jpg" << kRed << "root window set: ";
    }

    void showsThePictureOnTheRoot() {
        QFETCH(QStringList, options);
        QFETCH(QString, name);
        QFETCH(QRgb, colour);
        QFETCH(QString, said);
        // Something else first, so that every row is a change.
        const QString other = picture(QStringLiteral("other.png"), qRgb(128, 128, 128), "PNG");
        QCOMPARE(run({QStringLiteral("--method"), QStringLiteral("2"), other}).exitCode, 0);

        const QString path = picture(name, colour,
                                     name.endsWith(QLatin1String(".jpg"))   ? "JPEG"
                                     : name.endsWith(QLatin1String(".bmp")) ? "BMP"
                                                                            : "PNG");
        QVERIFY(!path.isEmpty());
        const Run result = run(options << path);
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        QVERIFY2(result.output.contains(said), qPrintable(result.output));
        const QString mismatch = RootProbe().wallpaperMismatch(colour, kTolerance);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    void aMistakeChangesNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no picture") << QStringList{"--method", "2"} << 2;
        QTest::newRow("two pictures") << QStringList{"a.jpg", "b.jpg"} << 2;
        QTest::newRow("method 3") << QStringList{"--method", "3", "x.jpg"} << 2;
        QTest::newRow("missing picture, method 1")
            << QStringList{"--method", "1", "/nonexistent/tavorin.jpg"} << 1;
        QTest::newRow("missing picture, method 2")
            << QStringList{"--method", "2", "/nonexistent/tavorin.jpg"} << 1;
        QTest::newRow("missing picture, decoded")
            << QStringList{"--method", "2", "--decoded", "/nonexistent/tavorin.jpg"} << 1;
    }

    void aMistakeChangesNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const QString known = picture(QStringLiteral("known.png"), kGreen, "PNG");
        QCOMPARE(run({QStringLiteral("--method"), QStringLiteral("2"), known}).exitCode, 0);
        const auto before = RootProbe().pixmapProperty("_XROOTPMAP_ID");
        QVERIFY(before);

        const Run result = run(arguments);
        QVERIFY2(result.exitCode == exitCode, qPrintable(result.output));
        QVERIFY(!result.output.isEmpty()); // it says what went wrong
        QCOMPARE(RootProbe().pixmapProperty("_XROOTPMAP_ID"), before);
        QCOMPARE(RootProbe().wallpaperMismatch(kGreen, kTolerance), QString());
    }
};

QTEST_GUILESS_MAIN(tst_ApplyWallpaperTool)
#include "tst_ApplyWallpaperTool.moc"
