#include "platform/wallpaper/CommandWallpapers.h"

#include <QtTest>

using namespace tavorin;

namespace {

// Records every program run instead of running it.
class RecordingRunner final : public IProcessRunner {
  public:
    struct Run_ {
        QString program;
        QStringList arguments;
    };
    QList<Run_> runs;
    bool succeed = true;

    bool Run(const QString& program, const QStringList& arguments, QString* error) override {
        runs.append({program, arguments});
        if (!succeed)
            return Fail(error, QStringLiteral("exit code 1"));
        return true;
    }
};

const QString kAwkwardPath = QStringLiteral("/home/u/My Pictures/Ünïcode ~ a;b,c *?.jpg");

} // namespace

class tst_CommandWallpapers : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void aFailingProgramIsAnError() {
        RecordingRunner runner;
        runner.succeed = false;
        QString error;
        LxqtWallpaper lxqt(runner);
        QVERIFY(!lxqt.Apply(QStringLiteral("/a.jpg"), &error));
        QCOMPARE(error, QStringLiteral("exit code 1"));
        SwayWallpaper sway(runner, QString());
        error.clear();
        QVERIFY(!sway.Apply(QStringLiteral("/a.jpg"), &error));
        QVERIFY(!error.isEmpty());
    }

    void swayQuotesThePathForItsParserAndItsWordExpansion() {
        RecordingRunner runner;
        SwayWallpaper sway(runner, QString());
        QVERIFY(sway.Apply(kAwkwardPath, nullptr));
        QCOMPARE(runner.runs.size(), 1);
        QCOMPARE(runner.runs[0].program, QStringLiteral("swaymsg"));
        QCOMPARE(runner.runs[0].arguments,
                 QStringList({"output", "*", "bg", "\"'" + kAwkwardPath + "'\"", "stretch"}));
    }

    void swayGetsAPlainLinkForPathsWithQuotes_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("single quote") << "it's.jpg";
        QTest::newRow("double quote") << "say \"cheese\".png";
        QTest::newRow("backslash") << "back\\slash.gif";
        QTest::newRow("dollar") << "cost $HOME.jpg";
        QTest::newRow("newline") << "two\nlines.jpg";
    }

    void swayGetsAPlainLinkForPathsWithQuotes() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString picture = dir.filePath(name);
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("picture");
        file.close();

        RecordingRunner runner;
        SwayWallpaper sway(runner, dir.filePath(QStringLiteral("links")));
        QString error;
        QVERIFY2(sway.Apply(picture, &error), qPrintable(error));
        QCOMPARE(runner.runs.size(), 1);
        const QStringList arguments = runner.runs[0].arguments;
        QCOMPARE(arguments.size(), 5);
        QCOMPARE(arguments[4], QStringLiteral("stretch"));
        const QString quoted = arguments[3];
        QVERIFY(quoted.startsWith(QStringLiteral("\"'")) && quoted.endsWith(QStringLiteral("'\"")));
        const QString link = quoted.mid(2, quoted.size() - 4);
        QVERIFY(!SwayWallpaper::QuotedPath(link).isEmpty());
        QCOMPARE(QFileInfo(link).symLinkTarget(), picture);
        QCOMPARE(QFileInfo(link).suffix(), QFileInfo(picture).suffix());
    }

    void theRealRunnerPassesArgumentsWithoutAShell() {
        QTemporaryDir dir;
        const QString awkward = dir.filePath(QStringLiteral("it's \"a\" $HOME; `x` *.jpg"));
        QtProcessRunner runner;
        QString error;
        QVERIFY2(runner.Run(QStringLiteral("touch"), {awkward}, &error), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList{QFileInfo(awkward).fileName()});
    }

    void theRealRunnerReportsFailures() {
        QtProcessRunner runner(5000);
        QString error;
        QVERIFY(!runner.Run(QStringLiteral("tavorin-no-such-program"), {}, &error));
        QVERIFY2(error.contains(QLatin1String("not installed")), qPrintable(error));
        error.clear();
        QVERIFY(
            !runner.Run(QStringLiteral("ls"), {QStringLiteral("/tavorin/no/such/folder")}, &error));
        QVERIFY2(error.contains(QLatin1String("exit code")), qPrintable(error));
        QVERIFY2(error.contains(QLatin1String("/tavorin/no/such/folder")), qPrintable(error));
        QVERIFY(runner.Run(QStringLiteral("true"), {}, nullptr));
    }
};

QTEST_GUILESS_MAIN(tst_CommandWallpapers)
#include "tst_CommandWallpapers.moc"
