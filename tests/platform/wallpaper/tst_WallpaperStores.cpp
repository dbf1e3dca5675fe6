// The desktops' own stores on a private bus: GSettings, xfconf, and Plasma's script over D-Bus.
#include "platform/wallpaper/GSettingsWallpaper.h"
#include "platform/wallpaper/KdeWallpaper.h"
#include "platform/wallpaper/XfceWallpaper.h"

#include <QDBusContext>
#include <QDBusError>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>
#include <gio/gio.h>

using namespace tavorin;

namespace {

const QStringList kPaths = QString("/my pictures/plain.jpg|/p/it's \"quoted\" back\\slash.png|"
                                   "/bilder/Ünï ß 日本 \U0001F600 $HOME; rm ~.gif|/p/100% #1?.jpg")
                               .split('|');
// A tool's output without its last line end.
QString Tool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput()).remove(QRegularExpression("\n$"));
}
// A key as another program sees it (the gsettings tool); a file URI as "<path> (URI)".
QString GSetting(const char* schema, const char* key) {
    const QByteArray text = Tool("gsettings", {"get", schema, key}).toUtf8();
    GVariant* value = g_variant_parse(G_VARIANT_TYPE_STRING, text, nullptr, nullptr, nullptr);
    QString result = value ? QString::fromUtf8(g_variant_get_string(value, nullptr)) : text;
    g_clear_pointer(&value, g_variant_unref);
    gchar* name = g_filename_from_uri(result.toUtf8(), nullptr, nullptr);
    result = name ? QFile::decodeName(name) + " (URI)" : result;
    g_free(name);
    return result;
}
QString Xfconf(const QStringList& arguments) {
    return Tool("xfconf-query", QStringList{"-c", "xfce4-desktop"} + arguments);
}
// Stands in for plasmashell: reads the picture's literal as the shell does and prints it back;
// fails for "fail.jpg" and for a literal of other than printable ASCII.
class PlasmaStandIn : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
  public Q_SLOTS:
    QString evaluateScript(const QString& script) {
        const QString literal = script.section("var image = ", 1).section(";\n", 0, 0);
        // With only \", \\ and \uXXXX escapes, it reads the same in JSON as in the script.
        const QString image =
            QJsonDocument::fromJson("[" + literal.toUtf8() + "]").array().at(0).toString("<bad>");
        if (image.endsWith("/fail.jpg") || literal.contains(QRegularExpression("[^ -~]")))
            sendErrorReply(QDBusError::Failed, "Error: script failed");
        return image + '\n';
    }
};

} // namespace

class tst_WallpaperStores : public QObject {
    Q_OBJECT
    QThread thread_; // the stand-in answers from its own thread while the test waits
    PlasmaStandIn plasma_;
    QDBusConnection plasmaBus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "p");
  private Q_SLOTS:
    void initTestCase() {
        qputenv("GSETTINGS_BACKEND", "keyfile");
        plasma_.moveToThread(&thread_);
        thread_.start();
        QVERIFY(
            plasmaBus_.registerObject("/PlasmaShell", &plasma_, QDBusConnection::ExportAllSlots));
        QVERIFY(plasmaBus_.registerService("org.kde.plasmashell"));
    }
    void cleanupTestCase() {
        QDBusConnection::disconnectFromBus("p");
        thread_.quit();
        thread_.wait();
    }
    void gsettingsTakeThePicture() {
        const char* schema = "org.gnome.desktop.background";
        for (const QString& path : kPaths) {
            QString error;
            QVERIFY2(GSettingsWallpaper(GSettingsFamily::Gnome).Apply(path, &error),
                     qPrintable(error));
            QCOMPARE(GSetting(schema, "picture-uri"), path + " (URI)");
            QCOMPARE(GSetting(schema, "picture-uri-dark"), path + " (URI)");
            QCOMPARE(GSetting(schema, "picture-options"), QStringLiteral("stretched"));
        }
    }
    // Every monitor's and workspace's picture, stretched, and nothing made up beside them.
    void xfconfTakesThePicture() {
        const QString b = "/backdrop/screen0/monitor";
        const QStringList images = {b + "DP-2/workspace0/last-image",
                                    b + "HDMI-1/workspace1/last-image"};
        for (const QString& image : images) {
            Xfconf({"-p", image, "-n", "-t", "string", "-s", "/old.jpg"});
            Xfconf({"-p", XfceWallpaper::StyleProperty(image), "-n", "-t", "int", "-s", "5"});
        }
        const QString before = Xfconf({"-l"});
        QString error;
        QVERIFY2(XfceWallpaper(QDBusConnection::sessionBus()).Apply(kPaths[1], &error),
                 qPrintable(error));
        for (const QString& image : images) {
            QCOMPARE(Xfconf({"-p", image}), kPaths[1]);
            QCOMPARE(Xfconf({"-p", image.chopped(10) + "image-style"}), QStringLiteral("3"));
        }
        QCOMPARE(Xfconf({"-l"}), before);
    }
    // The stand-in reads the literal as Plasma does; the real shell is in the desktop scenarios.
    void plasmaTakesThePictureOrSaysWhy() {
        for (const QString& path : kPaths + QStringList{"/home/u/two\nlines.jpg", "/a/fail.jpg"}) {
            QString failure;
            const bool taken =
                KdeWallpaper(QDBusConnection::sessionBus(), 5000).Apply(path, &failure);
            QCOMPARE(taken, !path.endsWith("fail.jpg"));
            QVERIFY2(taken || failure.contains("script failed"), qPrintable(failure));
        }
    }
};

QTEST_GUILESS_MAIN(tst_WallpaperStores)
#include "tst_WallpaperStores.moc"
