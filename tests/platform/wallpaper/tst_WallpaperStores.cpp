// The desktops' own stores on a private bus: GSettings, xfconf, and Plasma's script over D-Bus.
#include "platform/wallpaper/GSettingsWallpaper.h"
#include "platform/wallpaper/KdeWallpaper.h"
#include "platform/wallpaper/XfceWallpaper.h"
#include "tests/support/TestPictures.h"

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
QString GSetting(const QString& schema, const QString& key,
                 const QString& folder = "/usr/share/glib-2.0/schemas") {
    const QByteArray text = Tool("gsettings", {"--schemadir", folder, "get", schema, key}).toUtf8();
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

// A double-quoted literal with only \", \\ and \uXXXX escapes reads the same in JSON and scripts.
QString DecodeLiteral(const QString& literal) {
    return QJsonDocument::fromJson("[" + literal.toUtf8() + "]").array().at(0).toString("<bad>");
}

// Stands in for plasmashell where the real one cannot show a case: reads the picture's literal
// as the shell does and prints it back, or, by the picture's name, fails, prints another
// picture or nothing. A literal of other than printable ASCII fails.
class PlasmaStandIn : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

  public Q_SLOTS:
    QString evaluateScript(const QString& script) {
        const QString literal = script.section("var image = ", 1).section(";\n", 0, 0);
        const QString image = DecodeLiteral(literal);
        if (image.endsWith("/fail.jpg") || literal.contains(QRegularExpression("[^ -~]")))
            sendErrorReply(QDBusError::Failed, "Error: script failed");
        if (image.endsWith("/other.jpg"))
            return "file:///usr/share/wallpapers/Next.png\n";
        return image.endsWith("/none.jpg") ? QString() : image + '\n';
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
        const struct {
            GSettingsFamily family;
            const char *schema, *key, *suffix; // " (URI)": a file URI, not a path
        } families[] = {
            {GSettingsFamily::Gnome, "org.gnome.desktop.background", "picture-uri", " (URI)"},
            {GSettingsFamily::Cinnamon, "org.cinnamon.desktop.background", "picture-uri", " (URI)"},
            {GSettingsFamily::Mate, "org.mate.background", "picture-filename", ""}};
        for (const auto& f : families) {
            for (const QString& path : kPaths) {
                QString error;
                QVERIFY2(GSettingsWallpaper(f.family).Apply(path, &error), qPrintable(error));
                QCOMPARE(GSetting(f.schema, f.key), path + f.suffix);
                QCOMPARE(GSetting(f.schema, "picture-options"), QStringLiteral("stretched"));
                if (f.family == GSettingsFamily::Gnome)
                    QCOMPARE(GSetting(f.schema, "picture-uri-dark"), path + f.suffix);
            }
        }
    }

    // Older or odd schemas: optional keys may be missing, the others must take a text.
    void gsettingsCheckTheSchema() {
        const QByteArray uri = "<key name='picture-uri' type='s'><default>''</default></key>";
        const QByteArray number = "<key name='picture-uri' type='i'><default>0</default></key>";
        const QByteArray options =
            "<key name='picture-options' enum='o'><default>'none'</default></key>";
        const QByteArray noStretched = "<key name='picture-options' type='s'><choices><choice "
                                       "value='none'/></choices><default>'none'</default></key>";
        const std::pair<QByteArray, QString> schemas[] = {
            {"", "org.gnome.desktop.background"}, // only another schema is installed
            {uri + options, ""},                  // no dark key: taken
            {options, "picture-uri"},
            {number + options, "picture-uri"},
            {uri + noStretched, "picture-options"},
        };
        for (const auto& [keys, error] : schemas) {
            QTemporaryDir dir;
            const QByteArray id = keys.isEmpty() ? "org.example" : "org.gnome.desktop.background";
            QVERIFY(
                !test::WriteFile(dir.filePath("t.gschema.xml"),
                                 "<schemalist><enum id='o'><value nick='none' value='0'/><value "
                                 "nick='stretched' value='4'/></enum><schema id='" +
                                     id + "' path='/a/'>" + keys + "</schema></schemalist>")
                     .isEmpty());
            QCOMPARE(QProcess::execute("glib-compile-schemas", {dir.path()}), 0);
            QString failure;
            QCOMPARE(
                GSettingsWallpaper(GSettingsFamily::Gnome, dir.path()).Apply(kPaths[0], &failure),
                error.isEmpty());
            QVERIFY2(failure.contains(error), qPrintable(failure));
            QVERIFY(!error.isEmpty() ||
                    GSetting(id, "picture-uri", dir.path()) == kPaths[0] + " (URI)");
            QVERIFY(!error.isEmpty() || GSetting(id, "picture-options", dir.path()) == "stretched");
        }
    }

    // Every monitor's and workspace's picture, stretched; the first monitor's when there is none.
    void xfconfTakesThePicture() {
        const QString b = "/backdrop/screen0/monitor", colour = b + "DP-2/workspace0/color-style";
        const QStringList images = {b + "DP-2/workspace0/last-image",
                                    b + "HDMI-1/workspace0/last-image",
                                    b + "HDMI-1/workspace1/last-image"};
        QCOMPARE(
            XfceWallpaper::ImageProperties({images[2], "/other/last-image", b + "X/image-style",
                                            b + "X/last-image-x", images[0], images[1]}),
            images);
        for (const QStringList& existing : {QStringList(), images}) {
            Xfconf({"-p", "/backdrop", "-r", "-R"});
            for (const QString& image : existing) {
                Xfconf({"-p", image, "-n", "-t", "string", "-s", "/old.jpg"});
                Xfconf({"-p", XfceWallpaper::StyleProperty(image), "-n", "-t", "int", "-s", "5"});
                Xfconf({"-p", colour, "-n", "-t", "int", "-s", "1"});
            }
            const qsizetype before = Xfconf({"-l"}).split('\n', Qt::SkipEmptyParts).size();
            QString error;
            QVERIFY2(XfceWallpaper(QDBusConnection::sessionBus()).Apply(kPaths[1], &error),
                     qPrintable(error));
            for (const QString& image :
                 existing.isEmpty() ? QStringList{b + "0/workspace0/last-image"} : existing) {
                QCOMPARE(Xfconf({"-p", image}), kPaths[1]);
                QCOMPARE(Xfconf({"-p", image.chopped(10) + "image-style"}), QStringLiteral("3"));
            }
            QCOMPARE(Xfconf({"-p", colour}), QString(existing.isEmpty() ? "" : "1"));
            // Nothing made up beside the pictures there are.
            QCOMPARE(Xfconf({"-l"}).split('\n', Qt::SkipEmptyParts).size(),
                     before + (existing.isEmpty() ? 2 : 0));
        }
        QString error;
        QVERIFY(!XfceWallpaper(QDBusConnection("not connected")).Apply(kPaths[0], &error));
        QVERIFY(!error.isEmpty());
    }

    // The stand-in reads the script's literal as Plasma does (the real shell shows the
    // ordinary paths in the desktop scenarios).
    void plasmaTakesThePictureOrSaysWhy() {
        QList<std::pair<QString, QString>> cases = {
            {"/a/fail.jpg", "script failed"},
            {"/a/other.jpg", "Next.png"},
            {"/a/none.jpg", "no desktop"},
            {"/a/gone.jpg", "org.kde.plasmashell"}, // no Plasma on the bus
        };
        for (const QString& path : kPaths + QStringList{"/home/u/two\nlines.jpg"})
            cases.append({path, ""}); // taken
        for (const auto& [path, error] : cases) {
            const bool gone = path.endsWith("gone.jpg");
            QVERIFY(!gone || plasmaBus_.unregisterService("org.kde.plasmashell"));
            QString failure;
            const bool taken =
                KdeWallpaper(QDBusConnection::sessionBus(), 5000).Apply(path, &failure);
            QVERIFY(!gone || plasmaBus_.registerService("org.kde.plasmashell"));
            QCOMPARE(taken, error.isEmpty());
            QVERIFY2(failure.contains(error), qPrintable(path + ": " + failure));
        }
    }
};

QTEST_GUILESS_MAIN(tst_WallpaperStores)
#include "tst_WallpaperStores.moc"
