#include "platform/wallpaper/XfceWallpaper.h"

#include <QtTest>

using namespace tavorin;

namespace {

const QString kChannel = QStringLiteral("xfce4-desktop");

// xfconf-query, the XFCE tool, on the test's private bus.
QString Query(const QStringList& arguments, bool* ok = nullptr) {
    QProcess tool;
    tool.start(QStringLiteral("xfconf-query"),
               QStringList{QStringLiteral("-c"), kChannel} + arguments);
    const bool finished = tool.waitForFinished(10000) && tool.exitCode() == 0;
    if (ok)
        *ok = finished;
    QString output = QString::fromUtf8(tool.readAllStandardOutput());
    if (output.endsWith(QLatin1Char('\n')))
        output.chop(1);
    return output;
}

QString Read(const QString& property) {
    return Query({QStringLiteral("-p"), property});
}

bool Create(const QString& property, const QString& type, const QString& value) {
    bool ok = false;
    Query({QStringLiteral("-p"), property, QStringLiteral("-n"), QStringLiteral("-t"), type,
           QStringLiteral("-s"), value},
          &ok);
    return ok;
}

QStringList BackdropProperties() {
    QStringList list = Query({QStringLiteral("-l")}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    list.sort();
    return list;
}

void Reset() {
    Query({QStringLiteral("-p"), QStringLiteral("/backdrop"), QStringLiteral("-r"),
           QStringLiteral("-R")});
}

} // namespace

class tst_XfceWallpaper : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xfconf-query")).isEmpty(),
                 "needs xfconf");
    }

    void init() { Reset(); }

    void findsTheImageProperties_data() {
        QTest::addColumn<QStringList>("properties");
        QTest::addColumn<QStringList>("images");
        QTest::newRow("none") << QStringList{"/backdrop/screen0/monitor0/workspace0/color-style"}
                              << QStringList{"/backdrop/screen0/monitor0/workspace0/last-image"};
        QTest::newRow("every monitor and workspace")
            << QStringList{"/backdrop/screen0/monitorHDMI-1/workspace1/last-image",
                           "/backdrop/screen0/monitorHDMI-1/workspace1/image-style",
                           "/backdrop/screen0/monitorDP-2/workspace0/last-image",
                           "/backdrop/screen0/monitorDP-2/workspace0/last-image-x",
                           "/other/last-image"}
            << QStringList{"/backdrop/screen0/monitorDP-2/workspace0/last-image",
                           "/backdrop/screen0/monitorHDMI-1/workspace1/last-image"};
    }

    void findsTheImageProperties() {
        QFETCH(QStringList, properties);
        QFETCH(QStringList, images);
        QCOMPARE(XfceWallpaper::ImageProperties(properties), images);
        QCOMPARE(XfceWallpaper::StyleProperty(images.first()),
                 images.first().chopped(10) + QStringLiteral("image-style"));
    }

    void createsTheFirstMonitorsWallpaper() {
        QVERIFY(BackdropProperties().isEmpty());
        XfceWallpaper xfce(QDBusConnection::sessionBus());
        QString error;
        const QString path = QStringLiteral("/home/u/Pictures/beach.jpg");
        QVERIFY2(xfce.Apply(path, &error), qPrintable(error));
        QCOMPARE(Read(QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image")), path);
        QCOMPARE(Read(QStringLiteral("/backdrop/screen0/monitor0/workspace0/image-style")),
                 QStringLiteral("3"));
    }

    void setsEveryMonitorAndWorkspace_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/home/u/Pictures/beach.jpg";
        QTest::newRow("awkward") << "/home/u/My Pictures/it's \"Ünïcödé\" $HOME; a\\b.png";
    }

    void setsEveryMonitorAndWorkspace() {
        QFETCH(QString, path);
        const QStringList images = {
            QStringLiteral("/backdrop/screen0/monitorDP-2/workspace0/last-image"),
            QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0/last-image"),
            QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace1/last-image"),
        };
        for (const QString& image : images) {
            QVERIFY(Create(image, QStringLiteral("string"), QStringLiteral("/old.jpg")));
            QVERIFY(Create(XfceWallpaper::StyleProperty(image), QStringLiteral("int"),
                           QStringLiteral("5")));
        }
        const QString colour =
            QStringLiteral("/backdrop/screen0/monitorDP-2/workspace0/color-style");
        QVERIFY(Create(colour, QStringLiteral("int"), QStringLiteral("1")));
        const QStringList before = BackdropProperties();

        XfceWallpaper xfce(QDBusConnection::sessionBus());
        QString error;
        QVERIFY2(xfce.Apply(path, &error), qPrintable(error));

        for (const QString& image : images) {
            QCOMPARE(Read(image), path);
            QCOMPARE(Read(XfceWallpaper::StyleProperty(image)), QStringLiteral("3"));
        }
        QCOMPARE(Read(colour), QStringLiteral("1"));
        QCOMPARE(BackdropProperties(), before); // nothing made up for monitor0
    }

    void noSettingsDaemonIsAnError() {
        XfceWallpaper xfce(QDBusConnection(QStringLiteral("not connected")));
        QString error;
        QVERIFY(!xfce.Apply(QStringLiteral("/a.jpg"), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_XfceWallpaper)
#include "tst_XfceWallpaper.moc"
